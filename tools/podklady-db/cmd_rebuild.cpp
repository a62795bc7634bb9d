// podklady-db rebuild CARD [--ini PATH]: recomputes the stock of one card from its
// start-of-year stock and the stock journal, as the program does before a movement
// that finds them out of step, and prints the stock of each variant and of the card.
// Exit codes: 0 rebuilt, 1 card unknown or not every stock written, 2 configuration,
// 64 arguments.

#include "commands.h"
#include "options.h"

#include "core/errors.h"
#include "core/textutil.h"
#include "import/stock_rebuild.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

namespace ix = store::tables::index;


namespace {

// The variants of the card with their stock, then the card's stock.
void printStock(TData &data, const QString &card)
{
    store::Table &skl = data.ffSklad;
    skl.Open();
    skl.SetIndexName(ix::ffSklad::KAV);
    skl.SetRange({card}, {card});
    for (skl.First(); !skl.Eof(); skl.Next())
        printOut(QStringLiteral("%1/%2\t%3").arg(card, data.ffSkladSKL_IND.AsString(),
                                                 formatNumber(data.ffSkladSKL_STA.AsFloat())));
    skl.Close();
    store::Table &sor = data.ffSortiment;
    sor.Open();
    sor.SetIndexName(ix::ffSortiment::KAV);
    if (sor.FindKey({card}))
        printOut(QStringLiteral("%1\t%2").arg(card, formatNumber(data.ffSortimentSOR_STA.AsFloat())));
    sor.Close();
}

} // namespace

int runRebuild(const QStringList &arguments)
{
    QStringList args = arguments;
    QString ini;
    if (!takeIniOption(args, QStringLiteral("rebuild"), ini) || args.size() != 1) {
        printErr(QStringLiteral("usage: podklady-db rebuild CARD [--ini PATH/Kramora.ini]"));
        return 64;
    }
    int exitCode = 0;
    const auto data = connectedData(ini, exitCode);
    if (!data)
        return exitCode;
    const QString card = ZeroPad(args[0].trimmed(), 6);
    try {
        const bool rebuilt = RekonstrukceKarty(*data, card);
        printStock(*data, card);
        if (!rebuilt) {
            printErr(QStringLiteral("Karta %1 nebyla přepočtena celá (není v sortimentu, nebo ji drží jiná stanice)").arg(card));
            return 1;
        }
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }
    return 0;
}
