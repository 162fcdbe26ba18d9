#pragma once
// What a PostgreSQL server's refusal means, in words a technician can pass on to the IT department.

#include <QString>

// The driver's text, preceded by its cause when it is one of: a certificate that was refused, a
// server that wants TLS or refuses it, a password that is wrong or missing, a missing permission, a
// server that does not answer.
QString ExplainPostgresError(const QString& driverText);
