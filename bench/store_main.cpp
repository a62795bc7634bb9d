// bench_store [--pg CONNINFO] [--rows N] [--rounds R] [--shuffled]
// Creates a firm's tables as the program does and fills its journal and header table
// with N rows each (default 1,000,000), in the order the program writes them (or, with
// --shuffled, the same rows in a shuffled order), on SQLite (a file in a temporary
// directory) and, with --pg, on PostgreSQL (a database created for the run and dropped
// after it). Then times the data module's own table components against the same work
// written by hand on the raw engine. Each engine runs in a process of its own
// (--engine sqlite|pg), so that its peak memory is its own.

#include "core/errors.h"
#include "server_settings.h"
#include "store/database.h"
#include "store/firmschema.h"
#include "store/tdata.h"
#include "store_measure.h"
#include "store_raw.h"
#include "throwaway_pg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

namespace {

struct Options {
    qint64 rows = 1000000;
    int rounds = 9;
    bool shuffled = false;
    QByteArray pg;
};

void run(const char *engine, TData &data, bench::RawEngine &raw, bool postgres, const Options &o)
{
    std::printf("\n== %s, %lld rows in each table, %s, %d rounds\n", engine, static_cast<long long>(o.rows),
                o.shuffled ? "SHUFFLED (rows written in a shuffled order)" : "in the order the program writes them",
                o.rounds);
    QElapsedTimer timer;
    timer.start();
    data.FirmNumber = QStringLiteral("0001");
    data.SetTableNames();
    CreateFirmSchema(data.Database, data.FirmNumber, true);
    bench::generate(raw, data.ffDenik.TableName(), data.ffPodklHlav.TableName(), o.rows, o.shuffled);
    bench::settle(raw, postgres);
    std::printf("     (generated and settled in %.1f s)\n", double(timer.elapsed()) / 1000.0);
    if (postgres)
        std::printf("     (this process and %d server processes on one processor)\n", bench::pinBesideServer(raw));
    bench::measure(data, raw, postgres, o.rows, o.rounds);
    std::printf("     peak memory of the %s process (VmHWM): %.1f MiB\n", engine, bench::peakMemoryMiB());
}

void runSqlite(const Options &o)
{
    QTemporaryDir dir;
    store::ConnectionParams params;
    params.sqliteFile = dir.filePath(QStringLiteral("0001.sqlite"));
    store::Database::CreateSQLiteFile(params.sqliteFile);
    TData data;
    data.Database.Connect(params);
    auto raw = bench::rawSqlite(params.sqliteFile);
    run("SQLite", data, *raw, false, o);
}

void runPostgres(const Options &o)
{
    const pgtest::ThrowawayDatabase database(o.pg, QStringLiteral("bench_store_%1").arg(getpid()));
    bench::printPgDurability(database.conninfo());
    TData data;
    data.Database.Connect(database.params());
    auto raw = bench::rawPostgres(database.conninfo());
    run("PostgreSQL", data, *raw, true, o);
}

// This program again, for one engine, its output passed through.
int child(const QString &engine, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QCoreApplication::applicationFilePath(), args + QStringList{QStringLiteral("--engine"), engine});
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit)
        return 1;
    return p.exitCode();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList all = app.arguments().mid(1);
    QStringList args = all;
    Options o;
    QString engine;
    QStringList passed;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--rows") && !args.isEmpty())
            o.rows = args.takeFirst().toLongLong();
        else if (a == QLatin1String("--rounds") && !args.isEmpty())
            o.rounds = std::max(1, args.takeFirst().toInt());
        else if (a == QLatin1String("--pg") && !args.isEmpty())
            o.pg = args.takeFirst().toUtf8();
        else if (a == QLatin1String("--engine") && !args.isEmpty())
            engine = args.takeFirst();
        else if (a == QLatin1String("--shuffled"))
            o.shuffled = true;
        else {
            std::fprintf(stderr, "usage: bench_store [--pg CONNINFO] [--rows N] [--rounds R] [--shuffled]\n");
            return 64;
        }
    }
    if (o.rows < 1000) {
        std::fprintf(stderr, "bench_store: --rows must be at least 1000\n");
        return 64;
    }
    if (engine.isEmpty()) {
        const int rc = child(QStringLiteral("sqlite"), all);
        if (rc != 0 || o.pg.isEmpty())
            return rc;
        return child(QStringLiteral("pg"), all);
    }
    try {
        if (engine == QLatin1String("sqlite"))
            runSqlite(o);
        else if (engine == QLatin1String("pg") && !o.pg.isEmpty())
            runPostgres(o);
        else
            return 64;
    } catch (const AppError &e) {
        std::fprintf(stderr, "bench_store: %s\n", e.text().toUtf8().constData());
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_store: %s\n", e.what());
        return 1;
    }
    return 0;
}
