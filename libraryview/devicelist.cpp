#include "libraryview/devicelist.h"

#include "libraryview/librarytexts.h"
#include "report/verdictchooser.h"

void TDeviceListModel::SetDevices(std::vector<TLibraryDevice> devices) {
    beginResetModel();
    m_devices = std::move(devices);
    m_dates.clear();
    m_dates.reserve(static_cast<qsizetype>(m_devices.size()));
    const QLocale locale;
    for (const TLibraryDevice& device : m_devices)
        m_dates.append(LibraryDateText(device.lastTestedAt, locale));
    endResetModel();
}

int TDeviceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_devices.size());
}

int TDeviceListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TDeviceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TLibraryDevice& device = Device(index.row());
    const int column = index.column();
    if (role == Qt::DisplayRole || role == SortRole) {
        switch (column) {
        case colLastTest:
            return role == SortRole ? device.lastTestedAt : m_dates.at(index.row());
        case colVerdict:
            return VerdictWord(device.lastVerdict);
        case colTests:
            return device.tests;
        default:
            return device.deviceInfo[static_cast<size_t>(column)];
        }
    }
    if (role == Qt::ForegroundRole && column == colVerdict && device.lastVerdict != TOverallVerdict::NoCheck)
        return VerdictColour(device.lastVerdict);
    if (role == Qt::TextAlignmentRole && column == colTests)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TDeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const Titles[ColumnCount] = {"Device ID", "Serial No.", "Make",    "Model", "Facility",
                                                    "Location",  "Last Test",  "Verdict", "Tests"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(Titles[section]) : QVariant();
}

TDeviceFilter::TDeviceFilter(TDeviceListModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), m_devices(source) {
    setSourceModel(source);
    setSortRole(TDeviceListModel::SortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void TDeviceFilter::SetSearch(const QString& text) {
    m_search = text;
    invalidateRowsFilter();
}

bool TDeviceFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return DeviceMatches(m_devices->Device(sourceRow).deviceInfo, m_search);
}
