#include "stock_check.h"

#include "stock_tables.h"

#include "core/errors.h"
#include "store/cursor.h"
#include "store/tables/column_names.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <QHash>
#include <QSet>
#include <cmath>

namespace ix = store::tables::index;

namespace {

const QString kFirstVariant = QStringLiteral("000");
const QString kLastVariant = QStringLiteral("999");
const QString kReceiptOperation = QStringLiteral("001");
// Totals kept in haléře: a difference below half of one is the rounding of summing the
// same lines in another order.
constexpr double kHalfHaler = 0.005;
// A line's sale value may have been rounded to haléře by the program that wrote it, and
// the VAT is added back to it: the sale total of a receipt may differ from its lines by
// up to about a haléř per line without a line missing.
constexpr double kSaleLineRounding = 0.01;

// The differences (with everyStock: all stocks) of the card `c.cards` stands on.
void checkCurrentCard(StockCursors &c, QVector<StockDifference> &out, bool everyStock)
{
    using namespace store::tables::column;
    const QString card = c.cards[ffSortiment::SOR_KAV].AsString();
    const bool stockItem = c.cards[ffSortiment::SOR_SKL].AsBoolean();
    c.variants.SetRange({card, kFirstVariant}, {card, kLastVariant});
    double total = 0;
    for (c.variants.First(); !c.variants.Eof(); c.variants.Next()) {
        const QString variant = c.variants[ffSklad::SKL_IND].AsString();
        const double stored = c.variants[ffSklad::SKL_STA].AsFloat();
        double expected = 0;
        if (stockItem) {
            c.journal.SetRange({card, variant}, {card, variant});
            expected = c.variants[ffSklad::SKL_POC].AsFloat() + c.journal.Sum(ffDenik::DEN_KUS);
        }
        if (everyStock || stored != expected)
            out.append({card, variant, stored, expected});
        total += stored;
    }
    const double cardStored = c.cards[ffSortiment::SOR_STA].AsFloat();
    const double cardExpected = stockItem ? total : 0.0;
    if (everyStock || cardStored != cardExpected)
        out.append({card, QString(), cardStored, cardExpected});
}

} // namespace

QVector<StockDifference> CheckCard(TData &d, const QString &card, bool everyStock)
{
    StockCursors c(d);
    QVector<StockDifference> out;
    if (c.cards.FindKey({card}))
        checkCurrentCard(c, out, everyStock);
    return out;
}

QVector<StockDifference> CheckStock(TData &d)
{
    StockCursors c(d);
    QVector<StockDifference> out;
    for (c.cards.First(); !c.cards.Eof(); c.cards.Next())
        checkCurrentCard(c, out, false);
    return out;
}

QVector<ReceiptDifference> CheckReceipts(TData &d)
{
    // The receipt lines of the journal, summed per receipt number.
    struct Lines {
        int count = 0;
        double stock = 0, sale = 0;
    };
    QHash<QString, Lines> linesOf;
    QStringList numbers;   // in the journal's order "DOK"
    {
        using namespace store::tables::column::ffDenik;
        store::Cursor journal(d.ffDenik, ix::ffDenik::DOK);
        for (journal.First(); !journal.Eof(); journal.Next()) {
            if (journal[DEN_OPE].AsString() != kReceiptOperation)
                continue;
            const QString number = journal[DEN_DOK].AsString();
            auto it = linesOf.find(number);
            if (it == linesOf.end()) {
                it = linesOf.insert(number, {});
                numbers.append(number);
            }
            const double hpc = journal[DEN_HPC].AsFloat();
            ++it->count;
            it->stock += journal[DEN_HNC].AsFloat();
            it->sale += d.PriceMode == 2 ? hpc + hpc / 100 * journal[DEN_DAN].AsFloat() : hpc;
        }
    }
    QVector<ReceiptDifference> out;
    QSet<QString> receipts;
    {
        using namespace store::tables::column::ffDodavky;
        store::Cursor receiptsRead(d.ffDodavky, ix::ffDodavky::DAT);
        for (receiptsRead.First(); !receiptsRead.Eof(); receiptsRead.Next()) {
            ReceiptDifference r;
            r.receipt = receiptsRead[HLA_DO1].AsString();
            r.id = receiptsRead.GetBookmark().id;
            r.storedStock = receiptsRead[HLA_NCA].AsFloat();
            r.storedSale = receiptsRead[HLA_PCA].AsFloat();
            const Lines lines = linesOf.value(r.receipt);
            r.lines = lines.count;
            r.postedStock = lines.stock;
            r.postedSale = lines.sale;
            receipts.insert(r.receipt);
            if (lines.count == 0) {
                r.kind = ReceiptDifference::Kind::NoLines;
                out.append(r);
            }
            if (std::abs(r.storedStock - r.postedStock) >= kHalfHaler
                || std::abs(r.storedSale - r.postedSale) >= kHalfHaler + kSaleLineRounding * lines.count) {
                r.kind = ReceiptDifference::Kind::Totals;
                out.append(r);
            }
        }
    }
    for (const QString &number : std::as_const(numbers)) {
        if (receipts.contains(number))
            continue;
        const Lines lines = linesOf.value(number);
        ReceiptDifference r;
        r.kind = ReceiptDifference::Kind::NoReceipt;
        r.receipt = number;
        r.lines = lines.count;
        r.postedStock = lines.stock;
        r.postedSale = lines.sale;
        out.append(r);
    }
    return out;
}

QVector<ReceiptDifference> RepairReceipts(TData &d, const QVector<ReceiptDifference> &differences, QStringList &left)
{
    using namespace store::tables::column::ffDodavky;
    store::Cursor receipts(d.ffDodavky);
    QVector<ReceiptDifference> changed;
    for (const ReceiptDifference &r : differences) {
        if (r.kind != ReceiptDifference::Kind::Totals)
            continue;
        try {
            receipts.GotoBookmark({r.id});
            receipts.Edit();
        } catch (const StoreError &) {
            left.append(r.receipt);
            continue;
        }
        try {
            receipts[HLA_NCA].SetAsFloat(r.postedStock);
            receipts[HLA_PCA].SetAsFloat(r.postedSale);
            receipts.Post();
        } catch (...) {
            receipts.Cancel();
            throw;
        }
        changed.append(r);
    }
    return changed;
}
