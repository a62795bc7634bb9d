#pragma once
// The engine on SQLite: one database file on this computer (several programs may share
// it: WAL mode, and a busy timeout of the connection's lock wait), or a private in-memory
// database for the work tables. Holds are byte-range locks on a file beside the database.

#include "engine.h"
#include "holds.h"

#include <QSet>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

class SqliteEngine : public Engine {
public:
    // Opens an existing database file; a missing file is an error (never created here).
    // Another connection's write transaction is waited for at most lockWaitMs.
    static std::unique_ptr<SqliteEngine> openFile(const QString &path, int lockWaitMs);
    // A new, empty, private database in memory.
    static std::unique_ptr<SqliteEngine> openInMemory();
    // Creates a new database file in WAL mode. Requires: no file at path.
    static void createFile(const QString &path);
    // Database::SQLiteFileInUse.
    static bool fileInUse(const QString &path);
    ~SqliteEngine() override;

    const Dialect &dialect() const override;
    void runScript(const QString &sql) override;
    bool tableExists(const QString &name) override;
    QStringList tableNames() override;
    // One statement prepared once and stepped for every row, in the caller's transaction.
    void appendRows(const QString &table, const QStringList &columns, const QVector<QVariantList> &rows) override;
    void begin() override;
    void serializeTransaction(quint32 key) override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;
    bool transactionSpoiled() const override;
    void savepoint(const QByteArray &name) override;
    void releaseSavepoint(const QByteArray &name) override;
    void rollbackToSavepoint(const QByteArray &name) override;
    // Every statement but the first is stepped to its first row before the first runs:
    // the connection then keeps one read transaction for the whole read, instead of
    // taking and leaving the file's locks (system calls) for each statement.
    bool queryInTurn(const QVector<SqlQuery> &read, const QVector<ColType> &columns, RowSink &sink,
                     qint64 limit) override;

protected:
    qint64 run(const QString &sql, const QVariantList &params, bool write,
               const QVector<ColType> &columns, RowSink *sink) override;
    bool lockHold(quint32 tableKey, qint64 id) override;
    void unlockHold(quint32 tableKey, qint64 id) override;

private:
    SqliteEngine(sqlite3 *db, std::unique_ptr<FileHolds> holds);
    sqlite3_stmt *statement(const QString &sql);
    void clearStatements();
    // A statement with its parameters bound.
    sqlite3_stmt *bound(const QString &sql, const QVariantList &params);
    // Resets a statement after it has been read.
    void finish(sqlite3_stmt *st);
    [[noreturn]] void fail(const QString &doing = {});
    // A statement failed with the text: within a transaction the transaction is spoiled.
    [[noreturn]] void failed(const QString &text);
    // StoreError (kSpoiledTransaction) while the transaction is spoiled.
    void requireUsable() const;
    // After the transaction has ended: the holds released within it end now.
    void endPendingHolds();

    sqlite3 *m_db;
    std::unique_ptr<FileHolds> m_holds;  // null for an in-memory database
    QHash<QString, sqlite3_stmt *> m_statements;
    QSet<QPair<quint32, qint64>> m_pendingUnlocks;  // released within the transaction
    bool m_inTransaction = false;
    bool m_spoiled = false;  // a statement failed within the transaction
};

} // namespace store
