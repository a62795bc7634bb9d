#pragma once
// The drawing operations of a report and the pages they lay out. A layout draws through
// ReportDrawing; positions and widths are in centimetres from the left and top edges of
// the paper (A4); the line height follows the font (1.2 × its size).
//
// The operations do not paint: they place texts and cells with their fonts, box lines
// and shades on pages (ReportDocument), which tests read as they are and which the
// report's run (TSestavy) paints onto the preview, the printer or a PDF file. QtGui only
// (the fonts measure the texts); no database, no windows.

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QString>
#include <QVector>
#include <functional>

// Alignment of the text in a tab stop's cell.
enum TJustify { pjLeft, pjRight };

// Box lines of a tab stop's cell, summed.
enum TBoxLine { BoxLineLeft = 1, BoxLineRight = 2, BoxLineTop = 4, BoxLineBottom = 8 };

// The raster operation of the pen; the reports draw in plain copy.
enum TPenMode { pmCopy };

// AddTabStop's Pos for a cell that starts at the right edge of the previous one (at the
// left page margin for the first stop).
inline constexpr double AfterPrevious = -32768;

// The font of a text as the report asked for it.
struct ReportFont {
    QString name;
    double size = 10;     // points
    bool bold = false;
    int charset = 1;      // 1 = default; 238 = Central European
    bool operator==(const ReportFont &) const = default;
};

// The pen of box lines.
struct ReportPen {
    QColor color = Qt::black;
    Qt::PenStyle style = Qt::SolidLine;
    int width = 1;        // hundredths of an inch
    TPenMode mode = pmCopy;
    bool operator==(const ReportPen &) const = default;
};

// One thing placed on a page: a text (PrintAt, or the text before the first tab of a
// tabbed line) or a tab stop's cell (box lines, shade and its text). Positions in cm
// from the paper's top-left corner; a text's box is its line: top, line height.
struct ReportItem {
    enum Kind { Text, Cell };
    Kind kind = Text;
    double left = 0, top = 0, width = 0, height = 0;
    QString text;
    TJustify justify = pjLeft;
    int margin = 0;       // cells: inset of the text from the cell's edge, 1/100 inch
    int lines = 0;        // cells: TBoxLine sum
    int shade = 0;        // cells: grey fill in percent
    // The width the text may take (cm): a cell's width less its two margins (or, without
    // a margin, less 1 mm on the side away from its alignment), for a
    // left-aligned text together with the empty cells it runs on over (never across a box
    // line or into a cell with text); for a text outside the cells, up to the next cell
    // or the right edge of the page. A text wider than that is set in a smaller font
    // until it fits (down to ReportDrawing::kMinFontSize) and is cut at its end when even
    // that is too wide.
    double room = 0;
    ReportFont font;
    ReportPen pen;        // cells: the pen of the box lines
};

struct ReportPage {
    QVector<ReportItem> items;
};

// The laid-out report: paper, orientation and the pages in order.
struct ReportDocument {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double paperWidth = 21.0, paperHeight = 29.7;   // cm, as oriented
    QVector<ReportPage> pages;
};

// The width of a text in a font (cm), as the pages are painted. Requires a
// QGuiApplication (the fonts).
double ReportTextWidth(const ReportFont &font, const QString &text);

// The Qt font that paints and measures a report font (its size not yet set): the
// Central European Arial names the reports ask for resolve to Liberation Sans, and
// hinting is off, so that widths grow with the size alone and the measured width is the
// painted one on every device.
QFont ReportQtFont(const ReportFont &font);

// The inset of a cell's text from the cell's edge (cm).
double ReportTextInset(const ReportItem &item);

class ReportDrawing {
public:
    // The border of the paper no printer reaches: the first line of a page and the
    // bottom limit of LinesRemaining keep at least this far from the edge (cm).
    static constexpr double kPaperBorder = 1.0;
    // The smallest font (points) to which a text too wide for its cell is shrunk.
    static constexpr double kMinFontSize = 4.0;

    // An A4 report in the orientation, with one empty page; font Arial 10, no tab stops,
    // no margins, the current line the first of the page.
    explicit ReportDrawing(QPageLayout::Orientation orientation = QPageLayout::Portrait);

    // Called with the number of every page that NewPage starts (2, 3, …).
    std::function<void(int page)> OnPageStarted;

    // The pages laid out so far.
    const ReportDocument &Document() const { return m_doc; }

    // Font name and size in points; bold off, character set default.
    void SelectFont(const QString &name, double size);
    // Character set of the current font (238: Central European).
    void SelectCharset(int code);
    void SetBold(bool on);
    void ClearTabStops();
    // Appends a tab stop: left edge pos (or AfterPrevious), justification, width (cm),
    // text margin (1/100 inch), box lines (TBoxLine sum) and shade (percent).
    void AddTabStop(double pos, TJustify justify, double width, int margin, int lines, int shade);
    // One line: each tab moves to the next tab stop, whose cell is drawn with its box and
    // shade and gets the text up to the next tab by its alignment; text before the first
    // tab starts at the current position; a tab past the last stop places its text at
    // the current position. Every text keeps within its room (ReportItem::room), in a
    // smaller font when it must. Then NewLine.
    void PrintTabbedLine(const QString &text);
    // Text left-aligned at pos on the current line, within the page's right edge (in a
    // smaller font when it must); the line does not advance.
    void PrintAt(const QString &text, double pos);
    // The start of the next line; never starts a page.
    void NewLine();
    // Finishes the page; the next line is the first of a new page.
    void NewPage();
    // The first line of the page.
    void ToPageTop();
    // Lines of the current height that still fit above the bottom limit, the current one
    // included; 0 below it.
    int LinesRemaining() const;
    // Pen of the box lines: colour, style, width in 1/100 inch, mode.
    void SelectPen(const QColor &color, Qt::PenStyle style, int width, TPenMode mode);
    // Page margins in cm: left (line start), right, top (first line), bottom (limit of
    // LinesRemaining).
    void SetPageMargins(double left, double right, double top, double bottom);

    // The current line's top edge and the line height, in cm.
    double LineTop() const { return m_y; }
    double LineHeight() const;

private:
    struct TabStop {
        double left, width;
        TJustify justify;
        int margin, lines, shade;
    };

    double topLimit() const;
    double rightLimit() const;
    double bottomLimit() const;
    ReportPage &page();

    ReportDocument m_doc;
    ReportFont m_font;
    ReportPen m_pen;
    QVector<TabStop> m_tabs;
    double m_marginLeft = 0, m_marginRight = 0, m_marginTop = 0, m_marginBottom = 0;
    double m_y = 0;
};

// A report ready to run: the orientation of its paper and its layout, which draws every
// page (a layout function bound to what it prints).
struct ReportLayout {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::function<void(ReportDrawing &)> draw;
};
