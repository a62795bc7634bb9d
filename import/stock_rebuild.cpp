// Rebuilding the stock of one card from its journal: every variant's stock is its
// start-of-year stock plus the quantities of its journal entries, and the card's stock
// is the sum over its variants. The journal itself is only read.

#include "stock_rebuild.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "progress_window.h"
#include "stock_tables.h"
#include "store/table_use.h"
#include "store/tdata.h"
#include "store/transaction.h"
#include "store/tables/index_names.h"

#include <QCoreApplication>

namespace ix = store::tables::index;

namespace {

const QString kFirstVariant = QStringLiteral("000");
const QString kLastVariant = QStringLiteral("999");

// The rebuild reads a long journal; the window system handles its pending messages after
// every entry, so that the program keeps answering.
void letEventsRun()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

// The balance of one variant: the start-of-year stock `opening` plus the quantities of the
// variant's journal entries, summed by the store in one query over the variant's range
// of the journal while its progress window is shown; the gauge then stands at 100.
double journalBalance(TData &d, const QString &card, const QString &variant, double opening)
{
    store::Table &denik = d.ffDenik;
    denik.SetIndexName(ix::ffDenik::KAV);
    denik.SetRange({card, variant}, {card, variant});

    std::unique_ptr<TProgresWin> win = makeProgresWin();
    if (win)
        win->Show(QStringLiteral("Rekonstrukce skladové karty"), QStringLiteral("Název sortimentu "),
                  d.ffSortimentSOR_NAC.AsString());
    letEventsRun();
    const double balance = opening + denik.Sum(d.ffDenikDEN_KUS);
    if (win)
        win->SetGauge(100);
    letEventsRun();
    return balance;
}

// Sets SKL_STA of the current variant, which is held in editing, to `stock` when it
// differs, and ends the edit. False when the write fails; the variant keeps its stock.
bool settleVariant(TData &d, double stock)
{
    store::Table &sklad = d.ffSklad;
    store::Field &sta = d.ffSkladSKL_STA;
    try {
        if (sta.AsFloat() == stock) {
            sklad.Cancel();
        } else {
            sta.SetAsFloat(stock);
            sklad.Post();
        }
        return true;
    } catch (const AppError &) {
        sklad.Cancel();
        return false;
    }
}

// The variants "000" to "999" of the card, in index order, each visited by `visit`; the
// card (held in editing) then gets the total that `visit` returned. False when a variant
// could not be set (it keeps its stock, and the total counts that stock).
bool rebuildVariants(TData &d, const QString &card, const std::function<bool(double &total)> &visit)
{
    store::Table &sklad = d.ffSklad;
    sklad.SetIndexName(ix::ffSklad::KAV);
    // The range starts on its first variant.
    sklad.SetRange({card, kFirstVariant}, {card, kLastVariant});
    bool allSet = true;
    double total = 0;
    for (; !sklad.Eof(); sklad.Next())
        allSet = visit(total) && allSet;
    d.ffSortimentSOR_STA.SetAsFloat(total);
    d.ffSortiment.Post();
    sklad.CancelRange();
    return allSet;
}

// Rebuilds the card on the tables opened for it; false when the card is missing, a
// variant could not be set or anything failed.
bool rebuildCard(TData &d, const QString &card)
{
    store::Table &ffSortiment = d.ffSortiment, &ffSklad = d.ffSklad;
    try {
        if (ffSortiment.FindKey({card})) {
            // The card is held for the rest of the rebuild, which runs serialized on it:
            // the card total written at the end cannot miss a movement.
            ffSortiment.Edit();
            if (d.ffSortimentSOR_SKL.AsBoolean()) {
                const BusyPointer busy;
                return rebuildVariants(d, card, [&](double &total) {
                    // The variant is held while its journal is summed, so that no posting
                    // changes it in between; a variant held elsewhere keeps its stock.
                    const bool held = TryEdit(ffSklad);
                    const double balance =
                        journalBalance(d, card, d.ffSkladSKL_IND.AsString(), d.ffSkladSKL_POC.AsFloat());
                    const bool set = held && settleVariant(d, balance);
                    total += d.ffSkladSKL_STA.AsFloat();
                    return set;
                });
            } else {
                // A card that keeps no stock has none in any variant.
                return rebuildVariants(d, card, [&](double &) {
                    return TryEdit(ffSklad) && settleVariant(d, 0);
                });
            }
        }
    } catch (const AppError &) {
        // The rebuild is reported as failed; the tables are given back by the caller.
    }
    return false;
}

} // namespace

bool RekonstrukceKarty(TData &d, const QString &card)
{
    bool result = false;
    bool recordBack = true;
    try {
        const store::TableUse sortiment(d.ffSortiment, ix::ffSortiment::KAV);
        const store::TableUse denik(d.ffDenik);
        store::TableUse sklad(d.ffSklad);
        {
            // The variants and the card are written together, in the caller's transaction
            // when there is one: a stop in between leaves no card total of half-set variants.
            store::Transaction transaction(d.Database, StockCardSerialName(card), store::Transaction::Caller::MayHaveOne);
            result = rebuildCard(d, card);
            transaction.commit();
        }
        recordBack = sklad.restore();
    } catch (const AppError &) {
        result = false;
    }
    if (!recordBack)
        prompter().ShowMessage(QStringLiteral("No valid bookmark"));
    return result;
}
