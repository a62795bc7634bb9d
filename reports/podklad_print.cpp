#include "podklad_print.h"

#include "table_cursor.h"

#include "core/textutil.h"
#include "store/tables/column_names.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

namespace ix = store::tables::index;

namespace {

const QString kFont = QStringLiteral("Ariel CE");
constexpr int kCentralEurope = 238;
constexpr double kLeft = 1.0;

// One column of the item table.
struct Column {
    TJustify justify;
    double firstPage, laterPages;   // widths, cm
};
const Column kColumns[8] = {
    {pjLeft, 1.3, 1.3}, {pjLeft, 3.4, 3.8}, {pjRight, 2.5, 2.5}, {pjRight, 1.2, 1.0},
    {pjRight, 2.8, 2.8}, {pjRight, 2.8, 2.8}, {pjRight, 1.2, 1.0}, {pjRight, 2.8, 2.8},
};
const QString kColumnHeader =
    QStringLiteral("\tKarta\tNázev zboží\tNc/ob/Kč\tPočet OB\tNC/OB Celkem\tNc/DJ/CM\tPočet DJ\tNC/DJ/CM Celkem");

// Lines the totals (2) and the signature block (6) take at their font.
constexpr int kClosingLines = 8;

void selectFont(ReportDrawing &r, double size)
{
    r.SelectFont(kFont, size);
    r.SelectCharset(kCentralEurope);
}

// The eight stops of the item table, shaded or not, with the widths of the first or of
// later pages.
void itemStops(ReportDrawing &r, bool firstPage, int shade)
{
    r.ClearTabStops();
    bool first = true;
    for (const Column &c : kColumns) {
        r.AddTabStop(first ? kLeft : AfterPrevious, c.justify, firstPage ? c.firstPage : c.laterPages, 0, 0, shade);
        first = false;
    }
}

// The column header and the stops of the item lines below it.
void itemTableHead(ReportDrawing &r, bool firstPage)
{
    selectFont(r, 6);
    itemStops(r, firstPage, 10);
    r.PrintTabbedLine(kColumnHeader);
    r.ClearTabStops();
    selectFont(r, 8);
    itemStops(r, firstPage, 0);
}

QString money(double value) { return FormatFixed(value, 8, 2); }

void supplierBox(ReportDrawing &r, const PodkladSnapshot::Supplier &supplier, const PodkladSnapshot::Shop &shop)
{
    selectFont(r, 11);
    const struct {
        int lines;
        QString text;
    } rows[] = {
        {BoxLineLeft | BoxLineRight | BoxLineTop,
         QStringLiteral("\tDodavatel\t%1\tPobočka příjem\t%2 %3").arg(supplier.DOD_FIR, shop.VLA_JED, shop.VLA_NAC)},
        {BoxLineLeft | BoxLineRight, QStringLiteral("\t\t%1\t\t%2 ").arg(supplier.DOD_ULI, shop.VLA_ULI)},
        {BoxLineLeft | BoxLineRight, QStringLiteral("\t\t%1\t\t%2").arg(supplier.DOD_MES, shop.VLA_MES)},
        {BoxLineLeft | BoxLineRight | BoxLineBottom, QStringLiteral("\t\t\t\t")},
    };
    for (const auto &row : rows) {
        r.ClearTabStops();
        r.AddTabStop(kLeft, pjLeft, 3.0, 5, row.lines, 0);
        r.AddTabStop(AfterPrevious, pjLeft, 6.0, 5, row.lines, 0);
        r.AddTabStop(AfterPrevious, pjLeft, 3.0, 5, row.lines, 0);
        r.AddTabStop(AfterPrevious, pjLeft, 6.0, 5, row.lines, 0);
        r.PrintTabbedLine(row.text);
    }
}

void invoiceBlock(ReportDrawing &r, const PodkladSnapshot &d)
{
    r.NewLine();
    r.ClearTabStops();
    r.NewLine();
    selectFont(r, 9);
    r.AddTabStop(kLeft, pjLeft, 2.0, 0, 0, 10);
    r.AddTabStop(AfterPrevious, pjLeft, 3.8, 0, 0, 10);
    r.AddTabStop(AfterPrevious, pjRight, 2.5, 0, 0, 10);
    r.PrintTabbedLine(QStringLiteral("\tFaktura\t") + d.HLA_DO2);
    r.PrintTabbedLine(QStringLiteral("\tPřijato dne\t") + DateToStr(d.HLA_DDO));
    r.PrintTabbedLine(QStringLiteral("\tCelkem \t") + FloatToStr(d.HLA_FAC) + QLatin1Char(' ') + d.HLA_MEN);
    r.PrintTabbedLine(QStringLiteral("\tMěna\t") + d.HLA_MEN);
    r.PrintTabbedLine(QStringLiteral("\tKurz\t") + FloatToStr(d.HLA_KUR));
}

// A new page of the item table or of the closing block: three empty lines at its top.
void continuationPage(ReportDrawing &r)
{
    r.NewPage();
    r.ToPageTop();
    for (int i = 0; i < 3; ++i)
        r.NewLine();
}

void items(ReportDrawing &r, const QVector<PodkladSnapshot::Item> &items)
{
    for (auto item = items.begin(); item != items.end();) {
        if (r.LinesRemaining() > 4) {
            r.PrintTabbedLine(QStringList{QString(), item->POP_KAV, item->POP_NAC, money(item->POP_NCS),
                                          FloatToStr(item->POP_KUS), money(item->POP_NCC), money(item->POP_CNC),
                                          money(item->POP_CKU), money(item->POP_CCC)}
                                  .join(QLatin1Char('\t')));
            ++item;
        } else {
            continuationPage(r);
            itemTableHead(r, false);
        }
    }
}

void totals(ReportDrawing &r, const PodkladSnapshot &d)
{
    r.NewLine();
    r.ClearTabStops();
    selectFont(r, 11);
    // The totals and the signatures stay together: on a page of their own when the last
    // page of items has no room for them.
    if (r.LinesRemaining() < kClosingLines)
        continuationPage(r);
    itemStops(r, false, 0);
    r.PrintTabbedLine(QStringLiteral("\tCelkový součet hodnoty v %1\t\t\t\t\t\t\t%2")
                          .arg(d.HLA_MEN, money(d.HLA_EUR)));
    r.PrintTabbedLine(QStringLiteral("\tCelkový součet hodnoty v Kč\t\t\t\t%1")
                          .arg(money(d.HLA_NCA)));
}

void signatures(ReportDrawing &r)
{
    while (r.LinesRemaining() > 10)
        r.NewLine();
    const struct {
        int lines;
        const char *left, *right;
    } rows[] = {
        {BoxLineLeft | BoxLineRight | BoxLineTop, "Zboží vydal, razítko a podpis :", "Zboží přijal, razítko a podpis :"},
        {BoxLineLeft | BoxLineRight, "Dne :", "Dne :"},
        {BoxLineLeft | BoxLineRight, "", ""},
        {BoxLineLeft | BoxLineRight, "", ""},
        {BoxLineLeft | BoxLineRight, "", ""},
        {BoxLineLeft | BoxLineRight | BoxLineBottom, "", ""},
    };
    for (const auto &row : rows) {
        r.ClearTabStops();
        r.SelectPen(Qt::black, Qt::SolidLine, 1, pmCopy);
        r.AddTabStop(kLeft, pjLeft, 9.0, 5, row.lines, 0);
        r.AddTabStop(AfterPrevious, pjLeft, 9.0, 5, row.lines, 0);
        r.PrintTabbedLine(QLatin1Char('\t') + QString::fromUtf8(row.left) + QLatin1Char('\t') + QString::fromUtf8(row.right));
    }
}

} // namespace

PodkladSnapshot ReadPodklad(TData &data)
{
    PodkladSnapshot document;
    document.HLA_DO1 = data.ffPodklHlavHLA_DO1.AsString();
    document.HLA_DO2 = data.ffPodklHlavHLA_DO2.AsString();
    document.HLA_MEN = data.ffPodklHlavHLA_MEN.AsString();
    document.HLA_DDO = data.ffPodklHlavHLA_DDO.AsDate();
    document.HLA_FAC = data.ffPodklHlavHLA_FAC.AsFloat();
    document.HLA_KUR = data.ffPodklHlavHLA_KUR.AsFloat();
    document.HLA_EUR = data.ffPodklHlavHLA_EUR.AsFloat();
    document.HLA_NCA = data.ffPodklHlavHLA_NCA.AsFloat();

    const auto owner = OpenCursorOn(data.ffVlastnik);
    const auto suppliers = OpenCursorOn(data.ffDodavatele, ix::ffDodavatele::KOD);
    owner->First();
    if (!owner->Eof()) {
        using namespace store::tables::column::ffVlastnik;
        document.shop = {(*owner)[VLA_JED].AsString(), (*owner)[VLA_NAC].AsString(), (*owner)[VLA_ULI].AsString(),
                         (*owner)[VLA_MES].AsString()};
    }
    if (suppliers->FindKey({TrimBlanks(data.ffPodklHlavHLA_ODB.AsString())})) {
        using namespace store::tables::column::ffDodavatele;
        document.supplier = PodkladSnapshot::Supplier{(*suppliers)[DOD_FIR].AsString(),
                                                      (*suppliers)[DOD_ULI].AsString(),
                                                      (*suppliers)[DOD_MES].AsString()};
    }

    store::Table &items = data.ffPodklPol;
    if (items.Active()) {
        for (items.First(); !items.Eof(); items.Next())
            document.items.append(PodkladSnapshot::Item{
                data.ffPodklPolPOP_KAV.AsString(), data.ffPodklPolPOP_NAC.AsString(), data.ffPodklPolPOP_NCS.AsFloat(),
                data.ffPodklPolPOP_KUS.AsFloat(), data.ffPodklPolPOP_NCC.AsFloat(), data.ffPodklPolPOP_CNC.AsFloat(),
                data.ffPodklPolPOP_CKU.AsFloat(), data.ffPodklPolPOP_CCC.AsFloat()});
    }
    return document;
}

void LayoutPodklad(ReportDrawing &r, const PodkladSnapshot &document)
{
    selectFont(r, 13);
    r.ClearTabStops();
    r.ToPageTop();
    r.NewLine();
    r.NewLine();
    r.SetBold(true);
    r.PrintAt(QStringLiteral("Podklady přímu od dodavatele číslo : ") + document.HLA_DO1, kLeft);
    r.NewLine();
    r.SetBold(false);

    if (document.supplier) {
        supplierBox(r, *document.supplier, document.shop);
        invoiceBlock(r, document);
    }

    r.NewLine();
    r.NewLine();
    r.ClearTabStops();
    itemTableHead(r, true);
    items(r, document.items);
    totals(r, document);
    signatures(r);
}
