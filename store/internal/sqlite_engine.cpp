#include "sqlite_engine.h"

#include "core/errors.h"
#include "keyset.h"
#include "layout.h"
#include "store/unreachable.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>
#include <QVarLengthArray>
#include <sqlite3.h>

namespace store {

namespace {

// Statements kept at most; past it the cache starts again (statements of one-off SQL,
// such as a Locate on a rarely used field, do not pile up for ever).
constexpr int kStatementCacheLimit = 400;

QString engineText(sqlite3 *db) { return QString::fromUtf8(sqlite3_errmsg(db)).trimmed(); }

sqlite3 *openHandle(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString text = db ? engineText(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw StoreError(QStringLiteral("Databáze %1: %2").arg(path, text));
    }
    return db;
}

void execOn(sqlite3 *db, const QString &sql, const QString &where)
{
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw StoreError(QStringLiteral("%1: %2").arg(where, engineText(db)));
}

void bindParam(sqlite3_stmt *st, int i, const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        sqlite3_bind_null(st, i);
        return;
    case QMetaType::QString: {
        const QByteArray utf8 = v.toString().toUtf8();
        sqlite3_bind_text(st, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return;
    }
    case QMetaType::Double:
        sqlite3_bind_double(st, i, v.toDouble());
        return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        sqlite3_bind_int64(st, i, v.toLongLong());
        return;
    default: {
        if (v.isNull()) {
            sqlite3_bind_null(st, i);
            return;
        }
        const QByteArray text = paramText(v);
        sqlite3_bind_text(st, i, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    }
}

void decodeColumn(sqlite3_stmt *st, int i, ColType type, QVariant &cell)
{
    switch (type) {
    case ColType::Integer:  // NULL reads as 0, as wanted
        cell.setValue(qint64(sqlite3_column_int64(st, i)));
        return;
    case ColType::Real:
        cell.setValue(sqlite3_column_double(st, i));
        return;
    case ColType::Boolean:
        cell.setValue(sqlite3_column_int64(st, i) != 0);
        return;
    default: {
        // A NULL decodes as the empty text.
        const char *text = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
        decodeText(cell, type, text ? text : "", text ? sqlite3_column_bytes(st, i) : 0);
    }
    }
}

void decodeRow(sqlite3_stmt *st, const QVector<ColType> &columns, RowSink &sink)
{
    QVariant *const *cells = sink.row();
    for (int c = 0; c < columns.size(); ++c)
        if (cells[c])
            decodeColumn(st, c, columns[c], *cells[c]);
    sink.rowDone();
}

const Dialect kSqliteDialect{
    u'?',
    QStringLiteral("TEXT"),
    QStringLiteral("INTEGER"),
    QStringLiteral("INTEGER"),
    QStringLiteral("REAL"),
    QStringLiteral("TEXT"),
    QStringLiteral("TEXT"),
    // AUTOINCREMENT: an id is never given out twice, so a bookmark or a journal number
    // of a deleted record never comes to mean another record.
    QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"),
    false,
    true,
    256,
};

} // namespace

SqliteEngine::SqliteEngine(sqlite3 *db, std::unique_ptr<FileHolds> holds)
    : m_db(db), m_holds(std::move(holds))
{
}

SqliteEngine::~SqliteEngine()
{
    clearStatements();
    sqlite3_close(m_db);
}

std::unique_ptr<SqliteEngine> SqliteEngine::openFile(const QString &path, int lockWaitMs)
{
    if (!QFileInfo(path).isFile())
        throw ServerUnreachableError(QStringLiteral("Databáze %1 neexistuje").arg(path));
    sqlite3 *db = openHandle(path, SQLITE_OPEN_READWRITE);
    std::unique_ptr<SqliteEngine> engine(new SqliteEngine(db, std::make_unique<FileHolds>(path)));
    sqlite3_busy_timeout(db, std::max(lockWaitMs, 1));
    execOn(db, QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("Databáze %1").arg(path));
    // FULL: a commit is on the disk before it is reported, so that a power cut never takes
    // back a receipt that was reported posted. An imported delivery is one transaction:
    // the disk is waited for once per delivery, not once per line.
    execOn(db, QStringLiteral("PRAGMA synchronous=FULL"), QStringLiteral("Databáze %1").arg(path));
    return engine;
}

std::unique_ptr<SqliteEngine> SqliteEngine::openInMemory()
{
    sqlite3 *db = openHandle(QStringLiteral(":memory:"),
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_MEMORY);
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(db, nullptr));
}

void SqliteEngine::createFile(const QString &path)
{
    if (QFileInfo::exists(path))
        throw StoreError(QStringLiteral("Databáze %1 již existuje").arg(path));
    sqlite3 *db = openHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    try {
        execOn(db, QStringLiteral("PRAGMA journal_mode=WAL"), QStringLiteral("Databáze %1").arg(path));
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

bool SqliteEngine::fileInUse(const QString &path)
{
    // Every connection in WAL mode keeps a shared lock on the "dead man switch" byte of
    // the WAL index (the -shm file beside the database, byte 128) for as long as it has
    // the database open. A write lock on it that would conflict tells of another process.
    const int fd = ::open(QFile::encodeName(path + QStringLiteral("-shm")).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;   // no index: nobody has the database open
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 128;
    lock.l_len = 1;
    const bool used = ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return used;
}

const Dialect &SqliteEngine::dialect() const { return kSqliteDialect; }

void SqliteEngine::fail(const QString &doing)
{
    const QString text = engineText(m_db);
    failed(doing.isEmpty() ? text : doing + QStringLiteral(": ") + text);
}

void SqliteEngine::failed(const QString &text)
{
    // SQLite takes back only the failed statement (or, after some failures, the whole
    // transaction by itself): the transaction is spoiled here as a server spoils it.
    if (m_inTransaction)
        m_spoiled = true;
    throw StoreError(text);
}

void SqliteEngine::requireUsable() const
{
    if (m_spoiled)
        throw StoreError(kSpoiledTransaction);
}

void SqliteEngine::clearStatements()
{
    for (sqlite3_stmt *st : std::as_const(m_statements))
        sqlite3_finalize(st);
    m_statements.clear();
}

sqlite3_stmt *SqliteEngine::statement(const QString &sql)
{
    if (sqlite3_stmt *st = m_statements.value(sql))
        return st;
    if (m_statements.size() >= kStatementCacheLimit)
        clearStatements();
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &st,
                           nullptr) != SQLITE_OK)
        fail();
    m_statements.insert(sql, st);
    return st;
}

sqlite3_stmt *SqliteEngine::bound(const QString &sql, const QVariantList &params)
{
    sqlite3_stmt *st = statement(sql);
    for (int i = 0; i < params.size(); ++i)
        bindParam(st, i + 1, params[i]);
    return st;
}

void SqliteEngine::finish(sqlite3_stmt *st)
{
    // Reset at once: a statement left open would keep a read snapshot of the file.
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
}

qint64 SqliteEngine::run(const QString &sql, const QVariantList &params, bool write,
                         const QVector<ColType> &columns, RowSink *sink)
{
    requireUsable();
    sqlite3_stmt *st = bound(sql, params);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (!sink)
            continue;
        decodeRow(st, columns, *sink);
    }
    const QString error = rc == SQLITE_DONE ? QString() : engineText(m_db);
    const qint64 changed = write ? sqlite3_changes64(m_db) : 0;
    finish(st);
    if (!error.isEmpty())
        failed(error);
    return changed;
}

bool SqliteEngine::queryInTurn(const QVector<SqlQuery> &read, const QVector<ColType> &columns, RowSink &sink,
                               qint64 limit)
{
    requireUsable();
    // All statements prepared first: the cache may start again while they are.
    if (m_statements.size() + read.size() > kStatementCacheLimit)
        clearStatements();
    const int n = int(read.size());
    QVarLengthArray<sqlite3_stmt *, 4> st(n);
    QVarLengthArray<int, 4> rc(n);
    for (int i = 0; i < n; ++i)
        st[i] = bound(read[i].sql, read[i].params);
    QString error;
    const auto step = [&](int i) {
        rc[i] = sqlite3_step(st[i]);
        if (rc[i] != SQLITE_ROW && rc[i] != SQLITE_DONE && error.isEmpty())
            error = engineText(m_db);
    };
    // The last one first: the first statement to stand on a row opens the read, the
    // others join it. A statement whose rows are not needed in the end costs a seek.
    for (int i = n - 1; i >= 0; --i)
        step(i);
    qint64 given = 0;
    for (int i = 0; i < n && error.isEmpty(); ++i) {
        while (rc[i] == SQLITE_ROW && (limit < 0 || given < limit)) {
            decodeRow(st[i], columns, sink);
            ++given;
            step(i);
        }
        if (rc[i] == SQLITE_ROW)
            break;  // the rows wanted have come
    }
    for (int i = n - 1; i >= 0; --i)
        finish(st[i]);
    if (!error.isEmpty())
        failed(error);
    return true;
}

void SqliteEngine::runScript(const QString &sql)
{
    requireUsable();
    // Schema changes make cached statements re-prepare by themselves.
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail();
    noteWrite();
}

bool SqliteEngine::tableExists(const QString &name)
{
    return queryInteger(QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE"),
                        {name})
        .has_value();
}

QStringList SqliteEngine::tableNames()
{
    QStringList names;
    query(QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"), {},
          {ColType::Text}, [&](QVariant *cells) { names.append(cells[0].toString()); });
    return names;
}

void SqliteEngine::appendRows(const QString &table, const QStringList &columns, const QVector<QVariantList> &rows)
{
    requireUsable();
    QStringList marks;
    for (int c = 0; c < columns.size(); ++c)
        marks.append(kSqliteDialect.placeholder(c + 1));
    sqlite3_stmt *st = statement(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(quoted(table), columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    noteWrite();
    for (const QVariantList &row : rows) {
        for (int c = 0; c < row.size(); ++c)
            bindParam(st, c + 1, row[c]);
        const int rc = sqlite3_step(st);
        const QString error = rc == SQLITE_DONE ? QString() : engineText(m_db);
        finish(st);
        if (!error.isEmpty())
            failed(error);
    }
}

void SqliteEngine::begin()
{
    // IMMEDIATE: the transaction takes the write lock at once, so two stations never
    // deadlock upgrading a read to a write; the busy timeout applies.
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail();
    m_inTransaction = true;
    m_spoiled = false;
}

void SqliteEngine::commit()
{
    if (m_spoiled) {
        rollback();
        throw StoreError(kSpoiledTransaction);
    }
    // A commit that fails leaves the transaction open, for the caller to roll back.
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail();
    m_inTransaction = false;
    endPendingHolds();
}

void SqliteEngine::rollback()
{
    // A transaction that SQLite has rolled back by itself is over as well.
    const bool ok = sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK
        || sqlite3_get_autocommit(m_db) != 0;
    m_inTransaction = !ok;
    m_spoiled = false;
    noteWrite();
    endPendingHolds();
    if (!ok)
        fail();
}

void SqliteEngine::savepoint(const QByteArray &name)
{
    requireUsable();
    if (sqlite3_exec(m_db, QByteArray("SAVEPOINT " + name).constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail();
}

void SqliteEngine::releaseSavepoint(const QByteArray &name)
{
    requireUsable();
    if (sqlite3_exec(m_db, QByteArray("RELEASE SAVEPOINT " + name).constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail();
}

void SqliteEngine::rollbackToSavepoint(const QByteArray &name)
{
    noteWrite();
    const QByteArray sql = "ROLLBACK TO SAVEPOINT " + name + "; RELEASE SAVEPOINT " + name;
    if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail();
    m_spoiled = false;
}

void SqliteEngine::endPendingHolds()
{
    for (const auto &[tableKey, id] : std::exchange(m_pendingUnlocks, {}))
        m_holds->unlock(tableKey, id);
}

void SqliteEngine::serializeTransaction(quint32)
{
    // A transaction here already holds the database's write lock (BEGIN IMMEDIATE), so
    // every writing transaction of every connection runs alone.
}

bool SqliteEngine::inTransaction() const { return m_inTransaction; }

bool SqliteEngine::transactionSpoiled() const { return m_spoiled; }

bool SqliteEngine::lockHold(quint32 tableKey, qint64 id)
{
    // A hold released within this transaction is still held.
    if (m_pendingUnlocks.remove(qMakePair(tableKey, id)))
        return true;
    return !m_holds || m_holds->lock(tableKey, id);
}

void SqliteEngine::unlockHold(quint32 tableKey, qint64 id)
{
    if (!m_holds)
        return;
    // Within a transaction the hold ends after its commit (or rollback): another
    // connection that takes the record then reads what the transaction wrote.
    if (inTransaction()) {
        m_pendingUnlocks.insert(qMakePair(tableKey, id));
        return;
    }
    m_holds->unlock(tableKey, id);
}

} // namespace store
