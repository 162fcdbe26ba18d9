#pragma once
// The hand-off to a maintenance management system: every test that enters the library is also written
// into the folder the settings name ([Library] EXPORT_FOLDER) as its PDF service report and a JSON
// file of the same base name, DEVICEID_YYYY-MM-DDTHH-MM-SS.pdf and .json. Each file is written aside
// and renamed, so that a program watching the folder never reads half a file; a folder that cannot be
// written is reported and loses nothing in the library.

#include "library/testlibrary.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>
#include <optional>

// Draws a test's service report as PDF bytes. The drawing needs Qt Widgets, which the library does not
// link: the program's entries install it; none installed, no PDF can be handed off.
using ServiceReportDrawer = QByteArray (*)(const TZRTestRec& rec, const std::optional<TVerdictBasis>& verdict);
void InstallServiceReportDrawer(ServiceReportDrawer drawer);
ServiceReportDrawer InstalledServiceReportDrawer();

class TSettings;

// The folder named in the settings; empty: no hand-off.
QString ConfiguredExportFolder(const TSettings& settings);

// "DEF-0042_2026-12-09T09-30-00": the Device ID (characters a file name cannot hold replaced by "_")
// and the test's date and time.
QString HandOffBaseName(const TLibraryTest& test);

// The JSON file's fields: those of zrqtool library list --json, the device's next due date and the PDF's
// file name.
QByteArray HandOffJson(const TLibraryTest& test, QDate nextDue, const QString& pdfName);

// Writes the two files for `test` into `folder`; the reason when they could not both be written.
QString WriteHandOff(const QString& folder, const QByteArray& record, const TLibraryTest& test, QDate nextDue,
                     const std::optional<TVerdictBasis>& basis);

// Adds the record to the library as TTestLibrary::Add does and hands off a test that entered it now.
// Called away from the program's main thread, the drawing and writing happen there a little later and a
// failure goes to the hand-off problem sink instead of `handOffWhy`.
TAddResult AddAndHandOff(TTestLibrary& library, QByteArrayView bytes,
                         const std::optional<TVerdictBasis>& basis = std::nullopt);

// Whether this program hands tests off at all (the demo's simulated tests are not); it does unless told.
void HandOffTests(bool handOff);

// Where a hand-off that failed away from the calling thread is told (the windows show it); by default
// it is logged.
void InstallHandOffProblemSink(std::function<void(const QString& why)> sink);
