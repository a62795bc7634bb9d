#pragma once
// The database a station process is started on, as one command-line argument:
// "sqlite:FILE" or "pg:HOST:PORT:DATABASE:USER".

#include "store/database.h"

#include <QStringList>

inline QString StationTarget(const store::ConnectionParams &p)
{
    return p.kind == store::ConnectionParams::Kind::SQLite
        ? QStringLiteral("sqlite:") + p.sqliteFile
        : QStringLiteral("pg:%1:%2:%3:%4").arg(p.host).arg(p.port).arg(p.database, p.user);
}

inline store::ConnectionParams StationTargetParams(const QString &text)
{
    const QStringList target = text.split(u':');
    store::ConnectionParams params;
    if (target.value(0) == QLatin1String("sqlite")) {
        params.sqliteFile = target.mid(1).join(u':');
    } else {
        params.kind = store::ConnectionParams::Kind::PostgreSQL;
        params.host = target.value(1);
        params.port = target.value(2).toInt();
        params.database = target.value(3);
        params.user = target.value(4);
    }
    return params;
}
