// bench_pickers [--rows N] [--rounds R]: the assortment picker on a small, a middle and a
// large assortment (100, 10,000 and N cards, 100,000 by default) in a SQLite file. Two
// figures for each:
//   open   — the picker window opens at the remembered card, in the remembered order,
//            with its grid showing the rows around it;
//   search — a name search from the picker lands and the grid shows the card found.
// Each figure is the median of R rounds; the last lines give the ratios large / small and
// large / middle. On 100 cards the grid's window holds the whole assortment, so a search
// there reads nothing; on larger ones it reads the two pages around the card found, a
// cost that does not grow with the table.
// The windows run on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "dbgrid.h"
#include "prehled_sortimentu_form.h"
#include "search_dialogs.h"
#include "store/firmschema.h"
#include "store/tdata.h"
#include "timing.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::median;

struct Figures {
    double openMs = 0;
    double searchMs = 0;
    qint64 rowsRead = 0;  // rows the grid read in one opening
};

// The card name of card i of n: the names run in another order than the numbers.
QString cardName(qint64 i, qint64 n)
{
    return QStringLiteral("Položka %1").arg((i * 7919) % n, 6, 10, QLatin1Char('0'));
}

void fill(TData &data, int cards)
{
    store::Table &sor = data.ffSortiment;
    sor.Open();
    data.Database.StartTransaction();
    for (int i = 1; i <= cards; ++i) {
        sor.Append();
        data.ffSortimentSOR_KAV.SetAsString(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')));
        data.ffSortimentSOR_NAC.SetAsString(cardName(i, cards));
        data.ffSortimentSOR_PC1.SetAsFloat(i % 1000 + 0.5);
        sor.Post();
    }
    data.Database.Commit();
}

Figures measure(int cards, int rounds)
{
    QTemporaryDir dir;
    TData data;
    data.FirmNumber = QStringLiteral("0001");
    data.SetTableNames();
    store::ConnectionParams params;
    params.sqliteFile = dir.filePath(QStringLiteral("0001.sqlite"));
    store::Database::CreateSQLiteFile(params.sqliteFile);
    data.Database.Connect(params);
    CreateFirmSchema(data.Database, data.FirmNumber, false);
    fill(data, cards);

    // The remembered card: one in the middle of the name order.
    store::Table &sor = data.ffSortiment;
    sor.SetIndexName(QStringLiteral("NAC"));
    sor.FindNearest({QStringLiteral("Položka %1").arg(cards / 2, 6, 10, QLatin1Char('0'))});
    data.SetLastSor();

    Figures f;
    std::vector<double> open, search;
    for (int r = 0; r < rounds; ++r) {
        sor.SetIndexName(QStringLiteral("KAV"));
        sor.First();
        QElapsedTimer timer;
        timer.start();
        TPrehledSortimentu commands;
        TPrehledSortimentuForm form(commands);
        form.show();
        QCoreApplication::processEvents();
        open.push_back(timer.nsecsElapsed() / 1e6);
        f.rowsRead = form.grid()->gridModel()->rowsRead();

        // A name search lands; the grid shows the card found.
        const QString prefix = QStringLiteral("Položka %1").arg((qint64(r) * 7717) % cards, 6, 10, QLatin1Char('0'));
        timer.restart();
        TSorHle dialog;
        dialog.FormShow();
        dialog.SetText(prefix);
        dialog.FieldKeyPressed();
        dialog.BitBtn1Click();
        QCoreApplication::processEvents();
        search.push_back(timer.nsecsElapsed() / 1e6);
        if (form.grid()->gridModel()->currentRow() < 0)
            std::fprintf(stderr, "the grid does not show the card found\n");
        form.done(mrCancel);
    }
    f.openMs = median(open);
    f.searchMs = median(search);
    return f;
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

    const int middle = 10000;
    const Figures small = measure(100, rounds);
    const Figures mid = measure(middle, rounds);
    const Figures big = measure(large, rounds);
    std::printf("%-10s %12s %12s %16s\n", "cards", "open ms", "search ms", "rows read (open)");
    for (const auto &[cards, f] : {std::pair{100, small}, std::pair{middle, mid}, std::pair{large, big}})
        std::printf("%-10d %12.3f %12.3f %16lld\n", cards, f.openMs, f.searchMs, f.rowsRead);
    std::printf("ratio %d/%d: open %.2f, search %.2f\n", large, 100, big.openMs / small.openMs,
                big.searchMs / small.searchMs);
    std::printf("ratio %d/%d: open %.2f, search %.2f\n", large, middle, big.openMs / mid.openMs,
                big.searchMs / mid.searchMs);
    return 0;
}
