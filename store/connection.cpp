#include "connection.h"

#include "core/errors.h"
#include "core/osinfo.h"

store::ConnectionParams ConnectionParamsFor(const Config &config)
{
    store::ConnectionParams p;
    if (!config.TcpIp) {
        p.kind = store::ConnectionParams::Kind::SQLite;
        QString dir = config.DataPath;
        if (!dir.isEmpty() && !dir.endsWith(u'/'))
            dir += u'/';
        p.sqliteFile = dir + config.AliasName + QStringLiteral(".sqlite");
        return p;
    }
    p.kind = store::ConnectionParams::Kind::PostgreSQL;
    p.host = config.Host;
    // One colon separates a port; more than one is an IPv6 address without a port.
    if (config.Host.count(u':') == 1) {
        const int colon = config.Host.indexOf(u':');
        bool ok = false;
        const int port = config.Host.mid(colon + 1).toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            throw AppError(QStringLiteral("Neplatný port serveru v adrese '%1'").arg(config.Host));
        p.host = config.Host.left(colon);
        p.port = port;
    }
    p.database = config.AliasName;
    p.user = config.DbUser.isEmpty() ? GetWindowsUserName() : config.DbUser;
    return p;
}
