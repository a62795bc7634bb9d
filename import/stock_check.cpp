#include "stock_check.h"

#include "store/table_use.h"
#include "store/tdata.h"

#include <cmath>

namespace {

const QString kFirstVariant = QStringLiteral("000");
const QString kLastVariant = QStringLiteral("999");
// Totals kept in haléře: a difference below half of one is the rounding of summing the
// same lines in another order.
constexpr double kHalfHaler = 0.005;

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
    const store::TableUse cards(d.ffSortiment, QStringLiteral("KAV"));
    const store::TableUse variants(d.ffSklad, QStringLiteral("KAV"));
    const store::TableUse journal(d.ffDenik, QStringLiteral("KAV"));
    QVector<StockDifference> out;
    if (d.ffSortiment.FindKey({card}))
        checkCurrentCard(d, out, everyStock);
    return out;
}

QVector<StockDifference> CheckStock(TData &d)
{
    const store::TableUse cards(d.ffSortiment, QStringLiteral("KAV"));
    const store::TableUse variants(d.ffSklad, QStringLiteral("KAV"));
    const store::TableUse journal(d.ffDenik, QStringLiteral("KAV"));
    QVector<StockDifference> out;
    for (d.ffSortiment.First(); !d.ffSortiment.Eof(); d.ffSortiment.Next())
        checkCurrentCard(d, out, false);
    return out;
}

QVector<ReceiptDifference> CheckReceipts(TData &d)
{
    const store::TableUse receipts(d.ffDodavky, QStringLiteral("DAT"));
    QVector<ReceiptDifference> out;
    d.ffDodavky.First();
    d.HlaHodDodavek(d.ffDodavky, [&](const store::Record &receipt, const TData::HodnotaDokladu &value) {
        const double stored = receipt.AsFloat(d.ffDodavkyHLA_NCA);
        if (std::abs(stored - value.CelkemNC) >= kHalfHaler)
            out.append({receipt.AsString(d.ffDodavkyHLA_DO1), stored, value.CelkemNC});
    });
    return out;
}
