#pragma once
// One connection to the table store: an embedded SQLite file (one computer) or a
// PostgreSQL server (several stations). Tables are opened through it by name.

#include "schema.h"

#include <QSet>
#include <QString>
#include <functional>
#include <memory>

namespace store {

class Engine;
class Table;

struct ConnectionParams {
    enum class Kind { SQLite, PostgreSQL };
    Kind kind = Kind::SQLite;
    QString sqliteFile;   // SQLite: the database file; it must exist (never created on connect)
    QString host;         // PostgreSQL: host name or address
    int port = 5432;
    QString database;     // PostgreSQL: database name
    QString user;         // PostgreSQL: role; the password comes from libpq's password file
    // The longest any wait for another station goes on (at least 1 ms): for a record or
    // serialization name held inside its transaction, for a row it is writing, and on
    // SQLite for its write transaction. Past it the wait is refused with the store's
    // text for a record held elsewhere (SQLite: the engine's "database is locked"). It
    // also frees the others from a station that vanished inside a transaction before
    // the server lets its session go.
    int lockWaitMs = 30000;
};

class Database {
public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Creates a new, empty SQLite database file (WAL mode). Throws StoreError when a file
    // of that name exists or cannot be created. Connect never creates one.
    static void CreateSQLiteFile(const QString &path);
    // True when another process has the SQLite database file open (it keeps a shared
    // lock on the file's WAL index while it does). To be asked before this process opens
    // the file: asking afterwards would end this process's own locks on the index.
    static bool SQLiteFileInUse(const QString &path);

    // Opens the connection. Throws StoreError with the engine's text when it cannot
    // (a SQLite file that does not exist included); IsConnected() is then false. A
    // connection already open is closed first.
    void Connect(const ConnectionParams &params);
    // A new, empty, private in-memory SQLite database, for the work tables.
    void ConnectInMemory();
    // Closes every table opened through this database, drops every hold, rolls back an
    // open transaction and disconnects. Disconnecting a closed database does nothing.
    void Disconnect();
    bool IsConnected() const;
    // True when connected to a private in-memory database (ConnectInMemory).
    bool InMemory() const;
    const ConnectionParams &Params() const;
    // The address of this end of the connection as the server sees it (dotted IPv4);
    // empty when not connected or for a database on this computer's disk.
    QString LocalAddress() const;
    // True when the connection to the server has broken (the server stopped, the network
    // went away). Tables stay open but every operation on them fails until Reconnect.
    bool ConnectionLost() const;
    // Connects again with the same parameters and re-opens every table that was open, on
    // its index and, when it still exists, on its record; a range is lifted. A record in
    // editing is cancelled: the server let its hold go with the lost session. Throws
    // StoreError with the engine's text when the server cannot be reached; the tables are
    // then left as they were, so that a later call can try again.
    void Reconnect();

    // The client sessions of the same database on its server other than this one; 0 for
    // a database on this computer's disk. Requires a connection (StoreError).
    int OtherSessions();

    // Requires: connected, no transaction open (else StoreError). Until Commit or
    // Rollback every write joins the transaction; without one, each write is its own.
    // A statement that fails within the transaction ends it, on every engine: each
    // statement after it fails ("Transakce byla pro předchozí chybu odvolána"), and Commit
    // rolls the transaction back and fails with that text. A caller that wants to go on
    // after a failed write asks for a savepoint first (store::Savepoint).
    void StartTransaction();
    // Requires: a transaction open (else StoreError). After it none is open, also when
    // it fails (a transaction the engine had to abandon is reported, never committed).
    // Records whose holds were released within the transaction stay held until its end
    // is visible to every other connection; they are let go right after that (Table::Post).
    void Commit();
    void Rollback();
    bool InTransaction() const;
    // Grows with every write through this connection and every rollback, so that a view
    // that keeps rows it has read can tell when they may be out of date. 0 when closed.
    quint64 WriteGeneration() const;
    // The requests sent to the server and waited for since connecting (several sent
    // together count once); 0 when closed or for a database without a server.
    quint64 RoundTrips() const;
    // Requires a transaction open (else StoreError). Until it ends, any other connection
    // that serializes on the same name waits: what the two do in their transactions
    // does not interleave. For a look-up followed by a write that must be atomic. The wait
    // may fall on the transaction's next statement rather than on this call, and lasts at
    // most the lock wait (ConnectionParams::lockWaitMs): that statement then fails with
    // StoreError, "záznam je upraven jinou stanicí" (on SQLite, "database is locked" at
    // StartTransaction, which waits for the other's transaction).
    void SerializeOn(const QString &name);

    // Schema; each requires a connection (StoreError). CreateTable makes the table and
    // every index of the definition under the given name, all or nothing; it fails when
    // the table exists. DropTable removes the table with its indexes.
    bool TableExists(const QString &tableName);
    void CreateTable(const TableDef &def, const QString &tableName);
    void DropTable(const QString &tableName);
    // The names of the tables of the database. Requires a connection (StoreError).
    QStringList TableNames();
    // The number of rows of a table. Requires a connection and the table (StoreError).
    qint64 RowCount(const QString &tableName);

    // Appends every row of the table `tableName` of `source` to the table of that name
    // here, as it is stored: record ids and the capitals of case-insensitive keys
    // included, so that the copy orders, finds and bookmarks as the original does; ids
    // assigned here afterwards follow the largest copied. Reads the source page by page
    // in the order of the ids and writes each page by the engine's bulk path (COPY on
    // PostgreSQL); progress(rows copied so far) follows every page. Returns the rows
    // copied. Requires: both connected, the table defined by `def` on both sides and
    // holding here no id the source has, and a transaction open here (StoreError), so
    // that a failure takes every row back.
    qint64 CopyRowsFrom(Database &source, const TableDef &def, const QString &tableName,
                        const std::function<void(qint64)> &progress = {});

private:
    // The table component reaches the engine behind the connection; so do the tests,
    // through their own header (tests/store/raw_engine.h), and nothing else.
    friend class Table;
    friend class Savepoint;
    friend struct RawEngineForTests;
    // The engine behind this connection. Requires a connection (StoreError).
    Engine &engine();

    void attach(Table *table) { m_tables.insert(table); }
    void detach(Table *table) { m_tables.remove(table); }

    std::unique_ptr<Engine> m_engine;
    ConnectionParams m_params;
    QSet<Table *> m_tables;  // open tables, closed by Disconnect
};

} // namespace store
