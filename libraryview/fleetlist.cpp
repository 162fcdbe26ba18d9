#include "libraryview/fleetlist.h"

#include "base/global.h"
#include "libraryview/librarytexts.h"
#include "report/verdictchooser.h"

#include <QColor>
#include <QLocale>

namespace {

// The order a column sorts by.
constexpr TFleetOrder ColumnOrder[TFleetListModel::ColumnCount] = {
    TFleetOrder::Urgency, TFleetOrder::DeviceId, TFleetOrder::NextDue,  TFleetOrder::LastTest,
    TFleetOrder::Verdict, TFleetOrder::Serial,   TFleetOrder::Make,     TFleetOrder::Model,
    TFleetOrder::Facility, TFleetOrder::Location, TFleetOrder::NextDue, TFleetOrder::Tests};

// The device information a column shows, for the columns that show one.
constexpr int ColumnSlot[TFleetListModel::ColumnCount] = {
    -1, diDeviceID, -1, -1, -1, diSerialNo, diManufacturer, diModel, diFacility, diLocation, -1, -1};

QColor FleetStatusColour(TFleetStatus status) {
    switch (status) {
    case TFleetStatus::Overdue:
    case TFleetStatus::Failed:
        return QColor(0xc6, 0x28, 0x28);
    case TFleetStatus::Due:
    case TFleetStatus::NearLimit:
        return QColor(0xb2, 0x5e, 0x00);
    case TFleetStatus::Incomplete:
        return QColor(0x8a, 0x6d, 0x00);
    case TFleetStatus::NotJudged:
        return QColor(0x61, 0x61, 0x61);
    case TFleetStatus::Fine:
        break;
    }
    return QColor(0x2e, 0x7d, 0x32);
}

} // namespace

TFleetListModel::TFleetListModel(QObject* parent) : QAbstractTableModel(parent) {}

void TFleetListModel::SetQuery(const TFleetQuery& query, Source source) {
    const TFleetOrder order = m_query.order;
    const bool descending = m_query.descending;
    m_query = query;
    m_query.order = order;
    m_query.descending = descending;
    m_source = std::move(source);
    Restart();
}

void TFleetListModel::Restart() {
    beginResetModel();
    ++m_generation;
    m_devices.clear();
    m_lastTests.clear();
    m_nextDue.clear();
    m_reading = false;
    m_more = static_cast<bool>(m_source);
    endResetModel();
    if (m_more)
        fetchMore(QModelIndex());
}

bool TFleetListModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_more && !m_reading;
}

void TFleetListModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    TFleetQuery page = m_query;
    page.offset = static_cast<int>(m_devices.size());
    page.limit = PageSize;
    m_reading = true;
    const quint64 generation = m_generation;
    const bool first = m_devices.empty();
    m_source(page, [this, generation, first](std::vector<TFleetDevice> devices) {
        if (generation == m_generation)
            Insert(std::move(devices), first);
    });
}

void TFleetListModel::Insert(std::vector<TFleetDevice> page, bool first) {
    m_reading = false;
    m_more = page.size() == static_cast<size_t>(PageSize);
    if (!page.empty()) {
        const int at = static_cast<int>(m_devices.size());
        beginInsertRows(QModelIndex(), at, at + static_cast<int>(page.size()) - 1);
        const QLocale locale;
        for (TFleetDevice& device : page) {
            m_lastTests << LibraryDateText(device.lastTestedAt, locale);
            m_nextDue << FormatDate(device.nextDue, locale);
            m_devices.push_back(std::move(device));
        }
        endInsertRows();
    }
    emit PageArrived(first);
}

void TFleetListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        return;
    m_query.order = ColumnOrder[column];
    m_query.descending = order == Qt::DescendingOrder;
    Restart();
}

int TFleetListModel::Row(const QString& deviceId) const {
    for (size_t row = 0; row < m_devices.size(); ++row)
        if (m_devices[row].deviceInfo[diDeviceID] == deviceId)
            return static_cast<int>(row);
    return -1;
}

int TFleetListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_devices.size());
}

int TFleetListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TFleetListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TFleetDevice& device = Device(index.row());
    const int column = index.column();
    if (role == Qt::DisplayRole) {
        switch (column) {
        case colStatus:
            return FleetStatusText(device.status);
        case colLastTest:
            return m_lastTests.at(index.row());
        case colVerdict:
            return VerdictWord(device.lastVerdict);
        case colNextDue:
            return m_nextDue.at(index.row());
        case colInterval:
            return IntervalText(device.intervalMonths, device.ownInterval.has_value());
        case colTests:
            return device.tests;
        default:
            return ColumnSlot[column] >= 0 ? device.deviceInfo[static_cast<size_t>(ColumnSlot[column])] : QString();
        }
    }
    if (role == Qt::ToolTipRole && column == colStatus)
        return FleetStatusDetails(device, QLocale());
    if (role == Qt::ForegroundRole && column == colStatus)
        return FleetStatusColour(device.status);
    if (role == Qt::ForegroundRole && column == colVerdict && device.lastVerdict != TOverallVerdict::NoCheck)
        return VerdictColour(device.lastVerdict);
    if (role == Qt::TextAlignmentRole && (column == colTests || column == colInterval))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TFleetListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const Titles[ColumnCount] = {"Status", "Device ID", "Next Due", "Last Test",
                                                    "Verdict", "Serial No.", "Make",   "Model",
                                                    "Facility", "Location", "Interval", "Tests"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(Titles[section]) : QVariant();
}
