#pragma once
// The engine behind a Database: the little that differs between SQLite and PostgreSQL.
// Everything about tables, indexes and navigation is written once above this interface;
// an engine only runs SQL with bound parameters (each distinct SQL text prepared once
// and kept), runs transactions and keeps holds on records. Its SQL spellings are data
// in Dialect. Every failure throws StoreError carrying the engine's own message.

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>

namespace store {

// How a column's value reads back: Text as QString, Integer as qint64, Real as double,
// Boolean as bool (stored as an integer 0/1), Date, Time and DateTime as QDate, QTime and
// QDateTime. A SQL NULL reads as "", 0 or false, and as an empty QVariant for the dates
// and times, which read empty also for the stored form of an empty key value
// (kEmptyKeyDate, the empty text). Skip: a column read but not wanted.
// Parameters are bound by their QVariant type (QString, qint64/int, double, QDate, QTime,
// QDateTime, null); dates and times travel as ISO text.
enum class ColType : quint8 { Text, Integer, Real, Boolean, Date, Time, DateTime, Skip };

// The stored form of an empty date (and date-time, at midnight) in a key column, where
// NULL is not allowed: it sorts before every real date.
inline const QDate kEmptyKeyDate{1, 1, 1};

// Receives each row of a read: its cells, decoded by the column types; the receiver may
// move them out.
using RowReceiver = std::function<void(QVariant *cells)>;

// Where a read decodes its rows in place. For each row, row() gives the cell each column
// is decoded into (null: the column is not kept); rowDone() follows the row. A cell that
// already holds a value of its column's type is overwritten in place, a text reusing the
// buffer of the text before it when that is large enough: storage kept from row to row
// or from read to read is filled without allocating.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual QVariant *const *row() = 0;
    virtual void rowDone() = 0;
};

// The SQL spellings of an engine.
struct Dialect {
    QChar placeholderMark;      // '?' for SQLite ("?1"), '$' for PostgreSQL ("$1")
    QString textType;           // string and time columns; compares by code point
    QString integerType;
    QString smallIntType;
    QString realType;
    QString dateType;
    QString dateTimeType;
    QString primaryKeyType;     // the record id: assigned by the engine, never reused
    bool rowValueSeek = false;  // a row-value comparison seeks an index (PostgreSQL)
    bool limitParameter = false;  // LIMIT ? costs nothing in the plan (SQLite)
    // The rows a long scan reads at most in one statement: more where every statement is
    // a round trip to a server.
    int maxPageRows = 256;

    QString placeholder(int n) const { return placeholderMark + QString::number(n); }
};

// Shared by the engines: the text form of a parameter (dates and times as ISO text,
// Booleans as 0/1), and the decoding into a cell (in place, as RowSink describes) of a
// column read as text. The empty text decodes as a NULL reads: "", 0, false or empty.
QByteArray paramText(const QVariant &value);
void decodeText(QVariant &cell, ColType type, const char *text, int length);

struct SqlQuery;  // keyset.h

// The failure of every statement in a transaction after one has failed, and of its commit.
inline const QString kSpoiledTransaction = QStringLiteral("Transakce byla pro předchozí chybu odvolána");

class Engine {
public:
    virtual ~Engine() = default;

    virtual const Dialect &dialect() const = 0;

    // Reads: runs the statement and hands every row, decoded by `columns`, to row.
    void query(const QString &sql, const QVariantList &params, const QVector<ColType> &columns,
               const RowReceiver &row);
    // The same, every row decoded into the cells the sink gives.
    void query(const QString &sql, const QVariantList &params, const QVector<ColType> &columns, RowSink &sink)
    {
        run(sql, params, false, columns, &sink);
    }
    // Runs the statements of one read in turn, each giving the rows that follow those of
    // the one before, into the sink until `limit` rows (negative: all) have come, all from
    // one state of the database. False, with nothing run, where the engine leaves that to
    // the caller (one query per statement).
    virtual bool queryInTurn(const QVector<SqlQuery> &, const QVector<ColType> &, RowSink &, qint64)
    {
        return false;
    }
    // The integer in the first column of the first row; nullopt when there is no row.
    std::optional<qint64> queryInteger(const QString &sql, const QVariantList &params);
    // Changes data; returns the number of rows changed.
    qint64 execute(const QString &sql, const QVariantList &params);
    // An INSERT … RETURNING of one integer column; returns that value.
    qint64 insertReturningId(const QString &sql, const QVariantList &params);
    // Schema and control statements without parameters; never cached. Counts as a write.
    virtual void runScript(const QString &sql) = 0;
    virtual bool tableExists(const QString &name) = 0;
    // The names of the tables of the database (of its current schema on a server).
    virtual QStringList tableNames() = 0;
    // Appends rows to a table, each a list of values for `columns` (quoted names) as they
    // are stored, record ids included, by the engine's bulk path. Requires a transaction
    // open, whose rollback takes them back.
    virtual void appendRows(const QString &table, const QStringList &columns, const QVector<QVariantList> &rows) = 0;
    // After rows were appended with their record ids given: the ids the engine assigns
    // from now on follow the largest id of the table.
    virtual void continueIdsAfterLargest(const QString &, const QString &) {}

    // Requires no transaction open (begin) / one open (commit, rollback).
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
    // Requires a transaction open. Until it ends, every other connection that asks for
    // the same key in a transaction of its own waits, here or (on a server, where the
    // request goes with the next statement) at its transaction's next statement.
    virtual void serializeTransaction(quint32 key) = 0;
    // A statement that fails within a transaction spoils it, on every engine: each
    // statement after it fails with kSpoiledTransaction, and commit rolls the transaction
    // back and fails with it. Rolling back to a savepoint taken before the failure makes
    // the transaction usable again.
    virtual bool transactionSpoiled() const = 0;
    // Savepoints, by a quoted SQL identifier; they nest. Each requires a transaction open
    // and (savepoint, releaseSavepoint) not spoiled. releaseSavepoint keeps what was
    // written since the savepoint as part of the transaction; rollbackToSavepoint takes
    // it back, leaves the transaction as it was at the savepoint, and ends the savepoint.
    virtual void savepoint(const QByteArray &name) = 0;
    virtual void releaseSavepoint(const QByteArray &name) = 0;
    virtual void rollbackToSavepoint(const QByteArray &name) = 0;

    // The client sessions of the same database on the server other than this one; 0 for
    // an engine without a server.
    virtual int otherSessions() { return 0; }
    // True once the connection to a server has broken: nothing more can be read or
    // written through it, and every hold and open transaction has ended with it.
    virtual bool connectionLost() const { return false; }
    // The address of this end of the connection in dotted IPv4 form, as the server sees
    // it; empty for an engine without a network connection or without such an address.
    virtual QString localAddress() const { return QString(); }
    // The requests this connection has sent to its server and waited for, from its start
    // (several statements sent together count once); 0 for an engine without a server.
    virtual quint64 roundTrips() const { return 0; }

    // Holds a record against every other connection. False: another connection holds
    // it. A hold held elsewhere is asked for again for up to kHoldRetryMs before false,
    // so that a hold ending with another connection's commit, a moment after that commit
    // has become visible, is taken rather than refused. A connection may hold the same
    // record more than once (two components on the same record); the hold ends with the
    // last release.
    static constexpr int kHoldRetryMs = 300;
    bool tryHold(quint32 tableKey, qint64 id);
    // Holds the record as tryHold does and, once it is held, runs the read `sql` (of that
    // record) into the sink: in one round trip where the engine can, the read after the
    // hold, so that it sees whatever the last holder committed. False, nothing read,
    // when another connection holds the record. A read that fails leaves the holds as
    // they were.
    bool holdAndRead(quint32 tableKey, qint64 id, const QString &sql, const QVariantList &params,
                     const QVector<ColType> &columns, RowSink &sink);
    // Within a transaction the hold ends only after the transaction has ended, once its
    // commit is visible to every other connection: whoever takes the record next reads
    // what the transaction wrote to it. Outside a transaction it ends at once.
    void release(quint32 tableKey, qint64 id);
    // Ends every hold of this connection.
    void releaseAll();

    // Grows with every write through this connection (and every rollback), so that a
    // table component can tell that the rows it has buffered may be out of date.
    quint64 writeGeneration() const { return m_writeGeneration; }

protected:
    // Runs one statement. `write` marks a statement that changes data. When sink is
    // given it receives every row; the result is the number of rows changed.
    virtual qint64 run(const QString &sql, const QVariantList &params, bool write,
                       const QVector<ColType> &columns, RowSink *sink) = 0;
    // Takes the hold at once or returns false. A hold released within the transaction
    // and not yet ended is taken again as it stands.
    virtual bool lockHold(quint32 tableKey, qint64 id) = 0;
    // lockHold, then, when the hold is taken, the read. False, nothing read, when it is
    // not. When the read fails, the hold taken for it ends (unlockHold) and the error is
    // raised.
    virtual bool lockHoldAndRead(quint32 tableKey, qint64 id, const QString &sql, const QVariantList &params,
                                 const QVector<ColType> &columns, RowSink &sink);
    // Ends the hold; within a transaction, after the transaction's end (release()).
    virtual void unlockHold(quint32 tableKey, qint64 id) = 0;
    void noteWrite() { ++m_writeGeneration; }

private:
    bool lockHoldSoon(quint32 tableKey, qint64 id);
    // Runs the read of a record just held; when it fails, the hold ends again.
    void readHeld(quint32 tableKey, qint64 id, const QString &sql, const QVariantList &params,
                  const QVector<ColType> &columns, RowSink &sink);

    quint64 m_writeGeneration = 0;
    QHash<QPair<quint32, qint64>, int> m_holds;
};

} // namespace store
