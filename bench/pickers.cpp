// bench_pickers [--rows N] [--rounds R]: the assortment picker on a small, a middle and a
// large assortment (100, 10,000 and N cards, 100,000 by default) in SQLite files. Two
// figures for each:
//   open   — the picker window opens at the remembered card, in the remembered order,
//            with its grid showing the rows around it;
//   search — a name search from the picker lands and the grid shows the card found.
// Each figure is the median with min–max of R rounds, in which the three sizes take
// turns. Beside each, the raw engine's statements for the same rows (sqlite3_*, every
// column decoded): for open, the remembered card by its number and a page (50 rows)
// before and after it in name order; for search, the first name at or after the text
// and the pages before and after it. The last lines give the ratios large / small and
// large / middle. On 100 cards the grid's window holds the whole assortment, so a search
// there reads nothing; on larger ones it reads the two pages around the card found, a
// cost that does not grow with the table.
// The windows run on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "dbgrid.h"
#include "prehled_sortimentu_form.h"
#include "search_dialogs.h"
#include "store_raw.h"
#include "store/firmschema.h"
#include "store/tables/column_names.h"
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
#include <vector>

namespace ix = store::tables::index;

namespace {

struct Figures {
    std::vector<double> open, rawOpen, search, rawSearch;
    qint64 rowsRead = 0;  // rows the grid read in one opening
};

// The card name of card i of n: the names run in another order than the numbers.
QString cardName(qint64 i, qint64 n)
{
    return QStringLiteral("Položka %1").arg((i * 7919) % n, 6, 10, QLatin1Char('0'));
}

QString cardNumber(int i) { return QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')); }

void fill(TData &data, int cards)
{
    store::Table &sor = data.ffSortiment;
    sor.Open();
    data.Database.StartTransaction();
    for (int i = 1; i <= cards; ++i) {
        sor.Append();
        data.ffSortimentSOR_KAV.SetAsString(cardNumber(i));
        data.ffSortimentSOR_NAC.SetAsString(cardName(i, cards));
        data.ffSortimentSOR_PC1.SetAsFloat(i % 1000 + 0.5);
        sor.Post();
    }
    data.Database.Commit();
}

namespace sor = store::tables::column::ffSortiment;

// The raw side: the assortment's stored columns and record id, decoded.
struct Raw {
    std::unique_ptr<bench::RawEngine> engine;
    QString select;
    std::vector<bench::Col> cols;
    int keyColumns[2] = {0, 0};  // SOR_NAC, ID_

    QString table;
    QString page(const QString &condition, bool forward) const
    {
        const QString dir = forward ? QString() : QStringLiteral(" DESC");
        return QStringLiteral("SELECT %1 FROM \"%2\" WHERE %3 ORDER BY \"SOR_NAC__U\"%4, \"ID_\"%4 LIMIT %5")
            .arg(select, table, condition, dir)
            .arg(GridModel::kPageRows);
    }
    // The row found and a page before and after it in name order.
    void around(const QString &findSql, const QVariantList &params)
    {
        bench::RawEngine::Keep found{0, {keyColumns[0], keyColumns[1]}, {}};
        engine->run(findSql, params, cols, &found);
        if (found.values.isEmpty())
            return;
        const QVariantList key{found.values[0].toString().toUpper(), found.values[1]};
        engine->run(page(QStringLiteral("\"SOR_NAC__U\" < ?1 OR (\"SOR_NAC__U\" = ?1 AND \"ID_\" < ?2)"), false), key,
                    cols);
        engine->run(page(QStringLiteral("\"SOR_NAC__U\" > ?1 OR (\"SOR_NAC__U\" = ?1 AND \"ID_\" > ?2)"), true), key,
                    cols);
    }
};

struct Assortment {
    QTemporaryDir dir;
    TData data;
    Raw raw;
    int cards = 0;
    Figures f;
};

void prepare(Assortment &a, int cards)
{
    a.cards = cards;
    TData &data = a.data;
    data.FirmNumber = QStringLiteral("0001");
    data.SetTableNames();
    store::ConnectionParams params;
    params.sqliteFile = a.dir.filePath(QStringLiteral("0001.sqlite"));
    store::Database::CreateSQLiteFile(params.sqliteFile);
    data.Database.Connect(params);
    CreateFirmSchema(data.Database, data.FirmNumber, false);
    fill(data, cards);

    // The remembered card: one in the middle of the name order.
    store::Table &sor = data.ffSortiment;
    sor.SetIndexName(ix::ffSortiment::NAC);
    sor.FindNearest({QStringLiteral("Položka %1").arg(cards / 2, 6, 10, QLatin1Char('0'))});
    data.SetLastSor();

    a.raw.engine = bench::rawSqlite(params.sqliteFile);
    a.raw.table = sor.TableName();
    const bench::RawColumns c = bench::rawColumns(sor.Definition());
    a.raw.select = c.select;
    a.raw.cols = c.cols;
    a.raw.keyColumns[0] = int(c.names.indexOf(QString(sor::SOR_NAC)));
    a.raw.keyColumns[1] = int(c.names.indexOf(c.id));
    bench::settle(*a.raw.engine, false);
}

void round(Assortment &a, int r)
{
    TData &data = a.data;
    store::Table &sor = data.ffSortiment;
    const QString remembered = data.LastSorCode;
    const QString prefix = QStringLiteral("Položka %1").arg((qint64(r) * 7717) % a.cards, 6, 10, QLatin1Char('0'));
    const auto open = [&] {
        sor.SetIndexName(ix::ffSortiment::KAV);
        sor.First();
        QElapsedTimer timer;
        timer.start();
        TPrehledSortimentu commands;
        TPrehledSortimentuForm form(commands);
        form.show();
        QCoreApplication::processEvents();
        a.f.open.push_back(timer.nsecsElapsed() / 1e6);
        a.f.rowsRead = form.grid()->gridModel()->rowsRead();

        // A name search lands; the grid shows the card found.
        timer.restart();
        TSorHle dialog;
        dialog.FormShow();
        dialog.SetText(prefix);
        dialog.FieldKeyPressed();
        dialog.BitBtn1Click();
        QCoreApplication::processEvents();
        a.f.search.push_back(timer.nsecsElapsed() / 1e6);
        if (form.grid()->gridModel()->currentRow() < 0)
            std::fprintf(stderr, "the grid does not show the card found\n");
        form.done(mrCancel);
    };
    const auto raw = [&] {
        const QString byNumber = QStringLiteral("SELECT %1 FROM \"%2\" WHERE \"SOR_KAV\" = ?1").arg(a.raw.select, a.raw.table);
        a.f.rawOpen.push_back(bench::millis([&] { a.raw.around(byNumber, {remembered}); }));
        const QString byName = a.raw.page(QStringLiteral("\"SOR_NAC__U\" >= ?1"), true).replace(
            QStringLiteral("LIMIT %1").arg(GridModel::kPageRows), QStringLiteral("LIMIT 1"));
        a.f.rawSearch.push_back(bench::millis([&] { a.raw.around(byName, {prefix.toUpper()}); }));
    };
    if (r % 2 == 0) {
        open();
        raw();
    } else {
        raw();
        open();
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("rows"), QStringLiteral("Cards of the large assortment."), QStringLiteral("N"),
                      QStringLiteral("100000")});
    parser.addOption({QStringLiteral("rounds"), QStringLiteral("Rounds per figure."), QStringLiteral("R"),
                      QStringLiteral("21")});
    parser.process(app);
    const int large = parser.value(QStringLiteral("rows")).toInt();
    const int rounds = std::max(1, parser.value(QStringLiteral("rounds")).toInt());

    const int sizes[3] = {100, 10000, large};
    Assortment assortments[3];
    for (int i = 0; i < 3; ++i)
        prepare(assortments[i], sizes[i]);
    // A round untimed (statements prepared, pages in the caches), then the rounds, the
    // sizes taking turns at going first.
    for (int r = -1; r < rounds; ++r) {
        for (int i = 0; i < 3; ++i)
            round(assortments[(i + std::max(r, 0)) % 3], std::max(r, 0));
        if (r < 0)
            for (Assortment &a : assortments)
                a.f = {};
    }
    using bench::shown;
    using bench::spread;
    std::printf("%-8s %26s %26s %16s %26s %26s %16s\n", "cards", "open ms", "raw ms", "rows read (open)",
                "search ms", "raw ms", "");
    for (const Assortment &a : assortments)
        std::printf("%-8d %26s %26s %16lld %26s %26s\n", a.cards, qPrintable(shown(spread(a.f.open), 3)),
                    qPrintable(shown(spread(a.f.rawOpen), 3)), a.f.rowsRead, qPrintable(shown(spread(a.f.search), 3)),
                    qPrintable(shown(spread(a.f.rawSearch), 3)));
    const Figures &small = assortments[0].f, &mid = assortments[1].f, &big = assortments[2].f;
    std::printf("ratio %d/%d: open %s, search %s\n", large, 100, qPrintable(shown(bench::ratio(big.open, small.open), 2)),
                qPrintable(shown(bench::ratio(big.search, small.search), 2)));
    std::printf("ratio %d/%d: open %s, search %s\n", large, 10000,
                qPrintable(shown(bench::ratio(big.open, mid.open), 2)),
                qPrintable(shown(bench::ratio(big.search, mid.search), 2)));
    return 0;
}
