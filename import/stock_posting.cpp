// Posting one stock movement of a card variant: a journal entry with the running stock
// after it, and the stock of the variant and the card changed by the quantity, written
// together in one transaction.

#include "stock_posting.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "core/quietly.h"
#include "stock_rebuild.h"
#include "stock_tables.h"
#include "store/tdata.h"
#include "store/transaction.h"
#include "store/tables/index_names.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <optional>

namespace ix = store::tables::index;

namespace {

// A number as the message of a rebuilt stock shows it: general format, up to 15
// significant digits, the locale's decimal separator and no grouping (12, 12,5).
QString generalNumber(double v)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(v, 'g', 15);
}

// The running stock of the variant's newest journal entry, 0 when it has none. Leaves
// the journal on index "STA".
double lastRunningStock(TData &d, store::Table &journal, const QString &card, const QString &variant)
{
    journal.SetIndexName(ix::ffDenik::STA);
    return journal.FindKey({card, variant}) ? journal[d.ffDenikDEN_ZAS].AsFloat() : 0.0;
}

struct Movement {
    QString card, variant, document, operation;
    double unitPrice;
    double vatRate;
    double quantity;
};

enum class Written { Yes, No, StockDisagrees };
enum class Joined { No, Yes };

// Writes the movement in one transaction, on the card on which `c.cards` stands and,
// when `variantFound`, the variant on which `c.variants` stands. Inside it the postings
// of all stations to the card run one after another, and the variant and the card are
// held while they are written, so no change of another station is lost: putting them
// into editing reads them afresh, now that the postings of other stations to the card
// have committed. For a stock item the journal's running stock of the variant is checked
// against its stock there, after every posting before this one has committed: a posting
// of another station is never mistaken for a disagreement. After a rebuild
// `rebuiltStock` is the stock it set, which stands even when the journal's newest entry
// does not show it (a start-of-year stock without entries). StockDisagrees: nothing
// written. No: any failure; nothing remains written and, for a stock item, the card is
// rebuilt. Joined: the movement is written within the caller's transaction, which keeps
// or drops it; on a failure nothing is rebuilt (what the movement wrote is still there
// until the caller rolls back).
Written writeMovement(TData &d, StockCursors &c, const Movement &m, bool stockItem, bool variantFound,
                      std::optional<double> rebuiltStock = {}, Joined joined = Joined::No)
{
    if (joined == Joined::No && d.Database.InTransaction())
        return Written::No;  // the caller's transaction is not this posting's to commit
    store::Table &cards = c.cards, &variants = c.variants, &journal = c.journal;
    bool disagrees = false;
    try {
        store::Transaction transaction(d.Database, StockCardSerialName(m.card),
                                       joined == Joined::Yes ? store::Transaction::Caller::MayHaveOne
                                                             : store::Transaction::Caller::MustHaveNone);
        double stock = 0;
        double stockPrice = 0;
        if (stockItem) {
            if (!variantFound)
                throw StoreError(QStringLiteral("Varianta %1/%2 už není na skladě").arg(m.card, m.variant));
            variants.Edit();
            stock = variants[d.ffSkladSKL_STA].AsFloat();
            if (lastRunningStock(d, journal, m.card, m.variant) != stock && stock != rebuiltStock) {
                disagrees = true;
                throw StoreError(QStringLiteral("Zásoba varianty %1/%2 nesouhlasí s deníkem").arg(m.card, m.variant));
            }
        }
        cards.Edit();
        // Within the caller's transaction the card may have been read a while before.
        if (joined == Joined::Yes && cards[d.ffSortimentSOR_SKL].AsBoolean() != stockItem)
            throw StoreError(QStringLiteral("Karta %1 se mezitím změnila").arg(m.card));
        if (variantFound)
            stockPrice = variants[d.ffSkladSKL_SNC].AsFloat();

        journal.Append();
        if (d.ffCiselnik.Active())
            d.ffCiselnik.Close();
        const QTime now = QTime::currentTime();
        journal[d.ffDenikDEN_DAT].SetAsDate(QDate::currentDate());
        journal[d.ffDenikDEN_KDY].SetAsTime(QTime(now.hour(), now.minute(), now.second()));
        journal[d.ffDenikDEN_KAV].SetAsString(m.card);
        journal[d.ffDenikDEN_IND].SetAsString(m.variant);
        journal[d.ffDenikDEN_OPE].SetAsString(m.operation);
        journal[d.ffDenikDEN_KUS].SetAsFloat(m.quantity);
        journal[d.ffDenikDEN_HPC].SetAsFloat(m.unitPrice * m.quantity);
        journal[d.ffDenikDEN_HNC].SetAsFloat(stockPrice * m.quantity);
        journal[d.ffDenikDEN_DOK].SetAsString(m.document);
        journal[d.ffDenikDEN_DAN].SetAsFloat(m.vatRate);
        journal[d.ffDenikDEN_ZAS].SetAsFloat(stockItem ? stock + m.quantity : 0.0);
        journal[d.ffDenikDEN_REF].SetAsString(d.UserInitials);
        journal.Post();

        if (stockItem) {
            variants[d.ffSkladSKL_STA].SetAsFloat(stock + m.quantity);
            variants.Post();
            store::Field &cardStock = cards[d.ffSortimentSOR_STA];
            cardStock.SetAsFloat(cardStock.AsFloat() + m.quantity);
        }
        cards[d.ffSortimentSOR_PPO].SetAsDate(QDate::currentDate());
        cards.Post();
        transaction.commit();
        return Written::Yes;
    } catch (const AppError &) {
        // The transaction has been rolled back; the edits it left are abandoned.
        Quietly([&] {
            journal.Cancel();
            variants.Cancel();
            cards.Cancel();
        });
        if (disagrees)
            return Written::StockDisagrees;
        if (stockItem && joined == Joined::No && !d.Database.ConnectionLost())
            RekonstrukceKarty(d, m.card);
        return Written::No;
    }
}

// ZapisPohybuVar, in its own transactions or (joined) within the caller's, on the card
// on which `c.cards` stands and, when `variantFound`, the variant on which `c.variants`
// stands.
bool postMovement(TData &d, StockCursors &c, const Movement &m, bool variantFound, Joined joined)
{
    try {
        if (!c.cards[d.ffSortimentSOR_SKL].AsBoolean())
            return writeMovement(d, c, m, false, variantFound, {}, joined) == Written::Yes;
        if (!variantFound)
            return false;
        // The journal's running stock must agree with the variant's stock before the
        // movement is added to it; when it does not, the card is rebuilt first (within
        // the caller's transaction, when joined) and the stock it now has is shown.
        Written written = writeMovement(d, c, m, true, true, {}, joined);
        if (written == Written::StockDisagrees && RekonstrukceKarty(d, m.card)
            && c.variants.FindKey({m.card, m.variant})) {
            const double rebuilt = c.variants[d.ffSkladSKL_STA].AsFloat();
            prompter().ShowMessage(generalNumber(rebuilt));
            written = writeMovement(d, c, m, true, true, rebuilt, joined);
        }
        return written == Written::Yes;
    } catch (const AppError &) {
        return false;
    }
}

} // namespace

bool ZapisPohybuVar(TData &d, const QString &card, const QString &variant, const QString &document,
                    const QString &operation, double unitPrice, double vatRate, double quantity)
{
    try {
        StockCursors c(d);
        if (!c.cards.FindKey({card}))
            return false;
        const bool variantFound = c.variants.FindKey({card, variant});
        return postMovement(d, c, {card, variant, document, operation, unitPrice, vatRate, quantity}, variantFound,
                            Joined::No);
    } catch (const AppError &) {
        return false;
    }
}

bool PostMovementInTransaction(TData &d, StockCursors &c, const QString &card, const QString &variant,
                               const QString &document, const QString &operation, double unitPrice, double vatRate,
                               double quantity)
{
    return postMovement(d, c, {card, variant, document, operation, unitPrice, vatRate, quantity}, true, Joined::Yes);
}
