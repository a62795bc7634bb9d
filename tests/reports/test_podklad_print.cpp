// The printout of a source document, by its laid-out pages, on a real database of each
// engine: every block with its positions, cells, box lines, shades and fonts; the
// supplier found by a trimmed code or left out; the page breaks of the item table and
// of the totals with the signatures; long names and large quantities kept inside their
// cells, with the pages as a PDF and pictures in the test output folder.

#include "firm_tables.h"
#include "store_test_support.h"
#include "testscreens.h"
#include "text_in_cells.h"

#include "reports/data_sestavy.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <QDate>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace ix = store::tables::index;

using storetest::Backend;

namespace {

constexpr double kEps = 1e-6;
constexpr double kTop = 1.0, kBottom = 28.7;   // first line and bottom limit of an A4 page
double lh(double points) { return points * 1.2 * 2.54 / 72.0; }

const QString kDoc = QStringLiteral("0000000007");

// The preview of the run keeps the pages it was shown.
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
    void addItems(int count)
    {
        for (int i = 1; i <= count; ++i)
            AppendRow(data->ffPodklPol, {{data->ffPodklPolPOP_DOK, kDoc},
                                         {data->ffPodklPolPOP_KAV, QStringLiteral("%1").arg(i, 6, 10, QChar(u'0'))},
                                         {data->ffPodklPolPOP_NAC, QStringLiteral("Šroub %1").arg(i)},
                                         {data->ffPodklPolPOP_CKU, 12.0},
                                         {data->ffPodklPolPOP_CNC, 2.5}, {data->ffPodklPolPOP_KUS, 1.5},
                                         {data->ffPodklPolPOP_NCS, 1000.0 + i}});
    }

    // Prints the document as F8 does, with the setup choices cleared, and returns the
    // pages the preview was shown.
    ReportDocument print()
    {
        run();
        EXPECT_EQ(screens.previews, 1);
        return screens.shown;
    }

    // Runs the printout of the document to the engine's destination.
    void run()
    {
        data->ffPodklHlav.Open();
        data->ffPodklHlav.SetIndexName(ix::ffPodklHlav::DO1);
        EXPECT_TRUE(data->ffPodklHlav.FindKey({kDoc}));
        store::Table &items = data->ffPodklPol;
        items.Open();
        items.SetIndexName(ix::ffPodklPol::DO1);
        items.SetRange({kDoc}, {kDoc});
        reports->Sestavy.SystemSetups = 0;
        reports->ReportKind = TDataSestavy::rkPodklad;
        reports->Sestavy.Execute();
        items.Close();
        data->ffPodklHlav.Close();
        EXPECT_FALSE(data->ffDodavatele.Active());   // given back closed, as found
        EXPECT_FALSE(data->ffVlastnik.Active());
    }

    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
    std::unique_ptr<TDataSestavy> reports;
    PreviewScreens screens;
};

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

TEST_P(PodkladPrintTest, EveryBlockOfAShortDocument)
{
    addHeader(QStringLiteral("000001"));
    addItems(2);
    const ReportDocument doc = print();
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

// The supplier is looked up by the trimmed code; without it the box and the invoice
// block are left out and the item table follows the title.
TEST_P(PodkladPrintTest, TheSupplierBoxNeedsTheSupplier)
{
    AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "12"},
                                   {data->ffDodavateleDOD_FIR, "Krátký kód"}});
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
        screens.previews = 0;
        const QVector<Line> lines = linesOf(print().pages.at(0));
        if (c.firm) {
            EXPECT_EQ(lines.at(1).texts().at(1), QString::fromUtf8(c.firm));
            EXPECT_EQ(lines.at(5).texts().at(0), QStringLiteral("Faktura"));
        } else {
            EXPECT_EQ(lines.at(1).texts().at(0), QStringLiteral("Karta"));
            EXPECT_NEAR(lines.at(1).top, kTop + 3 * lh(13) + 2 * lh(13), kEps);
        }
    }
}

// A new document printed before its first item: the item table is not open yet, and the
// printout has the column header, the totals and the signatures without item lines.
TEST_P(PodkladPrintTest, ADocumentWhoseItemsAreNotOpenPrintsNoItems)
{
    addHeader(QStringLiteral("000001"));
    addItems(3);   // written, but the item table is left closed
    data->ffPodklHlav.Open();
    data->ffPodklHlav.SetIndexName(ix::ffPodklHlav::DO1);
    ASSERT_TRUE(data->ffPodklHlav.FindKey({kDoc}));
    reports->Sestavy.SystemSetups = 0;
    reports->ReportKind = TDataSestavy::rkPodklad;
    reports->Sestavy.Execute();
    ASSERT_EQ(screens.previews, 1);
    const QVector<Line> lines = linesOf(screens.shown.pages.at(0));
    ASSERT_EQ(lines.size(), 1 + 4 + 5 + 1 + 2 + 6);
    EXPECT_EQ(lines[10].texts().at(0), QStringLiteral("Karta"));
    EXPECT_EQ(lines[11].texts().at(0), QStringLiteral("Celkový součet hodnoty v EUR"));
    EXPECT_FALSE(data->ffPodklPol.Active());
}

// Documents of several lengths: the item table breaks when no more than four lines are
// left and goes on after three empty lines under the header in the widths of later
// pages; the totals and the signatures stay together above the bottom limit, on a page
// of their own when the last items leave no room for them.
TEST_P(PodkladPrintTest, PageBreaks)
{
    addHeader(QStringLiteral("000001"));
    const struct {
        int items;
        int pages;
        bool totalsAlone;   // on a page without items
    } cases[] = {{0, 1, false}, {48, 1, false}, {50, 2, true}, {56, 2, true}, {57, 2, false}, {150, 3, false}};
    int added = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.items);
        for (int i = added + 1; i <= c.items; ++i)
            AppendRow(data->ffPodklPol, {{data->ffPodklPolPOP_DOK, kDoc},
                                         {data->ffPodklPolPOP_KAV, QStringLiteral("%1").arg(i, 6, 10, QChar(u'0'))},
                                         {data->ffPodklPolPOP_NAC, QStringLiteral("Položka %1").arg(i)},
                                         {data->ffPodklPolPOP_KUS, 1.0}});
        added = c.items;
        screens.previews = 0;
        const ReportDocument doc = print();
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
TEST_P(PodkladPrintTest, LongNamesAndLargeQuantitiesStayInTheirCells)
{
    store::Table &owner = data->ffVlastnik;
    owner.Open();
    owner.First();
    owner.Edit();
    data->ffVlastnikVLA_JED.SetAsString(QStringLiteral("0001"));
    data->ffVlastnikVLA_NAC.SetAsString(QStringLiteral("Prodejna Brno - Královo Pole"));
    data->ffVlastnikVLA_ULI.SetAsString(QStringLiteral("Palackého třída 1234/56"));
    owner.Post();
    owner.Close();
    AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000009"},
                                   {data->ffDodavateleDOD_FIR, "Kuchyňské potřeby Kolář s.r.o."},
                                   {data->ffDodavateleDOD_ULI, "Nádražní 1234/56"},
                                   {data->ffDodavateleDOD_MES, "Frýdek-Místek"}});
    addHeader(QStringLiteral("000009"));
    for (int i = 1; i <= 130; ++i)
        AppendRow(data->ffPodklPol, {{data->ffPodklPolPOP_DOK, kDoc},
                                     {data->ffPodklPolPOP_KAV, QStringLiteral("%1").arg(i, 6, 10, QChar(u'0'))},
                                     {data->ffPodklPolPOP_NAC, QStringLiteral("Hrnec smaltovaný %1 cm, víko").arg(i)},
                                     {data->ffPodklPolPOP_CKU, 12000.0 * i}, {data->ffPodklPolPOP_CNC, 0.05},
                                     {data->ffPodklPolPOP_KUS, 1500.25}, {data->ffPodklPolPOP_NCS, 98765.43}});
    const ReportDocument doc = print();
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
    EXPECT_GT(quantityFont, TSestavy::kMinFontSize);
    EXPECT_LT(quantityFont, 8);
    EXPECT_GT(shopFont, 8);
    EXPECT_LT(shopFont, 11);

    // The PDF and its pages for a person to look at.
    const QTemporaryDir scratch;
    reports->Sestavy.DefaultDestination = TDestination::File;
    reports->Sestavy.OutputFileName = scratch.filePath(QStringLiteral("podklad.pdf"));
    run();
    textincells::keepForAPerson(reports->Sestavy.OutputFileName,
                                QStringLiteral("podklad-long-") +
                                    QString::fromStdString(storetest::engineName({GetParam(), 0})));
}

INSTANTIATE_TEST_SUITE_P(Engines, PodkladPrintTest, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
