#include "stock_check.h"

#include "store/tdata.h"

namespace {

const QString kFirstVariant = QStringLiteral("000");
const QString kLastVariant = QStringLiteral("999");

// Opens a table for the check and closes it again when the check opened it.
class CheckedTable {
public:
    CheckedTable(store::Table &t, const QString &index) : m_table(t), m_opened(!t.Active())
    {
        t.Open();
        t.SetIndexName(index);
    }
    ~CheckedTable()
    {
        if (m_opened)
            m_table.Close();
    }
    CheckedTable(const CheckedTable &) = delete;
    CheckedTable &operator=(const CheckedTable &) = delete;

private:
    store::Table &m_table;
    bool m_opened;
};

// The differences (with everyStock: all stocks) of the card ffSortiment stands on.
void checkCurrentCard(TData &d, QVector<StockDifference> &out, bool everyStock)
{
    const QString card = d.ffSortiment.FieldByName(QStringLiteral("SOR_KAV")).AsString();
    const bool stockItem = d.ffSortiment.FieldByName(QStringLiteral("SOR_SKL")).AsBoolean();
    store::Table &sklad = d.ffSklad;
    store::Table &denik = d.ffDenik;
    sklad.SetRange({card, kFirstVariant}, {card, kLastVariant});
    double total = 0;
    for (sklad.First(); !sklad.Eof(); sklad.Next()) {
        const QString variant = sklad.FieldByName(QStringLiteral("SKL_IND")).AsString();
        const double stored = sklad.FieldByName(QStringLiteral("SKL_STA")).AsFloat();
        double expected = 0;
        if (stockItem) {
            denik.SetRange({card, variant}, {card, variant});
            expected = sklad.FieldByName(QStringLiteral("SKL_POC")).AsFloat() + denik.Sum(QStringLiteral("DEN_KUS"));
        }
        if (everyStock || stored != expected)
            out.append({card, variant, stored, expected});
        total += stored;
    }
    const double cardStored = d.ffSortiment.FieldByName(QStringLiteral("SOR_STA")).AsFloat();
    const double cardExpected = stockItem ? total : 0.0;
    if (everyStock || cardStored != cardExpected)
        out.append({card, QString(), cardStored, cardExpected});
}

} // namespace

QVector<StockDifference> CheckCard(TData &d, const QString &card, bool everyStock)
{
    CheckedTable cards(d.ffSortiment, QStringLiteral("KAV"));
    CheckedTable variants(d.ffSklad, QStringLiteral("KAV"));
    CheckedTable journal(d.ffDenik, QStringLiteral("KAV"));
    QVector<StockDifference> out;
    if (d.ffSortiment.FindKey({card}))
        checkCurrentCard(d, out, everyStock);
    return out;
}

QVector<StockDifference> CheckStock(TData &d)
{
    CheckedTable cards(d.ffSortiment, QStringLiteral("KAV"));
    CheckedTable variants(d.ffSklad, QStringLiteral("KAV"));
    CheckedTable journal(d.ffDenik, QStringLiteral("KAV"));
    QVector<StockDifference> out;
    for (d.ffSortiment.First(); !d.ffSortiment.Eof(); d.ffSortiment.Next())
        checkCurrentCard(d, out, false);
    return out;
}
