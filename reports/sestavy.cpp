#include "sestavy.h"

#include "app/core/errors.h"
#include "app/core/screens.h"

#include <QFont>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
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
        QFont font(item.font.name.isEmpty() ? QStringLiteral("Liberation Sans") : item.font.name);
        font.setPointSizeF(item.font.size);
        font.setBold(item.font.bold);
        painter.setFont(font);
        painter.setPen(QPen(Qt::black));
        const double inset = item.margin / 100.0 * kCmPerInch * scale;
        QRectF textBox = box.adjusted(inset, 0, -inset, 0);
        int flags = Qt::AlignVCenter | Qt::TextDontClip | Qt::TextSingleLine;
        flags |= item.justify == pjRight ? Qt::AlignRight : Qt::AlignLeft;
        if (item.kind == ReportItem::Text)
            textBox.setWidth(0);
        painter.drawText(textBox, flags, item.text);
    }
}

} // namespace

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
        QSaveFile file(m_setup.fileName);
        if (!file.open(QIODevice::WriteOnly))
            throw AppError(QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(m_setup.fileName, file.errorString()));
        {
            QPdfWriter writer(&file);
            writer.setTitle(kTitle);
            writer.setCreator(kTitle);
            PrintPages(writer, true);
        }
        if (!file.commit())
            throw AppError(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(m_setup.fileName, file.errorString()));
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
        page().items.append(item);
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
        page().items.append(cell);
        x = stop.left + stop.width;
    }
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
    page().items.append(item);
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
