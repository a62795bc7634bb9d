// The value of a stock document from its lines in the stock journal: the lines gathered
// per card and variant into the work table DokladObsah, and the totals of a receipt split
// by VAT rate. Only receipts are valued by this program.

#include "store/tdata.h"

#include "app/core/errors.h"
#include "store/table_use.h"
#include "store/tables/column_names.h"
#include "store/tables/index_names.h"

#include <QHash>
#include <algorithm>

namespace ix = store::tables::index;

namespace {

// The document kind of a receipt of goods from a supplier.
constexpr int kReceipt = 3;
// The journal's operation code of a receipt line; the journal lines of a receipt are those
// of its number with this code (other document kinds are numbered by counters of their own,
// so their lines may carry the same number).
const QString kReceiptOperation = QStringLiteral("001");

// Raises an error for a kind this program does not value: the further document kinds of the
// shop system (1 to 9) and any kind outside them.
void requireValuedKind(int kind)
{
    if (kind == kReceipt)
        return;
    if (kind < 1 || kind > 9)
        throw AppError(QStringLiteral("Není definován typ"));
    throw AppError(QStringLiteral("Hodnotu dokladu typu %1 tento program nepočítá").arg(kind));
}

// True when op is one of the comma-separated codes of list; an empty code or list
// selects nothing.
bool listed(const QString &op, const QString &list)
{
    if (op.isEmpty())
        return false;
    for (const QString &code : list.split(QLatin1Char(',')))
        if (code.trimmed() == op)
            return true;
    return false;
}

// The values of one journal line of a receipt.
struct LineValue {
    QString card, variant, operation;
    double quantity;   // Q
    double rate;       // R, VAT rate in percent
    double purchase;   // N, value at purchase prices
    double sale;       // S, value at sale prices, with VAT when the assortment keeps it so
    double vat;        // V, VAT on the purchase value
};

// The values of a journal line, read from a record of the journal.
LineValue receiptLine(const store::Record &line, const TData &d, int priceMode)
{
    LineValue v;
    v.card = line.value(d.ffDenikDEN_KAV).toString();
    v.variant = line.value(d.ffDenikDEN_IND).toString();
    v.operation = line.value(d.ffDenikDEN_OPE).toString();
    v.quantity = line.value(d.ffDenikDEN_KUS).toDouble();
    v.rate = line.value(d.ffDenikDEN_DAN).toDouble();
    v.purchase = line.value(d.ffDenikDEN_HNC).toDouble();
    const double hpc = line.value(d.ffDenikDEN_HPC).toDouble();
    v.sale = priceMode == 2 ? hpc + hpc / 100 * v.rate : hpc;
    v.vat = v.purchase / 100 * v.rate;
    return v;
}

// Adds one row of the document's content (one card and variant: sale total p at the
// row's rate, purchase total n) to the receipt's value. The rows are added in the order
// of the content's index "KAV" (card, variant).
void addRowValue(TData::HodnotaDokladu &v, double p, double rate, double n, const Config &c)
{
    v.CelkemNC += n;
    v.CelkemPC += c.PriceMode == 2 ? p : p + rate * (p / 100);
    if (rate == c.VatRateHigh) {
        v.Zaklad22 += n;
        v.Dan22 += n / 100 * c.VatRateHigh;
    }
    if (rate == c.VatRateLow) {
        v.Zaklad05 += n;
        v.Dan05 += n / 100 * c.VatRateLow;
    }
    if (rate == c.VatRateZero)
        v.Zaklad00 += n;
}

// One row of a receipt's content as HlaHod sums it: the sums of the lines of one card
// and variant, in line order, at the rate of the first.
struct RowSums {
    QString card, variant;
    double rate = 0;
    double sale = 0;      // DOK_PCC
    double purchase = 0;  // DOK_NCC
};

// The value of a receipt from its journal lines (those of operation "001" among them),
// without DokladObsah: the lines are summed per card and variant in their order, and the
// rows added in the order of the content's index.
TData::HodnotaDokladu receiptValue(const store::Record *first, const store::Record *end, const TData &d)
{
    QVector<RowSums> rows;
    for (const store::Record *line = first; line != end; ++line) {
        const LineValue v = receiptLine(*line, d, d.PriceMode);
        if (v.operation != kReceiptOperation)
            continue;
        auto row = std::find_if(rows.begin(), rows.end(),
                                [&](const RowSums &r) { return r.card == v.card && r.variant == v.variant; });
        if (row == rows.end()) {
            rows.append(RowSums{v.card, v.variant, v.rate});
            row = rows.end() - 1;
        }
        row->sale += v.sale;
        row->purchase += v.purchase;
    }
    // The content's index orders texts by their code points, as QString compares them.
    std::sort(rows.begin(), rows.end(), [](const RowSums &a, const RowSums &b) {
        return a.card != b.card ? a.card < b.card : a.variant < b.variant;
    });
    TData::HodnotaDokladu value;
    for (const RowSums &r : rows)
        addRowValue(value, r.sale, r.rate, r.purchase, d);
    return value;
}

struct OperationLists {
    QString pcs, rab, slp, pom;
};

void addTo(store::Field &f, double value)
{
    f.SetAsFloat(f.AsFloat() + value);
}

// The unit prices and the discount percentage of the row being edited, from its sums;
// each is left as it is while its divisor is 0.
void setRowRatios(TData &d)
{
    const double quantity = d.DokladObsahDOK_KUS.AsFloat();
    if (quantity != 0) {
        d.DokladObsahDOK_PC1.SetAsFloat(d.DokladObsahDOK_PCC.AsFloat() / quantity);
        d.DokladObsahDOK_NC1.SetAsFloat(d.DokladObsahDOK_NCC.AsFloat() / quantity);
    }
    const double listValue = d.DokladObsahDOK_PCS.AsFloat();
    if (listValue != 0) {
        // 0 − x rather than −x, so that no discount gives 0 and not −0.
        d.DokladObsahDOK_RAP.SetAsFloat(0.0 - d.DokladObsahDOK_RAB.AsFloat() / (listValue / 100));
    }
}

// Adds the line's value to the operation sums of the row being edited; a sum whose list
// does not hold the line's code is not touched (a new row keeps it empty).
void addOperationSums(TData &d, const LineValue &v, const OperationLists &ops)
{
    if (listed(v.operation, ops.pcs))
        addTo(d.DokladObsahDOK_PCS, v.sale);
    if (listed(v.operation, ops.rab))
        addTo(d.DokladObsahDOK_RAB, v.sale);
    if (listed(v.operation, ops.slp))
        addTo(d.DokladObsahDOK_SLP, v.sale);
    if (listed(v.operation, ops.pom))
        addTo(d.DokladObsahDOK_POM, v.sale);
}

// Adds one line to its row of (card, variant) in DokladObsah, or appends the row. A new
// row takes its rate, name and group from the first line; a card missing from the
// assortment is named "Sortiment " + card, group "000".
void addLine(TData &d, const LineValue &v, const QString &docNumber, const OperationLists &ops)
{
    store::Table &rows = d.DokladObsah;
    if (rows.FindKey({v.card, v.variant})) {
        rows.Edit();
    } else {
        rows.Append();
        d.DokladObsahDOK_KAV.SetAsString(v.card);
        d.DokladObsahDOK_IND.SetAsString(v.variant);
        d.DokladObsahDOK_DAN.SetAsFloat(v.rate);
        d.DokladObsahDOK_CIS.SetAsString(docNumber);
        const bool known = d.ffSortiment.FindKey({v.card});
        d.DokladObsahDOK_NAZ.SetAsString(known ? d.ffSortimentSOR_NAC.AsString()
                                               : QStringLiteral("Sortiment ") + v.card);
        d.DokladObsahDOK_SKU.SetAsString(known ? d.ffSortimentSOR_SKU.AsString() : QStringLiteral("000"));
    }
    addTo(d.DokladObsahDOK_KUS, v.quantity);
    addTo(d.DokladObsahDOK_PCC, v.sale);
    addTo(d.DokladObsahDOK_NCC, v.purchase);
    addTo(d.DokladObsahDOK_DPH, v.vat);
    addOperationSums(d, v, ops);
    setRowRatios(d);
    rows.Post();
}

} // namespace

void TData::GetDoklad(const QString &DocNumber, const QString &PcsOps, int Kind, const QString &RabOps,
                      const QString &SlpOps, const QString &PomOps)
{
    requireValuedKind(Kind);
    // A table open before is given back on its index, range and record; one that was
    // closed is closed again. A record another station deleted meanwhile cannot be gone
    // back to, which does not make the value wrong. Opened by the guards rather than
    // through OpenffDen/OpenffSor, so that a failure carries the store's text instead of
    // a bare false.
    const store::TableUse denik(ffDenik, ix::ffDenik::DOK);
    const store::TableUse sortiment(ffSortiment, ix::ffSortiment::KAV);
    DokladObsah.Open();
    DokladObsah.SetIndexName(ix::DokladObsah::KAV);
    const OperationLists ops{PcsOps, RabOps, SlpOps, PomOps};
    try {
        if (ffDenik.FindKey({DocNumber})) {
            for (; !ffDenik.Eof() && ffDenikDEN_DOK.AsString() == DocNumber;
                 ffDenik.Next()) {
                const LineValue line = receiptLine(ffDenik.CurrentRecord(), *this, PriceMode);
                if (line.operation == kReceiptOperation)
                    addLine(*this, line, DocNumber, ops);
            }
        }
    } catch (const AppError &) {
        DokladObsah.Cancel();
        throw;
    }
}

void TData::HlaHod(const QString &DocNumber, int Kind, double &CelkemNC, double &CelkemPC, double &Zaklad22,
                   double &Zaklad05, double &Zaklad00, double &Dan22, double &Dan05, double &HalVyr,
                   double &Deduction)
{
    CelkemNC = CelkemPC = Zaklad22 = Zaklad05 = Zaklad00 = Dan22 = Dan05 = HalVyr = Deduction = 0;
    requireValuedKind(Kind);
    EmptyDokladObsah();
    GetDoklad(DocNumber, kReceiptOperation, kReceipt, QString(), QString(), QString());

    // Summed apart and handed over at the end, so that a failure leaves every result 0.
    HodnotaDokladu value;
    for (DokladObsah.First(); !DokladObsah.Eof(); DokladObsah.Next())
        addRowValue(value, DokladObsahDOK_PCC.AsFloat(), DokladObsahDOK_DAN.AsFloat(), DokladObsahDOK_NCC.AsFloat(),
                    *this);
    CelkemNC = value.CelkemNC;
    CelkemPC = value.CelkemPC;
    Zaklad22 = value.Zaklad22;
    Zaklad05 = value.Zaklad05;
    Zaklad00 = value.Zaklad00;
    Dan22 = value.Dan22;
    Dan05 = value.Dan05;
}

void TData::HlaHodDodavek(store::Table &receipts,
                          const std::function<void(const store::Record &, const HodnotaDokladu &)> &each)
{
    // Receipts taken a page at a time, and the lines of the whole page read at once.
    constexpr int kPageReceipts = 256;
    const store::TableUse denik(ffDenik, ix::ffDenik::DOK);
    // The number of a receipt, by name: the caller's component may be another than ffDodavky.
    const store::FieldKey receiptNumber(store::tables::column::ffDodavky::HLA_DO1);
    const QVector<store::FieldKey> lineFields{ffDenikDEN_DOK, ffDenikDEN_KAV, ffDenikDEN_IND, ffDenikDEN_OPE,
                                              ffDenikDEN_HPC, ffDenikDEN_HNC, ffDenikDEN_DAN};
    QVector<store::Record> page;
    while (!receipts.Eof()) {
        page.clear();
        QVariantList numbers;
        for (; !receipts.Eof() && page.size() < kPageReceipts; receipts.Next()) {
            page.append(receipts.CurrentRecord());
            numbers.append(page.constLast().AsString(receiptNumber));
        }
        // The lines come in the journal's order "DOK": those of one number together, in
        // the order GetDoklad reads them.
        const QVector<store::Record> lines = ffDenik.ReadKeys(numbers, lineFields);
        QHash<QString, QPair<int, int>> linesOf;
        for (int i = 0; i < lines.size();) {
            const QString number = lines[i].value(ffDenikDEN_DOK).toString();
            int j = i + 1;
            while (j < lines.size() && lines[j].value(ffDenikDEN_DOK).toString() == number)
                ++j;
            linesOf.insert(number, {i, j});
            i = j;
        }
        for (const store::Record &receipt : std::as_const(page)) {
            const auto span = linesOf.value(receipt.AsString(receiptNumber));
            each(receipt, receiptValue(lines.constData() + span.first, lines.constData() + span.second, *this));
        }
    }
}
