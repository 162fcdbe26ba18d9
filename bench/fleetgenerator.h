#pragma once
// Benchmark only: fills a new test library with a generated fleet, many devices each tested several
// times, by bulk SQL (multi-row prepared INSERTs in a few big transactions) instead of the library's
// own Add, which would take hours for a million tests. The program itself never writes a library this
// way.
//
// What it writes is what the program would have stored, apart from the records themselves: every test
// holds the same short placeholder instead of a 72424-byte record (a million records would take 72 GB),
// so opening one of its tests in a report viewer tells that it cannot be read; nothing the fleet view,
// the trend chart or zrqtool library due read comes from the record. Each test's sha256 is made from
// its row number, so that it stays unique.
//
// The fleet: devices of 8 makes (3 models each) in about 200 facilities, each with its location;
// tests spread over the 10 years up to `today`, each device's newest within the last 13 months or so
// (some overdue, some due soon); verdicts mixed (about 86% pass, 5% fail, 4% incomplete, 5% no check);
// a share of the limit for each judged test; 7 loads each (5 for an incomplete test); and the devices
// table filled as the library keeps it (newest test, count of tests), a few with an interval of their
// own (6 or 24 months).

#include <QDate>
#include <QString>

struct TFleetSize {
    int devices = 100000;
    int testsPerDevice = 10;
    int Tests() const { return devices * testsPerDevice; }
};

// The size named by CORVEX_BENCH_FLEET=DEVICESxTESTS ("2000x10"), else 100 000 devices x 10 tests.
TFleetSize FleetSizeFromEnvironment();

// The Device ID of device `device` (0-based): "DEF-000042".
QString FleetDeviceId(int device);
// Words found in the generated fleet, to search for: a facility's city, a model, ...
extern const char* const FleetSearchTerms[4];

// Fills the library at `location` (a file path or a postgresql:// address) with the fleet of `size`,
// its dates up to `today`; it is opened first with TTestLibrary::Open, so that the program creates the
// schema. A library that holds that fleet already (as many devices and tests) is left as it is; one
// holding anything else is refused. False with the reason in `why` when it could not be filled.
bool GenerateFleet(const QString& location, TFleetSize size, QDate today, QString& why);
