#pragma once

// The lines of a Kramora.ini that point a program run by a test at the test's database.

#include "store/database.h"

#include <QFileInfo>
#include <QString>

// The [Kramora] keys that name the database p: the SQLite file's name and directory, or
// the PostgreSQL server, database and user (CR LF line ends).
inline QString IniDatabaseKeys(const store::ConnectionParams &p)
{
    if (p.kind == store::ConnectionParams::Kind::SQLite) {
        const QFileInfo file(p.sqliteFile);
        return QStringLiteral("AliasName=%1\r\nCestaData=%2\r\n").arg(file.completeBaseName(), file.absolutePath());
    }
    return QStringLiteral("Protocol=TCPIP\r\nHost=%1:%2\r\nAliasName=%3\r\nDbUser=%4\r\n")
        .arg(p.host)
        .arg(p.port)
        .arg(p.database, p.user);
}
