#pragma once
// The Test Library window's list of devices: a table model over the library's devices (each with its
// newest test's device information, last test date and verdict, and number of tests), and the filter
// that keeps the devices the search text finds. Sorting by a column sorts dates as dates and counts
// as numbers.

#include "library/testlibrary.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <vector>

class TDeviceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        colDeviceId,
        colSerial,
        colMake,
        colModel,
        colFacility,
        colLocation,
        colLastTest,
        colVerdict,
        colTests,
        ColumnCount
    };
    // What the columns sort by.
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void SetDevices(std::vector<TLibraryDevice> devices);
    const TLibraryDevice& Device(int row) const { return m_devices.at(static_cast<size_t>(row)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<TLibraryDevice> m_devices;
    QStringList m_dates; // each device's last test date as shown, made once
};

class TDeviceFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TDeviceFilter(TDeviceListModel* source, QObject* parent = nullptr);
    void SetSearch(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    TDeviceListModel* m_devices;
    QString m_search;
};
