// The layout of the deliveries overview, by the laid-out pages of overviews built in
// memory: the title, the columns, the supplier blocks and subtotals, the grand total of
// an empty overview, the page break, and long names and large sums kept in their
// columns, with the pages as a PDF and pictures in the test output folder.

#include "overview_snapshot.h"
#include "text_in_cells.h"

#include <gtest/gtest.h>

using namespace overviewtest;

namespace {

ReportDocument laidOut(const OverviewSnapshot &overview)
{
    ReportDrawing r(QPageLayout::Landscape);
    LayoutOverview(r, overview);
    return r.Document();
}

TEST(OverviewLayout, PrintsLandscapeWithSupplierBlocksOnlyWhenSortedBySupplier)
{
    const ReportDocument doc = laidOut(periodOverview(BySupplier));
    EXPECT_EQ(doc.orientation, QPageLayout::Landscape);
    ASSERT_EQ(doc.pages.size(), 1);
    const ReportPage &page = doc.pages[0];

    // The title, placed at 1 cm in ArialCE 13, Central European.
    ASSERT_FALSE(page.items.isEmpty());
    const ReportItem &title = page.items[0];
    EXPECT_EQ(title.kind, ReportItem::Text);
    EXPECT_EQ(title.text, QStringLiteral("Přehled dodávek od 05.03.2004 do 07.03.2004 na skladu Prodejna Říčany"));
    EXPECT_DOUBLE_EQ(title.left, 1.0);
    EXPECT_EQ(title.font, (ReportFont{QStringLiteral("ArialCE"), 13, false, 238}));

    // Thirteen cells side by side from 1 cm, without box lines, shade or margin.
    const double widths[] = {1.75, 2.0, 4.0, 1.75, 1.85, 1.85, 1.85, 1.85, 1.85, 1.85, 1.85, 1.85, 1.85};
    double left = 1.0;
    int cell = 0;
    for (const ReportItem &item : page.items) {
        if (item.kind != ReportItem::Cell)
            continue;
        const int column = cell++ % 13;
        if (column == 0)
            left = 1.0;
        SCOPED_TRACE(item.text.toStdString());
        EXPECT_NEAR(item.left, left, 1e-9);
        EXPECT_NEAR(item.width, widths[column], 1e-9);
        EXPECT_EQ(item.justify, column < 4 ? pjLeft : pjRight);
        EXPECT_EQ(item.lines, 0);
        EXPECT_EQ(item.shade, 0);
        EXPECT_EQ(item.margin, 0);
        EXPECT_EQ(item.font, (ReportFont{QStringLiteral("ArialCE"), 9, false, 238}));
        left += widths[column];
    }

    const QStringList expected = {
        QStringLiteral("Datum|Doklad|Dodavatel|Fakt.dod.|Cel. Nc|Cel. PC|Zák 22%|Zák 5%|Zák 0%|Daň 22%|Daň 5%|Cel.fakt.|Diference"),
        QStringLiteral("07.03.2004|0000000102|Alfa Žluťoučký kůň||80,00|122,00|80,00|0,00|0,00|17,60|0,00|100,00|20,00"),
        QStringLiteral("Celkem dodavatel||||80,00|122,00|80,00|0,00|0,00|17,60|0,00|100,00|20,00"),
        QStringLiteral("05.03.2004|0000000101|Beta \"Brno\" s.r.o.|F-77|1234,50|1779,00|1000,00|234,50|0,00|220,00|11,73|1234,50|0,00"),
        QStringLiteral("06.03.2004|0000000103|Beta \"Brno\" s.r.o.|X9|40,00|45,00|0,00|0,00|40,00|0,00|0,00|50,00|10,00"),
        QStringLiteral("Celkem dodavatel||||1274,50|1824,00|1000,00|234,50|40,00|220,00|11,73|1284,50|10,00"),
        QStringLiteral("Celkem sestava||||1354,50|1946,00|1080,00|234,50|40,00|237,60|11,73|1384,50|30,00"),
    };
    EXPECT_EQ(joinedLines(page), expected) << joinedLines(page).join(QLatin1Char('\n')).toStdString();
    // "%8.2f": at least eight characters.
    const QVector<Line> lines = cellLines(page);
    EXPECT_EQ(page.items.last().text, QStringLiteral("   30,00"));
    // An empty line after each supplier's block but the last; the grand total follows
    // the last subtotal directly.
    const double height = lines[2].top - lines[1].top;
    EXPECT_GT(height, 0);
    EXPECT_NEAR(lines[3].top - lines[2].top, 2 * height, 1e-9);
    EXPECT_NEAR(lines[6].top - lines[5].top, height, 1e-9);

    const QStringList byNumber = joinedLines(laidOut(periodOverview(ByReceipt)).pages.value(0));
    ASSERT_EQ(byNumber.size(), 5);
    EXPECT_TRUE(byNumber[1].startsWith(QStringLiteral("05.03.2004|0000000101|")));
    EXPECT_TRUE(byNumber[2].startsWith(QStringLiteral("07.03.2004|0000000102|")));
    EXPECT_TRUE(byNumber[3].startsWith(QStringLiteral("06.03.2004|0000000103|")));
    EXPECT_TRUE(byNumber[4].startsWith(QStringLiteral("Celkem sestava|")));
    EXPECT_FALSE(byNumber.join(QLatin1Char('\n')).contains(QStringLiteral("Celkem dodavatel")));
}

// An overview without receipts: the heading and a grand total of zeros; sorted by
// supplier also one supplier subtotal of zeros before it.
TEST(OverviewLayout, AnOverviewWithoutReceiptsGivesTheHeadingAndZeroTotals)
{
    const QString zeros = QStringLiteral("||||0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00");
    const QString heading = QStringLiteral("Datum|Doklad|Dodavatel|Fakt.dod.|Cel. Nc|Cel. PC|Zák 22%|Zák 5%|Zák 0%|Daň 22%|Daň 5%|Cel.fakt.|Diference");
    const struct {
        int order;
        QStringList printed;
    } cases[] = {
        {ByReceipt, {heading, QStringLiteral("Celkem sestava") + zeros}},
        {BySupplier, {heading, QStringLiteral("Celkem dodavatel") + zeros, QStringLiteral("Celkem sestava") + zeros}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.order);
        const ReportDocument doc = laidOut({QDate(2005, 1, 1), QDate(2005, 1, 31), QStringLiteral("Prodejna"), c.order, {}});
        ASSERT_EQ(doc.pages.size(), 1);
        EXPECT_EQ(joinedLines(doc.pages[0]), c.printed);
    }
}

TEST(OverviewLayout, BreaksThePageWhenFewerThanThreeLinesRemain)
{
    const QDate day(2006, 6, 1);
    OverviewSnapshot overview{day, day, QStringLiteral("Prodejna Říčany"), ByReceipt, {}};
    for (int i = 1; i <= 70; ++i)
        overview.rows << OverviewRow{day, QString::asprintf("%010d", 1000 + i), QStringLiteral("000001"),
                                     QStringLiteral("Alfa Žluťoučký kůň"), QString(), 0, 0, 0, 0, 0, 0, 0, double(i)};
    const ReportDocument doc = laidOut(overview);
    ASSERT_EQ(doc.pages.size(), 2);
    const QVector<Line> first = cellLines(doc.pages[0]);
    const QVector<Line> second = cellLines(doc.pages[1]);
    const double height = first[1].top - first[0].top;
    const double bottom = doc.paperHeight - 2.0;

    // Every receipt once, in number order, over both pages.
    QStringList numbers;
    for (const QVector<Line> *page : {&first, &second})
        for (const Line &l : *page)
            if (l.cells.value(0) == QLatin1String("01.06.2006"))
                numbers << l.cells.value(1);
    ASSERT_EQ(numbers.size(), 70);
    for (int i = 0; i < 70; ++i)
        EXPECT_EQ(numbers[i], QString::asprintf("%010d", 1001 + i));

    // The first page is filled until fewer than three lines would remain below it.
    const double below = bottom - (first.last().top + height);
    EXPECT_GE(below, 2 * height - 1e-9);
    EXPECT_LT(below, 3 * height);
    // The second page: two empty lines from its top, the heading again, the rest, the total.
    EXPECT_EQ(second[0].cells.value(0), QStringLiteral("Datum"));
    EXPECT_NEAR(second[0].top, 2.0 + 2 * height, 1e-6);
    EXPECT_TRUE(second.last().cells.value(0).startsWith(QStringLiteral("Celkem sestava")));
    for (const ReportPage &page : doc.pages)
        for (const ReportItem &item : page.items)
            EXPECT_LE(item.top + item.height, bottom + 1e-9);
}

// Suppliers with names of the field's full length, invoice numbers of ten digits, sums in
// the millions and an invoiced amount that its lines meet only up to binary residue
// (5821.16 against 1940.38 + 1940.39 + 1940.39 = 5821.160000000001): every text stays in
// its column, the residue prints as 0,00, and the pages go as a PDF and pictures to the
// test output folder.
TEST(OverviewLayout, LongNamesLargeSumsAndAResidueStayInTheirColumns)
{
    const QDate day(2004, 4, 1);
    const char *names[] = {"Kuchyňské potřeby Kolář s.r.o.", "Wolfsburger Großhandel Küchen", "Mlýn Šťáhlavy a.s."};
    OverviewSnapshot overview{day, day.addDays(30), QStringLiteral("Prodejna Říčany"), BySupplier, {}};
    // By supplier, then by number: the receipts of each supplier together.
    for (int supplier = 1; supplier <= 3; ++supplier) {
        for (int i = supplier - 1; i < 45; i += 3) {
            OverviewRow row{day.addDays(i == 7 ? 0 : i % 20), QStringLiteral("%1").arg(200 + i, 10, 10, QChar(u'0')),
                            QStringLiteral("%1").arg(supplier, 6, 10, QChar(u'0')), QString::fromUtf8(names[i % 3]),
                            QString::number(62519350 + i).prepend(QStringLiteral("FV"))};
            // The values as the value computation sums the receipt's lines at 22 %.
            double purchase = 0, sale = 0;
            if (i == 7) {
                for (double part : {1940.38, 1940.39, 1940.39}) {
                    purchase += part;
                    sale += part * 1.21;
                }
                row.CelFac = 5821.16;
            } else {
                purchase = 9876543.21;
                sale = 12345678.9;
                row.CelFac = 9876543.21 + i;
            }
            row.CelkemNC = row.Zaklad22 = purchase;
            row.CelkemPC = sale + 22 * (sale / 100);
            row.Dan22 = purchase / 100 * 22;
            overview.rows << row;
        }
    }
    const ReportDocument doc = laidOut(overview);
    ASSERT_GE(doc.pages.size(), 2);
    textincells::expectTextsInTheirCells(doc);

    QStringList lines;
    for (const ReportPage &page : doc.pages)
        lines << joinedLines(page);
    const QString printed = lines.join(QLatin1Char('\n'));
    EXPECT_FALSE(printed.contains(QStringLiteral("-0,00"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("|0000000207|Wolfsburger Großhandel Küchen|FV62519357|5821,16|")))
        << printed.toStdString();
    const QString residue = lines.filter(QStringLiteral("|0000000207|")).value(0);
    EXPECT_TRUE(residue.endsWith(QStringLiteral("|5821,16|0,00"))) << residue.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("|Kuchyňské potřeby Kolář s.r.o.|FV62519350|9876543,21|")));

    textincells::keepLayoutForAPerson(
        {QPageLayout::Landscape, [&overview](ReportDrawing &r) { LayoutOverview(r, overview); }},
        QStringLiteral("overview-long"));
}

} // namespace
