#include "database.h"

#include "core/errors.h"
#include "store/internal/holds.h"
#include "store/internal/layout.h"
#include "store/internal/postgres_engine.h"
#include "store/internal/sqlite_engine.h"
#include "table.h"

namespace store {

Database::Database() = default;

Database::~Database() { Disconnect(); }

void Database::CreateSQLiteFile(const QString &path) { SqliteEngine::createFile(path); }

bool Database::SQLiteFileInUse(const QString &path) { return SqliteEngine::fileInUse(path); }

int Database::OtherSessions() { return engine().otherSessions(); }

void Database::Connect(const ConnectionParams &params)
{
    Disconnect();
    if (params.kind == ConnectionParams::Kind::SQLite)
        m_engine = SqliteEngine::openFile(params.sqliteFile, params.lockWaitMs);
    else
        m_engine = PostgresEngine::connect(params);
    m_params = params;
}

void Database::ConnectInMemory()
{
    Disconnect();
    m_engine = SqliteEngine::openInMemory();
    m_params = ConnectionParams();
}

void Database::Disconnect()
{
    for (Table *t : QSet<Table *>(m_tables))
        t->Close();
    m_tables.clear();
    // Closing the connection rolls back an open transaction and ends every hold.
    m_engine.reset();
}

bool Database::IsConnected() const { return m_engine != nullptr; }

bool Database::InMemory() const
{
    return m_engine && m_params.kind == ConnectionParams::Kind::SQLite && m_params.sqliteFile.isEmpty();
}

const ConnectionParams &Database::Params() const { return m_params; }

QString Database::LocalAddress() const { return m_engine ? m_engine->localAddress() : QString(); }

bool Database::ConnectionLost() const { return m_engine && m_engine->connectionLost(); }

quint64 Database::RoundTrips() const { return m_engine ? m_engine->roundTrips() : 0; }

void Database::Reconnect()
{
    std::unique_ptr<Engine> fresh = m_params.kind == ConnectionParams::Kind::SQLite
        ? std::unique_ptr<Engine>(SqliteEngine::openFile(m_params.sqliteFile, m_params.lockWaitMs))
        : std::unique_ptr<Engine>(PostgresEngine::connect(m_params));
    struct Reopen {
        Table *table;
        QString index;
        Bookmark at;
    };
    QVector<Reopen> reopen;
    for (Table *t : QSet<Table *>(m_tables)) {
        reopen.append({t, t->IndexName(), t->GetBookmark()});
        // Cancelling and closing touch nothing on the server that the lost session has
        // not already let go.
        t->Close();
    }
    m_tables.clear();
    m_engine = std::move(fresh);
    for (const Reopen &r : reopen) {
        r.table->Open();
        r.table->SetIndexName(r.index);
        if (r.at.isValid() && r.table->BookmarkValid(r.at))
            r.table->GotoBookmark(r.at);
    }
}

Engine &Database::engine()
{
    if (!m_engine)
        throw StoreError(QStringLiteral("Databáze není připojena"));
    return *m_engine;
}

void Database::StartTransaction()
{
    Engine &e = engine();
    if (e.inTransaction())
        throw StoreError(QStringLiteral("Transakce již probíhá"));
    try {
        e.begin();
    } catch (const StoreError &err) {
        throw StoreError(QStringLiteral("Začátek transakce: ") + err.text());
    }
}

void Database::Commit()
{
    Engine &e = engine();
    if (!e.inTransaction())
        throw StoreError(QStringLiteral("Žádná transakce neprobíhá"));
    try {
        e.commit();
    } catch (const StoreError &err) {
        // A commit the engine refused leaves nothing half done: roll back what is left.
        if (e.inTransaction())
            e.rollback();
        throw StoreError(QStringLiteral("Potvrzení transakce: ") + err.text());
    }
}

void Database::Rollback()
{
    Engine &e = engine();
    if (!e.inTransaction())
        throw StoreError(QStringLiteral("Žádná transakce neprobíhá"));
    try {
        e.rollback();
    } catch (const StoreError &err) {
        throw StoreError(QStringLiteral("Odvolání transakce: ") + err.text());
    }
}

void Database::SerializeOn(const QString &name)
{
    Engine &e = engine();
    if (!e.inTransaction())
        throw StoreError(QStringLiteral("Žádná transakce neprobíhá"));
    e.serializeTransaction(tableHoldKey(name));
}

quint64 Database::WriteGeneration() const { return m_engine ? m_engine->writeGeneration() : 0; }

bool Database::InTransaction() const { return m_engine && m_engine->inTransaction(); }

bool Database::TableExists(const QString &tableName)
{
    try {
        return engine().tableExists(tableName);
    } catch (const StoreError &err) {
        throw StoreError(QStringLiteral("Tabulka %1: %2").arg(tableName, err.text()));
    }
}

void Database::CreateTable(const TableDef &def, const QString &tableName)
{
    const TableLayout layout(def);
    Engine &e = engine();
    const bool own = !e.inTransaction();
    try {
        if (own)
            e.begin();
        for (const QString &sql : layout.createStatements(tableName, e.dialect()))
            e.runScript(sql);
        if (own)
            e.commit();
    } catch (const StoreError &err) {
        if (own && e.inTransaction())
            e.rollback();
        throw StoreError(QStringLiteral("Tabulka %1: %2").arg(tableName, err.text()));
    }
}

void Database::DropTable(const QString &tableName)
{
    try {
        engine().runScript(QStringLiteral("DROP TABLE ") + quoted(tableName));
    } catch (const StoreError &err) {
        throw StoreError(QStringLiteral("Tabulka %1: %2").arg(tableName, err.text()));
    }
}

} // namespace store
