#include "sestavy.h"

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/form_commands.h"
#include "report_screens.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <memory>

const QString TSestavy::kSetupTitle = QStringLiteral("Nastavení tisku sestavy");
const QString TSestavy::kStatusTitle = QStringLiteral("Stav přípravy tisku");
const QString TSestavy::kPreviewTitle = QStringLiteral("Náhled před tiskem");
const QString TSestavy::kStatusFormat = QStringLiteral("Generuji stranu %p");
const QString TSestavy::kPrintStatusFormat = QStringLiteral("Tisknu stranu %p");
const QString TSestavy::kTitle = QStringLiteral("Dodavky od dodavatele");
const QString TSestavy::kDefaultFileName = QStringLiteral("sestava.pdf");

namespace {

constexpr double kCmPerInch = 2.54;

QString pageText(const QString &format, int page)
{
    return QString(format).replace(QLatin1String("%p"), QString::number(page));
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
        QFont font = ReportQtFont(item.font);
        font.setPointSizeF(item.font.size);
        painter.setFont(font);
        painter.setPen(QPen(Qt::black));
        // The text's room; a text wider than it (even in the smallest font) is cut at
        // the room's edge. Above and below, the glyphs may use the neighbouring lines.
        const double inset = item.kind == ReportItem::Cell ? ReportTextInset(item) * scale : 0;
        const double room = item.room * scale;
        const bool right = item.kind == ReportItem::Cell && item.justify == pjRight;
        const double left = right ? box.right() - inset - room : box.left() + inset;
        const QRectF textBox(left, box.top() - box.height(), room, 3 * box.height());
        const int flags = Qt::AlignVCenter | Qt::TextSingleLine | (right ? Qt::AlignRight : Qt::AlignLeft);
        painter.drawText(textBox, flags, item.text);
    }
}

} // namespace

void TSestavy::Execute(const ReportLayout &report)
{
    m_setup = TSestavySetup();
    m_setup.choices = SystemSetups;
    m_setup.destination = DefaultDestination;
    m_setup.fileName = OutputFileName;
    if ((SystemSetups & ssSetupDialog) && ReportScreens::current().ShowSestavySetup(m_setup) != mrOk)
        return;
    generate(report);
    switch (m_setup.destination) {
    case TDestination::Preview:
        ReportScreens::current().ShowSestavyPreview(*this);
        break;
    case TDestination::Printer:
        ReportScreens::current().PrintSestavy(*this);
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

void TSestavy::generate(const ReportLayout &report)
{
    m_doc = ReportDocument();
    std::unique_ptr<TSestavyProgress> progress;
    if (ReportScreens *s = ReportScreens::installed())
        progress = s->ShowSestavyProgress();
    ReportDrawing drawing(report.orientation);
    drawing.OnPageStarted = [&progress](int page) {
        if (progress)
            progress->Show(pageText(kStatusFormat, page));
    };
    drawing.OnPageStarted(1);
    if (report.draw)
        report.draw(drawing);
    m_doc = drawing.Document();
}

void TSestavy::PrintPages(QPagedPaintDevice &device, bool withProgress) const
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), m_doc.orientation, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&device))
        throw AppError(QStringLiteral("Sestavu nelze vytisknout: tiskárnu nebo soubor nelze otevřít"));
    std::unique_ptr<TSestavyProgress> progress;
    if (ReportScreens *s = ReportScreens::installed(); s && withProgress)
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
