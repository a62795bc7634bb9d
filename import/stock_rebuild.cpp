// Rebuilding the stock of one card from its journal: every variant's stock is its
// start-of-year stock plus the quantities of its journal entries, and the card's stock
// is the sum over its variants. The journal itself is only read.

#include "stock_rebuild.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "progress_window.h"
#include "stock_tables.h"
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
double journalBalance(TData &d, StockCursors &c, const QString &card, const QString &variant, double opening)
{
    store::Table &journal = c.journal;
    journal.SetIndexName(ix::ffDenik::KAV);
    journal.SetRange({card, variant}, {card, variant});

    std::unique_ptr<TProgresWin> win = makeProgresWin();
    if (win)
        win->Show(QStringLiteral("Rekonstrukce skladové karty"), QStringLiteral("Název sortimentu "),
                  c.cards[d.ffSortimentSOR_NAC].AsString());
    letEventsRun();
    const double balance = opening + journal.Sum(d.ffDenikDEN_KUS);
    if (win)
        win->SetGauge(100);
    letEventsRun();
    return balance;
}

// Sets SKL_STA of the current variant, which is held in editing, to `stock` when it
// differs, and ends the edit. False when the write fails; the variant keeps its stock.
bool settleVariant(TData &d, store::Table &variants, double stock)
{
    store::Field &sta = variants[d.ffSkladSKL_STA];
    try {
        if (sta.AsFloat() == stock) {
            variants.Cancel();
        } else {
            sta.SetAsFloat(stock);
            variants.Post();
        }
        return true;
    } catch (const AppError &) {
        variants.Cancel();
        return false;
    }
}

// The variants "000" to "999" of the card, in index order, each visited by `visit`; the
// card (held in editing) then gets the total that `visit` returned. False when a variant
// could not be set (it keeps its stock, and the total counts that stock).
bool rebuildVariants(TData &d, StockCursors &c, const QString &card, const std::function<bool(double &total)> &visit)
{
    store::Table &variants = c.variants;
    // The range starts on its first variant.
    variants.SetRange({card, kFirstVariant}, {card, kLastVariant});
    bool allSet = true;
    double total = 0;
    for (; !variants.Eof(); variants.Next())
        allSet = visit(total) && allSet;
    c.cards[d.ffSortimentSOR_STA].SetAsFloat(total);
    c.cards.Post();
    variants.CancelRange();
    return allSet;
}

// Rebuilds the card on the cursors opened for it; false when the card is missing, a
// variant could not be set or anything failed.
bool rebuildCard(TData &d, StockCursors &c, const QString &card)
{
    store::Table &cards = c.cards, &variants = c.variants;
    try {
        if (cards.FindKey({card})) {
            // The card is held for the rest of the rebuild, which runs serialized on it:
            // the card total written at the end cannot miss a movement.
            cards.Edit();
            if (cards[d.ffSortimentSOR_SKL].AsBoolean()) {
                const BusyPointer busy;
                return rebuildVariants(d, c, card, [&](double &total) {
                    // The variant is held while its journal is summed, so that no posting
                    // changes it in between; a variant held elsewhere keeps its stock.
                    const bool held = TryEdit(variants);
                    const double balance = journalBalance(d, c, card, variants[d.ffSkladSKL_IND].AsString(),
                                                          variants[d.ffSkladSKL_POC].AsFloat());
                    const bool set = held && settleVariant(d, variants, balance);
                    total += variants[d.ffSkladSKL_STA].AsFloat();
                    return set;
                });
            } else {
                // A card that keeps no stock has none in any variant.
                return rebuildVariants(d, c, card, [&](double &) {
                    return TryEdit(variants) && settleVariant(d, variants, 0);
                });
            }
        }
    } catch (const AppError &) {
        // The rebuild is reported as failed.
    }
    return false;
}

// The variants' component, when it stands on a record, reads that record again, so that
// it shows the stock the rebuild set. False when the record is gone; the component then
// stays where it stands.
bool rereadVariant(store::Table &variants)
{
    if (!variants.Active() || variants.State() != store::DataSetState::Browse)
        return true;
    const store::Bookmark mark = variants.GetBookmark();
    if (!mark.isValid())
        return true;
    try {
        variants.GotoBookmark(mark);
        return true;
    } catch (const AppError &) {
        return false;
    }
}

} // namespace

bool RekonstrukceKarty(TData &d, const QString &card)
{
    bool result = false;
    try {
        {
            StockCursors c(d);
            // The variants and the card are written together, in the caller's transaction
            // when there is one: a stop in between leaves no card total of half-set variants.
            store::Transaction transaction(d.Database, StockCardSerialName(card),
                                           store::Transaction::Caller::MayHaveOne);
            result = rebuildCard(d, c, card);
            transaction.commit();
        }
        if (!rereadVariant(d.ffSklad))
            prompter().ShowMessage(QStringLiteral("No valid bookmark"));
    } catch (const AppError &) {
        result = false;
    }
    return result;
}
