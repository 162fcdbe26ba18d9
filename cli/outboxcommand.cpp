// zrqtool library outbox: the finished tests that wait to go into a library, and sending them.
#include "cli/command.h"
#include "library/outbox.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

int RunOutboxAction(const QString& location, const QStringList& args, QTextStream& out, QTextStream& err) {
    const char* const prefix = "zrqtool: library outbox: ";
    bool send = false;
    bool json = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--send"))
            send = true;
        else if (arg == QLatin1String("--json"))
            json = true;
        else {
            err << prefix << "expects [--send] [--json], not " << arg << '\n';
            return ExitUsage;
        }
    }
    TOutboxSend sent;
    if (send) {
        sent = SendOutbox(ProgramOutboxLocation(), location);
        if (!json)
            out << "sent " << sent.sent << ", " << sent.waiting << " still waiting for this library\n";
        if (!sent.why.isEmpty())
            err << prefix << sent.why << '\n';
        if (!sent.handOffWhy.isEmpty())
            err << prefix << sent.handOffWhy << '\n';
    }
    QString why;
    const std::unique_ptr<TOutbox> outbox = TOutbox::Open(ProgramOutboxLocation(), why);
    if (!outbox) {
        err << prefix << why << '\n';
        return ExitFailure;
    }
    const std::vector<TOutboxEntry> waiting = outbox->Waiting();
    if (json) {
        QJsonArray array;
        for (const TOutboxEntry& e : waiting)
            array.append(QJsonObject{{QStringLiteral("sha256"), e.sha256},
                                     {QStringLiteral("library"), e.library},
                                     {QStringLiteral("device_id"), e.deviceId},
                                     {QStringLiteral("date"), e.testedAt},
                                     {QStringLiteral("queued_at"), e.queuedAt},
                                     {QStringLiteral("attempts"), e.attempts},
                                     {QStringLiteral("why"), e.why}});
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        for (const TOutboxEntry& e : waiting)
            out << e.deviceId << "  " << e.testedAt << "  queued " << e.queuedAt << "  for " << e.library
                << ": " << e.why << '\n';
        out << waiting.size() << (waiting.size() == 1 ? " test waits" : " tests wait") << " in the outbox\n";
    }
    return send && sent.waiting > 0 ? ExitFailure : ExitSuccess;
}
