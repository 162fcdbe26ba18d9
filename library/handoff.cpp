#include "library/handoff.h"

#include "base/settings.h"
#include "library/testfields.h"
#include "records/recordimage.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QMutex>
#include <QSaveFile>
#include <QThread>
#include <QtDebug>
#include <atomic>
#include <memory>

namespace {

ServiceReportDrawer g_drawer = nullptr;
std::atomic<bool> g_handOff{true};

QMutex g_sinkLock;
std::function<void(const QString&)> g_sink;

void TellProblem(const QString& why) {
    QMutexLocker lock(&g_sinkLock);
    if (g_sink)
        g_sink(why);
    else
        qWarning().noquote() << why;
}

// Whole or not at all: QSaveFile writes beside the target and renames it at the end.
QString WriteWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return QString();
    return QStringLiteral("%1 cannot be written (%2)").arg(QDir::toNativeSeparators(path), file.errorString());
}

// What a hand-off needs from the library, read on the library's own thread.
struct Pending {
    TLibraryTest test;
    QString deviceLastTestedAt;
    std::optional<int> ownInterval;
};

std::optional<Pending> ReadPending(TTestLibrary& library, qint64 id, QString& why) {
    std::optional<TLibraryTest> test = library.Test(id);
    if (!test) {
        why = library.LastError();
        return std::nullopt;
    }
    TFleetQuery query;
    query.today = Today();
    query.deviceId = test->deviceInfo[diDeviceID];
    const std::vector<TFleetDevice> device = library.Fleet(query);
    if (device.empty()) {
        why = library.LastError();
        return std::nullopt;
    }
    return Pending{*test, device.front().lastTestedAt, device.front().ownInterval};
}

// On the program's main thread: the settings, the drawing and the files.
QString Finish(const Pending& pending, const QByteArray& record, const std::optional<TVerdictBasis>& basis) {
    const QString folder = ConfiguredExportFolder(ProgramSettings());
    if (folder.isEmpty() || !g_handOff)
        return QString();
    const int months = pending.ownInterval.value_or(ConfiguredIntervalMonths(ProgramSettings()));
    return WriteHandOff(folder, record, pending.test, NextDue(pending.deviceLastTestedAt, months), basis);
}

} // namespace

void InstallServiceReportDrawer(ServiceReportDrawer drawer) {
    g_drawer = drawer;
}

ServiceReportDrawer InstalledServiceReportDrawer() {
    return g_drawer;
}

void HandOffTests(bool handOff) {
    g_handOff = handOff;
}

void InstallHandOffProblemSink(std::function<void(const QString& why)> sink) {
    QMutexLocker lock(&g_sinkLock);
    g_sink = std::move(sink);
}

QString ConfiguredExportFolder(const TSettings& settings) {
    return settings.ReadString(QStringLiteral("Library"), QStringLiteral("EXPORT_FOLDER"), QString()).trimmed();
}

QString HandOffBaseName(const TLibraryTest& test) {
    QString device = test.deviceInfo[diDeviceID];
    for (QChar& c : device)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('-') && c != QLatin1Char('.'))
            c = QLatin1Char('_');
    if (device.isEmpty() || device.startsWith(QLatin1Char('.')))
        device.prepend(QLatin1Char('_'));
    return device + QLatin1Char('_') + QString(test.testedAt).replace(QLatin1Char(':'), QLatin1Char('-'));
}

QByteArray HandOffJson(const TLibraryTest& test, QDate nextDue, const QString& pdfName) {
    TTestFields fields = LibraryTestFields(test);
    fields.emplace_back(QStringLiteral("next_due"), nextDue.toString(Qt::ISODate));
    fields.emplace_back(QStringLiteral("pdf"), pdfName);
    return QJsonDocument(FieldsObject(fields)).toJson(QJsonDocument::Indented);
}

QString WriteHandOff(const QString& folder, const QByteArray& record, const TLibraryTest& test, QDate nextDue,
                     const std::optional<TVerdictBasis>& basis) {
    const QString problem = QStringLiteral("The test of %1 is in the library, but its hand-off to the maintenance "
                                           "system could not be written: %2")
                                .arg(test.deviceInfo[diDeviceID]);
    if (g_drawer == nullptr)
        return problem.arg(QStringLiteral("this program cannot draw its PDF service report"));
    if (!QDir(folder).exists())
        return problem.arg(QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(folder)));
    auto rec = std::make_unique<TZRTestRec>();
    QString why;
    if (!DecodeTestRecord(record, *rec, why))
        return problem.arg(why);
    const QString name = HandOffBaseName(test);
    const QString base = QDir(folder).filePath(name);
    const QString pdfName = name + QStringLiteral(".pdf");
    // The PDF first: a JSON file that names its PDF never appears before it.
    if (QString failed = WriteWhole(base + QStringLiteral(".pdf"), g_drawer(*rec, basis)); !failed.isEmpty())
        return problem.arg(failed);
    if (QString failed = WriteWhole(base + QStringLiteral(".json"), HandOffJson(test, nextDue, pdfName));
        !failed.isEmpty())
        return problem.arg(failed);
    return QString();
}

TAddResult AddAndHandOff(TTestLibrary& library, QByteArrayView bytes, const std::optional<TVerdictBasis>& basis) {
    TAddResult result = library.Add(bytes, basis);
    if (result.outcome != TAddOutcome::Added || !g_handOff)
        return result;
    QCoreApplication* app = QCoreApplication::instance();
    const bool mainThread = app == nullptr || QThread::currentThread() == app->thread();
    // On the main thread the settings tell at once whether there is a folder: an import of many records
    // without one reads nothing back. Away from it they are read where the files are written.
    if (mainThread && ConfiguredExportFolder(ProgramSettings()).isEmpty())
        return result;
    QString why;
    const std::optional<Pending> pending = ReadPending(library, result.id, why);
    if (!pending) {
        result.handOffWhy = QStringLiteral("The test is in the library, but it could not be read back for its "
                                           "hand-off to the maintenance system: %1")
                                .arg(why);
        return result;
    }
    if (mainThread) {
        result.handOffWhy = Finish(*pending, bytes.toByteArray(), basis);
        return result;
    }
    QMetaObject::invokeMethod(
        app,
        [pending = *pending, record = bytes.toByteArray(), basis] {
            if (const QString failed = Finish(pending, record, basis); !failed.isEmpty())
                TellProblem(failed);
        },
        Qt::QueuedConnection);
    return result;
}
