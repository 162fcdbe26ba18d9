#pragma once
// The Test Library window's list of devices: the fleet (library/fleet.h), each device with its newest
// test's information, its status, its next due date and interval, read a page at a time as the list is
// scrolled, so that a library of a hundred thousand devices opens as fast as one of ten. Sorting by a
// column asks the library again in that order.

#include "library/fleet.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>

class TFleetListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // What a fleet's questions need first (which device, how urgent, when due), then its identity.
    enum Column {
        colStatus,
        colDeviceId,
        colNextDue,
        colLastTest,
        colVerdict,
        colSerial,
        colMake,
        colModel,
        colFacility,
        colLocation,
        colInterval,
        colTests,
        ColumnCount
    };
    // Reads the devices `query` asks for (its offset and limit set to the page wanted) and hands them to
    // `done`, at once or later (a page read on the library's worker); fewer than a page ends the list.
    using Done = std::function<void(std::vector<TFleetDevice> devices)>;
    using Source = std::function<void(const TFleetQuery& query, Done done)>;
    static constexpr int PageSize = 200;

    explicit TFleetListModel(QObject* parent = nullptr);

    // Lists the devices of `query` (its order and direction kept from the last sort) from the first page.
    // Each page that arrives is told by PageArrived.
    void SetQuery(const TFleetQuery& query, Source source);
    const TFleetQuery& Query() const { return m_query; }
    const TFleetDevice& Device(int row) const { return m_devices.at(static_cast<size_t>(row)); }
    // The row of the device among those read so far; -1 when it is not (yet) there.
    int Row(const QString& deviceId) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // A page is asked for and has not arrived.
    bool Reading() const { return m_reading; }
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    void sort(int column, Qt::SortOrder order) override;

signals:
    // A page of devices has been read and its rows are there (`first`: the first page of a new list, which
    // may hold none).
    void PageArrived(bool first);

private:
    // Empties the list and reads its first page.
    void Restart();
    void Insert(std::vector<TFleetDevice> page, bool first);

    TFleetQuery m_query;
    Source m_source;
    std::vector<TFleetDevice> m_devices;
    QStringList m_lastTests, m_nextDue; // as shown, made once per page
    bool m_more = false;
    bool m_reading = false;
    quint64 m_generation = 0; // a page of an earlier list that arrives late is dropped
};
