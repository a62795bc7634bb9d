// bench_list [--pg CONNINFO] [--rows N] [--rounds R] [--shuffled]: the main window's list
// of source documents on 1,000 and on N headers (1,000,000 by default), on SQLite (a file
// in a temporary directory) and, with --pg, on PostgreSQL (a database created for the
// run on that server and dropped afterwards). The headers are written in the order the
// program writes them (document numbers ascending with the record ids) or, with
// --shuffled, the same headers in a shuffled order; the database is settled (statistics,
// checkpoint) before any timing; on PostgreSQL this process and the server processes of
// both databases' connections then run on one processor. Figures, each the median with
// min–max of R rounds in which the two sizes and the two sides take turns:
//   open   — the main window is created and shown and its list stands on the last
//            document (the table opened on "DO1" at its last record, the grid's pages
//            read around it);
//   page   — one page (50 rows) of the list read while scrolling, as the grid reads it
//            (after the row it ends with, named by its bookmark): 200 pages backwards
//            from the end, and 200 pages forwards from the middle (as far as the table
//            reaches).
// Beside each: the raw engine's page query for the same rows, a prepared statement
// (sqlite3_* / PQexecPrepared) reading 50 rows on the index with every column decoded,
// each page after the key of the last row of the page before.
// Targets: a page at most 1.25 × the raw query; opening on N headers at most 1.2 ×
// opening on 1,000. The windows run on Qt's offscreen platform unless QT_QPA_PLATFORM
// says otherwise.

#include "core/errors.h"
#include "dbgrid.h"
#include "dodavky_form.h"
#include "server_settings.h"
#include "store_raw.h"
#include "throwaway_pg.h"
#include "store/firmschema.h"
#include "store/tables/column_names.h"
#include "store/tables/tables.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"
#include "timing.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

namespace ix = store::tables::index;

namespace {

using bench::median;
using bench::millis;

constexpr int kPages = 200;
constexpr int kPageRows = GridModel::kPageRows;

namespace pod = store::tables::column::ffPodklHlav;

// The header table as the raw side reads it (every stored column and the record id,
// decoded), from the program's own definition.
const bench::RawColumns &headerColumns()
{
    static const bench::RawColumns c = bench::rawColumns(store::tables::podklHlav());
    return c;
}
// The quoted order columns: the document number, then the record id.
const QString kDoc = QStringLiteral("\"%1\"").arg(pod::HLA_DO1);
const QString kId = QStringLiteral("\"%1\"").arg(headerColumns().id);

// The select columns of the order.
std::vector<int> keyColumns()
{
    return {int(headerColumns().names.indexOf(QString(pod::HLA_DO1))), int(headerColumns().names.indexOf(headerColumns().id))};
}

struct Figures {
    std::vector<double> open, rawOpen;
    int endPages = 0, middlePages = 0;
    std::vector<double> endPage, rawEndPage, middlePage, rawMiddlePage;  // per page
};

QString number(qint64 i) { return QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')); }

// N headers numbered 1 … N, in the order the program writes them or shuffled.
void fill(bench::RawEngine &raw, const QString &table, qint64 rows, bool shuffled, bool postgres)
{
    const QStringList columns = {pod::HLA_DAT, pod::HLA_DO1, pod::HLA_DO2, pod::HLA_ODB, pod::HLA_NAC,
                                 QString(pod::HLA_NAC) + QStringLiteral("__U"), pod::HLA_NCA, pod::HLA_FAC,
                                 pod::HLA_MEN, pod::HLA_KUR, pod::HLA_EUR};
    raw.load(table, columns, rows, [rows, shuffled](qint64 i, QVariantList &v) {
        const qint64 doc = bench::writtenAt(i, rows, shuffled) + 1;
        const QString supplier = QStringLiteral("Dodavatel %1").arg(doc % 997);
        v = {QDate(2024, 1, 1).addDays(doc * 365 / rows), number(doc), QStringLiteral("FA%1").arg(doc),
             QStringLiteral("%1").arg(doc % 997, 6, 10, QLatin1Char('0')), supplier, supplier.toUpper(),
             double(doc % 1000) * 1.5, double(doc % 1000) * 1.5, QStringLiteral("EUR"), 25.0, double(doc % 1000)};
    });
    bench::settle(raw, postgres);
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
            ? QStringLiteral("(%2, %3) %1 ($1, $2)").arg(cmp, kDoc, kId)
            : QStringLiteral("%2 %1 ?1 OR (%2 = ?1 AND %3 %1 ?2)").arg(cmp, kDoc, kId);
        return QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3 ORDER BY %5%4, %6%4 LIMIT %7")
            .arg(headerColumns().select, table, after, dir, kDoc, kId)
            .arg(kPageRows);
    }
    QString edgeSql(bool first, int rows) const
    {
        const QString dir = first ? QString() : QStringLiteral(" DESC");
        return QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY %4%3, %5%3 LIMIT %6")
            .arg(headerColumns().select, table, dir, kDoc, kId)
            .arg(rows);
    }
    // The last page of the index (what opening on the last document reads).
    int last() const { return raw.run(edgeSql(false, kPageRows + 1), {}, headerColumns().cols); }
    // `pages` pages from the key (the end when none), each after (before) the last row of
    // the page before.
    void walk(QVariantList key, bool forward, int pages) const
    {
        bench::RawEngine::Keep keep{kPageRows - 1, keyColumns(), {}};
        if (key.isEmpty()) {
            raw.run(edgeSql(forward, kPageRows), {}, headerColumns().cols, &keep);
            --pages;
        } else {
            keep.values = key;
        }
        const QString sql = pageSql(forward);
        for (int read = 0; read < pages; ++read)
            if (raw.run(sql, keep.values, headerColumns().cols, &keep) < kPageRows)
                break;
    }
};

// A firm's header table on one engine, filled, with the raw engine beside.
struct List {
    TData data;
    std::unique_ptr<bench::RawEngine> raw;
    bool postgres = false;
    qint64 rows = 0;
    Figures f;
};

// One round of every figure on one list.
void round(List &list, int r, int rounds)
{
    TData &data = list.data;
    const RawPages rawPages{*list.raw, data.ffPodklHlav.TableName(), list.postgres};
    const auto open = [&] {
        list.f.open.push_back(millis([&] {
            DodavkyWindow window;
            window.show();
            while (window.grid()->gridModel()->currentRow() < 0)
                QCoreApplication::processEvents();
            window.close();
        }));
    };
    const auto rawOpen = [&] { list.f.rawOpen.push_back(millis([&] { rawPages.last(); })); };
    if (r % 2 == 0) {
        open();
        rawOpen();
    } else {
        rawOpen();
        open();
    }

    // Scrolling: the grid's model reads one page per fetch, at either end of its window.
    store::Table &headers = data.ffPodklHlav;
    headers.Open();
    headers.SetIndexName(ix::ffPodklHlav::DO1);
    const auto perPage = [](double ms, int pages) { return pages ? ms / pages : 0.0; };
    const auto end = [&] {
        headers.Last();
        GridModel atEnd(&data.DataPodklHlav, DodavkyWindow::GridColumns());
        int pages = 0;
        const double ms = millis([&] {
            for (; pages < kPages && atEnd.canFetchBackward(); ++pages)
                atEnd.fetchBackward();
        });
        list.f.endPages = pages;
        list.f.endPage.push_back(perPage(ms, pages));
    };
    const auto rawEnd = [&] {
        list.f.rawEndPage.push_back(perPage(millis([&] { rawPages.walk({}, false, list.f.endPages + 1); }),
                                            list.f.endPages));
    };
    // Each round starts somewhere else in the middle half.
    const QString middle = number(list.rows / 4 + (list.rows / 2) * r / rounds + 1);
    headers.FindNearest({middle});
    const QVariantList middleKey{middle, headers.GetBookmark().id};
    const auto mid = [&] {
        headers.FindNearest({middle});
        GridModel inMiddle(&data.DataPodklHlav, DodavkyWindow::GridColumns());
        int pages = 0;
        const double ms = millis([&] {
            for (; pages < kPages && inMiddle.canFetchMore({}); ++pages)
                inMiddle.fetchMore({});
        });
        list.f.middlePages = pages;
        list.f.middlePage.push_back(perPage(ms, pages));
    };
    // The grid stands on the middle record with a page after it; its pages follow that.
    const auto rawMid = [&] {
        bench::RawEngine::Keep keep{kPageRows - 1, keyColumns(), {}};
        list.raw->run(rawPages.pageSql(true), middleKey, headerColumns().cols, &keep);
        list.f.rawMiddlePage.push_back(
            perPage(millis([&] { rawPages.walk(keep.values, true, list.f.middlePages); }), list.f.middlePages));
    };
    if (r % 2 == 0) {
        end();
        rawEnd();
        mid();
        rawMid();
    } else {
        rawEnd();
        end();
        rawMid();
        mid();
    }
    headers.Close();
}

// A firm with rows headers on a connected database; the raw engine on the same one.
void prepare(List &list, bool shuffled)
{
    list.data.FirmNumber = QStringLiteral("0001");
    list.data.SetTableNames();
    CreateFirmSchema(list.data.Database, list.data.FirmNumber, true);
    fill(*list.raw, list.data.ffPodklHlav.TableName(), list.rows, shuffled, list.postgres);
}

void report(const char *engine, const List &s, const List &l)
{
    using bench::shown;
    using bench::spread;
    std::printf("\n%s (milliseconds; median (min–max))\n", engine);
    for (const List *list : {&s, &l}) {
        const Figures &f = list->f;
        std::printf("%lld headers\n", static_cast<long long>(list->rows));
        std::printf("  open                 %28s  raw %28s  ratio %s\n", qPrintable(shown(spread(f.open), 3)),
                    qPrintable(shown(spread(f.rawOpen), 3)), qPrintable(shown(bench::ratio(f.open, f.rawOpen), 2)));
        std::printf("  page, end (%3d)      %28s  raw %28s  ratio %s\n", f.endPages,
                    qPrintable(shown(spread(f.endPage), 4)), qPrintable(shown(spread(f.rawEndPage), 4)),
                    qPrintable(shown(bench::ratio(f.endPage, f.rawEndPage), 2)));
        std::printf("  page, middle (%3d)   %28s  raw %28s  ratio %s\n", f.middlePages,
                    qPrintable(shown(spread(f.middlePage), 4)), qPrintable(shown(spread(f.rawMiddlePage), 4)),
                    qPrintable(shown(bench::ratio(f.middlePage, f.rawMiddlePage), 2)));
    }
    std::printf("open on %lld / open on %lld: %s (target at most 1.2)\n", static_cast<long long>(l.rows),
                static_cast<long long>(s.rows), qPrintable(shown(bench::ratio(l.f.open, s.f.open), 2)));
    std::fflush(stdout);
}

// Both sizes on one engine, their rounds interleaved.
void run(const char *engine, List &small, List &large, bool shuffled, int rounds)
{
    prepare(small, shuffled);
    prepare(large, shuffled);
    if (small.postgres)
        std::printf("(this process and %d server processes on one processor)\n",
                    bench::pinBesideServer(*small.raw) + bench::pinBesideServer(*large.raw));
    // A round untimed (statements prepared, pages in the caches), then the rounds.
    for (int r = -1; r < rounds; ++r) {
        if (r % 2 == 0) {
            round(small, std::max(r, 0), rounds);
            round(large, std::max(r, 0), rounds);
        } else {
            round(large, std::max(r, 0), rounds);
            round(small, std::max(r, 0), rounds);
        }
        if (r < 0)
            small.f = large.f = {};
    }
    report(engine, small, large);
}

void sqlite(qint64 small, qint64 large, bool shuffled, int rounds)
{
    QTemporaryDir dir;
    List lists[2];
    for (int i = 0; i < 2; ++i) {
        store::ConnectionParams params;
        params.sqliteFile = dir.filePath(QStringLiteral("%1.sqlite").arg(i));
        store::Database::CreateSQLiteFile(params.sqliteFile);
        lists[i].data.Database.Connect(params);
        lists[i].raw = bench::rawSqlite(params.sqliteFile);
        lists[i].rows = i == 0 ? small : large;
    }
    run("SQLite", lists[0], lists[1], shuffled, rounds);
}

void postgres(const QByteArray &conninfo, qint64 small, qint64 large, bool shuffled, int rounds)
{
    const pgtest::ThrowawayDatabase db0(conninfo, QStringLiteral("bench_list_%1_small").arg(getpid()));
    const pgtest::ThrowawayDatabase db1(conninfo, QStringLiteral("bench_list_%1_large").arg(getpid()));
    bench::printPgDurability(db1.conninfo());
    List lists[2];
    const pgtest::ThrowawayDatabase *dbs[2] = {&db0, &db1};
    for (int i = 0; i < 2; ++i) {
        lists[i].data.Database.Connect(dbs[i]->params());
        lists[i].raw = bench::rawPostgres(dbs[i]->conninfo());
        lists[i].postgres = true;
        lists[i].rows = i == 0 ? small : large;
    }
    run("PostgreSQL", lists[0], lists[1], shuffled, rounds);
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
    parser.addOption({QStringLiteral("shuffled"), QStringLiteral("Write the headers in a shuffled order.")});
    parser.process(app);
    const qint64 large = parser.value(QStringLiteral("rows")).toLongLong();
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());
    const bool shuffled = parser.isSet(QStringLiteral("shuffled"));
    std::printf("headers %s\n", shuffled ? "SHUFFLED (written in a shuffled order)"
                                          : "in the order the program writes them");

    try {
        sqlite(1000, large, shuffled, rounds);
        if (parser.isSet(QStringLiteral("pg")))
            postgres(parser.value(QStringLiteral("pg")).toUtf8(), 1000, large, shuffled, rounds);
    } catch (const AppError &e) {
        std::fprintf(stderr, "bench_list: %s\n", e.text().toUtf8().constData());
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_list: %s\n", e.what());
        return 1;
    }
    return 0;
}
