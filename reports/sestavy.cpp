#include "sestavy.h"

#include "app/core/atomic_file.h"
#include "app/core/errors.h"
#include "app/core/screens.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

const QString TSestavy::kSetupTitle = QStringLiteral("Nastavení tisku sestavy");
const QString TSestavy::kStatusTitle = QStringLiteral("Stav přípravy tisku");
const QString TSestavy::kPreviewTitle = QStringLiteral("Náhled před tiskem");
const QString TSestavy::kStatusFormat = QStringLiteral("Generuji stranu %p");
const QString TSestavy::kPrintStatusFormat = QStringLiteral("Tisknu stranu %p");
const QString TSestavy::kTitle = QStringLiteral("Dodavky od dodavatele");
const QString TSestavy::kDefaultFileName = QStringLiteral("sestava.pdf");

namespace {

constexpr double kCmPerInch = 2.54;
constexpr double kCmPerPoint = kCmPerInch / 72.0;
// The paper of every report: A4, in cm.
constexpr double kA4Width = 21.0, kA4Height = 29.7;

QString pageText(const QString &format, int page)
{
    return QString(format).replace(QLatin1String("%p"), QString::number(page));
}

// The names the reports ask for are those of a Central European Arial; Liberation Sans
// has Arial's metrics and covers Czech.
void registerFontNames()
{
    static const bool registered = [] {
        for (const char *name : {"Ariel CE", "ArialCE", "Arial CE"})
            QFont::insertSubstitution(QString::fromLatin1(name), QStringLiteral("Liberation Sans"));
        return true;
    }();
    (void)registered;
}

// The font of a report text for painting (size in points) or for measuring (size in
// pixels). Hinting is off, so that widths grow with the size alone and the measured
// width is the painted one on every device.
QFont qtFont(const ReportFont &font)
{
    registerFontNames();
    QFont f(font.name.isEmpty() ? QStringLiteral("Liberation Sans") : font.name);
    f.setBold(font.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// Share of its room a text may fill before it is shrunk: what devices differ by in
// their rounding of glyph positions stays inside the cell.
constexpr double kFill = 0.98;

// A cell without a margin keeps its text this far (cm) from the side where the next
// cell's text may stand: two values never run together into one number.
constexpr double kGap = 0.1;

double insetOf(const ReportItem &item) { return item.margin / 100.0 * kCmPerInch; }

// Shrinks the font of the item's text until the text fits its room, not below
// kMinFontSize. Without a QGuiApplication there are no fonts to measure (and no pages
// can be painted): the text keeps its font.
void fitText(ReportItem &item)
{
    if (item.text.isEmpty() || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    const double room = item.room * kFill;
    double width = ReportTextWidth(item.font, item.text);
    while (width > room && item.font.size > TSestavy::kMinFontSize) {
        const double smaller = std::min(item.font.size * 0.95, item.font.size * room / width);
        item.font.size = std::max(TSestavy::kMinFontSize, smaller);
        width = ReportTextWidth(item.font, item.text);
    }
}

// Gives each text of one line (its items as placed, left to right) its room and fits the
// text into it. A left-aligned cell text runs on over the empty cells to its right as
// long as no box line stands between them.
void fitLine(QVector<ReportItem> &line, double rightLimit)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        ReportItem &item = line[i];
        if (item.kind == ReportItem::Text) {
            const double end = i + 1 < line.size() ? line[i + 1].left : rightLimit;
            item.room = std::max(0.0, end - item.left);
        } else {
            double end = item.left + item.width;
            for (qsizetype j = i + 1; item.justify == pjLeft && j < line.size(); ++j) {
                const ReportItem &before = line[j - 1], &next = line[j];
                if (next.kind != ReportItem::Cell || !next.text.isEmpty() || (before.lines & BoxLineRight) ||
                    (next.lines & BoxLineLeft))
                    break;
                end = next.left + next.width;
            }
            const double gap = item.margin == 0 ? kGap : 0;
            item.room = std::max(0.0, end - item.left - 2 * insetOf(item) - gap);
        }
        fitText(item);
    }
}

// Paints the items of one page; scale is device units per cm.
void paintPage(QPainter &painter, const ReportPage &page, double scale, int dpi)
{
    for (const ReportItem &item : page.items) {
        const QRectF box(item.left * scale, item.top * scale, item.width * scale, item.height * scale);
        if (item.kind == ReportItem::Cell) {
            if (item.shade > 0) {
                const int grey = qBound(0, 255 - item.shade * 255 / 100, 255);
                painter.fillRect(box, QColor(grey, grey, grey));
            }
            if (item.lines) {
                QPen pen(item.pen.color, std::max(1.0, item.pen.width * dpi / 100.0), item.pen.style);
                pen.setCapStyle(Qt::SquareCap);
                painter.setPen(pen);
                if (item.lines & BoxLineLeft)
                    painter.drawLine(box.topLeft(), box.bottomLeft());
                if (item.lines & BoxLineRight)
                    painter.drawLine(box.topRight(), box.bottomRight());
                if (item.lines & BoxLineTop)
                    painter.drawLine(box.topLeft(), box.topRight());
                if (item.lines & BoxLineBottom)
                    painter.drawLine(box.bottomLeft(), box.bottomRight());
            }
        }
        if (item.text.isEmpty())
            continue;
        QFont font = qtFont(item.font);
        font.setPointSizeF(item.font.size);
        painter.setFont(font);
        painter.setPen(QPen(Qt::black));
        // The text's room; a text wider than it (even in the smallest font) is cut at
        // the room's edge. Above and below, the glyphs may use the neighbouring lines.
        const double inset = item.kind == ReportItem::Cell ? insetOf(item) * scale : 0;
        const double room = item.room * scale;
        const bool right = item.kind == ReportItem::Cell && item.justify == pjRight;
        const double left = right ? box.right() - inset - room : box.left() + inset;
        const QRectF textBox(left, box.top() - box.height(), room, 3 * box.height());
        const int flags = Qt::AlignVCenter | Qt::TextSingleLine | (right ? Qt::AlignRight : Qt::AlignLeft);
        painter.drawText(textBox, flags, item.text);
    }
}

} // namespace

double ReportTextWidth(const ReportFont &font, const QString &text)
{
    // Measured in a large pixel size and scaled down: without hinting the width is
    // proportional to the size.
    constexpr int kPixels = 1000;
    static QHash<QString, QFontMetricsF> metrics;
    const QString key = font.name + (font.bold ? QStringLiteral("/b") : QString());
    auto it = metrics.find(key);
    if (it == metrics.end()) {
        QFont f = qtFont(font);
        f.setPixelSize(kPixels);
        it = metrics.insert(key, QFontMetricsF(f));
    }
    return it->horizontalAdvance(text) / kPixels * font.size * kCmPerPoint;
}

TSestavy::TSestavy()
{
    startDocument();
}

void TSestavy::Execute()
{
    m_setup = TSestavySetup();
    m_setup.choices = SystemSetups;
    m_setup.destination = DefaultDestination;
    m_setup.fileName = OutputFileName;
    if ((SystemSetups & ssSetupDialog) && screens().ShowSestavySetup(m_setup) != mrOk)
        return;
    generate();
    switch (m_setup.destination) {
    case TDestination::Preview:
        screens().ShowSestavyPreview(*this);
        break;
    case TDestination::Printer:
        screens().PrintSestavy(*this);
        break;
    case TDestination::File: {
        AtomicFile file(m_setup.fileName);
        {
            QPdfWriter writer(&file.Device());
            writer.setTitle(kTitle);
            writer.setCreator(kTitle);
            PrintPages(writer, true);
        }
        file.Commit();
        break;
    }
    }
}

void TSestavy::generate()
{
    startDocument();
    std::unique_ptr<TSestavyProgress> progress;
    if (Screens *s = installedScreens())
        progress = s->ShowSestavyProgress();
    m_onPageStarted = [&progress](int page) {
        if (progress)
            progress->Show(pageText(kStatusFormat, page));
    };
    m_onPageStarted(1);
    try {
        if (OnPrint)
            OnPrint();
    } catch (...) {
        m_onPageStarted = nullptr;
        throw;
    }
    m_onPageStarted = nullptr;
}

void TSestavy::startDocument()
{
    m_doc = ReportDocument();
    m_doc.orientation = Orientation;
    const bool landscape = Orientation == QPageLayout::Landscape;
    m_doc.paperWidth = landscape ? kA4Height : kA4Width;
    m_doc.paperHeight = landscape ? kA4Width : kA4Height;
    m_doc.pages.append(ReportPage());
    m_font = ReportFont();
    m_font.name = QStringLiteral("Arial");
    m_pen = ReportPen();
    m_tabs.clear();
    m_marginLeft = m_marginRight = m_marginTop = m_marginBottom = 0;
    m_y = topLimit();
}

void TSestavy::PrintPages(QPagedPaintDevice &device, bool withProgress) const
{
    registerFontNames();
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), m_doc.orientation, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device))
        throw AppError(QStringLiteral("Sestavu nelze vytisknout: tiskárnu nebo soubor nelze otevřít"));
    std::unique_ptr<TSestavyProgress> progress;
    if (Screens *s = installedScreens(); s && withProgress)
        progress = s->ShowSestavyProgress();
    const int dpi = device.logicalDpiX();
    const double scale = dpi / kCmPerInch;
    for (int i = 0; i < m_doc.pages.size(); ++i) {
        if (progress)
            progress->Show(pageText(kPrintStatusFormat, i + 1));
        if (i > 0 && !device.newPage())
            throw AppError(QStringLiteral("Sestavu nelze vytisknout: novou stranu nelze začít"));
        paintPage(painter, m_doc.pages[i], scale, dpi);
    }
    painter.end();
}

ReportPage &TSestavy::page()
{
    return m_doc.pages.last();
}

double TSestavy::topLimit() const
{
    return std::max(m_marginTop, kPaperBorder);
}

double TSestavy::rightLimit() const
{
    return m_doc.paperWidth - std::max(m_marginRight, kPaperBorder);
}

double TSestavy::bottomLimit() const
{
    return m_doc.paperHeight - std::max(m_marginBottom, kPaperBorder);
}

double TSestavy::LineHeight() const
{
    return m_font.size * 1.2 * kCmPerPoint;
}

void TSestavy::SelectFont(const QString &name, double size)
{
    m_font.name = name;
    m_font.size = size;
    m_font.bold = false;
    m_font.charset = 1;
}

void TSestavy::SelectCharset(int code)
{
    m_font.charset = code;
}

void TSestavy::SetBold(bool on)
{
    m_font.bold = on;
}

void TSestavy::ClearTabStops()
{
    m_tabs.clear();
}

void TSestavy::AddTabStop(double pos, TJustify justify, double width, int margin, int lines, int shade)
{
    double left = pos;
    if (pos == AfterPrevious)
        left = m_tabs.isEmpty() ? m_marginLeft : m_tabs.last().left + m_tabs.last().width;
    m_tabs.append({left, width, justify, margin, lines, shade});
}

void TSestavy::PrintTabbedLine(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('\t'));
    double x = m_marginLeft;
    const double height = LineHeight();
    QVector<ReportItem> line;
    auto placeText = [&](const QString &t) {
        if (t.isEmpty())
            return;
        ReportItem item;
        item.kind = ReportItem::Text;
        item.left = x;
        item.top = m_y;
        item.height = height;
        item.text = t;
        item.font = m_font;
        line.append(item);
    };
    placeText(parts[0]);
    for (int i = 1; i < parts.size(); ++i) {
        if (i - 1 >= m_tabs.size()) {
            placeText(parts[i]);
            continue;
        }
        const TabStop &stop = m_tabs[i - 1];
        ReportItem cell;
        cell.kind = ReportItem::Cell;
        cell.left = stop.left;
        cell.top = m_y;
        cell.width = stop.width;
        cell.height = height;
        cell.text = parts[i];
        cell.justify = stop.justify;
        cell.margin = stop.margin;
        cell.lines = stop.lines;
        cell.shade = stop.shade;
        cell.font = m_font;
        cell.pen = m_pen;
        line.append(cell);
        x = stop.left + stop.width;
    }
    fitLine(line, rightLimit());
    page().items.append(line);
    NewLine();
}

void TSestavy::PrintAt(const QString &text, double pos)
{
    ReportItem item;
    item.kind = ReportItem::Text;
    item.left = pos;
    item.top = m_y;
    item.height = LineHeight();
    item.text = text;
    item.font = m_font;
    QVector<ReportItem> line{item};
    fitLine(line, rightLimit());
    page().items.append(line);
}

void TSestavy::NewLine()
{
    m_y += LineHeight();
}

void TSestavy::NewPage()
{
    m_doc.pages.append(ReportPage());
    m_y = topLimit();
    if (m_onPageStarted)
        m_onPageStarted(m_doc.pages.size());
}

void TSestavy::ToPageTop()
{
    m_y = topLimit();
}

int TSestavy::LinesRemaining() const
{
    const double room = bottomLimit() - m_y;
    if (room <= 0)
        return 0;
    return int(std::floor(room / LineHeight() + 1e-9));
}

void TSestavy::SelectPen(const QColor &color, Qt::PenStyle style, int width, TPenMode mode)
{
    m_pen = ReportPen{color, style, width, mode};
}

void TSestavy::SetPageMargins(double left, double right, double top, double bottom)
{
    m_marginLeft = left;
    m_marginRight = right;
    m_marginTop = top;
    m_marginBottom = bottom;
}
