#include "stock_check.h"

#include "app/core/errors.h"
#include "store/table_use.h"
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

// The differences (with everyStock: all stocks) of the card ffSortiment stands on.
void checkCurrentCard(TData &d, QVector<StockDifference> &out, bool everyStock)
{
    const QString card = d.ffSortimentSOR_KAV.AsString();
    const bool stockItem = d.ffSortimentSOR_SKL.AsBoolean();
    store::Table &sklad = d.ffSklad;
    store::Table &denik = d.ffDenik;
    sklad.SetRange({card, kFirstVariant}, {card, kLastVariant});
    double total = 0;
    for (sklad.First(); !sklad.Eof(); sklad.Next()) {
        const QString variant = d.ffSkladSKL_IND.AsString();
        const double stored = d.ffSkladSKL_STA.AsFloat();
        double expected = 0;
        if (stockItem) {
            denik.SetRange({card, variant}, {card, variant});
            expected = d.ffSkladSKL_POC.AsFloat() + denik.Sum(d.ffDenikDEN_KUS);
        }
        if (everyStock || stored != expected)
            out.append({card, variant, stored, expected});
        total += stored;
    }
    const double cardStored = d.ffSortimentSOR_STA.AsFloat();
    const double cardExpected = stockItem ? total : 0.0;
    if (everyStock || cardStored != cardExpected)
        out.append({card, QString(), cardStored, cardExpected});
}

} // namespace

QVector<StockDifference> CheckCard(TData &d, const QString &card, bool everyStock)
{
    const store::TableUse cards(d.ffSortiment, ix::ffSortiment::KAV);
    const store::TableUse variants(d.ffSklad, ix::ffSklad::KAV);
    const store::TableUse journal(d.ffDenik, ix::ffDenik::KAV);
    QVector<StockDifference> out;
    if (d.ffSortiment.FindKey({card}))
        checkCurrentCard(d, out, everyStock);
    return out;
}

QVector<StockDifference> CheckStock(TData &d)
{
    const store::TableUse cards(d.ffSortiment, ix::ffSortiment::KAV);
    const store::TableUse variants(d.ffSklad, ix::ffSklad::KAV);
    const store::TableUse journal(d.ffDenik, ix::ffDenik::KAV);
    QVector<StockDifference> out;
    for (d.ffSortiment.First(); !d.ffSortiment.Eof(); d.ffSortiment.Next())
        checkCurrentCard(d, out, false);
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
        const store::TableUse journal(d.ffDenik, ix::ffDenik::DOK);
        for (d.ffDenik.First(); !d.ffDenik.Eof(); d.ffDenik.Next()) {
            if (d.ffDenikDEN_OPE.AsString() != kReceiptOperation)
                continue;
            const QString number = d.ffDenikDEN_DOK.AsString();
            auto it = linesOf.find(number);
            if (it == linesOf.end()) {
                it = linesOf.insert(number, {});
                numbers.append(number);
            }
            const double hpc = d.ffDenikDEN_HPC.AsFloat();
            ++it->count;
            it->stock += d.ffDenikDEN_HNC.AsFloat();
            it->sale += d.PriceMode == 2 ? hpc + hpc / 100 * d.ffDenikDEN_DAN.AsFloat() : hpc;
        }
    }
    QVector<ReceiptDifference> out;
    QSet<QString> receipts;
    {
        const store::TableUse use(d.ffDodavky, ix::ffDodavky::DAT);
        for (d.ffDodavky.First(); !d.ffDodavky.Eof(); d.ffDodavky.Next()) {
            ReceiptDifference r;
            r.receipt = d.ffDodavkyHLA_DO1.AsString();
            r.id = d.ffDodavky.GetBookmark().id;
            r.storedStock = d.ffDodavkyHLA_NCA.AsFloat();
            r.storedSale = d.ffDodavkyHLA_PCA.AsFloat();
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
    const store::TableUse use(d.ffDodavky);
    QVector<ReceiptDifference> changed;
    for (const ReceiptDifference &r : differences) {
        if (r.kind != ReceiptDifference::Kind::Totals)
            continue;
        try {
            d.ffDodavky.GotoBookmark({r.id});
            d.ffDodavky.Edit();
        } catch (const StoreError &) {
            left.append(r.receipt);
            continue;
        }
        try {
            d.ffDodavkyHLA_NCA.SetAsFloat(r.postedStock);
            d.ffDodavkyHLA_PCA.SetAsFloat(r.postedSale);
            d.ffDodavky.Post();
        } catch (...) {
            d.ffDodavky.Cancel();
            throw;
        }
        changed.append(r);
    }
    return changed;
}
