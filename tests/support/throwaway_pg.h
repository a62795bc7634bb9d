#pragma once
// A PostgreSQL database made for one test program or one benchmark run, on a server named
// by a libpq connection string (tools/pg-test-cluster prints one): created when the
// object is made, dropped with its connections when the object goes.

#include "store/database.h"

#include <QByteArray>
#include <QString>

namespace pgtest {

// The host, port and user of a libpq connection string as connection parameters of the
// table store for `database`. Throws std::runtime_error when the string cannot be read.
store::ConnectionParams paramsFor(const QByteArray &conninfo, const QString &database);

class ThrowawayDatabase {
public:
    // Creates the database `name` on the server of `conninfo`, connecting to the database
    // the string names. Throws std::runtime_error with the server's text when it cannot.
    ThrowawayDatabase(const QByteArray &conninfo, const QString &name);
    // Drops the database and every connection to it; a failure to drop is ignored.
    ~ThrowawayDatabase();
    ThrowawayDatabase(const ThrowawayDatabase &) = delete;
    ThrowawayDatabase &operator=(const ThrowawayDatabase &) = delete;

    const QString &name() const { return m_name; }
    // The parameters through which the table store connects to this database.
    store::ConnectionParams params() const { return paramsFor(m_server, m_name); }
    // The connection string of this database, for a raw libpq connection.
    QByteArray conninfo() const { return m_server + " dbname=" + m_name.toUtf8(); }

private:
    QByteArray m_server;
    QString m_name;
};

} // namespace pgtest
