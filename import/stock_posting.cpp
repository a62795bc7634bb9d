// Posting one stock movement of a card variant: a journal entry with the running stock
// after it, and the stock of the variant and the card changed by the quantity, written
// together in one transaction.

#include "stock_posting.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "core/quietly.h"
#include "stock_rebuild.h"
#include "stock_tables.h"
#include "store/table_use.h"
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
double lastRunningStock(TData &d, const QString &card, const QString &variant)
{
    d.ffDenik.SetIndexName(ix::ffDenik::STA);
    return d.ffDenik.FindKey({card, variant}) ? d.ffDenikDEN_ZAS.AsFloat() : 0.0;
}

struct Movement {
    QString card, variant, document, operation;
    double unitPrice;
    double vatRate;
    double quantity;
};

enum class Written { Yes, No, StockDisagrees };
enum class Joined { No, Yes };

// True when the assortment (on its index "KAV") stands on the movement's card.
bool standsOnCard(TData &d, const Movement &m)
{
    return d.ffSortiment.State() == store::DataSetState::Browse && d.ffSortiment.GetBookmark().isValid()
        && d.ffSortimentSOR_KAV.AsString() == m.card;
}

// True when the variants (on their index "KAV") stand on the movement's variant.
bool standsOnVariant(TData &d, const Movement &m)
{
    return d.ffSklad.State() == store::DataSetState::Browse && d.ffSklad.GetBookmark().isValid()
        && d.ffSkladSKL_KAV.AsString() == m.card
        && d.ffSkladSKL_IND.AsString() == m.variant;
}

// Writes the movement in one transaction. Inside it the postings of all stations to the
// card run one after another, and the variant and the card are held while they are
// written, so no change of another station is lost. For a stock item the journal's
// running stock of the variant is checked against its stock there, after every posting
// before this one has committed: a posting of another station is never mistaken for a
// disagreement. After a rebuild `rebuiltStock` is the stock it set, which stands even
// when the journal's newest entry does not show it (a start-of-year stock without
// entries). StockDisagrees: nothing written. No: any failure; nothing remains written
// and, for a stock item, the card is rebuilt. Joined: the movement is written within the
// caller's transaction, which keeps or drops it; on a failure nothing is rebuilt (what
// the movement wrote is still there until the caller rolls back).
Written writeMovement(TData &d, const Movement &m, bool stockItem, std::optional<double> rebuiltStock = {},
                      Joined joined = Joined::No)
{
    if (joined == Joined::No && d.Database.InTransaction())
        return Written::No;  // the caller's transaction is not this posting's to commit
    bool disagrees = false;
    try {
        store::Transaction transaction(d.Database, StockCardSerialName(m.card),
                                       joined == Joined::Yes ? store::Transaction::Caller::MayHaveOne
                                                             : store::Transaction::Caller::MustHaveNone);
        // The card and the variant on which the caller stands are not looked up again:
        // putting them into editing reads them afresh, now that the postings of other
        // stations to the card have committed.
        d.ffSortiment.SetIndexName(ix::ffSortiment::KAV);
        if (!standsOnCard(d, m) && !d.ffSortiment.FindKey({m.card}))
            throw StoreError(QStringLiteral("Karta %1 už není v sortimentu").arg(m.card));

        d.ffSklad.SetIndexName(ix::ffSklad::KAV);
        const bool variantFound = standsOnVariant(d, m) || d.ffSklad.FindKey({m.card, m.variant});
        double stock = 0;
        double stockPrice = 0;
        if (stockItem) {
            if (!variantFound)
                throw StoreError(QStringLiteral("Varianta %1/%2 už není na skladě").arg(m.card, m.variant));
            d.ffSklad.Edit();
            stock = d.ffSkladSKL_STA.AsFloat();
            if (lastRunningStock(d, m.card, m.variant) != stock && stock != rebuiltStock) {
                disagrees = true;
                throw StoreError(QStringLiteral("Zásoba varianty %1/%2 nesouhlasí s deníkem").arg(m.card, m.variant));
            }
        }
        d.ffSortiment.Edit();
        // Within the caller's transaction the card may have been read a while before.
        if (joined == Joined::Yes && d.ffSortimentSOR_SKL.AsBoolean() != stockItem)
            throw StoreError(QStringLiteral("Karta %1 se mezitím změnila").arg(m.card));
        if (variantFound)
            stockPrice = d.ffSkladSKL_SNC.AsFloat();

        d.ffDenik.Append();
        if (d.ffCiselnik.Active())
            d.ffCiselnik.Close();
        const QTime now = QTime::currentTime();
        d.ffDenikDEN_DAT.SetAsDate(QDate::currentDate());
        d.ffDenikDEN_KDY.SetAsTime(QTime(now.hour(), now.minute(), now.second()));
        d.ffDenikDEN_KAV.SetAsString(m.card);
        d.ffDenikDEN_IND.SetAsString(m.variant);
        d.ffDenikDEN_OPE.SetAsString(m.operation);
        d.ffDenikDEN_KUS.SetAsFloat(m.quantity);
        d.ffDenikDEN_HPC.SetAsFloat(m.unitPrice * m.quantity);
        d.ffDenikDEN_HNC.SetAsFloat(stockPrice * m.quantity);
        d.ffDenikDEN_DOK.SetAsString(m.document);
        d.ffDenikDEN_DAN.SetAsFloat(m.vatRate);
        d.ffDenikDEN_ZAS.SetAsFloat(stockItem ? stock + m.quantity : 0.0);
        d.ffDenikDEN_REF.SetAsString(d.UserInitials);
        d.ffDenik.Post();

        if (stockItem) {
            d.ffSkladSKL_STA.SetAsFloat(stock + m.quantity);
            d.ffSklad.Post();
            store::Field &cardStock = d.ffSortimentSOR_STA;
            cardStock.SetAsFloat(cardStock.AsFloat() + m.quantity);
        }
        d.ffSortimentSOR_PPO.SetAsDate(QDate::currentDate());
        d.ffSortiment.Post();
        transaction.commit();
        return Written::Yes;
    } catch (const AppError &) {
        // The transaction has been rolled back; the edits it left are abandoned.
        Quietly([&] {
            d.ffDenik.Cancel();
            d.ffSklad.Cancel();
            d.ffSortiment.Cancel();
        });
        if (disagrees)
            return Written::StockDisagrees;
        if (stockItem && joined == Joined::No && !d.Database.ConnectionLost())
            RekonstrukceKarty(d, m.card);
        return Written::No;
    }
}

// ZapisPohybuVar, in its own transactions or (joined) within the caller's.
bool postMovement(TData &d, const Movement &m, Joined joined)
{
    // The journal and the stock, when they stood at their end, stay where the posting
    // left them. Within the caller's transaction the tables that were open stay where the
    // posting left them, and the card and the variant the caller stands on are taken as
    // read: the posting reads them afresh as it puts them into editing.
    using store::TableUse;
    const bool inPlace = joined == Joined::Yes;
    const TableUse::GiveBack back = inPlace ? TableUse::GiveBack::OpenState : TableUse::GiveBack::Everything;
    const TableUse::GiveBack backUnlessAtEnd = inPlace ? back : TableUse::GiveBack::EverythingUnlessAtEnd;
    bool result = false;
    try {
        const TableUse sortiment(d.ffSortiment, ix::ffSortiment::KAV, back);
        const TableUse denik(d.ffDenik, ix::ffDenik::KAV, backUnlessAtEnd);
        const TableUse sklad(d.ffSklad, ix::ffSklad::KAV, backUnlessAtEnd);
        if (!(inPlace && standsOnCard(d, m)) && !d.ffSortiment.FindKey({m.card})) {
            result = false;
        } else if (!d.ffSortimentSOR_SKL.AsBoolean()) {
            result = writeMovement(d, m, false, {}, joined) == Written::Yes;
        } else if ((inPlace && standsOnVariant(d, m)) || d.ffSklad.FindKey({m.card, m.variant})) {
            // The journal's running stock must agree with the variant's stock before the
            // movement is added to it; when it does not, the card is rebuilt first (within
            // the caller's transaction, when joined) and the stock it now has is shown.
            Written written = writeMovement(d, m, true, {}, joined);
            if (written == Written::StockDisagrees && RekonstrukceKarty(d, m.card)) {
                d.ffSklad.SetIndexName(ix::ffSklad::KAV);
                if (d.ffSklad.FindKey({m.card, m.variant})) {
                    const double rebuilt = d.ffSkladSKL_STA.AsFloat();
                    prompter().ShowMessage(generalNumber(rebuilt));
                    written = writeMovement(d, m, true, rebuilt, joined);
                }
            }
            result = written == Written::Yes;
        }
    } catch (const AppError &) {
        result = false;
    }
    return result;
}

} // namespace

bool ZapisPohybuVar(TData &d, const QString &card, const QString &variant, const QString &document,
                    const QString &operation, double unitPrice, double vatRate, double quantity)
{
    return postMovement(d, {card, variant, document, operation, unitPrice, vatRate, quantity}, Joined::No);
}

bool PostMovementInTransaction(TData &d, const QString &card, const QString &variant, const QString &document,
                               const QString &operation, double unitPrice, double vatRate, double quantity)
{
    return postMovement(d, {card, variant, document, operation, unitPrice, vatRate, quantity}, Joined::Yes);
}
