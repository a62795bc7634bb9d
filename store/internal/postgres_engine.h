#pragma once
// The engine on PostgreSQL through libpq, for several stations. Statements are prepared
// once per connection; holds are session advisory locks, which the server drops when
// the session ends, however it ends. The server bounds every lock wait of the session by
// the connection's lock wait, and both ends keep the idle connection alive with TCP
// keepalives, so that the session of a station that vanished ends.

#include "engine.h"

#include <QSet>
#include <memory>
#include <vector>

struct pg_conn;
struct pg_result;

namespace store {

struct ConnectionParams;

class PostgresEngine : public Engine {
public:
    // Connects with host, port, database and user; the password, if any, comes from
    // libpq's password file. Throws StoreError with the server's text.
    static std::unique_ptr<PostgresEngine> connect(const ConnectionParams &params);
    ~PostgresEngine() override;

    const Dialect &dialect() const override;
    void runScript(const QString &sql) override;
    bool tableExists(const QString &name) override;
    QStringList tableNames() override;
    // COPY … FROM STDIN: the rows travel as one stream, without a round trip each.
    void appendRows(const QString &table, const QStringList &columns, const QVector<QVariantList> &rows) override;
    void continueIdsAfterLargest(const QString &table, const QString &idColumn) override;
    void begin() override;
    void serializeTransaction(quint32 key) override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return m_inTransaction; }
    bool transactionSpoiled() const override;
    void savepoint(const QByteArray &name) override;
    void releaseSavepoint(const QByteArray &name) override;
    void rollbackToSavepoint(const QByteArray &name) override;
    bool connectionLost() const override;
    int otherSessions() override;
    QString localAddress() const override;
    quint64 roundTrips() const override { return m_roundTrips; }

protected:
    qint64 run(const QString &sql, const QVariantList &params, bool write,
               const QVector<ColType> &columns, RowSink *sink) override;
    bool lockHold(quint32 tableKey, qint64 id) override;
    // The hold and the read go to the server together.
    bool lockHoldAndRead(quint32 tableKey, qint64 id, const QString &sql, const QVariantList &params,
                         const QVector<ColType> &columns, RowSink &sink) override;
    void unlockHold(quint32 tableKey, qint64 id) override;

private:
    // A prepared statement of a round, with its parameters.
    struct Prepared {
        const QByteArray *name;
        const std::vector<const char *> *values;
    };

    explicit PostgresEngine(pg_conn *conn);
    QByteArray statement(const QString &sql, int paramCount);
    static std::vector<const char *> paramValues(const QVariantList &params, std::vector<QByteArray> &texts);
    static void decodeRows(const pg_result *res, const QVector<ColType> &columns, RowSink &sink);
    pg_result *execPipelined(const std::vector<Prepared> &own, const QList<QByteArray> &before,
                             std::vector<pg_result *> &results);
    QList<QByteArray> takeWaiting();
    // Drops the savepoint when it is the last statement waiting (nothing ran after it).
    bool dropWaitingSavepoint(const QByteArray &name);
    QByteArray endTransaction(const char *sql);
    // Runs a control statement without parameters; returns its command status.
    QByteArray control(const char *sql);

    pg_conn *m_conn;
    QHash<QString, QByteArray> m_statements;  // SQL text → prepared statement name
    int m_nextStatement = 0;
    bool m_inTransaction = false;
    bool m_beginPending = false;  // begun, its BEGIN not sent yet
    QList<QByteArray> m_waiting;  // serializations and savepoints of the transaction not sent yet
    QSet<quint32> m_serialized;          // the keys the transaction serializes on
    quint64 m_roundTrips = 0;
    QSet<QPair<quint32, qint64>> m_pendingUnlocks;  // released within the transaction
};

} // namespace store
