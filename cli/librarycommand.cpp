// zrqtool library: record files into the test library, the tests it holds, and a stored record back
// out as a file. Without --db it uses the library the program uses.
#include "base/global.h"
#include "base/settings.h"
#include "cli/command.h"
#include "cli/recordinput.h"
#include "library/postgresaddress.h"
#include "library/testlibrary.h"

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
    int imported = 0, present = 0, refused = 0;
    for (const QString& path : paths) {
        for (const QString& file : RecordFiles(path)) {
            QString why;
            const std::optional<QByteArray> bytes = ReadRecordBytes(file, why);
            const TAddResult result = bytes ? library.Add(*bytes) : TAddResult{TAddOutcome::Refused, 0, why};
            switch (result.outcome) {
            case TAddOutcome::Added:
                ++imported;
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
    return refused == 0 ? ExitSuccess : ExitFailure;
}

// A text the library may not know (null in JSON).
QJsonValue Known(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonObject TestJson(const TLibraryTest& t) {
    const char* verdict = VerdictValue(t.verdict);
    return QJsonObject{
        {QStringLiteral("id"), t.id},
        {QStringLiteral("sha256"), t.sha256},
        {QStringLiteral("device_id"), t.deviceInfo[diDeviceID]},
        {QStringLiteral("serial"), t.deviceInfo[diSerialNo]},
        {QStringLiteral("make"), t.deviceInfo[diManufacturer]},
        {QStringLiteral("model"), t.deviceInfo[diModel]},
        {QStringLiteral("facility"), t.deviceInfo[diFacility]},
        {QStringLiteral("location"), t.deviceInfo[diLocation]},
        {QStringLiteral("tech"), t.deviceInfo[diTechID]},
        {QStringLiteral("analyzer_id"), t.analyzerId},
        {QStringLiteral("date"), t.testedAt},
        {QStringLiteral("loads_tested"), t.LoadsTested()},
        {QStringLiteral("verdict"), verdict ? QJsonValue(QString::fromLatin1(verdict)) : QJsonValue()},
        {QStringLiteral("added_by"), Known(t.added.by)},
        {QStringLiteral("added_on"), Known(t.added.on)},
        {QStringLiteral("added_with"), Known(t.added.with)},
        {QStringLiteral("added_at"), Known(t.added.at)},
    };
}

int List(TTestLibrary& library, const QStringList& args, QTextStream& out, QTextStream& err) {
    std::optional<QString> device; // none: every device
    bool json = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--json")) {
            json = true;
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
    if (json) {
        QJsonArray array;
        for (const TLibraryTest& t : tests)
            array.append(TestJson(t));
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
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
    for (const TLibraryTest& t : tests) {
        const char* verdict = VerdictValue(t.verdict);
        out << QStringLiteral("%1  %2  %3 %4 %5 %6 %7\n")
                   .arg(t.id, 6)
                   .arg(t.testedAt, -19)
                   .arg(t.deviceInfo[diDeviceID], -16)
                   .arg(t.deviceInfo[diSerialNo], -16)
                   .arg((t.deviceInfo[diManufacturer] + QLatin1Char(' ') + t.deviceInfo[diModel]).trimmed(),
                        -32)
                   .arg(t.LoadsTested(), 5)
                   .arg(verdict ? QString::fromLatin1(verdict).toUpper() : QStringLiteral("-"));
    }
    return ExitSuccess;
}

int Export(TTestLibrary& library, const QStringList& args, QTextStream& err) {
    if (args.size() != 2) {
        err << Prefix << "export expects ID OUT.zrq\n";
        return ExitUsage;
    }
    bool isNumber = false;
    const qint64 id = args[0].toLongLong(&isNumber);
    if (!isNumber) {
        err << Prefix << "export: \"" << args[0] << "\" is not a test ID (see zrqtool library list)\n";
        return ExitUsage;
    }
    const std::optional<QByteArray> bytes = library.RecordBytes(id);
    if (!bytes) {
        err << Prefix
            << (library.LastError().isEmpty() ? QStringLiteral("no test has the ID %1").arg(id)
                                              : library.LastError())
            << '\n';
        return ExitFailure;
    }
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
    const bool known = action == QLatin1String("import") || action == QLatin1String("list") ||
                       action == QLatin1String("export") || action == QLatin1String("outbox");
    if (!known || (action == QLatin1String("import") && args.isEmpty())) {
        err << Prefix
            << "expects [--db URL] import PATH... | list [--device ID] [--json] | export ID OUT.zrq | "
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
    return Export(*library, args, err);
}
