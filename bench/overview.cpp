// bench_overview [--pg CONNINFO] [--receipts N] [--lines L] [--rounds R]
// The deliveries overview of a year: N receipts (10,000 by default) with L journal lines
// each (20), from 200 suppliers over 5,000 cards, on SQLite (a file in a temporary
// directory) and, with --pg, on PostgreSQL (a database created for the run and dropped
// after it), vacuumed and analysed (and on PostgreSQL written out by a checkpoint) after
// the load. Times the overview up to its text file (the work table filled with the values
// of the receipts, then "PrehledDodavek.txt" written, as SesPrehPRD does) beside one
// hand-written SQL statement that computes the same sums for the same receipts on the raw
// engine, R rounds of each in turn (5 by default), and prints the medians with the least
// and the most and the ratio of the medians. The same is done on a quarter of the receipts
// first, with the peak memory of the overview runs, to show that memory does not grow with
// the number of receipts.

#include "core/errors.h"
#include "reports/data_sestavy.h"
#include "reports/prehled_dodavek.h"
#include "server_settings.h"
#include "store/firmschema.h"
#include "store/tables/tables.h"
#include "store/tdata.h"
#include "store_raw.h"
#include "throwaway_pg.h"
#include "timing.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

const QString kFirm = QStringLiteral("0001");
const QDate kFrom(2023, 1, 1);
const QDate kTo(2023, 12, 31);
constexpr int kCards = 5000;
constexpr int kSuppliers = 200;
// The VAT rates the generated lines carry in turn; 10 % is none of the configured ones.
constexpr double kRates[] = {22, 5, 0, 22, 10};

QString number(qint64 i, int width) { return QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0')); }

// The hand-written statement: per receipt of the period in number order, the journal lines
// of operation 001 gathered per card and variant (the rate of the row is that of its lines,
// which agree in the generated data), then summed as the value computation sums them
// with price mode 1 and the rates 22, 5 and 0.
QString handWritten(bool postgres)
{
    const QString sql = QStringLiteral(
        "SELECT h.\"HLA_DAT\", h.\"HLA_DO1\", substr(h.\"HLA_TYP\", 1, 2), h.\"HLA_DO2\", h.\"HLA_ODB\", "
        "h.\"HLA_NAC\", h.\"HLA_FAC\", "
        "coalesce(sum(r.nc), 0), coalesce(sum(r.pc + r.rate * (r.pc / 100)), 0), "
        "coalesce(sum(CASE WHEN r.rate = 22 THEN r.nc END), 0), coalesce(sum(CASE WHEN r.rate = 5 THEN r.nc END), 0), "
        "coalesce(sum(CASE WHEN r.rate = 0 THEN r.nc END), 0), "
        "coalesce(sum(CASE WHEN r.rate = 22 THEN r.nc / 100 * 22 END), 0), "
        "coalesce(sum(CASE WHEN r.rate = 5 THEN r.nc / 100 * 5 END), 0) "
        "FROM \"Prd%1\" h LEFT JOIN ("
        "  SELECT \"DEN_DOK\" AS dok, sum(\"DEN_HNC\") AS nc, sum(\"DEN_HPC\") AS pc, min(\"DEN_DAN\") AS rate"
        "  FROM \"Den%1\" WHERE \"DEN_OPE\" = '001' GROUP BY \"DEN_DOK\", \"DEN_KAV\", \"DEN_IND\") r"
        " ON r.dok = h.\"HLA_DO1\" "
        "WHERE h.\"HLA_DAT\" BETWEEN %2 AND %3 "
        "GROUP BY h.\"HLA_DAT\", h.\"HLA_DO1\", h.\"HLA_TYP\", h.\"HLA_DO2\", h.\"HLA_ODB\", h.\"HLA_NAC\", h.\"HLA_FAC\" "
        "ORDER BY h.\"HLA_DO1\"")
                            .arg(kFirm);
    return postgres ? sql.arg(QStringLiteral("$1::date"), QStringLiteral("$2::date")) : sql.arg(QStringLiteral("?1"), QStringLiteral("?2"));
}

// Drops whatever an earlier run left and creates the firm's tables.
void createFirm(store::Database &db)
{
    for (const store::TableDef *def : store::tables::schemaTables()) {
        const QString name = def->nameForFirm(kFirm);
        if (db.TableExists(name))
            db.DropTable(name);
    }
    CreateFirmSchema(db, kFirm, false);
}

// Receipts 1..n spread over the year and their lines, loaded by the raw engine.
void generate(bench::RawEngine &raw, qint64 receipts, int lines)
{
    raw.load(QStringLiteral("Sor%1").arg(kFirm), {QStringLiteral("SOR_KAV"), QStringLiteral("SOR_NAC"),
                                                      QStringLiteral("SOR_SKU")},
             kCards, [](qint64 i, QVariantList &v) {
                 v = {number(i + 1, 6), QStringLiteral("Zboží č. %1").arg(i + 1), QStringLiteral("ZEL")};
             });
    raw.load(QStringLiteral("Prd%1").arg(kFirm),
             {QStringLiteral("HLA_DAT"), QStringLiteral("HLA_DO1"), QStringLiteral("HLA_TYP"),
              QStringLiteral("HLA_DO2"), QStringLiteral("HLA_ODB"), QStringLiteral("HLA_NAC"),
              QStringLiteral("HLA_FAC")},
             receipts, [&](qint64 i, QVariantList &v) {
                 const qint64 supplier = (i * 37) % kSuppliers + 1;
                 v = {kFrom.addDays(i * 365 / receipts), number(i + 1, 10), QStringLiteral("PR"),
                      QStringLiteral("F%1").arg(i + 1), number(supplier, 6),
                      QStringLiteral("Dodavatel č. %1 s.r.o.").arg(supplier), 1000.0 + double(i % 977)};
             });
    raw.load(QStringLiteral("Den%1").arg(kFirm),
             {QStringLiteral("DEN_DAT"), QStringLiteral("DEN_DOK"), QStringLiteral("DEN_KAV"),
              QStringLiteral("DEN_IND"), QStringLiteral("DEN_OPE"), QStringLiteral("DEN_KUS"),
              QStringLiteral("DEN_HPC"), QStringLiteral("DEN_HNC"), QStringLiteral("DEN_DAN")},
             receipts * lines, [&](qint64 i, QVariantList &v) {
                 const qint64 receipt = i / lines;
                 const qint64 line = i % lines;
                 const double quantity = double(1 + i % 9);
                 v = {kFrom.addDays(receipt * 365 / receipts), number(receipt + 1, 10),
                      number((receipt * 131 + line * 17) % kCards + 1, 6), QStringLiteral("000"),
                      QStringLiteral("001"), quantity, quantity * 12.5, quantity * 10.25,
                      kRates[(receipt + line) % 5]};
             });
}

// Forgets the peak memory so far, so that the next VmHWM is that of what follows.
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// The times of the rounds: median, least, most.
struct Times {
    std::vector<double> ms;
    QString text() const
    {
        const auto [least, most] = std::minmax_element(ms.begin(), ms.end());
        return QStringLiteral("%1 (%2–%3)")
            .arg(bench::median(ms), 0, 'f', 1)
            .arg(*least, 0, 'f', 1)
            .arg(*most, 0, 'f', 1);
    }
};

struct Figures {
    Times overview, raw;
    double peakMiB = 0;
    qint64 rows = 0, rawRows = 0;
};

// One overview up to its text file, as SesPrehPRD makes it; its time and peak memory.
void overviewRound(store::Database &db, Figures &f)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QString(kOverviewTextFile));
    TData data;
    data.FirmNumber = kFirm;
    data.SetTableNames();
    data.PriceMode = 1;
    data.VatRateHigh = 22;
    data.VatRateLow = 5;
    data.VatRateZero = 0;
    data.Database.Connect(db.Params());
    TDataSestavy reports;
    resetPeakMemory();
    f.overview.ms.push_back(bench::millis([&] {
        FillOverviewWorkTable(data, reports.ffSesDod, reports.SesDodMem, kFrom, kTo, ByReceipt);
        WriteOverviewText(reports.SesDodMem, text);
    }));
    f.peakMiB = std::max(f.peakMiB, bench::peakMemoryMiB());
    f.rows = reports.SesDodMem.RecordCount();
}

Figures measure(store::Database &db, bench::RawEngine &raw, bool postgres, qint64 receipts, int lines, int rounds)
{
    createFirm(db);
    generate(raw, receipts, lines);
    // The statistics and the files as a shop's server has them: vacuumed, analysed,
    // written out.
    bench::settle(raw, postgres);

    Figures f;
    const std::vector<bench::Col> cols = {bench::Col::Date, bench::Col::Text, bench::Col::Text, bench::Col::Text,
                                          bench::Col::Text, bench::Col::Text, bench::Col::Real, bench::Col::Real,
                                          bench::Col::Real, bench::Col::Real, bench::Col::Real, bench::Col::Real,
                                          bench::Col::Real, bench::Col::Real};
    // The two in turn, so that a busy moment of the machine falls on both alike.
    for (int round = 0; round < rounds; ++round) {
        overviewRound(db, f);
        f.raw.ms.push_back(bench::millis([&] { f.rawRows = raw.run(handWritten(postgres), {kFrom, kTo}, cols); }));
    }
    return f;
}

void report(const char *engine, bench::RawEngine &raw, store::Database &db, bool postgres, qint64 receipts,
            int lines, int rounds)
{
    std::printf("\n%s, %d rounds: median (least–most) in ms\n%-9s %-9s %-26s %-26s %7s %10s\n", engine, rounds,
                "receipts", "lines", "overview", "raw SQL", "ratio", "peak MiB");
    for (const qint64 n : {receipts / 4, receipts}) {
        const Figures f = measure(db, raw, postgres, n, lines, rounds);
        std::printf("%-9lld %-9lld %-26s %-26s %7.2f %10.1f\n", static_cast<long long>(n),
                    static_cast<long long>(n * lines), qPrintable(f.overview.text()), qPrintable(f.raw.text()),
                    bench::median(f.overview.ms) / bench::median(f.raw.ms), f.peakMiB);
        if (f.rows != n || f.rawRows != n)
            std::printf("          (rows differ: overview %lld, statement %lld)\n", static_cast<long long>(f.rows),
                        static_cast<long long>(f.rawRows));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    qint64 receipts = 10000;
    int lines = 20;
    int rounds = 5;
    QByteArray pg;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--receipts") && !args.isEmpty())
            receipts = args.takeFirst().toLongLong();
        else if (a == QLatin1String("--lines") && !args.isEmpty())
            lines = args.takeFirst().toInt();
        else if (a == QLatin1String("--rounds") && !args.isEmpty())
            rounds = args.takeFirst().toInt();
        else if (a == QLatin1String("--pg") && !args.isEmpty())
            pg = args.takeFirst().toUtf8();
        else {
            std::fprintf(stderr, "usage: bench_overview [--pg CONNINFO] [--receipts N] [--lines L] [--rounds R]\n");
            return 64;
        }
    }
    if (receipts < 4 || lines < 1 || rounds < 1) {
        std::fprintf(stderr, "bench_overview: --receipts must be at least 4, --lines and --rounds at least 1\n");
        return 64;
    }
    try {
        {
            QTemporaryDir dir;
            store::ConnectionParams params;
            params.sqliteFile = dir.filePath(QStringLiteral("overview.sqlite"));
            store::Database::CreateSQLiteFile(params.sqliteFile);
            store::Database db;
            db.Connect(params);
            auto raw = bench::rawSqlite(params.sqliteFile);
            report("SQLite", *raw, db, false, receipts, lines, rounds);
        }
        if (!pg.isEmpty()) {
            const pgtest::ThrowawayDatabase database(pg, QStringLiteral("bench_overview_%1").arg(getpid()));
            bench::printPgDurability(database.conninfo());
            store::Database db;
            db.Connect(database.params());
            auto raw = bench::rawPostgres(database.conninfo());
            report("PostgreSQL", *raw, db, true, receipts, lines, rounds);
        }
    } catch (const AppError &e) {
        std::fprintf(stderr, "bench_overview: %s\n", e.text().toUtf8().constData());
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_overview: %s\n", e.what());
        return 1;
    }
    return 0;
}
