#include "throwaway_pg.h"

#include <libpq-fe.h>
#include <stdexcept>
#include <string>

namespace pgtest {

namespace {

// Runs one statement on the database the connection string names; the server's error
// text, or "" when it ran.
std::string adminExec(const QByteArray &conninfo, const QString &sql)
{
    PGconn *conn = PQconnectdb(conninfo.constData());
    std::string error;
    if (PQstatus(conn) != CONNECTION_OK) {
        error = PQerrorMessage(conn);
    } else {
        PGresult *r = PQexec(conn, sql.toUtf8().constData());
        if (PQresultStatus(r) != PGRES_COMMAND_OK)
            error = PQresultErrorMessage(r);
        PQclear(r);
    }
    PQfinish(conn);
    return error;
}

} // namespace

store::ConnectionParams paramsFor(const QByteArray &conninfo, const QString &database)
{
    store::ConnectionParams p;
    p.kind = store::ConnectionParams::Kind::PostgreSQL;
    p.database = database;
    char *err = nullptr;
    PQconninfoOption *options = PQconninfoParse(conninfo.constData(), &err);
    if (!options) {
        const std::string text = err ? err : "unreadable";
        PQfreemem(err);
        throw std::runtime_error("connection string " + conninfo.toStdString() + ": " + text);
    }
    for (PQconninfoOption *o = options; o->keyword; ++o) {
        if (!o->val)
            continue;
        const QString key = QString::fromLatin1(o->keyword);
        if (key == QLatin1String("host") || key == QLatin1String("hostaddr"))
            p.host = QString::fromUtf8(o->val);
        else if (key == QLatin1String("port"))
            p.port = QString::fromUtf8(o->val).toInt();
        else if (key == QLatin1String("user"))
            p.user = QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    return p;
}

ThrowawayDatabase::ThrowawayDatabase(const QByteArray &conninfo, const QString &name)
    : m_server(conninfo), m_name(name)
{
    const std::string error = adminExec(m_server, QStringLiteral("CREATE DATABASE %1").arg(m_name));
    if (!error.empty())
        throw std::runtime_error("CREATE DATABASE " + m_name.toStdString() + ": " + error);
}

ThrowawayDatabase::~ThrowawayDatabase()
{
    adminExec(m_server, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
}

} // namespace pgtest
