#pragma once
// bench_store: the table component against hand-written prepared statements on the raw
// engine (sqlite3_* / PQexecPrepared), on generated tables of N rows.

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
    // a statement that writes).
    virtual int run(const QString &sql, const QVariantList &params, const std::vector<Col> &cols) = 0;
    // Statements without results (schema, transactions, ANALYZE).
    virtual void exec(const QString &sql) = 0;
    // Loads rows into a table as fast as the engine allows: one transaction of prepared
    // inserts (SQLite) or COPY (PostgreSQL). row(i, values) fills the values of row i.
    virtual void load(const QString &table, const QStringList &columns, qint64 rows,
                      const std::function<void(qint64, QVariantList &)> &row) = 0;
    double checksum = 0;
};

// The generated tables.
struct Tables {
    store::TableDef journal;  // Den-like: DEN_RAD autoinc, (card, variant), document, …
    store::TableDef headers;  // POD-like: HLA_DO1 and the header fields
};
const Tables &tables();
// Number of distinct cards for n journal rows (three variants each).
qint64 cardCount(qint64 n);
QString cardCode(qint64 card);
QString docNumber(qint64 doc);
// Fills both tables with n rows each.
void generate(RawEngine &raw, const QString &journal, const QString &headers, qint64 n);

// The peak resident memory of this process (VmHWM), in MiB.
double peakMemoryMiB();

} // namespace bench
