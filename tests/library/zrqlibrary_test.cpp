// zrqtool library on each backend: a folder imported with its refusals, the listing as JSON, a record
// exported byte for byte, an unusable library left untouched, and two imports of one folder at once.
#include "base/clock.h"
#include "library/handoff.h"
#include "library/outbox.h"
#include "sim/virtualclock.h"
#include "tests/support/filefaults.h"
#include "tests/cli/zrqrun.h"
#include "tests/library/libraryplace.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ZrqLibrary : public ::testing::Test {
protected:
    // Records of DEF-1..DEF-n, tested on 2026-12-day, in the folder `sub` of the temporary folder.
    QString WriteRecords(const QString& sub, int count) {
        const QString folder = dir.filePath(sub);
        QDir().mkpath(folder);
        for (int day = 1; day <= count; ++day) {
            auto rec = MakeFullRecord();
            SetStatus(*rec, "ZR-1234", DateStamp{7, 5, 14, static_cast<uint8_t>(day), 12, 26});
            rec->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-%1").arg(day % 2 + 1));
            WriteBytes(QStringLiteral("%1/t%2.zrq").arg(folder).arg(day), RecordBytes(*rec));
        }
        return folder;
    }
    ZrqResult Library(const QStringList& args) {
        return Zrq(QStringList{QStringLiteral("library"), QStringLiteral("--db"), location} + args);
    }
    // zrqtool as its own program, with a settings folder of the test's own.
    void StartZrqtool(QProcess& process, const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(ZRQTOOL_PATH), QStringList{QStringLiteral("library"), QStringLiteral("--db"),
                                                              location} + args);
    }

    QTemporaryDir dir;
    std::unique_ptr<LibraryPlace> place = MakeLibraryPlace();
    QString location = place->NewLocation();
};

TEST_F(ZrqLibrary, ImportListAndExport) {
    const QString folder = WriteRecords(QStringLiteral("a/b"), 3);
    WriteBytes(dir.filePath(QStringLiteral("a/short.zrq")), QByteArray(100, 'x'));
    WriteBytes(dir.filePath(QStringLiteral("a/notes.txt")), QByteArray(10, 'x')); // not a record file

    ZrqResult r = Library(
        {QStringLiteral("import"), dir.filePath(QStringLiteral("a")), folder + QStringLiteral("/t1.zrq")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("imported 3, already present 1, refused 1\n")))
        << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("short.zrq: holds 100 bytes"))) << r.err.toStdString();

    r = Library({QStringLiteral("list"), QStringLiteral("--json"), QStringLiteral("--device"),
                 QStringLiteral("DEF-2")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonArray tests = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(tests.size(), 2); // days 1 and 3, newest first
    EXPECT_EQ(tests[0][QStringLiteral("date")].toString(), QStringLiteral("2026-12-03T14:05:07"));
    EXPECT_EQ(tests[1][QStringLiteral("date")].toString(), QStringLiteral("2026-12-01T14:05:07"));
    EXPECT_EQ(tests[0][QStringLiteral("device_id")].toString(), QStringLiteral("DEF-2"));
    EXPECT_EQ(tests[0][QStringLiteral("analyzer_id")].toString(), QStringLiteral("ZR-1234"));
    EXPECT_EQ(tests[0][QStringLiteral("loads_tested")].toInt(), 7);
    EXPECT_TRUE(tests[0][QStringLiteral("verdict")].isNull());

    const QString out = dir.filePath(QStringLiteral("out.zrq"));
    r = Library({QStringLiteral("export"), QString::number(tests[1][QStringLiteral("id")].toInteger()), out});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(ReadBytes(out), ReadBytes(folder + QStringLiteral("/t1.zrq")));
    EXPECT_EQ(Library({QStringLiteral("export"), QStringLiteral("999"), out}).status, 1);
    EXPECT_EQ(Library({QStringLiteral("export"), QStringLiteral("one"), out}).status, 2);
    EXPECT_EQ(Library({QStringLiteral("import")}).status, 2);
    EXPECT_EQ(Library({QStringLiteral("erase")}).status, 2);
}

TEST_F(ZrqLibrary, ALibraryOfANewerVersionIsReportedAndLeftAlone) {
    ASSERT_EQ(Library({QStringLiteral("list")}).status, 0);
    place->Exec(location, {QStringLiteral("UPDATE library_info SET schema_version = 9")});
    const ZrqResult r = Library({QStringLiteral("import"), WriteRecords(QStringLiteral("r"), 1)});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("newer version"))) << r.err.toStdString();
    place->Exec(location, {QStringLiteral("UPDATE library_info SET schema_version = 1")});
    EXPECT_EQ(Library({QStringLiteral("list"), QStringLiteral("--json")}).out.trimmed(),
              QStringLiteral("[\n]"));
}

// Two technicians import the same folder at the same moment: every record ends up there once and
// neither import refuses anything.
TEST_F(ZrqLibrary, TwoImportsOfOneFolderAtOnce) {
    const QString folder = WriteRecords(QStringLiteral("shared"), 40);
    ASSERT_EQ(Library({QStringLiteral("list")}).status, 0); // the library exists before both start
    QProcess first, second;
    StartZrqtool(first, {QStringLiteral("import"), folder});
    StartZrqtool(second, {QStringLiteral("import"), folder});
    int imported = 0;
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        const QString last = QString::fromUtf8(p->readAllStandardOutput()).trimmed();
        EXPECT_TRUE(last.endsWith(QStringLiteral("refused 0"))) << last.toStdString();
        imported += last.section(QLatin1Char(','), 0, 0).section(QLatin1Char(' '), 1).toInt();
    }
    EXPECT_EQ(imported, 40);
    const ZrqResult list = Library({QStringLiteral("list"), QStringLiteral("--json")});
    EXPECT_EQ(QJsonDocument::fromJson(list.out.toUtf8()).array().size(), 40);
}

} // namespace

// The outbox as zrqtool shows and sends it: a test that waits for a library not there yet goes in
// once the library is there, and only once however often it was put in the outbox.
TEST_F(ZrqLibrary, TheOutboxShowsWhatWaitsAndSendsEachTestOnce) {
    TempSettings settings; // the outbox lives in the data folder
    const QString later = dir.filePath(QStringLiteral("later/library.sqlite"));
    const QByteArray record = RecordBytes(*MakeFullRecord());
    {
        QString why;
        const std::unique_ptr<TOutbox> outbox = TOutbox::Open(ProgramOutboxLocation(), why);
        ASSERT_TRUE(outbox) << why.toStdString();
        for (const char* reason : {"the folder is not there", "still not there"})
            ASSERT_TRUE(outbox->Put(record, std::nullopt, later, QString::fromLatin1(reason), why));
    }
    const ZrqResult shown = Zrq({QStringLiteral("library"), QStringLiteral("--db"), later,
                                 QStringLiteral("outbox"), QStringLiteral("--json")});
    ASSERT_EQ(shown.status, 0) << shown.err.toStdString();
    const QJsonArray waiting = QJsonDocument::fromJson(shown.out.toUtf8()).array();
    ASSERT_EQ(waiting.size(), 1);
    EXPECT_EQ(waiting[0].toObject()[QStringLiteral("why")].toString(), QStringLiteral("still not there"));
    EXPECT_EQ(waiting[0].toObject()[QStringLiteral("attempts")].toInt(), 2);

    const QStringList send{QStringLiteral("library"), QStringLiteral("--db"), later, QStringLiteral("outbox"),
                           QStringLiteral("--send")};
    EXPECT_EQ(Zrq(send).status, 1); // the library's folder is still missing: it waits on
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("later"))));
    const ZrqResult sent = Zrq(send);
    EXPECT_EQ(sent.status, 0) << sent.err.toStdString();
    EXPECT_TRUE(sent.out.startsWith(QStringLiteral("sent 1, 0 still waiting"))) << sent.out.toStdString();
    EXPECT_TRUE(sent.out.endsWith(QStringLiteral("0 tests wait in the outbox\n"))) << sent.out.toStdString();
    const ZrqResult listed =
        Zrq({QStringLiteral("library"), QStringLiteral("--db"), later, QStringLiteral("list")});
    EXPECT_EQ(listed.out.count(QStringLiteral("\n")), 2) << listed.out.toStdString(); // heading and the test
}

namespace {

// A drawing of a megabyte for DEF-3, which a disk short of room cannot take.
QByteArray FakeDrawing(const TZRTestRec& rec, const std::optional<TVerdictBasis>&) {
    const QByteArray device = rec.GetDeviceInfo(diDeviceID).toUtf8();
    return device == "DEF-3" ? QByteArray(1 << 20, 'x') : "%PDF drawn for " + device;
}

} // namespace

// Which devices fall due, a device's own interval, the list as CSV, and every imported test handed off
// to the maintenance system's folder: whole files, or a clear message and the library unharmed.
TEST_F(ZrqLibrary, DueIntervalCsvAndTheHandOff) {
    TempSettings settings;
    VirtualClock clock(QDateTime(QDate(2026, 12, 20), QTime(12, 0)).toSecsSinceEpoch());
    const ScopedInstall<Clock> clockInstalled(clock);
    InstallServiceReportDrawer(&FakeDrawing);
    const QString handOff = dir.filePath(QStringLiteral("cmms"));
    ASSERT_TRUE(QDir().mkpath(handOff));
    settings.Ini().WriteString(QStringLiteral("Library"), QStringLiteral("EXPORT_FOLDER"), handOff);

    ZrqResult r = Library({QStringLiteral("import"), WriteRecords(QStringLiteral("r"), 3)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList files = QDir(handOff).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_EQ(files, (QStringList{"DEF-1_2026-12-02T14-05-07.json", "DEF-1_2026-12-02T14-05-07.pdf",
                                  "DEF-2_2026-12-01T14-05-07.json", "DEF-2_2026-12-01T14-05-07.pdf",
                                  "DEF-2_2026-12-03T14-05-07.json", "DEF-2_2026-12-03T14-05-07.pdf"}));
    const QJsonObject first =
        QJsonDocument::fromJson(ReadBytes(handOff + QStringLiteral("/DEF-2_2026-12-01T14-05-07.json"))).object();
    // As the device's newest test then said: the test of Dec 3 was imported after it.
    EXPECT_EQ(first[QStringLiteral("next_due")].toString(), QStringLiteral("2027-12-01"));
    EXPECT_EQ(first[QStringLiteral("pdf")].toString(), QStringLiteral("DEF-2_2026-12-01T14-05-07.pdf"));
    EXPECT_EQ(first[QStringLiteral("analyzer_id")].toString(), QStringLiteral("ZR-1234"));
    EXPECT_EQ(ReadBytes(handOff + QStringLiteral("/DEF-1_2026-12-02T14-05-07.pdf")), "%PDF drawn for DEF-1");

    EXPECT_EQ(Library({QStringLiteral("interval"), QStringLiteral("DEF-1"), QStringLiteral("1")}).status, 0);
    EXPECT_EQ(Library({QStringLiteral("interval"), QStringLiteral("DEF-9"), QStringLiteral("1")}).status, 1);
    r = Library({QStringLiteral("due"), QStringLiteral("--json")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonArray due = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(due.size(), 1);
    EXPECT_EQ(due[0][QStringLiteral("device_id")].toString(), QStringLiteral("DEF-1"));
    EXPECT_EQ(due[0][QStringLiteral("next_due")].toString(), QStringLiteral("2027-01-02"));
    EXPECT_EQ(due[0][QStringLiteral("interval_months")].toInt(), 1);
    EXPECT_EQ(due[0][QStringLiteral("status")].toString(), QStringLiteral("due"));
    due = QJsonDocument::fromJson(Library({QStringLiteral("due"), QStringLiteral("--all"), QStringLiteral("--json")})
                                      .out.toUtf8())
              .array();
    ASSERT_EQ(due.size(), 2);
    EXPECT_EQ(due[1][QStringLiteral("status")].toString(), QStringLiteral("ok"));
    EXPECT_EQ(Library({QStringLiteral("due"), QStringLiteral("--within"), QStringLiteral("soon")}).status, 2);

    r = Library({QStringLiteral("list"), QStringLiteral("--csv")});
    const QStringList lines = r.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("id,sha256,device_id,serial,"))) << lines[0].toStdString();
    EXPECT_EQ(lines[1].count(QLatin1Char(',')), lines[0].count(QLatin1Char(',')));

    // A disk too full for the drawing: said, and the test is in the library all the same.
    auto rec = MakeFullRecord();
    rec->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-3"));
    WriteBytes(dir.filePath(QStringLiteral("t.zrq")), RecordBytes(*rec));
    {
        const FileSizeLimit full(768 * 1024);
        r = Library({QStringLiteral("import"), dir.filePath(QStringLiteral("t.zrq"))});
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("imported 1, already present 0, refused 0\n")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("hand-off to the maintenance system could not be written")))
        << r.err.toStdString();
    EXPECT_EQ(QDir(handOff).entryList(QDir::Files | QDir::Hidden).size(), 6); // nothing half-written
    EXPECT_EQ(Library({QStringLiteral("list"), QStringLiteral("--device"), QStringLiteral("DEF-3")})
                  .out.count(QLatin1Char('\n')),
              2);

    // A device whose newest test failed is "ok" by the calendar alone: the table says it failed.
    {
        QString why;
        const auto library = TTestLibrary::Open(location, why);
        ASSERT_TRUE(library) << why.toStdString();
        auto failed = MakeFullRecord();
        SetStatus(*failed, "ZR-1234", DateStamp{7, 5, 14, 15, 12, 26});
        failed->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-7"));
        TVerdictBasis failing;
        failing.profile.name = QStringLiteral("Maker X200");
        failing.profile.tolerance = TTolerance{0.0, 10.0};
        failing.setting.selected = 150.0;
        failing.setting.declared.fill(1.0); // every load delivered far more than declared
        ASSERT_EQ(library->Add(RecordBytes(*failed), failing).outcome, TAddOutcome::Added);
    }
    const QString table = Library({QStringLiteral("due"), QStringLiteral("--all")}).out;
    EXPECT_TRUE(table.contains(QRegularExpression(QStringLiteral("\nOK +\\S+ +FAIL +DEF-7 ")))) << table.toStdString();
    EXPECT_TRUE(table.contains(QRegularExpression(QStringLiteral("\nOK +\\S+ +- +DEF-2 ")))) << table.toStdString();
    EXPECT_FALSE(table.contains(QStringLiteral("/\n"))) << table.toStdString(); // none has a facility or location
    InstallServiceReportDrawer(nullptr);

    // The real drawing, in zrqtool of its own.
    QProcess pdf;
    StartZrqtool(pdf, {QStringLiteral("pdf"), first[QStringLiteral("id")].toVariant().toString(),
                       dir.filePath(QStringLiteral("stored.pdf"))});
    ASSERT_TRUE(pdf.waitForFinished(60000));
    EXPECT_EQ(pdf.exitCode(), 0) << pdf.readAllStandardError().toStdString();
    EXPECT_TRUE(ReadBytes(dir.filePath(QStringLiteral("stored.pdf"))).startsWith("%PDF-"));
}
