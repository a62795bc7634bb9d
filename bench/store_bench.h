#pragma once
// bench_store: the table component against hand-written prepared statements on the raw
// engine (sqlite3_* / PQexecPrepared), on the program's own journal and header tables of
// N rows each.

#include "store/schema.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace bench {

// How the raw side decodes a column: into a plain value, as a program would.
enum class Col { Text, Int, Real, Date, Time };

// A raw engine: each statement prepared once, run with bound parameters, every column
// of every row decoded into a plain value (folded into a checksum, so that nothing is
// left out by the compiler).
class RawEngine {
public:
    virtual ~RawEngine() = default;
    // Runs the statement (prepared on first use); returns the number of rows read (0 for
    // a statement that writes). With keep, the values of its columns in the row numbered
    // keep->row (counted from 0) are kept in keep->values, as text or integers: what a
    // program keeps of a page's last row to read the next page after it.
    struct Keep {
        int row = 0;
        std::vector<int> columns;
        QVariantList values;
    };
    virtual int run(const QString &sql, const QVariantList &params, const std::vector<Col> &cols,
                    Keep *keep = nullptr) = 0;
    // Statements without results (schema, transactions, ANALYZE).
    virtual void exec(const QString &sql) = 0;
    // Loads rows into a table as fast as the engine allows: one transaction of prepared
    // inserts (SQLite) or COPY (PostgreSQL). row(i, values) fills the values of row i.
    virtual void load(const QString &table, const QStringList &columns, qint64 rows,
                      const std::function<void(qint64, QVariantList &)> &row) = 0;
    double checksum = 0;
};

// How the raw side reads a table of the definition: every stored field in table order,
// then the record id (the AutoInc field, or the hidden column "ID_", which then comes
// last), quoted and joined for a select list, with their decoding.
struct RawColumns {
    QStringList names;  // unquoted
    QString select;
    std::vector<Col> cols;
    QString id;         // the record id column
};
RawColumns rawColumns(const store::TableDef &def);

// After a load and before any timing: the engine's statistics gathered and nothing left
// for it to do in the background (PostgreSQL: VACUUM ANALYZE and a CHECKPOINT, so that
// neither the checkpoint of the load nor autovacuum overlaps the measurement; SQLite:
// ANALYZE and the write-ahead log checkpointed into the file).
void settle(RawEngine &raw, bool postgres);

// PostgreSQL: puts this process and the server processes of the bench database's
// connections (the data module's and the raw one) on the processor this process runs
// on. A round trip then costs the same on both sides: left to the scheduler, one side's
// server process may sit on the other processor, woken from idle for every statement, and
// the other side's not, which swung a figure between 0.4 and 3 times the other from run to
// run. Returns the number of server processes placed (0: not allowed to).
int pinBesideServer(RawEngine &raw);

// The n-th of n rows in the order they are written: i itself in the program's order, or
// a fixed permutation of 0 … n-1 for the shuffled variant.
qint64 writtenAt(qint64 i, qint64 n, bool shuffled);

// Number of distinct cards for n journal rows (three variants each).
qint64 cardCount(qint64 n);
QString cardCode(qint64 card);
QString docNumber(qint64 doc);
// A fixed pseudo-random sequence, the same on every run.
quint64 mix(quint64 x);
// Fills the journal (by time: record number, date and time ascending, ten lines per
// document, cards as they come) and the header table (document numbers ascending with
// the record ids, the supplier names with their stored capitals) with n rows each;
// shuffled writes the same rows in a fixed shuffled order.
void generate(RawEngine &raw, const QString &journal, const QString &headers, qint64 n, bool shuffled);

// The peak resident memory of this process (VmHWM), in MiB.
double peakMemoryMiB();

} // namespace bench
