#pragma once
// One stored test as zrqtool library list gives it (--json, --csv) and the maintenance hand-off's JSON
// file holds it: the same fields in the same order everywhere.

#include "library/testlibrary.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <utility>
#include <vector>

using TTestFields = std::vector<std::pair<QString, QJsonValue>>;

// id, sha256, device_id, serial, make, model, facility, location, tech, analyzer_id, date, loads_tested,
// verdict, added_by, added_on, added_with, added_at; a text the library does not know is null.
TTestFields LibraryTestFields(const TLibraryTest& test);

// device_id, serial, make, model, facility, location: the device as every list names it.
TTestFields DeviceFields(const std::array<QString, DEVICE_INFO_SLOTS>& deviceInfo);

QJsonObject FieldsObject(const TTestFields& fields);

// A verdict as these fields give it: "pass", "fail", "incomplete", or null when nothing was checked.
QJsonValue VerdictJson(TOverallVerdict verdict);
// The same in zrqtool's tables: "PASS", "FAIL", "INCOMPLETE", or "-".
QString VerdictColumn(TOverallVerdict verdict);

// A CSV line (RFC 4180 quoting, no line end) of the fields' names, or of their values (null: empty).
QString CsvHeaderLine(const TTestFields& fields);
QString CsvValueLine(const TTestFields& fields);
