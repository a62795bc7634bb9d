#pragma once
// A database of its own on a PostgreSQL server for one benchmark run: created from the
// server's connection string, dropped again at the end.

#include "store/database.h"

#include <QByteArray>
#include <QString>

namespace bench {

class PgScratchDatabase {
public:
    // Creates the database `name` on the server of conninfo. Throws std::runtime_error
    // with the server's message when it cannot.
    PgScratchDatabase(const QByteArray &conninfo, const QString &name);
    // Drops the database, closing whatever connections are left on it.
    ~PgScratchDatabase();
    PgScratchDatabase(const PgScratchDatabase &) = delete;
    PgScratchDatabase &operator=(const PgScratchDatabase &) = delete;

    // The store's connection to the database (host, port and user from conninfo).
    store::ConnectionParams params() const;
    // The raw engine's connection string for the database.
    QByteArray conninfo() const { return m_conninfo + " dbname=" + m_name.toUtf8(); }

private:
    QByteArray m_conninfo;
    QString m_name;
};

} // namespace bench
