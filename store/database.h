#pragma once
// One connection to the table store: an embedded SQLite file (one computer) or a
// PostgreSQL server (several stations). Tables are opened through it by name.

#include "schema.h"

#include <QString>
#include <memory>

namespace store {

class Engine;

struct ConnectionParams {
    enum class Kind { SQLite, PostgreSQL };
    Kind kind = Kind::SQLite;
    QString sqliteFile;   // SQLite: the database file; it must exist (never created on connect)
    QString host;         // PostgreSQL: host name or address
    int port = 5432;
    QString database;     // PostgreSQL: database name
    QString user;         // PostgreSQL: role; the password comes from libpq's password file
};

class Database {
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens the connection. Throws StoreError with the engine's text when it cannot;
    // IsConnected() is then false. A connection already open is closed first.
    void Connect(const ConnectionParams &params);
    // An in-memory SQLite database, for the work tables.
    void ConnectInMemory();
    // Closes every table opened through this database, drops every hold, disconnects.
    void Disconnect();
    bool IsConnected() const;
    const ConnectionParams &Params() const;

    // Requires: connected, no transaction open (else StoreError).
    void StartTransaction();
    // Requires: a transaction open (else StoreError).
    void Commit();
    void Rollback();
    bool InTransaction() const;

    // Schema. CreateTable makes the table and every index of the definition under the
    // given name; it fails when the table exists.
    bool TableExists(const QString &tableName);
    void CreateTable(const TableDef &def, const QString &tableName);
    void DropTable(const QString &tableName);

    // The engine behind this connection; for the table component only.
    Engine &engine();

private:
    std::unique_ptr<Engine> m_engine;
    ConnectionParams m_params;
};

} // namespace store
