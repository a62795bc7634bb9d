// bench_store [--pg CONNINFO] [--rows N]
// Generates a journal and a header table of N rows each (default 1,000,000) on SQLite
// (a file in a temporary directory) and, with --pg, on PostgreSQL (a database created
// for the run and dropped after it), and times the table component against the same
// work written by hand on the raw engine. Prints the peak memory after each engine.

#include "app/core/errors.h"
#include "store/database.h"
#include "store_measure.h"
#include "store_raw.h"
#include "throwaway_pg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

namespace {

const QString kJournal = QStringLiteral("Den0001");
const QString kHeaders = QStringLiteral("POD0001");

void createTables(store::Database &db)
{
    db.CreateTable(bench::tables().journal, kJournal);
    db.CreateTable(bench::tables().headers, kHeaders);
}

void run(const char *engine, store::Database &db, bench::RawEngine &raw, bool postgres, qint64 rows)
{
    std::printf("\n== %s, %lld rows in each table\n", engine, static_cast<long long>(rows));
    QElapsedTimer timer;
    timer.start();
    createTables(db);
    bench::generate(raw, kJournal, kHeaders, rows);
    if (postgres)
        raw.exec(QStringLiteral("ANALYZE"));
    std::printf("     (generated in %.1f s)\n", double(timer.elapsed()) / 1000.0);
    bench::measure(db, raw, postgres, rows, kJournal, kHeaders);
    std::printf("     peak memory of the process (VmHWM): %.1f MiB\n", bench::peakMemoryMiB());
}

void runSqlite(qint64 rows)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bench.sqlite"));
    store::Database::CreateSQLiteFile(file);
    store::ConnectionParams params;
    params.sqliteFile = file;
    store::Database db;
    db.Connect(params);
    auto raw = bench::rawSqlite(file);
    run("SQLite", db, *raw, false, rows);
}

void runPostgres(const QByteArray &conninfo, qint64 rows)
{
    const pgtest::ThrowawayDatabase database(conninfo, QStringLiteral("bench_store_%1").arg(getpid()));
    store::Database db;
    db.Connect(database.params());
    auto raw = bench::rawPostgres(database.conninfo());
    run("PostgreSQL", db, *raw, true, rows);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    qint64 rows = 1000000;
    QByteArray pg;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--rows") && !args.isEmpty())
            rows = args.takeFirst().toLongLong();
        else if (a == QLatin1String("--pg") && !args.isEmpty())
            pg = args.takeFirst().toUtf8();
        else {
            std::fprintf(stderr, "usage: bench_store [--pg CONNINFO] [--rows N]\n");
            return 64;
        }
    }
    if (rows < 1000) {
        std::fprintf(stderr, "bench_store: --rows must be at least 1000\n");
        return 64;
    }
    try {
        runSqlite(rows);
        if (!pg.isEmpty())
            runPostgres(pg, rows);
    } catch (const AppError &e) {
        std::fprintf(stderr, "bench_store: %s\n", e.text().toUtf8().constData());
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_store: %s\n", e.what());
        return 1;
    }
    return 0;
}
