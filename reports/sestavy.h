#pragma once
// TSestavy: the report engine. A run asks for the destination (preview, printer or a PDF
// file), has the print handler draw every page through the drawing operations below, and
// sends the pages to the destination. Positions and widths are in centimetres from the
// left and top edges of the paper (A4); the line height follows the font (1.2 × its
// size).
//
// The pages are not drawn straight onto a device: the drawing operations lay the report
// out into a ReportDocument (pages of placed texts and cells with their fonts, box lines
// and shades), which tests read as it is, and which is then painted with QPainter onto
// the preview, the printer or the PDF file. The engine uses QtGui only; the windows of
// a run (setup dialog, progress window, preview, printer) are reached through Screens.

#include <QColor>
#include <QPageLayout>
#include <QString>
#include <QVector>
#include <functional>

class QPagedPaintDevice;

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
    // until it fits (down to kMinFontSize) and is cut at its end when even that is too
    // wide.
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

// Destinations of a run.
enum class TDestination { Preview, Printer, File };

// The choices the setup dialog offers; a run shows the dialog only when SetupDialog is in
// the set.
enum TSetupChoice {
    ssSetupDialog = 0x001,
    ssCopies = 0x002,
    ssCollate = 0x004,
    ssDuplex = 0x008,
    ssPreview = 0x010,
    ssPrinter = 0x020,
    ssFile = 0x040,
    ssPrinterSetup = 0x080,
    ssPreviewSetup = 0x100,
    ssAll = 0x1FF,
};

// What the setup dialog shows and the user changes: the destination, the copies, and the
// printer's, the preview's and the file's settings.
struct TSestavySetup {
    int choices = ssAll;
    TDestination destination = TDestination::Preview;
    int copies = 1;
    int previewZoom = 100;  // the preview's zoom in percent
    bool collate = false;
    bool duplex = false;
    QString printerName;  // empty: the system's default printer
    QString fileName;     // the PDF of the file destination
};

// The progress window "Stav přípravy tisku" of a run; it closes when destroyed.
class TSestavyProgress {
public:
    virtual ~TSestavyProgress() = default;
    // Shows the text ("Generuji stranu 3").
    virtual void Show(const QString &text) = 0;
};

class TSestavy {
public:
    // The texts of the engine's windows and of the print job.
    static const QString kSetupTitle;        // "Nastavení tisku sestavy"
    static const QString kStatusTitle;       // "Stav přípravy tisku"
    static const QString kPreviewTitle;      // "Náhled před tiskem"
    static const QString kStatusFormat;      // "Generuji stranu %p"
    static const QString kPrintStatusFormat; // "Tisknu stranu %p"
    static const QString kTitle;             // "Dodavky od dodavatele"
    // The engine's own report file of the file destination, as a PDF.
    static const QString kDefaultFileName;   // "sestava.pdf"
    // The border of the paper no printer reaches: the first line of a page and the
    // bottom limit of LinesRemaining keep at least this far from the edge (cm).
    static constexpr double kPaperBorder = 1.0;
    // The smallest font (points) to which a text too wide for its cell is shrunk.
    static constexpr double kMinFontSize = 4.0;

    TSestavy();

    // Draws every page of the report; set by the reports data module to its print handler.
    std::function<void()> OnPrint;

    // Setup choices: all allowed at start; the commands clear them (0) or leave them.
    int SystemSetups = ssAll;
    // Where a run starts: the preview, unless a batch job points it at a file.
    TDestination DefaultDestination = TDestination::Preview;
    // What the last caller asked for; a run still starts from DefaultDestination.
    TDestination RequestedDestination = TDestination::Preview;
    // The PDF written by the file destination.
    QString OutputFileName = kDefaultFileName;
    // Portrait unless a report sets landscape for its run.
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;

    // Runs the report: destination := DefaultDestination; the setup dialog when the setup
    // choices include it (Storno ends the run without output); every page generated by
    // OnPrint under the progress window; then the modal preview (printing from it), the
    // printer, or the PDF file (written whole or not at all). Errors of OnPrint, of the
    // file or of the store are raised; nothing is sent anywhere after an error.
    void Execute();

    // The pages of the last run (or of the run in progress).
    const ReportDocument &Document() const { return m_doc; }
    // The setup the last run used (destination, copies, printer, file).
    const TSestavySetup &Setup() const { return m_setup; }

    // Paints the generated pages onto a paged device (a printer, a PDF writer, the
    // preview's printer), one page after the other, with the progress window showing
    // "Tisknu stranu %p" when withProgress is set. The device's page layout is set to A4
    // in the report's orientation without margins, so positions count from the paper's
    // edge. AppError when the device cannot be painted on.
    void PrintPages(QPagedPaintDevice &device, bool withProgress) const;

    // --- Drawing operations of the print handler ---
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

    void generate();
    void startDocument();
    double topLimit() const;
    double rightLimit() const;
    double bottomLimit() const;
    ReportPage &page();

    TSestavySetup m_setup;
    ReportDocument m_doc;
    ReportFont m_font;
    ReportPen m_pen;
    QVector<TabStop> m_tabs;
    double m_marginLeft = 0, m_marginRight = 0, m_marginTop = 0, m_marginBottom = 0;
    double m_y = 0;
    std::function<void(int page)> m_onPageStarted;
};
