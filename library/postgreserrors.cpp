#include "library/postgreserrors.h"

#include <QStringList>

namespace {

struct Cause {
    QStringList signs; // any of them in the driver's text, ignoring case
    const char* words;
};

const Cause Causes[] = {
    {{QStringLiteral("certificate verify failed"), QStringLiteral("root certificate file"),
      QStringLiteral("does not match host name"), QStringLiteral("certificate has expired"),
      QStringLiteral("self-signed certificate"), QStringLiteral("self signed certificate"),
      QStringLiteral("unknown ca")},
     "The server's certificate was refused: it is not signed by the certificate named in sslrootcert, or it "
     "does not name the server as the address does (ask the IT department for the right sslrootcert file)."},
    {{QStringLiteral("server does not support SSL, but SSL was required")},
     "The server does not offer TLS, but the address requires it (sslmode)."},
    {{QStringLiteral("no encryption")},
     "The server accepts this account only over TLS: add sslmode=verify-full and sslrootcert to the "
     "address."},
    {{QStringLiteral("SSL encryption"), QStringLiteral("GSS encryption")},
     "The server refuses this account over TLS: ask the IT department which sslmode it expects."},
    {{QStringLiteral("password authentication failed")},
     "The server refused the password: correct it in ~/.pgpass (or the service file)."},
    {{QStringLiteral("no password supplied")},
     "The server wants a password and none was found: write it in ~/.pgpass (or the service file)."},
    {{QStringLiteral("permission denied"), QStringLiteral("does not have CONNECT privilege"),
      QStringLiteral("must be owner of")},
     "The account may not do this: ask the IT department for the permission it lacks."},
    {{QStringLiteral("definition of service"), QStringLiteral("service file")},
     "The service named in the address is not in the service file (~/.pg_service.conf or PGSERVICEFILE)."},
    {{QStringLiteral("Connection refused"), QStringLiteral("could not translate host name"),
      QStringLiteral("timeout expired"), QStringLiteral("No route to host"),
      QStringLiteral("Network is unreachable")},
     "The server does not answer: check the address and the network."},
};

} // namespace

QString ExplainPostgresError(const QString& driverText) {
    for (const Cause& cause : Causes)
        for (const QString& sign : cause.signs)
            if (driverText.contains(sign, Qt::CaseInsensitive))
                return QString::fromUtf8(cause.words) + QStringLiteral(" (") + driverText.trimmed() +
                       QLatin1Char(')');
    return driverText;
}
