// bench_list [--pg CONNINFO] [--rows N] [--rounds R]: the main window's list of source
// documents on 1,000 and on N headers (1,000,000 by default), on SQLite (a file in a
// temporary directory) and, with --pg, on PostgreSQL (a database created for the run on
// that server and dropped afterwards). Figures, each the median of R rounds:
//   open   — the main window is created and shown and its list stands on the last
//            document (the table opened on "DO1" at its last record, the grid's pages
//            read around it);
//   page   — one page (50 rows) of the list read while scrolling: 200 pages backwards
//            from the end, and 200 pages forwards from the middle (as far as the table
//            reaches).
// Beside each: the raw engine's page query for the same rows, a prepared statement
// (sqlite3_* / PQexecPrepared) reading 50 rows on the index with every column decoded.
// Targets: a page at most 2 × the raw query; opening on N headers at most 2 × opening
// on 1,000. The windows run on Qt's offscreen platform unless QT_QPA_PLATFORM says
// otherwise.

#include "dbgrid.h"
#include "dodavky_form.h"
#include "store_raw.h"
#include "throwaway_pg.h"
#include "store/firmschema.h"
#include "store/tdata.h"
#include "timing.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

using bench::median;
using bench::millis;

constexpr int kPages = 200;
constexpr int kPageRows = GridModel::kPageRows;

// Every stored column of the header table, as the list reads it, with its decoding.
const QString kColumns = QStringLiteral(
    "\"HLA_DAT\", \"HLA_DO1\", \"HLA_TYP\", \"HLA_DO2\", \"HLA_DO3\", \"HLA_DDO\", \"HLA_ODB\", \"HLA_NAC\", "
    "\"HLA_NCA\", \"HLA_PCA\", \"HLA_EDT\", \"HLA_FAC\", \"HLA_MEN\", \"HLA_KUR\", \"HLA_EUR\", \"ID_\", "
    "\"HLA_NAC__U\"");
using bench::Col;
const std::vector<Col> kCols = {Col::Date, Col::Text, Col::Text, Col::Text, Col::Text, Col::Date,
                                Col::Text, Col::Text, Col::Real, Col::Real, Col::Int,  Col::Real,
                                Col::Text, Col::Real, Col::Real, Col::Int,  Col::Text};

struct Figures {
    double openMs = 0;
    double rawOpenMs = 0;
    int endPages = 0, middlePages = 0;
    double endPageMs = 0, rawEndPageMs = 0;
    double middlePageMs = 0, rawMiddlePageMs = 0;
};

QString number(qint64 i) { return QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')); }

// N headers numbered 1 … N, written in a shuffled order so that the record ids do not
// follow the document numbers.
void fill(bench::RawEngine &raw, const QString &table, qint64 rows)
{
    const QStringList columns = {"HLA_DAT", "HLA_DO1", "HLA_DO2", "HLA_ODB", "HLA_NAC", "HLA_NAC__U",
                                 "HLA_NCA", "HLA_FAC", "HLA_MEN", "HLA_KUR", "HLA_EUR"};
    raw.load(table, columns, rows, [rows](qint64 i, QVariantList &v) {
        const qint64 doc = (i * 7919) % rows + 1;
        const QString supplier = QStringLiteral("Dodavatel %1").arg(doc % 997);
        v = {QDate(2024, 1, 1).addDays(doc % 365), number(doc), QStringLiteral("FA%1").arg(doc),
             QStringLiteral("%1").arg(doc % 997, 6, 10, QLatin1Char('0')), supplier, supplier.toUpper(),
             double(doc % 1000) * 1.5, double(doc % 1000) * 1.5, QStringLiteral("EUR"), 25.0, double(doc % 1000)};
    });
    raw.exec(QStringLiteral("ANALYZE"));
}

// The raw page query in index order, after (forward) or before a key.
struct RawPages {
    bench::RawEngine &raw;
    QString table;
    bool postgres;

    QString pageSql(bool forward) const
    {
        const QString cmp = forward ? QStringLiteral(">") : QStringLiteral("<");
        const QString dir = forward ? QString() : QStringLiteral(" DESC");
        // SQLite seeks a spelled-out condition; PostgreSQL seeks the row value itself.
        const QString after = postgres
            ? QStringLiteral("(\"HLA_DO1\", \"ID_\") %1 ($1, $2)").arg(cmp)
            : QStringLiteral("\"HLA_DO1\" %1 ?1 OR (\"HLA_DO1\" = ?1 AND \"ID_\" %1 ?2)").arg(cmp);
        return QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3 ORDER BY \"HLA_DO1\"%4, \"ID_\"%4 LIMIT %5")
            .arg(kColumns, table, after, dir)
            .arg(kPageRows);
    }
    // The last page of the index (what opening on the last document reads).
    int last() const
    {
        return raw.run(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY \"HLA_DO1\" DESC, \"ID_\" DESC LIMIT %3")
                           .arg(kColumns, table)
                           .arg(kPageRows + 1),
                       {}, kCols);
    }
    // Pages from a key on, each starting after the last row of the page before; returns
    // the pages read.
    int walk(QString key, qint64 id, bool forward, int pages) const
    {
        const QString sql = pageSql(forward);
        int read = 0;
        for (; read < pages; ++read) {
            if (raw.run(sql, {key, id}, kCols) < kPageRows)
                break;
            // The page ended at the key kPageRows further on (the numbers run without
            // gaps): the next one starts after it.
            key = number(key.toLongLong() + (forward ? kPageRows : -kPageRows));
            id = forward ? std::numeric_limits<qint64>::max() : 0;
        }
        return read;
    }
};

// The id of the header with the number, read by the table component.
qint64 idOf(store::Table &headers, const QString &doc)
{
    headers.FindNearest({doc});
    return headers.GetBookmark().id;
}

Figures measure(TData &data, bench::RawEngine &raw, bool postgres, qint64 rows, int rounds)
{
    store::Table &headers = data.ffPodklHlav;
    RawPages rawPages{raw, headers.TableName(), postgres};
    Figures f;

    std::vector<double> open, rawOpen;
    for (int r = 0; r < rounds; ++r) {
        open.push_back(millis([&] {
            DodavkyWindow window;
            window.show();
            while (window.grid()->gridModel()->currentRow() < 0)
                QCoreApplication::processEvents();
            window.close();
        }));
        rawOpen.push_back(millis([&] { rawPages.last(); }));
    }
    f.openMs = median(open);
    f.rawOpenMs = median(rawOpen);

    // Scrolling: the grid's model reads one page per fetch, at either end of its window.
    headers.Open();
    headers.SetIndexName(QStringLiteral("DO1"));
    const QString middle = number(rows / 2);
    const qint64 middleId = idOf(headers, middle);
    std::vector<double> end, rawEnd, mid, rawMid;
    for (int r = 0; r < rounds; ++r) {
        headers.Last();
        GridModel atEnd(&data.DataPodklHlav, DodavkyWindow::GridColumns());
        int pages = 0;
        end.push_back(millis([&] {
            for (; pages < kPages && atEnd.canFetchBackward(); ++pages)
                atEnd.fetchBackward();
        }));
        f.endPages = pages;
        rawEnd.push_back(millis([&] { rawPages.walk(number(rows + 1), 0, false, pages); }));

        headers.FindNearest({middle});
        GridModel inMiddle(&data.DataPodklHlav, DodavkyWindow::GridColumns());
        pages = 0;
        mid.push_back(millis([&] {
            for (; pages < kPages && inMiddle.canFetchMore({}); ++pages)
                inMiddle.fetchMore({});
        }));
        f.middlePages = pages;
        rawMid.push_back(millis([&] { rawPages.walk(middle, middleId, true, pages); }));
    }
    headers.Close();
    const auto perPage = [](double ms, int pages) { return pages ? ms / pages : 0.0; };
    f.endPageMs = perPage(median(end), f.endPages);
    f.rawEndPageMs = perPage(median(rawEnd), f.endPages);
    f.middlePageMs = perPage(median(mid), f.middlePages);
    f.rawMiddlePageMs = perPage(median(rawMid), f.middlePages);
    return f;
}

// A firm with rows headers on a connected database; the raw engine on the same one.
Figures runOn(TData &data, bench::RawEngine &raw, bool postgres, qint64 rows, int rounds)
{
    data.FirmNumber = QStringLiteral("0001");
    data.SetTableNames();
    CreateFirmSchema(data.Database, data.FirmNumber, true);
    fill(raw, data.ffPodklHlav.TableName(), rows);
    return measure(data, raw, postgres, rows, rounds);
}

Figures sqlite(qint64 rows, int rounds)
{
    QTemporaryDir dir;
    store::ConnectionParams params;
    params.sqliteFile = dir.filePath(QStringLiteral("0001.sqlite"));
    store::Database::CreateSQLiteFile(params.sqliteFile);
    TData data;
    data.Database.Connect(params);
    auto raw = bench::rawSqlite(params.sqliteFile);
    return runOn(data, *raw, false, rows, rounds);
}

Figures postgres(const QByteArray &conninfo, qint64 rows, int rounds)
{
    const pgtest::ThrowawayDatabase database(conninfo,
                                             QStringLiteral("bench_list_%1_%2").arg(getpid()).arg(rows));
    TData data;
    data.Database.Connect(database.params());
    auto raw = bench::rawPostgres(database.conninfo());
    return runOn(data, *raw, true, rows, rounds);
}

void report(const char *engine, qint64 small, const Figures &s, qint64 large, const Figures &l)
{
    std::printf("\n%s\n", engine);
    std::printf("%-10s %10s %10s %7s | %5s %9s %9s %7s | %5s %9s %9s %7s\n", "headers", "open ms", "raw ms",
                "ratio", "end", "page ms", "raw ms", "ratio", "mid", "page ms", "raw ms", "ratio");
    for (const auto &[rows, f] : {std::pair{small, s}, std::pair{large, l}})
        std::printf("%-10lld %10.3f %10.3f %7.1f | %5d %9.4f %9.4f %7.2f | %5d %9.4f %9.4f %7.2f\n", rows, f.openMs,
                    f.rawOpenMs, f.openMs / f.rawOpenMs, f.endPages, f.endPageMs, f.rawEndPageMs,
                    f.endPageMs / f.rawEndPageMs, f.middlePages, f.middlePageMs, f.rawMiddlePageMs,
                    f.middlePageMs / f.rawMiddlePageMs);
    std::printf("open on %lld / open on %lld: %.2f (target at most 2)\n", large, small, l.openMs / s.openMs);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("pg"), QStringLiteral("Also on this PostgreSQL server."), QStringLiteral("CONNINFO")});
    parser.addOption({QStringLiteral("rows"), QStringLiteral("Headers of the large list."), QStringLiteral("N"),
                      QStringLiteral("1000000")});
    parser.addOption({QStringLiteral("rounds"), QStringLiteral("Rounds per figure."), QStringLiteral("R"),
                      QStringLiteral("11")});
    parser.process(app);
    const qint64 large = parser.value(QStringLiteral("rows")).toLongLong();
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());
    const qint64 small = 1000;

    try {
        report("SQLite", small, sqlite(small, rounds), large, sqlite(large, rounds));
        if (parser.isSet(QStringLiteral("pg"))) {
            const QByteArray pg = parser.value(QStringLiteral("pg")).toUtf8();
            report("PostgreSQL", small, postgres(pg, small, rounds), large, postgres(pg, large, rounds));
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_list: %s\n", e.what());
        return 1;
    }
    return 0;
}
