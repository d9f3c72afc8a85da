#pragma once

// Shared by the speed programs' raw references, which run the system's statements directly
// through libpq: the "?" placeholders as "$n", the connection to a bench set, a statement with
// its values as text parameters.

#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>

#include <libpq-fe.h>

#include <vector>

// "?" to "$1", "$2" … (the statements hold no "?" inside literals).
inline QByteArray PgNumbered(const QString &sql)
{
    QString out;
    int n = 0;
    for (const QChar c : sql)
        out += c == QLatin1Char('?') ? QStringLiteral("$%1").arg(++n) : QString(c);
    return out.toUtf8();
}

// A libpq connection to the set `file` of the PostgreSQL settings `s`; raises DbError.
inline PGconn *PgConnect(const ConnectionSettings &s, const QString &file)
{
    const QByteArray conninfo = QStringLiteral("host='%1' port=%2 user='%3' dbname='%4'")
                                    .arg(s.host)
                                    .arg(s.port)
                                    .arg(s.user, DatabaseTarget(s, file))
                                    .toUtf8();
    PGconn *conn = PQconnectdb(conninfo.constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString error = QString::fromUtf8(PQerrorMessage(conn));
        PQfinish(conn);
        throw DbError(error);
    }
    return conn;
}

// Runs `sql` with `binds` as text parameters; the result for the caller to read and PQclear.
// Raises DbError when the statement fails.
inline PGresult *PgRun(PGconn *conn, const QString &sql, const QVariantList &binds = {})
{
    std::vector<QByteArray> texts;
    std::vector<const char *> values;
    for (const QVariant &v : binds)
        texts.push_back(v.toString().toUtf8());
    for (const QByteArray &b : texts)
        values.push_back(b.constData());
    PGresult *r = PQexecParams(conn, PgNumbered(sql).constData(), int(values.size()), nullptr, values.data(), nullptr,
                               nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const QString error = QString::fromUtf8(PQerrorMessage(conn));
        PQclear(r);
        throw DbError(error);
    }
    return r;
}
