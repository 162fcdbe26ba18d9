#include "library/postgresaddress.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>
#include <iterator>

namespace {

// libpq's connection keywords (PostgreSQL 15, and those a newer libpq adds).
constexpr const char* Keywords[] = {
    "host",
    "hostaddr",
    "port",
    "dbname",
    "user",
    "password",
    "passfile",
    "channel_binding",
    "connect_timeout",
    "client_encoding",
    "options",
    "application_name",
    "fallback_application_name",
    "keepalives",
    "keepalives_idle",
    "keepalives_interval",
    "keepalives_count",
    "tcp_user_timeout",
    "replication",
    "gssencmode",
    "sslmode",
    "requiressl",
    "sslcompression",
    "sslcert",
    "sslkey",
    "sslpassword",
    "sslrootcert",
    "sslcrl",
    "sslcrldir",
    "sslsni",
    "requirepeer",
    "ssl_min_protocol_version",
    "ssl_max_protocol_version",
    "krbsrvname",
    "gsslib",
    "service",
    "target_session_attrs",
    "load_balance_hosts",
    "sslcertmode",
    "require_auth",
    "gssdelegation",
    "sslnegotiation",
};
// The options whose values are secrets: never shown.
constexpr const char* Secrets[] = {"password", "sslpassword"};

bool IsKeyword(const QString& word) {
    return std::any_of(std::begin(Keywords), std::end(Keywords),
                       [&](const char* k) { return word == QLatin1String(k); });
}

// A value as libpq reads it inside a connection string: quoted, with quotes and backslashes escaped.
QString Quoted(QString value) {
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

bool IsUrlForm(const QString& location) {
    return location.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
           location.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

// "service=corvexzr", "host=db1 dbname=x": starts with a keyword and an equals sign.
bool IsKeywordForm(const QString& location) {
    static const QRegularExpression start(QStringLiteral("^\\s*([a-z_]+)\\s*="));
    const QRegularExpressionMatch m = start.match(location);
    return m.hasMatch() && IsKeyword(m.captured(1));
}

// Reads libpq's keyword form: pairs of keyword=value, a value quoted with ' when it holds spaces.
std::optional<QList<QPair<QString, QString>>> KeywordPairs(const QString& text, QString& why) {
    QList<QPair<QString, QString>> pairs;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipSpace = [&] {
        while (i < n && text[i].isSpace())
            ++i;
    };
    for (skipSpace(); i < n; skipSpace()) {
        const qsizetype keyStart = i;
        while (i < n && text[i] != QLatin1Char('=') && !text[i].isSpace())
            ++i;
        const QString key = text.mid(keyStart, i - keyStart);
        skipSpace();
        if (i >= n || text[i] != QLatin1Char('=')) {
            why = QStringLiteral("\"%1\" has no value: write it as %1=VALUE.").arg(key);
            return std::nullopt;
        }
        ++i;
        skipSpace();
        QString value;
        if (i < n && text[i] == QLatin1Char('\'')) {
            for (++i; i < n && text[i] != QLatin1Char('\''); ++i) {
                if (text[i] == QLatin1Char('\\') && i + 1 < n)
                    ++i;
                value += text[i];
            }
            if (i >= n) {
                why = QStringLiteral("The value of \"%1\" has no closing quote.").arg(key);
                return std::nullopt;
            }
            ++i;
        } else {
            while (i < n && !text[i].isSpace()) {
                if (text[i] == QLatin1Char('\\') && i + 1 < n)
                    ++i;
                value += text[i++];
            }
        }
        pairs.append({key, value});
    }
    return pairs;
}

// Moves the options that name the address's own parts into them, and checks every keyword.
bool TakeOptions(PostgresAddress& address, const QList<QPair<QString, QString>>& pairs, QString& why) {
    for (const auto& [key, value] : pairs) {
        if (!IsKeyword(key)) {
            why = QStringLiteral("\"%1\" is not a connection option PostgreSQL knows (such as sslmode, "
                                 "sslrootcert, service or connect_timeout).")
                      .arg(key);
            return false;
        }
        // The driver cuts its options at ';', whatever the quotes.
        if (value.contains(QLatin1Char(';'))) {
            why = QStringLiteral("The value of \"%1\" holds a ';', which the database driver cannot pass on.")
                      .arg(key);
            return false;
        }
        if (key == QLatin1String("host"))
            address.host = value;
        else if (key == QLatin1String("user"))
            address.user = value;
        else if (key == QLatin1String("password"))
            address.password = value;
        else if (key == QLatin1String("dbname"))
            address.dbname = value;
        else if (key == QLatin1String("port")) {
            bool ok = false;
            address.port = value.toInt(&ok);
            if (!ok || address.port <= 0 || address.port > 65535) {
                why = QStringLiteral("The port \"%1\" is not a port number.").arg(value);
                return false;
            }
        } else
            address.options.append({key, value});
    }
    return true;
}

} // namespace

QString PostgresAddress::ConnectOptions() const {
    // The driver separates its options with ';' and hands them to libpq as they stand.
    QStringList parts;
    for (const auto& [key, value] : options)
        parts << key + QLatin1Char('=') + Quoted(value);
    return parts.join(QLatin1Char(';'));
}

bool PostgresAddress::HasOption(const QString& keyword) const {
    return std::any_of(options.begin(), options.end(), [&](const auto& o) { return o.first == keyword; });
}

bool IsPostgresAddress(const QString& location) {
    return IsUrlForm(location) || IsKeywordForm(location);
}

std::optional<PostgresAddress> ParsePostgresAddress(const QString& location, QString& why) {
    PostgresAddress address;
    const QString shown = DisplayPostgresAddress(location);
    const QString form =
        QStringLiteral("postgresql://[USER@]HOST[:PORT]/DBNAME[?OPTION=VALUE&...], or service=NAME");
    if (IsKeywordForm(location)) {
        QString reason;
        const auto pairs = KeywordPairs(location, reason);
        if (!pairs || !TakeOptions(address, *pairs, reason)) {
            why = QStringLiteral("%1 is not a database address: %2").arg(shown, reason);
            return std::nullopt;
        }
        return address;
    }
    const QUrl url(location, QUrl::StrictMode);
    const QString path = url.path();
    if (!url.isValid() ||
        (!path.isEmpty() && path != QLatin1String("/") && path.mid(1).contains(QLatin1Char('/')))) {
        why = QStringLiteral("%1 is not a database address of the form %2.").arg(shown, form);
        return std::nullopt;
    }
    address.host = url.host();
    address.port = url.port(-1);
    address.user = url.userName();
    address.password = url.password();
    address.dbname = path.mid(1);
    QList<QPair<QString, QString>> pairs;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded))
        pairs.append({key, value});
    QString reason;
    if (!TakeOptions(address, pairs, reason)) {
        why = QStringLiteral("%1 is not a database address: %2").arg(shown, reason);
        return std::nullopt;
    }
    if (address.dbname.isEmpty() && !address.HasOption(QStringLiteral("service"))) {
        why = QStringLiteral("%1 names no database: write it as %2.").arg(shown, form);
        return std::nullopt;
    }
    return address;
}

QString DisplayPostgresAddress(const QString& location) {
    if (IsKeywordForm(location)) {
        QString shown = location;
        for (const char* secret : Secrets) {
            const QRegularExpression value(
                QStringLiteral("(\\b%1\\s*=\\s*)('(?:[^'\\\\]|\\\\.)*'|\\S+)").arg(QLatin1String(secret)));
            shown.replace(value, QStringLiteral("\\1***"));
        }
        return shown;
    }
    QUrl url(location);
    if (!url.password().isEmpty())
        url.setPassword(QStringLiteral("***"));
    QUrlQuery query(url);
    QList<QPair<QString, QString>> items = query.queryItems(QUrl::FullyDecoded);
    for (auto& [key, value] : items)
        for (const char* secret : Secrets)
            if (key == QLatin1String(secret))
                value = QStringLiteral("***");
    query.setQueryItems(items);
    url.setQuery(query);
    return url.toString(QUrl::RemoveFragment);
}

QString PasswordAdvice(const QString& location) {
    QString why;
    const std::optional<PostgresAddress> address = ParsePostgresAddress(location, why);
    if (!address || address->password.isEmpty())
        return QString();
    const QString any = QStringLiteral("*");
    return QStringLiteral(
               "The settings file holds the library's password, where anyone who can read the file "
               "finds it. Move it to ~/.pgpass, a file only you may read (chmod 600), as the line\n"
               "%1:%2:%3:%4:PASSWORD\n"
               "and write the address without it (postgresql://USER@HOST/DBNAME).")
        .arg(address->host.isEmpty() ? any : address->host,
             address->port < 0 ? any : QString::number(address->port),
             address->dbname.isEmpty() ? any : address->dbname,
             address->user.isEmpty() ? any : address->user);
}
