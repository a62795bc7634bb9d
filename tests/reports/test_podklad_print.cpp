// The printout of a source document. Its layout, by the laid-out pages of documents built
// in memory: every block with its positions, cells, box lines, shades and fonts; the
// supplier box only with the supplier; the page breaks of the item table and of the
// totals with the signatures; long names and large quantities kept inside their cells,
// with the pages as a PDF and pictures in the test output folder. Its reading, on a real
// database of each engine: the supplier found by a trimmed code, the shop, the items in
// range with their totals, and the command that prints what it read.

#include "firm_tables.h"
#include "store_test_support.h"
#include "testscreens.h"
#include "text_in_cells.h"

#include "reports/data_sestavy.h"
#include "reports/podklad_print.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <QDate>
#include <gtest/gtest.h>
#include <map>

namespace ix = store::tables::index;

using storetest::Backend;

namespace {

constexpr double kEps = 1e-6;
constexpr double kTop = 1.0, kBottom = 28.7;   // first line and bottom limit of an A4 page
double lh(double points) { return points * 1.2 * 2.54 / 72.0; }

const QString kDoc = QStringLiteral("0000000007");

// One printed line: the items of a page at one height, left to right.
struct Line {
    double top;
    QVector<ReportItem> items;
    QStringList texts() const
    {
        QStringList t;
        for (const ReportItem &i : items)
            t << i.text;
        return t;
    }
};
QVector<Line> linesOf(const ReportPage &page)
{
    std::map<long long, Line> byTop;
    for (const ReportItem &item : page.items) {
        Line &l = byTop[llround(item.top * 1e6)];
        l.top = item.top;
        l.items << item;
    }
    QVector<Line> lines;
    for (auto &[key, line] : byTop)
        lines << line;
    return lines;
}

// The document of the layout tests: invoice FV-2004/17 of 05.03.2004 over 1234.5 EUR at
// 25.5, the supplier "Žluťoučký kůň s.r.o." and the shop P01, without items.
PodkladSnapshot document()
{
    PodkladSnapshot d;
    d.HLA_DO1 = kDoc;
    d.HLA_DO2 = QStringLiteral("FV-2004/17");
    d.HLA_DDO = QDate(2004, 3, 5);
    d.HLA_FAC = 1234.5;
    d.HLA_MEN = QStringLiteral("EUR");
    d.HLA_KUR = 25.5;
    d.HLA_EUR = 1234.5;
    d.HLA_NCA = 31479.75;
    d.supplier = PodkladSnapshot::Supplier{QStringLiteral("Žluťoučký kůň s.r.o."), QStringLiteral("Dlouhá 1"),
                                           QStringLiteral("Brno")};
    d.shop = {QStringLiteral("P01"), QStringLiteral("Prodejna Řevnice"), QStringLiteral("Náměstí 5"),
              QStringLiteral("Řevnice")};
    return d;
}

// An item with its totals as the item table calculates them.
PodkladSnapshot::Item item(int i, const QString &name, double ncs, double kus, double cnc, double cku)
{
    return {QStringLiteral("%1").arg(i, 6, 10, QChar(u'0')), name, ncs, kus, ncs * kus, cnc, cku, cku * cnc};
}

ReportDocument laidOut(const PodkladSnapshot &d)
{
    ReportDrawing r;
    LayoutPodklad(r, d);
    return r.Document();
}

void expectCells(const Line &line, const QVector<double> &lefts, const QVector<double> &widths, int lines, int shade,
                 int margin, double size)
{
    ASSERT_EQ(line.items.size(), lefts.size()) << line.texts().join('|').toStdString();
    for (int i = 0; i < lefts.size(); ++i) {
        const ReportItem &c = line.items[i];
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(c.kind, ReportItem::Cell);
        EXPECT_NEAR(c.left, lefts[i], kEps);
        EXPECT_NEAR(c.width, widths[i], kEps);
        EXPECT_EQ(c.lines, lines);
        EXPECT_EQ(c.shade, shade);
        EXPECT_EQ(c.margin, margin);
        // A text a little too wide for its cell ("Pobočka příjem" within the margins of
        // its 3 cm, "Počet OB" in 1 cm) is set a little smaller; the line keeps its height.
        EXPECT_EQ(c.font.name, QStringLiteral("Ariel CE"));
        EXPECT_FALSE(c.font.bold);
        EXPECT_EQ(c.font.charset, 238);
        EXPECT_LE(c.font.size, size);
        EXPECT_GT(c.font.size, 0.9 * size);
        EXPECT_NEAR(c.height, lh(size), kEps);
    }
}

const QVector<double> kFirstLefts{1.0, 2.3, 5.7, 8.2, 9.4, 12.2, 15.0, 16.2};
const QVector<double> kFirstWidths{1.3, 3.4, 2.5, 1.2, 2.8, 2.8, 1.2, 2.8};
const QVector<double> kLaterLefts{1.0, 2.3, 6.1, 8.6, 9.6, 12.4, 15.2, 16.2};
const QVector<double> kLaterWidths{1.3, 3.8, 2.5, 1.0, 2.8, 2.8, 1.0, 2.8};

TEST(PodkladLayout, EveryBlockOfAShortDocument)
{
    PodkladSnapshot d = document();
    for (int i = 1; i <= 2; ++i)
        d.items << item(i, QStringLiteral("Šroub %1").arg(i), 1000.0 + i, 1.5, 2.5, 12.0);
    const ReportDocument doc = laidOut(d);
    ASSERT_EQ(doc.pages.size(), 1);
    EXPECT_EQ(doc.orientation, QPageLayout::Portrait);
    const QVector<Line> lines = linesOf(doc.pages[0]);
    ASSERT_EQ(lines.size(), 1 + 4 + 5 + 1 + 2 + 2 + 6);

    // Title: two empty lines from the top, bold 13 points at 1 cm.
    const ReportItem &title = lines[0].items.at(0);
    EXPECT_EQ(title.kind, ReportItem::Text);
    EXPECT_EQ(title.text, QStringLiteral("Podklady přímu od dodavatele číslo : 0000000007"));
    EXPECT_NEAR(title.left, 1.0, kEps);
    EXPECT_NEAR(title.top, kTop + 2 * lh(13), kEps);
    EXPECT_EQ(title.font, (ReportFont{QStringLiteral("Ariel CE"), 13, true, 238}));

    // The supplier and shop box: one closed box of four lines, the shop from the first
    // owner record.
    double y = kTop + 3 * lh(13);
    const int sides = BoxLineLeft | BoxLineRight;
    const struct {
        int lines;
        QStringList texts;
    } box[] = {
        {sides | BoxLineTop, {"Dodavatel", "Žluťoučký kůň s.r.o.", "Pobočka příjem", "P01 Prodejna Řevnice"}},
        {sides, {"", "Dlouhá 1", "", "Náměstí 5 "}},
        {sides, {"", "Brno", "", "Řevnice"}},
        {sides | BoxLineBottom, {"", "", "", ""}},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(lines[1 + i].top, y + i * lh(11), kEps);
        EXPECT_EQ(lines[1 + i].texts(), box[i].texts);
        expectCells(lines[1 + i], {1.0, 4.0, 10.0, 13.0}, {3.0, 6.0, 3.0, 6.0}, box[i].lines, 0, 5, 11);
    }

    // The invoice block after two empty lines: label and value cells shaded 10 %.
    y += 6 * lh(11);
    const QStringList invoice[] = {{"Faktura", "FV-2004/17"},
                                   {"Přijato dne", "05.03.2004"},
                                   {"Celkem ", "1234,5 EUR"},
                                   {"Měna", "EUR"},
                                   {"Kurz", "25,5"}};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(lines[5 + i].top, y + i * lh(9), kEps);
        EXPECT_EQ(lines[5 + i].texts(), invoice[i]);
        expectCells(lines[5 + i], {1.0, 3.0}, {2.0, 3.8}, 0, 10, 0, 9);
    }

    // The column header two empty lines below, shaded, 6 points; the items at 8 points.
    y += 7 * lh(9);
    EXPECT_NEAR(lines[10].top, y, kEps);
    EXPECT_EQ(lines[10].texts(), (QStringList{"Karta", "Název zboží", "Nc/ob/Kč", "Počet OB", "NC/OB Celkem",
                                              "Nc/DJ/CM", "Počet DJ", "NC/DJ/CM Celkem"}));
    expectCells(lines[10], kFirstLefts, kFirstWidths, 0, 10, 0, 6);
    y += lh(6);
    EXPECT_NEAR(lines[11].top, y, kEps);
    EXPECT_EQ(lines[11].texts(), (QStringList{"000001", "Šroub 1", " 1001,00", "1,5", " 1501,50", "    2,50",
                                              "   12,00", "   30,00"}));
    expectCells(lines[11], kFirstLefts, kFirstWidths, 0, 0, 0, 8);
    EXPECT_EQ(lines[12].texts().at(0), QStringLiteral("000002"));
    QVector<TJustify> justify;
    for (const ReportItem &c : lines[11].items)
        justify << c.justify;
    EXPECT_EQ(justify, (QVector<TJustify>{pjLeft, pjLeft, pjRight, pjRight, pjRight, pjRight, pjRight, pjRight}));

    // The totals after an empty line, 11 points, in the columns of later pages.
    y += 3 * lh(8);
    EXPECT_NEAR(lines[13].top, y, kEps);
    EXPECT_EQ(lines[13].texts(), (QStringList{"Celkový součet hodnoty v EUR", "", "", "", "", "", "", " 1234,50"}));
    expectCells(lines[13], kLaterLefts, kLaterWidths, 0, 0, 0, 11);
    EXPECT_EQ(lines[14].texts(), (QStringList{"Celkový součet hodnoty v Kč", "", "", "", "31479,75"}));
    expectCells(lines[14], kLaterLefts.mid(0, 5), kLaterWidths.mid(0, 5), 0, 0, 0, 11);

    // The signature block: moved down until ten lines remained, six lines of two boxed
    // cells, drawn with a pen of 1/100 inch.
    const double signatureTop = lines[15].top;
    EXPECT_GT(signatureTop, lines[14].top + lh(11) - kEps);
    EXPECT_EQ(int((kBottom - signatureTop) / lh(11) + 1e-9), 10);
    const QStringList signature[] = {{"Zboží vydal, razítko a podpis :", "Zboží přijal, razítko a podpis :"},
                                     {"Dne :", "Dne :"}, {"", ""}, {"", ""}, {"", ""}, {"", ""}};
    const int signatureLines[] = {sides | BoxLineTop, sides, sides, sides, sides, sides | BoxLineBottom};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(lines[15 + i].top, signatureTop + i * lh(11), kEps);
        EXPECT_EQ(lines[15 + i].texts(), signature[i]);
        expectCells(lines[15 + i], {1.0, 10.0}, {9.0, 9.0}, signatureLines[i], 0, 5, 11);
        EXPECT_EQ(lines[15 + i].items[0].pen, (ReportPen{Qt::black, Qt::SolidLine, 1, pmCopy}));
    }
}

// Without the supplier the box and the invoice block are left out and the item table
// follows the title.
TEST(PodkladLayout, TheSupplierBoxNeedsTheSupplier)
{
    for (const bool found : {true, false}) {
        SCOPED_TRACE(found);
        PodkladSnapshot d = document();
        if (!found)
            d.supplier.reset();
        const QVector<Line> lines = linesOf(laidOut(d).pages.at(0));
        if (found) {
            EXPECT_EQ(lines.at(1).texts().at(1), QStringLiteral("Žluťoučký kůň s.r.o."));
            EXPECT_EQ(lines.at(5).texts().at(0), QStringLiteral("Faktura"));
        } else {
            EXPECT_EQ(lines.at(1).texts().at(0), QStringLiteral("Karta"));
            EXPECT_NEAR(lines.at(1).top, kTop + 3 * lh(13) + 2 * lh(13), kEps);
        }
    }
}

// A document without items (a new document printed before its first item): the column
// header, the totals and the signatures without item lines.
TEST(PodkladLayout, ADocumentWithoutItemsPrintsTheHeadersTheTotalsAndTheSignatures)
{
    const QVector<Line> lines = linesOf(laidOut(document()).pages.at(0));
    ASSERT_EQ(lines.size(), 1 + 4 + 5 + 1 + 2 + 6);
    EXPECT_EQ(lines[10].texts().at(0), QStringLiteral("Karta"));
    EXPECT_EQ(lines[11].texts().at(0), QStringLiteral("Celkový součet hodnoty v EUR"));
}

// Documents of several lengths: the item table breaks when no more than four lines are
// left and goes on after three empty lines under the header in the widths of later
// pages; the totals and the signatures stay together above the bottom limit, on a page
// of their own when the last items leave no room for them.
TEST(PodkladLayout, PageBreaks)
{
    PodkladSnapshot d = document();
    const struct {
        int items;
        int pages;
        bool totalsAlone;   // on a page without items
    } cases[] = {{0, 1, false}, {48, 1, false}, {50, 2, true}, {56, 2, true}, {57, 2, false}, {150, 3, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.items);
        for (int i = int(d.items.size()) + 1; i <= c.items; ++i)
            d.items << item(i, QStringLiteral("Položka %1").arg(i), 0, 1.0, 0, 0);
        const ReportDocument doc = laidOut(d);
        ASSERT_EQ(doc.pages.size(), c.pages);

        int seen = 0;
        for (int p = 0; p < doc.pages.size(); ++p) {
            SCOPED_TRACE(p);
            const QVector<Line> lines = linesOf(doc.pages[p]);
            for (const Line &l : lines)
                EXPECT_LE(l.top + l.items.at(0).height, kBottom + kEps) << l.texts().join('|').toStdString();
            int first = 0;
            if (p > 0 && lines.at(0).texts().at(0) == QStringLiteral("Karta")) {
                // A continued item table: header after three empty lines, later widths.
                EXPECT_NEAR(lines[0].top, kTop + 3 * lh(8), kEps);
                expectCells(lines[0], kLaterLefts, kLaterWidths, 0, 10, 0, 6);
                first = 1;
            }
            int lastItem = -1;
            for (int i = first; i < lines.size(); ++i) {
                const QString kav = lines[i].texts().at(0);
                if (lines[i].items.at(0).font.size != 8)
                    continue;
                EXPECT_EQ(kav, QStringLiteral("%1").arg(++seen, 6, 10, QChar(u'0')));
                expectCells(lines[i], p == 0 ? kFirstLefts : kLaterLefts, p == 0 ? kFirstWidths : kLaterWidths, 0, 0,
                            0, 8);
                lastItem = i;
            }
            const bool totalsHere = lines.last().texts().at(0).isEmpty() && lines.size() >= 8
                                    && lines[lines.size() - 8].texts().at(0).startsWith(QStringLiteral("Celkový"));
            const bool itemsGoOn = p + 1 < doc.pages.size()
                                   && linesOf(doc.pages[p + 1]).at(0).texts().at(0) == QStringLiteral("Karta");
            if (itemsGoOn) {
                // The break: more than four lines left before the last item, at most four after it.
                ASSERT_GE(lastItem, 0);
                const double t = lines[lastItem].top;
                EXPECT_GT(int((kBottom - t) / lh(8) + 1e-9), 4);
                EXPECT_LE(int((kBottom - t - lh(8)) / lh(8) + 1e-9), 4);
            }
            EXPECT_EQ(totalsHere, p + 1 == doc.pages.size());
            if (p + 1 == doc.pages.size() && c.totalsAlone) {
                EXPECT_LT(lastItem, 0);
                EXPECT_NEAR(lines[0].top, kTop + 3 * lh(11), kEps);
            }
        }
        EXPECT_EQ(seen, c.items);
    }
}

// A shop and a supplier with long names and items with long names and quantities of
// thousands, over several pages: every text stays in its cell, whole, in a smaller font
// where it must be. The PDF and its pages as pictures go to the test output folder.
TEST(PodkladLayout, LongNamesAndLargeQuantitiesStayInTheirCells)
{
    PodkladSnapshot d = document();
    d.shop = {QStringLiteral("0001"), QStringLiteral("Prodejna Brno - Královo Pole"),
              QStringLiteral("Palackého třída 1234/56"), QStringLiteral("Řevnice")};
    d.supplier = PodkladSnapshot::Supplier{QStringLiteral("Kuchyňské potřeby Kolář s.r.o."),
                                           QStringLiteral("Nádražní 1234/56"), QStringLiteral("Frýdek-Místek")};
    for (int i = 1; i <= 130; ++i)
        d.items << item(i, QStringLiteral("Hrnec smaltovaný %1 cm, víko").arg(i), 98765.43, 1500.25, 0.05, 12000.0 * i);
    const ReportDocument doc = laidOut(d);
    ASSERT_GE(doc.pages.size(), 2);
    textincells::expectTextsInTheirCells(doc);

    // Every value is there whole; the ones too wide for their cells in a smaller font.
    QStringList texts;
    double quantityFont = 0, shopFont = 0;
    for (const ReportPage &page : doc.pages)
        for (const ReportItem &item : page.items) {
            texts << item.text.trimmed();
            if (item.text.trimmed() == QStringLiteral("120000,00"))
                quantityFont = item.font.size;
            if (item.text == QStringLiteral("0001 Prodejna Brno - Královo Pole"))
                shopFont = item.font.size;
        }
    for (const char *text : {"Kuchyňské potřeby Kolář s.r.o.", "0001 Prodejna Brno - Královo Pole",
                             "Hrnec smaltovaný 130 cm, víko", "12000,00", "1560000,00", "1500,25"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    EXPECT_GT(quantityFont, ReportDrawing::kMinFontSize);
    EXPECT_LT(quantityFont, 8);
    EXPECT_GT(shopFont, 8);
    EXPECT_LT(shopFont, 11);

    // The PDF and its pages for a person to look at.
    textincells::keepLayoutForAPerson({QPageLayout::Portrait, [&d](ReportDrawing &r) { LayoutPodklad(r, d); }},
                                      QStringLiteral("podklad-long"));
}

// The preview of a run keeps the pages it was shown.
class PreviewScreens final : public TestScreens {
public:
    int previews = 0;
    ReportDocument shown;
    void ShowSestavyPreview(const TSestavy &report) override
    {
        ++previews;
        shown = report.Document();
    }
};

// The printout read from a real database of each engine.
class PodkladPrintTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0001"));
        FreshFirmSchema(data->Database, data->FirmNumber);
        reports = std::make_unique<TDataSestavy>();
        AppendRow(data->ffVlastnik, {{data->ffVlastnikVLA_JED, "P01"},
                                     {data->ffVlastnikVLA_NAC, "Prodejna Řevnice"},
                                     {data->ffVlastnikVLA_ULI, "Náměstí 5"},
                                     {data->ffVlastnikVLA_MES, "Řevnice"}});
        AppendRow(data->ffVlastnik, {{data->ffVlastnikVLA_JED, "P02"}, {data->ffVlastnikVLA_NAC, "Druhá"}});
        AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "7"}, {data->ffCiselnikCIS_ODB, 1.0}});
        AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000001"},
                                       {data->ffDodavateleDOD_FIR, "Žluťoučký kůň s.r.o."},
                                       {data->ffDodavateleDOD_ULI, "Dlouhá 1"},
                                       {data->ffDodavateleDOD_MES, "Brno"}});
        AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "12"},
                                       {data->ffDodavateleDOD_FIR, "Krátký kód"}});
    }
    void TearDown() override
    {
        reports.reset();
        data.reset();
        db.reset();
    }

    void addHeader(const QString &supplier)
    {
        AppendRow(data->ffPodklHlav, {{data->ffPodklHlavHLA_DO1, kDoc}, {data->ffPodklHlavHLA_ODB, supplier},
                                      {data->ffPodklHlavHLA_DO2, "FV-2004/17"},
                                      {data->ffPodklHlavHLA_DDO, QDate(2004, 3, 5)},
                                      {data->ffPodklHlavHLA_FAC, 1234.5}, {data->ffPodklHlavHLA_MEN, "EUR"},
                                      {data->ffPodklHlavHLA_KUR, 25.5}, {data->ffPodklHlavHLA_EUR, 1234.5},
                                      {data->ffPodklHlavHLA_NCA, 31479.75}});
    }
    void addItem(const QString &doc, int i)
    {
        AppendRow(data->ffPodklPol, {{data->ffPodklPolPOP_DOK, doc},
                                     {data->ffPodklPolPOP_KAV, QStringLiteral("%1").arg(i, 6, 10, QChar(u'0'))},
                                     {data->ffPodklPolPOP_NAC, QStringLiteral("Šroub %1").arg(i)},
                                     {data->ffPodklPolPOP_CKU, 12.0},
                                     {data->ffPodklPolPOP_CNC, 2.5}, {data->ffPodklPolPOP_KUS, 1.5},
                                     {data->ffPodklPolPOP_NCS, 1000.0 + i}});
    }

    // The header on the document; its items in range when `itemsOpen`.
    void standOnTheDocument(bool itemsOpen)
    {
        data->ffPodklHlav.Open();
        data->ffPodklHlav.SetIndexName(ix::ffPodklHlav::DO1);
        ASSERT_TRUE(data->ffPodklHlav.FindKey({kDoc}));
        if (!itemsOpen)
            return;
        store::Table &items = data->ffPodklPol;
        items.Open();
        items.SetIndexName(ix::ffPodklPol::DO1);
        items.SetRange({kDoc}, {kDoc});
    }

    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
    std::unique_ptr<TDataSestavy> reports;
    PreviewScreens screens;
};

// The header, the shop from the first owner record, the supplier and the items in range
// in their order with their calculated totals; the supplier register and the owner table
// are not touched. The command prints what it reads, in the preview.
TEST_P(PodkladPrintTest, ReadsTheDocumentAndPrintsWhatItRead)
{
    addHeader(QStringLiteral("000001"));
    addItem(kDoc, 1);
    addItem(QStringLiteral("0000000008"), 3);   // another document's
    addItem(kDoc, 2);
    standOnTheDocument(true);
    const PodkladSnapshot d = ReadPodklad(*data);
    EXPECT_EQ(d.HLA_DO1, kDoc);
    EXPECT_EQ(d.HLA_DO2, QStringLiteral("FV-2004/17"));
    EXPECT_EQ(d.HLA_DDO, QDate(2004, 3, 5));
    EXPECT_EQ(d.HLA_MEN, QStringLiteral("EUR"));
    EXPECT_EQ((std::vector<double>{d.HLA_FAC, d.HLA_KUR, d.HLA_EUR, d.HLA_NCA}),
              (std::vector<double>{1234.5, 25.5, 1234.5, 31479.75}));
    EXPECT_EQ((QStringList{d.shop.VLA_JED, d.shop.VLA_NAC, d.shop.VLA_ULI, d.shop.VLA_MES}),
              (QStringList{"P01", "Prodejna Řevnice", "Náměstí 5", "Řevnice"}));
    ASSERT_TRUE(d.supplier);
    EXPECT_EQ((QStringList{d.supplier->DOD_FIR, d.supplier->DOD_ULI, d.supplier->DOD_MES}),
              (QStringList{"Žluťoučký kůň s.r.o.", "Dlouhá 1", "Brno"}));
    ASSERT_EQ(d.items.size(), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const PodkladSnapshot::Item &it = d.items[i];
        EXPECT_EQ(it.POP_KAV, QStringLiteral("00000%1").arg(i + 1));
        EXPECT_EQ(it.POP_NAC, QStringLiteral("Šroub %1").arg(i + 1));
        EXPECT_EQ((std::vector<double>{it.POP_NCS, it.POP_KUS, it.POP_NCC, it.POP_CNC, it.POP_CKU, it.POP_CCC}),
                  (std::vector<double>{1001.0 + i, 1.5, (1001.0 + i) * 1.5, 2.5, 12, 30}));
    }
    EXPECT_FALSE(data->ffDodavatele.Active());
    EXPECT_FALSE(data->ffVlastnik.Active());

    reports->Sestavy.SystemSetups = 0;
    reports->PrintPodklad(*data);
    ASSERT_EQ(screens.previews, 1);
    EXPECT_EQ(textincells::placedTexts(screens.shown), textincells::placedTexts(laidOut(d)));
    EXPECT_FALSE(data->ffDodavatele.Active());
    EXPECT_FALSE(data->ffVlastnik.Active());
}

// The supplier is looked up by the header's code without its blanks; a code not in the
// register gives none. An owner table without records gives a shop of empty texts.
TEST_P(PodkladPrintTest, TheSupplierIsFoundByItsTrimmedCode)
{
    const struct {
        const char *stored;
        const char *firm;   // nullptr: not found
    } cases[] = {{"000001", "Žluťoučký kůň s.r.o."}, {"12    ", "Krátký kód"}, {" 12", "Krátký kód"}, {"000009", nullptr}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stored);
        data->ffPodklHlav.Open();
        if (!data->ffPodklHlav.IsEmpty()) {
            data->ffPodklHlav.First();
            data->ffPodklHlav.Delete();
        }
        data->ffPodklHlav.Close();
        addHeader(QString::fromLatin1(c.stored));
        standOnTheDocument(false);
        const PodkladSnapshot d = ReadPodklad(*data);
        EXPECT_EQ(d.supplier.has_value(), c.firm != nullptr);
        if (c.firm && d.supplier) {
            EXPECT_EQ(d.supplier->DOD_FIR, QString::fromUtf8(c.firm));
        }
    }

    store::Table &owner = data->ffVlastnik;
    owner.Open();
    while (!owner.IsEmpty()) {
        owner.First();
        owner.Delete();
    }
    owner.Close();
    const PodkladSnapshot d = ReadPodklad(*data);
    EXPECT_EQ((QStringList{d.shop.VLA_JED, d.shop.VLA_NAC, d.shop.VLA_ULI, d.shop.VLA_MES}),
              (QStringList{"", "", "", ""}));
}

// A new document printed before its first item: the item table is not open yet, and no
// items are read (it stays closed).
TEST_P(PodkladPrintTest, ADocumentWhoseItemsAreNotOpenReadsNoItems)
{
    addHeader(QStringLiteral("000001"));
    for (int i = 1; i <= 3; ++i)
        addItem(kDoc, i);   // written, but the item table is left closed
    standOnTheDocument(false);
    EXPECT_TRUE(ReadPodklad(*data).items.isEmpty());
    EXPECT_FALSE(data->ffPodklPol.Active());
}

INSTANTIATE_TEST_SUITE_P(Engines, PodkladPrintTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
