#include "report_drawing.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QStringList>
#include <cmath>

namespace {

constexpr double kCmPerInch = 2.54;
constexpr double kCmPerPoint = kCmPerInch / 72.0;
// The paper of every report: A4, in cm.
constexpr double kA4Width = 21.0, kA4Height = 29.7;

// Share of its room a text may fill before it is shrunk: what devices differ by in
// their rounding of glyph positions stays inside the cell.
constexpr double kFill = 0.98;

// A cell without a margin keeps its text this far (cm) from the side where the next
// cell's text may stand: two values never run together into one number.
constexpr double kGap = 0.1;

// Shrinks the font of the item's text until the text fits its room, not below
// kMinFontSize. Without a QGuiApplication there are no fonts to measure (and no pages
// can be painted): the text keeps its font.
void fitText(ReportItem &item)
{
    if (item.text.isEmpty() || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    const double room = item.room * kFill;
    double width = ReportTextWidth(item.font, item.text);
    while (width > room && item.font.size > ReportDrawing::kMinFontSize) {
        const double smaller = std::min(item.font.size * 0.95, item.font.size * room / width);
        item.font.size = std::max(ReportDrawing::kMinFontSize, smaller);
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
            item.room = std::max(0.0, end - item.left - 2 * ReportTextInset(item) - gap);
        }
        fitText(item);
    }
}

} // namespace

QFont ReportQtFont(const ReportFont &font)
{
    // The names the reports ask for are those of a Central European Arial; Liberation
    // Sans has Arial's metrics and covers Czech.
    static const bool registered = [] {
        for (const char *name : {"Ariel CE", "ArialCE", "Arial CE"})
            QFont::insertSubstitution(QString::fromLatin1(name), QStringLiteral("Liberation Sans"));
        return true;
    }();
    (void)registered;
    QFont f(font.name.isEmpty() ? QStringLiteral("Liberation Sans") : font.name);
    f.setBold(font.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

double ReportTextInset(const ReportItem &item)
{
    return item.margin / 100.0 * kCmPerInch;
}

double ReportTextWidth(const ReportFont &font, const QString &text)
{
    // Measured in a large pixel size and scaled down: without hinting the width is
    // proportional to the size.
    constexpr int kPixels = 1000;
    static QHash<QString, QFontMetricsF> metrics;
    const QString key = font.name + (font.bold ? QStringLiteral("/b") : QString());
    auto it = metrics.find(key);
    if (it == metrics.end()) {
        QFont f = ReportQtFont(font);
        f.setPixelSize(kPixels);
        it = metrics.insert(key, QFontMetricsF(f));
    }
    return it->horizontalAdvance(text) / kPixels * font.size * kCmPerPoint;
}

ReportDrawing::ReportDrawing(QPageLayout::Orientation orientation)
{
    m_doc.orientation = orientation;
    const bool landscape = orientation == QPageLayout::Landscape;
    m_doc.paperWidth = landscape ? kA4Height : kA4Width;
    m_doc.paperHeight = landscape ? kA4Width : kA4Height;
    m_doc.pages.append(ReportPage());
    m_font.name = QStringLiteral("Arial");
    m_y = topLimit();
}

ReportPage &ReportDrawing::page()
{
    return m_doc.pages.last();
}

double ReportDrawing::topLimit() const
{
    return std::max(m_marginTop, kPaperBorder);
}

double ReportDrawing::rightLimit() const
{
    return m_doc.paperWidth - std::max(m_marginRight, kPaperBorder);
}

double ReportDrawing::bottomLimit() const
{
    return m_doc.paperHeight - std::max(m_marginBottom, kPaperBorder);
}

double ReportDrawing::LineHeight() const
{
    return m_font.size * 1.2 * kCmPerPoint;
}

void ReportDrawing::SelectFont(const QString &name, double size)
{
    m_font.name = name;
    m_font.size = size;
    m_font.bold = false;
    m_font.charset = 1;
}

void ReportDrawing::SelectCharset(int code)
{
    m_font.charset = code;
}

void ReportDrawing::SetBold(bool on)
{
    m_font.bold = on;
}

void ReportDrawing::ClearTabStops()
{
    m_tabs.clear();
}

void ReportDrawing::AddTabStop(double pos, TJustify justify, double width, int margin, int lines, int shade)
{
    double left = pos;
    if (pos == AfterPrevious)
        left = m_tabs.isEmpty() ? m_marginLeft : m_tabs.last().left + m_tabs.last().width;
    m_tabs.append({left, width, justify, margin, lines, shade});
}

void ReportDrawing::PrintTabbedLine(const QString &text)
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

void ReportDrawing::PrintAt(const QString &text, double pos)
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

void ReportDrawing::NewLine()
{
    m_y += LineHeight();
}

void ReportDrawing::NewPage()
{
    m_doc.pages.append(ReportPage());
    m_y = topLimit();
    if (OnPageStarted)
        OnPageStarted(int(m_doc.pages.size()));
}

void ReportDrawing::ToPageTop()
{
    m_y = topLimit();
}

int ReportDrawing::LinesRemaining() const
{
    const double room = bottomLimit() - m_y;
    if (room <= 0)
        return 0;
    return int(std::floor(room / LineHeight() + 1e-9));
}

void ReportDrawing::SelectPen(const QColor &color, Qt::PenStyle style, int width, TPenMode mode)
{
    m_pen = ReportPen{color, style, width, mode};
}

void ReportDrawing::SetPageMargins(double left, double right, double top, double bottom)
{
    m_marginLeft = left;
    m_marginRight = right;
    m_marginTop = top;
    m_marginBottom = bottom;
}
