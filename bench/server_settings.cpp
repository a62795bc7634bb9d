#include "server_settings.h"

#include <cstdio>
#include <libpq-fe.h>
#include <stdexcept>
#include <string>

namespace bench {

QString pgDurability(const QByteArray &conninfo)
{
    PGconn *conn = PQconnectdb(conninfo.constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        const std::string text = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error(text);
    }
    PGresult *r = PQexec(conn, "SELECT current_setting('fsync'), current_setting('synchronous_commit')");
    const bool ok = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1;
    const QString text = ok ? QStringLiteral("fsync=%1 synchronous_commit=%2")
                                  .arg(QString::fromUtf8(PQgetvalue(r, 0, 0)), QString::fromUtf8(PQgetvalue(r, 0, 1)))
                            : QString::fromUtf8(PQresultErrorMessage(r));
    PQclear(r);
    PQfinish(conn);
    if (!ok)
        throw std::runtime_error(text.toStdString());
    return text;
}

void printPgDurability(const QByteArray &conninfo)
{
    std::printf("server: %s\n", pgDurability(conninfo).toUtf8().constData());
}

} // namespace bench
