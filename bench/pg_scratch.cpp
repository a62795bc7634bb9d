#include "pg_scratch.h"

#include <libpq-fe.h>
#include <stdexcept>
#include <string>

namespace bench {

namespace {

// Runs one statement on the server's own database named in the connection string.
void admin(const QByteArray &conninfo, const QString &sql)
{
    PGconn *conn = PQconnectdb(conninfo.constData());
    PGresult *r = PQexec(conn, sql.toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    const std::string error = ok ? std::string() : PQerrorMessage(conn);
    PQclear(r);
    PQfinish(conn);
    if (!ok)
        throw std::runtime_error(error);
}

} // namespace

PgScratchDatabase::PgScratchDatabase(const QByteArray &conninfo, const QString &name)
    : m_conninfo(conninfo), m_name(name)
{
    admin(m_conninfo, QStringLiteral("CREATE DATABASE %1").arg(m_name));
}

PgScratchDatabase::~PgScratchDatabase()
{
    try {
        admin(m_conninfo, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
    } catch (const std::exception &) {
        // A database left behind is named after the run and harms nothing.
    }
}

store::ConnectionParams PgScratchDatabase::params() const
{
    store::ConnectionParams params;
    params.kind = store::ConnectionParams::Kind::PostgreSQL;
    params.database = m_name;
    PQconninfoOption *options = PQconninfoParse(m_conninfo.constData(), nullptr);
    for (PQconninfoOption *o = options; o && o->keyword; ++o) {
        if (!o->val)
            continue;
        if (qstrcmp(o->keyword, "host") == 0)
            params.host = QString::fromUtf8(o->val);
        else if (qstrcmp(o->keyword, "port") == 0)
            params.port = QByteArray(o->val).toInt();
        else if (qstrcmp(o->keyword, "user") == 0)
            params.user = QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    return params;
}

} // namespace bench
