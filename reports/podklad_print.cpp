#include "podklad_print.h"

#include "sestavy.h"

#include "app/core/textutil.h"
#include "store/table_use.h"
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

void selectFont(TSestavy &r, double size)
{
    r.SelectFont(kFont, size);
    r.SelectCharset(kCentralEurope);
}

// The eight stops of the item table, shaded or not, with the widths of the first or of
// later pages.
void itemStops(TSestavy &r, bool firstPage, int shade)
{
    r.ClearTabStops();
    bool first = true;
    for (const Column &c : kColumns) {
        r.AddTabStop(first ? kLeft : AfterPrevious, c.justify, firstPage ? c.firstPage : c.laterPages, 0, 0, shade);
        first = false;
    }
}

// The column header and the stops of the item lines below it.
void itemTableHead(TSestavy &r, bool firstPage)
{
    selectFont(r, 6);
    itemStops(r, firstPage, 10);
    r.PrintTabbedLine(kColumnHeader);
    r.ClearTabStops();
    selectFont(r, 8);
    itemStops(r, firstPage, 0);
}

QString money(double value) { return FormatFixed(value, 8, 2); }

void supplierBox(TSestavy &r, TData &d)
{
    selectFont(r, 11);
    auto ownerText = [&d](const store::Field &field) { return d.ffVlastnik.Eof() ? QString() : field.AsString(); };
    const struct {
        int lines;
        QString text;
    } rows[] = {
        {BoxLineLeft | BoxLineRight | BoxLineTop,
         QStringLiteral("\tDodavatel\t%1\tPobočka příjem\t%2 %3")
             .arg(d.ffDodavateleDOD_FIR.AsString(), ownerText(d.ffVlastnikVLA_JED), ownerText(d.ffVlastnikVLA_NAC))},
        {BoxLineLeft | BoxLineRight, QStringLiteral("\t\t%1\t\t%2 ").arg(d.ffDodavateleDOD_ULI.AsString(), ownerText(d.ffVlastnikVLA_ULI))},
        {BoxLineLeft | BoxLineRight, QStringLiteral("\t\t%1\t\t%2").arg(d.ffDodavateleDOD_MES.AsString(), ownerText(d.ffVlastnikVLA_MES))},
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

void invoiceBlock(TSestavy &r, TData &d)
{
    r.NewLine();
    r.ClearTabStops();
    r.NewLine();
    selectFont(r, 9);
    r.AddTabStop(kLeft, pjLeft, 2.0, 0, 0, 10);
    r.AddTabStop(AfterPrevious, pjLeft, 3.8, 0, 0, 10);
    r.AddTabStop(AfterPrevious, pjRight, 2.5, 0, 0, 10);
    const QString currency = d.ffPodklHlavHLA_MEN.AsString();
    r.PrintTabbedLine(QStringLiteral("\tFaktura\t") + d.ffPodklHlavHLA_DO2.AsString());
    r.PrintTabbedLine(QStringLiteral("\tPřijato dne\t") + DateToStr(d.ffPodklHlavHLA_DDO.AsDate()));
    r.PrintTabbedLine(QStringLiteral("\tCelkem \t") + FloatToStr(d.ffPodklHlavHLA_FAC.AsFloat()) + QLatin1Char(' ') + currency);
    r.PrintTabbedLine(QStringLiteral("\tMěna\t") + currency);
    r.PrintTabbedLine(QStringLiteral("\tKurz\t") + FloatToStr(d.ffPodklHlavHLA_KUR.AsFloat()));
}

// A new page of the item table or of the closing block: three empty lines at its top.
void continuationPage(TSestavy &r)
{
    r.NewPage();
    r.ToPageTop();
    for (int i = 0; i < 3; ++i)
        r.NewLine();
}

void items(TSestavy &r, TData &d)
{
    store::Table &items = d.ffPodklPol;
    if (!items.Active())
        return;
    items.First();
    while (!items.Eof()) {
        if (r.LinesRemaining() > 4) {
            r.PrintTabbedLine(QStringList{QString(), d.ffPodklPolPOP_KAV.AsString(), d.ffPodklPolPOP_NAC.AsString(), money(d.ffPodklPolPOP_NCS.AsFloat()),
                                          FloatToStr(d.ffPodklPolPOP_KUS.AsFloat()), money(d.ffPodklPolPOP_NCC.AsFloat()),
                                          money(d.ffPodklPolPOP_CNC.AsFloat()), money(d.ffPodklPolPOP_CKU.AsFloat()), money(d.ffPodklPolPOP_CCC.AsFloat())}
                                  .join(QLatin1Char('\t')));
            items.Next();
        } else {
            continuationPage(r);
            itemTableHead(r, false);
        }
    }
}

void totals(TSestavy &r, TData &d)
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
                          .arg(d.ffPodklHlavHLA_MEN.AsString(),
                               money(d.ffPodklHlavHLA_EUR.AsFloat())));
    r.PrintTabbedLine(QStringLiteral("\tCelkový součet hodnoty v Kč\t\t\t\t%1")
                          .arg(money(d.ffPodklHlavHLA_NCA.AsFloat())));
}

void signatures(TSestavy &r)
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

void PrintPodklad(TData &data, TSestavy &r)
{
    selectFont(r, 13);
    r.ClearTabStops();
    r.ToPageTop();
    r.NewLine();
    r.NewLine();
    r.SetBold(true);
    r.PrintAt(QStringLiteral("Podklady přímu od dodavatele číslo : ") + data.ffPodklHlavHLA_DO1.AsString(),
              kLeft);
    r.NewLine();
    r.SetBold(false);

    {
        store::TableUse owner(data.ffVlastnik);
        store::TableUse supplier(data.ffDodavatele, ix::ffDodavatele::KOD);
        data.ffVlastnik.First();
        const QString code = TrimBlanks(data.ffPodklHlavHLA_ODB.AsString());
        if (data.ffDodavatele.FindKey({code})) {
            supplierBox(r, data);
            invoiceBlock(r, data);
        }
    }

    r.NewLine();
    r.NewLine();
    r.ClearTabStops();
    itemTableHead(r, true);
    items(r, data);
    totals(r, data);
    signatures(r);
}
