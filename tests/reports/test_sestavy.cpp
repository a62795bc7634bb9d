// The report engine: the drawing operations as the laid-out pages record them (cells,
// box lines, shades, fonts, positions, lines remaining, pages), the order of a run with
// its windows played by a script, and the file destination as a real PDF read back.

#include "testscreens.h"

#include "core/errors.h"
#include "reports/sestavy.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr double kEps = 1e-9;
// Line height of a font size in cm: 1.2 × the size in points.
double lineHeight(double points) { return points * 1.2 * 2.54 / 72.0; }

// Plays the windows of a run and records what was shown.
class RunScreens final : public TestScreens {
public:
    std::function<int(TSestavySetup &)> nastaveni;
    QStringList shown;
    QStringList progress;

    int ShowSestavySetup(TSestavySetup &setup) override
    {
        shown << QStringLiteral("nastaveni");
        return nastaveni ? nastaveni(setup) : unexpected("nastaveni");
    }
    std::unique_ptr<TSestavyProgress> ShowSestavyProgress() override
    {
        return std::make_unique<Progress>(progress);
    }
    void ShowSestavyPreview(const TSestavy &) override { shown << QStringLiteral("nahled"); }
    void PrintSestavy(const TSestavy &) override { shown << QStringLiteral("tiskarna"); }

private:
    class Progress final : public TSestavyProgress {
    public:
        explicit Progress(QStringList &texts) : m_texts(texts) {}
        void Show(const QString &text) override { m_texts << text; }

    private:
        QStringList &m_texts;
    };
};

TEST(Sestavy, ATabbedLinePlacesItsCellsWithBoxesShadesAndTheFont)
{
    ReportDrawing r;
    r.SetPageMargins(2.0, 1.0, 3.0, 2.0);
    r.ToPageTop();
    r.SelectFont(QStringLiteral("Ariel CE"), 10);
    r.SelectCharset(238);
    r.SetBold(true);
    r.AddTabStop(AfterPrevious, pjLeft, 3.0, 5, BoxLineLeft | BoxLineRight | BoxLineTop | BoxLineBottom, 20);
    r.AddTabStop(AfterPrevious, pjRight, 2.0, 0, BoxLineBottom, 0);
    r.SelectPen(Qt::red, Qt::DashLine, 3, pmCopy);
    r.AddTabStop(10.0, pjLeft, 1.5, 7, BoxLineTop, 10);
    r.PrintTabbedLine(QStringLiteral("vpředu\tŽluťoučký\t12,50\tC\tza posledním"));

    const QVector<ReportItem> &items = r.Document().pages.at(0).items;
    ASSERT_EQ(items.size(), 5);
    const ReportFont bold{QStringLiteral("Ariel CE"), 10, true, 238};
    const double top = 3.0, height = lineHeight(10);
    struct Expected {
        ReportItem::Kind kind;
        double left, width;
        QString text;
        TJustify justify;
        int margin, lines, shade;
    } expected[] = {
        {ReportItem::Text, 2.0, 0, QStringLiteral("vpředu"), pjLeft, 0, 0, 0},   // from the left margin
        {ReportItem::Cell, 2.0, 3.0, QStringLiteral("Žluťoučký"), pjLeft, 5, 15, 20},
        {ReportItem::Cell, 5.0, 2.0, QStringLiteral("12,50"), pjRight, 0, BoxLineBottom, 0},
        {ReportItem::Cell, 10.0, 1.5, QStringLiteral("C"), pjLeft, 7, BoxLineTop, 10},
        {ReportItem::Text, 11.5, 0, QStringLiteral("za posledním"), pjLeft, 0, 0, 0},   // no stop left
    };
    for (int i = 0; i < 5; ++i) {
        const ReportItem &it = items[i];
        const Expected &e = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(it.kind, e.kind);
        EXPECT_NEAR(it.left, e.left, kEps);
        EXPECT_NEAR(it.width, e.width, kEps);
        EXPECT_NEAR(it.top, top, kEps);
        EXPECT_NEAR(it.height, height, kEps);
        EXPECT_EQ(it.text, e.text);
        EXPECT_EQ(it.justify, e.justify);
        EXPECT_EQ(it.margin, e.margin);
        EXPECT_EQ(it.lines, e.lines);
        EXPECT_EQ(it.shade, e.shade);
        if (i == 0) {
            // Its cell starts where it does: no room, the smallest font, cut away.
            EXPECT_EQ(it.room, 0);
            EXPECT_EQ(it.font, (ReportFont{QStringLiteral("Ariel CE"), ReportDrawing::kMinFontSize, true, 238}));
        } else {
            EXPECT_EQ(it.font, bold);
        }
    }
    // The pen in force when the line was printed draws every box of it.
    EXPECT_EQ(items[1].pen, (ReportPen{Qt::red, Qt::DashLine, 3, pmCopy}));
    EXPECT_NEAR(r.LineTop(), top + height, kEps);   // then the next line

    // PrintAt stays on its line; SelectFont resets bold and the character set.
    r.SelectFont(QStringLiteral("ArialCE"), 13);
    r.PrintAt(QStringLiteral("Titul"), 7.5);
    EXPECT_NEAR(r.LineTop(), top + height, kEps);
    const ReportItem &title = r.Document().pages.at(0).items.last();
    EXPECT_EQ(title.kind, ReportItem::Text);
    EXPECT_NEAR(title.left, 7.5, kEps);
    EXPECT_EQ(title.font, (ReportFont{QStringLiteral("ArialCE"), 13, false, 1}));
    EXPECT_NEAR(title.height, lineHeight(13), kEps);

    r.ClearTabStops();
    r.PrintTabbedLine(QStringLiteral("\tbez zarážek"));
    EXPECT_EQ(r.Document().pages.at(0).items.last().kind, ReportItem::Text);
}

// The room of each text and the font it is set in: a text that fits keeps its font; a
// wider one shrinks until it fits; a left-aligned one runs on over empty cells, but not
// across a box line or into a cell with text; one that does not fit even in the
// smallest font keeps that font and its room, and is cut when painted.
TEST(Sestavy, ATextTooWideForItsRoomIsSetSmaller)
{
    const QString name = QStringLiteral("Kuchyňské potřeby Kolář s.r.o.");
    const double nameWidth = ReportTextWidth(ReportFont{QStringLiteral("ArialCE"), 9, false, 238}, name);
    ASSERT_GT(nameWidth, 4.0);
    ASSERT_LT(nameWidth, 5.5);
    struct Case {
        const char *what;
        QString line;
        int lines;        // box lines of every cell
        double room;      // of the first cell's text
        bool shrunk;
    } cases[] = {
        {"fits", QStringLiteral("\tKolář\tFV1\t1,00"), 0, 3.9, false},
        {"runs on over an empty cell", QLatin1Char('\t') + name + QStringLiteral("\t\t1,00"), 0, 5.65, false},
        {"stops at the next text", QLatin1Char('\t') + name + QStringLiteral("\tFV62519350\t1,00"), 0, 3.9, true},
        {"stops at a box line", QLatin1Char('\t') + name + QStringLiteral("\t\t1,00"), BoxLineLeft | BoxLineRight,
         3.9, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ReportDrawing r;
        r.SelectFont(QStringLiteral("ArialCE"), 9);
        r.AddTabStop(1.0, pjLeft, 4.0, 0, c.lines, 0);
        r.AddTabStop(AfterPrevious, pjLeft, 1.75, 0, c.lines, 0);
        r.AddTabStop(AfterPrevious, pjRight, 1.85, 0, c.lines, 0);
        r.PrintTabbedLine(c.line);
        const ReportItem &first = r.Document().pages.at(0).items.at(0);
        EXPECT_NEAR(first.room, c.room, kEps);
        EXPECT_LE(ReportTextWidth(first.font, first.text), first.room);
        EXPECT_EQ(first.font.size < 9, c.shrunk) << first.font.size;
        EXPECT_GT(first.font.size, 7.5);
    }

    // A right-aligned number too wide for its cell, and one too wide even in the smallest
    // font, which keeps the smallest font and its room.
    ReportDrawing r;
    r.SelectFont(QStringLiteral("Ariel CE"), 8);
    r.AddTabStop(1.0, pjRight, 1.0, 0, 0, 0);
    r.PrintTabbedLine(QStringLiteral("\t12000,00"));
    r.PrintTabbedLine(QStringLiteral("\t123456789012345,00"));
    const ReportItem &quantity = r.Document().pages.at(0).items.at(0);
    EXPECT_LT(quantity.font.size, 8);
    EXPECT_GT(quantity.font.size, 5.5);
    EXPECT_LE(ReportTextWidth(quantity.font, quantity.text), 0.9);   // 1 mm clear on its left
    const ReportItem &huge = r.Document().pages.at(0).items.at(1);
    EXPECT_EQ(huge.font.size, ReportDrawing::kMinFontSize);
    EXPECT_NEAR(huge.room, 0.9, kEps);
    EXPECT_GT(ReportTextWidth(huge.font, huge.text), 0.9);
}

// Lines of the current height above the bottom limit: the paper's border, or a larger
// bottom margin; the top line likewise. NewLine never starts a page, NewPage does.
TEST(Sestavy, LinesRemainingFollowsTheFontTheMarginsAndTheOrientation)
{
    struct Case {
        const char *name;
        QPageLayout::Orientation orientation;
        double top, bottom;   // margins
        double fontSize;
        double firstLine, bottomLimit;
    } cases[] = {
        {"portrait without margins", QPageLayout::Portrait, 0, 0, 10, 1.0, 28.7},
        {"portrait with margins", QPageLayout::Portrait, 2.0, 2.0, 8, 2.0, 27.7},
        {"margins inside the border", QPageLayout::Portrait, 0.5, 0.3, 11, 1.0, 28.7},
        {"landscape with margins", QPageLayout::Landscape, 2.0, 2.0, 9, 2.0, 19.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TSestavy run;
        RunScreens screens;
        const ReportLayout report{c.orientation, [&](ReportDrawing &r) {
            r.SetPageMargins(1.0, 1.0, c.top, c.bottom);
            r.SelectFont(QStringLiteral("Ariel CE"), c.fontSize);
            r.ToPageTop();
            EXPECT_NEAR(r.LineTop(), c.firstLine, kEps);
            const int lines = int((c.bottomLimit - c.firstLine) / lineHeight(c.fontSize) + kEps);
            EXPECT_EQ(r.LinesRemaining(), lines);
            for (int i = 0; i < lines - 1; ++i)
                r.NewLine();
            EXPECT_EQ(r.LinesRemaining(), 1);   // the current line still fits
            r.NewLine();
            EXPECT_EQ(r.LinesRemaining(), 0);
            r.NewLine();
            r.NewLine();
            EXPECT_EQ(r.LinesRemaining(), 0);   // below the limit
            EXPECT_EQ(r.Document().pages.size(), 1);
            r.NewPage();
            EXPECT_EQ(r.Document().pages.size(), 2);
            EXPECT_NEAR(r.LineTop(), c.firstLine, kEps);
            EXPECT_EQ(r.LinesRemaining(), lines);
        }};
        run.SystemSetups = 0;
        run.Execute(report);
        const bool landscape = c.orientation == QPageLayout::Landscape;
        EXPECT_EQ(run.Document().orientation, c.orientation);
        EXPECT_NEAR(run.Document().paperWidth, landscape ? 29.7 : 21.0, kEps);
        EXPECT_NEAR(run.Document().paperHeight, landscape ? 21.0 : 29.7, kEps);
    }
}

// The order of a run: destination from the default, the setup dialog only when the
// choices include it (Storno: nothing generated, nothing sent), every page generated
// under the progress window, then the destination.
TEST(Sestavy, ARunGoesThroughTheSetupToItsDestination)
{
    struct Case {
        const char *name;
        int setups;
        TDestination requested;
        int answer;                  // of the setup dialog
        TDestination chosen;         // in the setup dialog
        QStringList windows;
        bool generated;
    } cases[] = {
        {"setups cleared: straight to the preview", 0, TDestination::Printer, mrNone, TDestination::Preview,
         {"nahled"}, true},
        {"setup dialog, preview kept", ssAll, TDestination::Preview, mrOk, TDestination::Preview,
         {"nastaveni", "nahled"}, true},
        {"setup dialog, printer chosen", ssAll, TDestination::Preview, mrOk, TDestination::Printer,
         {"nastaveni", "tiskarna"}, true},
        {"setup dialog cancelled", ssAll, TDestination::Printer, mrCancel, TDestination::Printer, {"nastaveni"}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RunScreens screens;
        screens.nastaveni = [&](TSestavySetup &setup) {
            EXPECT_EQ(setup.destination, TDestination::Preview);   // the default, whatever was requested
            EXPECT_EQ(setup.choices, c.setups);
            EXPECT_EQ(setup.copies, 1);
            setup.destination = c.chosen;
            setup.copies = 3;
            return c.answer;
        };
        TSestavy r;
        r.SystemSetups = c.setups;
        r.RequestedDestination = c.requested;
        int calls = 0;
        r.Execute({QPageLayout::Portrait, [&](ReportDrawing &d) {
                       ++calls;
                       d.PrintAt(QStringLiteral("1"), 1);
                       d.NewPage();
                       d.PrintAt(QStringLiteral("2"), 1);
                       d.NewPage();
                   }});
        EXPECT_EQ(screens.shown, c.windows);
        EXPECT_EQ(calls, c.generated ? 1 : 0);
        if (c.generated) {
            EXPECT_EQ(r.Document().pages.size(), 3);
            EXPECT_EQ(screens.progress, (QStringList{"Generuji stranu 1", "Generuji stranu 2", "Generuji stranu 3"}));
        } else {
            EXPECT_TRUE(screens.progress.isEmpty());
        }
        if (c.answer == mrOk) {
            EXPECT_EQ(r.Setup().copies, 3);
        }
    }
}

// A page of every kind of thing, written as a PDF file.
void drawSample(ReportDrawing &r)
{
    r.SelectFont(QStringLiteral("Ariel CE"), 13);
    r.SelectCharset(238);
    r.ToPageTop();
    r.PrintAt(QStringLiteral("Příliš žluťoučký kůň"), 1.0);
    r.NewLine();
    r.SelectFont(QStringLiteral("ArialCE"), 11);
    r.SelectCharset(238);
    r.AddTabStop(2.0, pjLeft, 6.0, 5, BoxLineLeft | BoxLineRight | BoxLineTop | BoxLineBottom, 0);
    r.AddTabStop(AfterPrevious, pjRight, 6.0, 5, 0, 50);
    r.PrintTabbedLine(QStringLiteral("\tv rámečku\tstínováno"));
    r.NewPage();
    r.PrintAt(QStringLiteral("Druhá strana"), 1.0);
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(Sestavy, TheFileDestinationWritesTheWholePdf)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sestava.pdf"));
    RunScreens screens;
    TSestavy r;
    r.SystemSetups = 0;
    r.DefaultDestination = TDestination::File;
    r.OutputFileName = pdf;
    r.Execute({QPageLayout::Portrait, drawSample});
    EXPECT_TRUE(screens.shown.isEmpty());
    EXPECT_EQ(screens.progress, (QStringList{"Generuji stranu 1", "Generuji stranu 2", "Tisknu stranu 1", "Tisknu stranu 2"}));

    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Příliš žluťoučký kůň"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("stínováno")));
    EXPECT_EQ(text.count(QChar(u'\f')), 2) << "two pages";

    // The first page at 50 dpi (a cm is 19.7 pixels): the box's left line is black, the
    // shaded cell grey, the paper around white.
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-f"),
                                              QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                              QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                                              dir.filePath(QStringLiteral("strana"))});
    ASSERT_TRUE(render.waitForFinished(30000));
    const QImage page(dir.filePath(QStringLiteral("strana.png")));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 21.0 / 2.54 * 50, 1);
    const double px = 50 / 2.54;
    const double lineY = 1.0 + lineHeight(13) + lineHeight(11) / 2;   // middle of the boxed line
    auto grey = [&](double xCm, double yCm) { return qGray(page.pixel(int(xCm * px), int(yCm * px))); };
    EXPECT_LT(grey(2.0, lineY), 128) << "box line";
    EXPECT_NEAR(grey(9.0, lineY), 128, 20) << "50 % shade (the text is at the cell's right)";
    EXPECT_GT(grey(19.5, lineY), 250) << "paper";
}

TEST(Sestavy, AFileThatFailsLeavesNothingBehind)
{
    QTemporaryDir dir;
    RunScreens screens;
    TSestavy r;
    r.SystemSetups = 0;
    r.DefaultDestination = TDestination::File;

    // The report fails while it is generated: an existing file stays as it was.
    const QString existing = dir.filePath(QStringLiteral("stara.pdf"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("stará sestava");
    }
    r.OutputFileName = existing;
    const ReportLayout failing{QPageLayout::Portrait, [](ReportDrawing &d) {
                                   drawSample(d);
                                   throw AppError(QStringLiteral("chyba tabulky"));
                               }};
    EXPECT_THROW(r.Execute(failing), AppError);
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("stará sestava"));

    // A directory that does not exist: the error names the file.
    const QString missing = dir.filePath(QStringLiteral("neni/sestava.pdf"));
    r.OutputFileName = missing;
    try {
        r.Execute({QPageLayout::Portrait, drawSample});
        ADD_FAILURE() << "no error";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().contains(missing)) << e.text().toStdString();
    }
    EXPECT_FALSE(QFile::exists(missing));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
