// The value of a stock document from its lines in the stock journal: the lines gathered
// per card and variant into the work table DokladObsah, and the totals of a receipt split
// by VAT rate. Only receipts are valued by this program.

#include "document_value.h"

#include "table_cursor.h"

#include "core/errors.h"
#include "store/tables/column_names.h"
#include "store/tables/index_names.h"

#include <QHash>
#include <algorithm>
#include <utility>

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

// The positions of the journal's fields that the value is computed from, looked up once.
struct JournalFields {
    explicit JournalFields(const store::TableDef &def)
    {
        using namespace store::tables::column::ffDenik;
        for (auto [field, name] : {std::pair{&dok, DEN_DOK}, {&kav, DEN_KAV}, {&ind, DEN_IND}, {&ope, DEN_OPE},
                                   {&kus, DEN_KUS}, {&dan, DEN_DAN}, {&hnc, DEN_HNC}, {&hpc, DEN_HPC}})
            *field = store::FieldKey(name).indexIn(def);
    }
    int dok, kav, ind, ope, kus, dan, hnc, hpc;
};

// The values of a journal line, read from a record of the journal.
LineValue receiptLine(const store::Record &line, const JournalFields &f, int priceMode)
{
    LineValue v;
    v.card = line.value(f.kav).toString();
    v.variant = line.value(f.ind).toString();
    v.operation = line.value(f.ope).toString();
    v.quantity = line.value(f.kus).toDouble();
    v.rate = line.value(f.dan).toDouble();
    v.purchase = line.value(f.hnc).toDouble();
    const double hpc = line.value(f.hpc).toDouble();
    v.sale = priceMode == 2 ? hpc + hpc / 100 * v.rate : hpc;
    v.vat = v.purchase / 100 * v.rate;
    return v;
}

// Adds one row of the document's content (one card and variant: sale total p at the
// row's rate, purchase total n) to the receipt's value. The rows are added in the order
// of the content's index "KAV" (card, variant).
void addRowValue(HodnotaDokladu &v, double p, double rate, double n, const Config &c)
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
HodnotaDokladu receiptValue(const store::Record *first, const store::Record *end, const JournalFields &f,
                            const Config &c)
{
    QVector<RowSums> rows;
    for (const store::Record *line = first; line != end; ++line) {
        const LineValue v = receiptLine(*line, f, c.PriceMode);
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
    HodnotaDokladu value;
    for (const RowSums &r : rows)
        addRowValue(value, r.sale, r.rate, r.purchase, c);
    return value;
}

struct OperationLists {
    QString pcs, rab, slp, pom;
};

void addTo(store::Field &f, double value)
{
    f.SetAsFloat(f.AsFloat() + value);
}

namespace dok = store::tables::column::DokladObsah;

// The field objects of the content table, looked up once.
struct ContentFields {
    explicit ContentFields(store::Table &t)
        : KAV(t[dok::DOK_KAV]), IND(t[dok::DOK_IND]), DAN(t[dok::DOK_DAN]), CIS(t[dok::DOK_CIS]),
          NAZ(t[dok::DOK_NAZ]), SKU(t[dok::DOK_SKU]), KUS(t[dok::DOK_KUS]), PCC(t[dok::DOK_PCC]),
          NCC(t[dok::DOK_NCC]), DPH(t[dok::DOK_DPH]), PCS(t[dok::DOK_PCS]), RAB(t[dok::DOK_RAB]),
          SLP(t[dok::DOK_SLP]), POM(t[dok::DOK_POM]), PC1(t[dok::DOK_PC1]), NC1(t[dok::DOK_NC1]),
          RAP(t[dok::DOK_RAP])
    {
    }
    store::Field &KAV, &IND, &DAN, &CIS, &NAZ, &SKU, &KUS, &PCC, &NCC, &DPH, &PCS, &RAB, &SLP, &POM, &PC1, &NC1,
        &RAP;
};

// The unit prices and the discount percentage of the row being edited, from its sums;
// each is left as it is while its divisor is 0.
void setRowRatios(const ContentFields &row)
{
    const double quantity = row.KUS.AsFloat();
    if (quantity != 0) {
        row.PC1.SetAsFloat(row.PCC.AsFloat() / quantity);
        row.NC1.SetAsFloat(row.NCC.AsFloat() / quantity);
    }
    const double listValue = row.PCS.AsFloat();
    if (listValue != 0) {
        // 0 − x rather than −x, so that no discount gives 0 and not −0.
        row.RAP.SetAsFloat(0.0 - row.RAB.AsFloat() / (listValue / 100));
    }
}

// Adds the line's value to the operation sums of the row being edited; a sum whose list
// does not hold the line's code is not touched (a new row keeps it empty).
void addOperationSums(const ContentFields &row, const LineValue &v, const OperationLists &ops)
{
    if (listed(v.operation, ops.pcs))
        addTo(row.PCS, v.sale);
    if (listed(v.operation, ops.rab))
        addTo(row.RAB, v.sale);
    if (listed(v.operation, ops.slp))
        addTo(row.SLP, v.sale);
    if (listed(v.operation, ops.pom))
        addTo(row.POM, v.sale);
}

// Adds one line to its row of (card, variant) in the content, or appends the row. A new
// row takes its rate, name and group from the first line; a card missing from the
// assortment (a cursor on its index "KAV") is named "Sortiment " + card, group "000".
void addLine(store::Table &rows, const ContentFields &row, store::Table &assortment, const LineValue &v,
             const QString &docNumber, const OperationLists &ops)
{
    if (rows.FindKey({v.card, v.variant})) {
        rows.Edit();
    } else {
        rows.Append();
        row.KAV.SetAsString(v.card);
        row.IND.SetAsString(v.variant);
        row.DAN.SetAsFloat(v.rate);
        row.CIS.SetAsString(docNumber);
        namespace sor = store::tables::column::ffSortiment;
        const bool known = assortment.FindKey({v.card});
        row.NAZ.SetAsString(known ? assortment[sor::SOR_NAC].AsString() : QStringLiteral("Sortiment ") + v.card);
        row.SKU.SetAsString(known ? assortment[sor::SOR_SKU].AsString() : QStringLiteral("000"));
    }
    addTo(row.KUS, v.quantity);
    addTo(row.PCC, v.sale);
    addTo(row.NCC, v.purchase);
    addTo(row.DPH, v.vat);
    addOperationSums(row, v, ops);
    setRowRatios(row);
    rows.Post();
}

} // namespace

void GetDoklad(const DocumentValueTables &t, const QString &DocNumber, const QString &PcsOps, int Kind,
               const QString &RabOps, const QString &SlpOps, const QString &PomOps)
{
    requireValuedKind(Kind);
    const auto journal = OpenCursorOn(t.denik, ix::ffDenik::DOK);
    const auto assortment = OpenCursorOn(t.sortiment, ix::ffSortiment::KAV);
    store::Table &content = t.dokladObsah;
    content.Open();
    content.SetIndexName(ix::DokladObsah::KAV);
    const ContentFields row(content);
    const JournalFields fields(journal->Definition());
    const OperationLists ops{PcsOps, RabOps, SlpOps, PomOps};
    try {
        if (journal->FindKey({DocNumber})) {
            for (; !journal->Eof() && journal->CurrentRecord().value(fields.dok).toString() == DocNumber;
                 journal->Next()) {
                const LineValue line = receiptLine(journal->CurrentRecord(), fields, t.config.PriceMode);
                if (line.operation == kReceiptOperation)
                    addLine(content, row, *assortment, line, DocNumber, ops);
            }
        }
    } catch (const AppError &) {
        content.Cancel();
        throw;
    }
}

void HlaHod(const DocumentValueTables &t, const QString &DocNumber, int Kind, double &CelkemNC, double &CelkemPC,
            double &Zaklad22, double &Zaklad05, double &Zaklad00, double &Dan22, double &Dan05, double &HalVyr,
            double &Deduction)
{
    CelkemNC = CelkemPC = Zaklad22 = Zaklad05 = Zaklad00 = Dan22 = Dan05 = HalVyr = Deduction = 0;
    requireValuedKind(Kind);
    store::Table &content = t.dokladObsah;
    content.Open();
    content.EmptyTable();
    GetDoklad(t, DocNumber, kReceiptOperation, kReceipt, QString(), QString(), QString());

    // Summed apart and handed over at the end, so that a failure leaves every result 0.
    const ContentFields row(content);
    HodnotaDokladu value;
    for (content.First(); !content.Eof(); content.Next())
        addRowValue(value, row.PCC.AsFloat(), row.DAN.AsFloat(), row.NCC.AsFloat(), t.config);
    CelkemNC = value.CelkemNC;
    CelkemPC = value.CelkemPC;
    Zaklad22 = value.Zaklad22;
    Zaklad05 = value.Zaklad05;
    Zaklad00 = value.Zaklad00;
    Dan22 = value.Dan22;
    Dan05 = value.Dan05;
}

void HlaHodDodavek(const store::Table &denik, const Config &config, store::Table &receipts,
                   const std::function<void(const store::Record &, const HodnotaDokladu &)> &each)
{
    // Receipts taken a page at a time, and the lines of the whole page read at once.
    constexpr int kPageReceipts = 256;
    const auto journal = OpenCursorOn(denik, ix::ffDenik::DOK);
    const JournalFields fields(journal->Definition());
    // The number of a receipt, by name: the caller's component may be another than ffDodavky.
    const store::FieldKey receiptNumber(store::tables::column::ffDodavky::HLA_DO1);
    namespace den = store::tables::column::ffDenik;
    const QVector<store::FieldKey> lineFields{den::DEN_DOK, den::DEN_KAV, den::DEN_IND, den::DEN_OPE,
                                              den::DEN_HPC, den::DEN_HNC, den::DEN_DAN};
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
        const QVector<store::Record> lines = journal->ReadKeys(numbers, lineFields);
        QHash<QString, QPair<int, int>> linesOf;
        for (int i = 0; i < lines.size();) {
            const QString number = lines[i].value(fields.dok).toString();
            int j = i + 1;
            while (j < lines.size() && lines[j].value(fields.dok).toString() == number)
                ++j;
            linesOf.insert(number, {i, j});
            i = j;
        }
        for (const store::Record &receipt : std::as_const(page)) {
            const auto span = linesOf.value(receipt.AsString(receiptNumber));
            each(receipt,
                 receiptValue(lines.constData() + span.first, lines.constData() + span.second, fields, config));
        }
    }
}
