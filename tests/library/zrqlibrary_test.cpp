// zrqtool library on each backend: a folder imported with its refusals, the listing as JSON, a record
// exported byte for byte, an unusable library left untouched, and two imports of one folder at once.
#include "library/outbox.h"
#include "tests/cli/zrqrun.h"
#include "tests/library/libraryplace.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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
    const QStringList args{QStringLiteral("library"), QStringLiteral("--db"), location,
                           QStringLiteral("import"), folder};
    first.start(QStringLiteral(ZRQTOOL_PATH), args);
    second.start(QStringLiteral(ZRQTOOL_PATH), args);
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
