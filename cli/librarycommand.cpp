// zrqtool library: record files into the test library, the tests it holds, and a stored record back
// out as a file. Without --db it uses the library the program uses.
#include "base/global.h"
#include "base/settings.h"
#include "cli/command.h"
#include "cli/recordinput.h"
#include "cli/pdfoutput.h"
#include "library/handoff.h"
#include "library/postgresaddress.h"
#include "library/testfields.h"
#include "library/testlibrary.h"
#include "records/recordimage.h"
#include "report/wholefile.h"
#include "verdict/profilefolder.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>

namespace {

const char* const Prefix = "zrqtool: library: ";

// The record files a path names: the file itself, or every *.zrq below a folder, in name order.
QStringList RecordFiles(const QString& path) {
    if (!QFileInfo(path).isDir())
        return {path};
    QStringList files;
    QDirIterator it(path, {QStringLiteral("*.zrq")}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    std::sort(files.begin(), files.end());
    return files;
}

int Import(TTestLibrary& library, const QStringList& paths, QTextStream& out, QTextStream& err) {
    int imported = 0, present = 0, refused = 0, notHandedOff = 0;
    for (const QString& path : paths) {
        for (const QString& file : RecordFiles(path)) {
            QString why;
            const std::optional<QByteArray> bytes = ReadRecordBytes(file, why);
            const TAddResult result =
                bytes ? AddAndHandOff(library, *bytes) : TAddResult{TAddOutcome::Refused, 0, why, {}};
            switch (result.outcome) {
            case TAddOutcome::Added:
                ++imported;
                if (!result.handOffWhy.isEmpty()) {
                    ++notHandedOff;
                    err << Prefix << file << ": " << result.handOffWhy << '\n';
                }
                break;
            case TAddOutcome::AlreadyPresent:
                ++present;
                break;
            case TAddOutcome::Refused:
            case TAddOutcome::Failed:
                ++refused;
                err << Prefix << (bytes ? file + QStringLiteral(": ") : QString()) << result.why << '\n';
                err.flush();
                break;
            }
        }
    }
    out << "imported " << imported << ", already present " << present << ", refused " << refused << '\n';
    return refused == 0 && notHandedOff == 0 ? ExitSuccess : ExitFailure;
}

int List(TTestLibrary& library, const QStringList& args, QTextStream& out, QTextStream& err) {
    std::optional<QString> device; // none: every device
    bool json = false;
    bool csv = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--json")) {
            json = true;
        } else if (args[i] == QLatin1String("--csv")) {
            csv = true;
        } else if (args[i] == QLatin1String("--device") && i + 1 < args.size()) {
            device = args[++i];
        } else {
            err << Prefix << "list: unexpected argument \"" << args[i] << "\"\n";
            return ExitUsage;
        }
    }
    const std::vector<TLibraryTest> tests = library.List(device);
    if (tests.empty() && !library.LastError().isEmpty()) {
        err << Prefix << library.LastError() << '\n';
        return ExitFailure;
    }
    if (json && csv) {
        err << Prefix << "list: --json or --csv, not both\n";
        return ExitUsage;
    }
    if (json) {
        QJsonArray array;
        for (const TLibraryTest& t : tests)
            array.append(FieldsObject(LibraryTestFields(t)));
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        return ExitSuccess;
    }
    if (csv) {
        out << CsvHeaderLine(LibraryTestFields(TLibraryTest{})) << "\r\n";
        for (const TLibraryTest& t : tests)
            out << CsvValueLine(LibraryTestFields(t)) << "\r\n";
        return ExitSuccess;
    }
    out << QStringLiteral("%1  %2  %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("ID"), 6)
               .arg(QStringLiteral("DATE"), -19)
               .arg(QStringLiteral("DEVICE ID"), -16)
               .arg(QStringLiteral("SERIAL"), -16)
               .arg(QStringLiteral("MAKE / MODEL"), -32)
               .arg(QStringLiteral("LOADS"), 5)
               .arg(QStringLiteral("VERDICT"));
    for (const TLibraryTest& t : tests)
        out << QStringLiteral("%1  %2  %3 %4 %5 %6 %7\n")
                   .arg(t.id, 6)
                   .arg(t.testedAt, -19)
                   .arg(t.deviceInfo[diDeviceID], -16)
                   .arg(t.deviceInfo[diSerialNo], -16)
                   .arg((t.deviceInfo[diManufacturer] + QLatin1Char(' ') + t.deviceInfo[diModel]).trimmed(),
                        -32)
                   .arg(t.LoadsTested(), 5)
                   .arg(VerdictColumn(t.verdict));
    return ExitSuccess;
}

// The test ID and output file of export and pdf.
std::optional<qint64> TestAndFile(const char* action, const char* file, const QStringList& args, QTextStream& err) {
    if (args.size() != 2) {
        err << Prefix << action << " expects ID " << file << '\n';
        return std::nullopt;
    }
    bool isNumber = false;
    const qint64 id = args[0].toLongLong(&isNumber);
    if (!isNumber) {
        err << Prefix << action << ": \"" << args[0] << "\" is not a test ID (see zrqtool library list)\n";
        return std::nullopt;
    }
    return id;
}

// The record's bytes, or nothing with the reason told.
std::optional<QByteArray> StoredRecord(TTestLibrary& library, qint64 id, QTextStream& err) {
    std::optional<QByteArray> bytes = library.RecordBytes(id);
    if (!bytes)
        err << Prefix
            << (library.LastError().isEmpty() ? QStringLiteral("no test has the ID %1").arg(id)
                                              : library.LastError())
            << '\n';
    return bytes;
}

// The service report of a stored test, checked against the choice stored with it.
int Pdf(TTestLibrary& library, const QStringList& args, QTextStream& err) {
    const std::optional<qint64> id = TestAndFile("pdf", "OUT.pdf", args, err);
    if (!id)
        return ExitUsage;
    const std::optional<QByteArray> bytes = StoredRecord(library, *id, err);
    const std::optional<TLibraryTest> test = bytes ? library.Test(*id) : std::nullopt;
    if (!test)
        return ExitFailure;
    const ServiceReportDrawer draw = InstalledServiceReportDrawer();
    auto rec = std::make_unique<TZRTestRec>();
    QString why;
    if (draw == nullptr || !DecodeTestRecord(*bytes, *rec, why)) {
        err << Prefix << (draw ? why : QStringLiteral("this zrqtool was built without the drawing of documents"))
            << '\n';
        return ExitFailure;
    }
    std::optional<TVerdictBasis> basis;
    if (test->choice) {
        basis = ResolveVerdictChoice(LoadProfiles().profiles, *test->choice);
        if (!basis)
            err << Prefix << "the profile \"" << test->choice->profile << "\" at " << test->choice->selected
                << " J is not installed here: the PDF shows no verdict\n";
    }
    try {
        WriteWholeFile(args[1], draw(*rec, basis));
    } catch (const EFileError& error) {
        err << Prefix << QString::fromLocal8Bit(error.what()) << '\n';
        return ExitFailure;
    }
    return ExitSuccess;
}

int Export(TTestLibrary& library, const QStringList& args, QTextStream& err) {
    const std::optional<qint64> id = TestAndFile("export", "OUT.zrq", args, err);
    if (!id)
        return ExitUsage;
    const std::optional<QByteArray> bytes = StoredRecord(library, *id, err);
    if (!bytes)
        return ExitFailure;
    // Through a temporary file: a write that fails half-way keeps a file that was there.
    QSaveFile file(args[1]);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        err << Prefix << args[1] << ": cannot be written (" << file.errorString() << ")\n";
        return ExitFailure;
    }
    return ExitSuccess;
}

} // namespace

int RunLibraryCommand(const QStringList& given, QTextStream& out, QTextStream& err) {
    QStringList args = given;
    QString location;
    if (args.size() >= 2 && args[0] == QLatin1String("--db")) {
        location = args[1];
        args = args.mid(2);
    }
    const QString action = args.isEmpty() ? QString() : args.takeFirst();
    const QStringList actions{QStringLiteral("import"), QStringLiteral("list"),   QStringLiteral("export"),
                              QStringLiteral("pdf"),    QStringLiteral("due"),    QStringLiteral("interval"),
                              QStringLiteral("outbox")};
    if (!actions.contains(action) || (action == QLatin1String("import") && args.isEmpty())) {
        err << Prefix
            << "expects [--db URL] import PATH... | list [--device ID] [--json | --csv] | export ID OUT.zrq | "
               "pdf ID OUT.pdf | due [--within DAYS] [--all] [--json] | interval DEVICE_ID MONTHS | "
               "outbox [--send] [--json]\n";
        return ExitUsage;
    }
    if (location.isEmpty()) {
        SetupDataFolder();
        location = ConfiguredLibraryLocation(ProgramSettings());
        // It works, but it does not belong there.
        if (const QString advice = PasswordAdvice(location); !advice.isEmpty())
            err << Prefix << advice << '\n';
    }
    if (DataFolder.isEmpty())
        SetupDataFolder(); // the outbox is there
    if (action == QLatin1String("outbox"))
        return RunOutboxAction(location, args, out, err);
    QString why;
    const std::unique_ptr<TTestLibrary> library = TTestLibrary::Open(location, why);
    if (!library) {
        err << Prefix << why << '\n';
        return ExitFailure;
    }
    if (action == QLatin1String("import"))
        return Import(*library, args, out, err);
    if (action == QLatin1String("list"))
        return List(*library, args, out, err);
    if (action == QLatin1String("pdf"))
        return Pdf(*library, args, err);
    if (action == QLatin1String("due"))
        return RunDueAction(*library, args, out, err);
    if (action == QLatin1String("interval"))
        return RunIntervalAction(*library, args, out, err);
    return Export(*library, args, err);
}
