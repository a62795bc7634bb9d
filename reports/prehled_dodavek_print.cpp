// The run of the deliveries overview (SesPrehPRD) and its printed layout.

#include "prehled_dodavek.h"

#include "core/general_error.h"
#include "core/prompter.h"
#include "core/textutil.h"
#include "data_sestavy.h"
#include "store/table.h"
#include "store/tables/column_names.h"
#include "store/tdata.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <array>

namespace {

// The font of the overview, asked for by the name the shop's reports use.
const QString kFont = QStringLiteral("ArialCE");
constexpr int kCentralEuropean = 238;

// The thirteen columns of the printed overview: heading, alignment and width (cm).
struct Column {
    const char *heading;
    TJustify justify;
    double width;
};
constexpr Column kColumns[] = {
    {"Datum", pjLeft, 1.75},      {"Doklad", pjLeft, 2.0},    {"Dodavatel", pjLeft, 4.0},
    {"Fakt.dod.", pjLeft, 1.75},  {"Cel. Nc", pjRight, 1.85}, {"Cel. PC", pjRight, 1.85},
    {"Zák 22%", pjRight, 1.85},   {"Zák 5%", pjRight, 1.85},  {"Zák 0%", pjRight, 1.85},
    {"Daň 22%", pjRight, 1.85},   {"Daň 5%", pjRight, 1.85},  {"Cel.fakt.", pjRight, 1.85},
    {"Diference", pjRight, 1.85},
};

// The nine summed values of a receipt line, columns 5 to 13.
constexpr int kSums = 9;
using Sums = std::array<double, kSums>;

Sums lineValues(const OverviewRow &row)
{
    return {row.CelkemNC, row.CelkemPC, row.Zaklad22, row.Zaklad05, row.Zaklad00,
            row.Dan22,    row.Dan05,    row.CelFac,   row.CelFac - row.CelkemNC};
}

// A number as "%8.2f" with the regional decimal separator.
QString money(double value) { return FormatFixed(value, 8, 2); }

// A line with `label` in the first column and the nine sums in columns 5 to 13.
QString sumsLine(const QString &label, const Sums &sums)
{
    QString line = QLatin1Char('\t') + label + QStringLiteral("\t\t\t");
    for (double v : sums)
        line += QLatin1Char('\t') + money(v);
    return line;
}

void selectFont(ReportDrawing &s, double size)
{
    s.SelectFont(kFont, size);
    s.SelectCharset(kCentralEuropean);
}

// Gives back what a run of the overview takes, however it ends: the receipts lose their
// range (and are closed again when the run opened them) and the work table is closed.
// Nothing it does raises.
class OverviewRun {
public:
    explicit OverviewRun(TDataSestavy &m) : m_module(m), m_receiptsOpen(m.ffSesDod.Active()) {}
    ~OverviewRun()
    {
        giveBack([&] { m_module.SesDodMem.Close(); });
        giveBack([&] {
            store::Table &receipts = m_module.ffSesDod;
            if (!receipts.Active())
                return;
            receipts.CancelRange();
            if (!m_receiptsOpen)
                receipts.Close();
        });
    }

private:
    template <typename Step>
    static void giveBack(Step step) noexcept
    {
        try {
            step();
        } catch (const std::exception &) {
            // The table is left as the store left it; the run's own error, if any, counts.
        }
    }

    TDataSestavy &m_module;
    const bool m_receiptsOpen;
};

// The busy pointer while the workbook is written, where there is a pointer at all.
class BusyPointer {
public:
    BusyPointer() : m_shown(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_shown)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyPointer()
    {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    const bool m_shown;
};

} // namespace

int TDataSestavy::SesPrehPRD(int sortOrder, const QDate &dateFrom, const QDate &dateTo)
{
    OverviewRun run(*this);
    FillOverviewWorkTable(*Data, ffSesDod, SesDodMem, dateFrom, dateTo, sortOrder);
    SortOrder = sortOrder;
    WriteOverviewText(SesDodMem, kOverviewTextFile);
    const int rows = int(SesDodMem.RecordCount());
    LastWorkbook = wbNotAsked;
    if (ExcelExport && rows == 0) {
        LastWorkbook = wbNoReceipts;
        prompter().ShowMessage(QStringLiteral("Sešit nebyl vytvořen: v období od %1 do %2 nejsou žádné doklady.")
                                   .arg(DateToStr(dateFrom), DateToStr(dateTo)));
    } else if (ExcelExport) {
        const QString path = QFileInfo(WorkbookPath.isEmpty() ? OverviewWorkbookPath(QDate::currentDate())
                                                              : WorkbookPath).absoluteFilePath();
        QString message;
        {
            BusyPointer busy;
            try {
                WriteOverviewWorkbook(SesDodMem, path);
                LastWorkbook = wbWritten;
                message = QStringLiteral("Sešit zapsán do souboru %1").arg(path);
            } catch (const std::exception &e) {
                LastWorkbook = wbFailed;
                message = QStringLiteral("Nejze komunikovat s MS Excel\n") + ErrorText(e);
            }
        }
        prompter().ShowMessage(message);
    }
    SesDodMem.First();
    QCoreApplication::processEvents();
    Sestavy.Execute({QPageLayout::Landscape, [this](ReportDrawing &r) {
                         LayoutOverview(r, {DateFrom, DateTo, OverviewShopName(*Data), SortOrder,
                                            ReadOverviewRows(SesDodMem)});
                     }});
    return rows;
}

QVector<OverviewRow> ReadOverviewRows(store::Table &work)
{
    namespace row = store::tables::column::SesDodMem;
    QVector<OverviewRow> rows;
    for (work.First(); !work.Eof(); work.Next())
        rows.append(OverviewRow{work[row::Vystaveno].AsDateTime().date(), work[row::Doklad].AsString(),
                     work[row::KodDod].AsString(), work[row::Nazev].AsString(), work[row::FakDod].AsString(),
                     work[row::CelkemNC].AsFloat(), work[row::CelkemPC].AsFloat(), work[row::Zaklad22].AsFloat(),
                     work[row::Zaklad05].AsFloat(), work[row::Zaklad00].AsFloat(), work[row::Dan22].AsFloat(),
                     work[row::Dan05].AsFloat(), work[row::CelFac].AsFloat()});
    return rows;
}

void LayoutOverview(ReportDrawing &s, const OverviewSnapshot &overview)
{
    selectFont(s, 13);
    s.SetPageMargins(1.0, 1.0, 2.0, 2.0);
    s.ToPageTop();
    s.ClearTabStops();
    s.PrintAt(QStringLiteral("Přehled dodávek od ") + DateToStr(overview.from) + QStringLiteral(" do ") +
                  DateToStr(overview.to) + QStringLiteral(" na skladu ") + overview.shopName,
              1.0);
    s.NewLine();
    s.NewLine();

    selectFont(s, 9);
    QString heading;
    for (const Column &c : kColumns) {
        s.AddTabStop(&c == kColumns ? 1.0 : AfterPrevious, c.justify, c.width, 0, 0, 0);
        heading += QLatin1Char('\t') + QString::fromUtf8(c.heading);
    }
    s.PrintTabbedLine(heading);

    Sums supplier{}, total{};
    QString supplierCode = overview.rows.isEmpty() ? QString() : overview.rows.first().KodDod;
    for (const OverviewRow &row : overview.rows) {
        if (s.LinesRemaining() < 3) {
            s.NewPage();
            s.NewLine();
            s.NewLine();
            s.PrintTabbedLine(heading);
        }
        if (overview.order == BySupplier && row.KodDod != supplierCode) {
            s.PrintTabbedLine(sumsLine(QStringLiteral("Celkem dodavatel "), supplier));
            s.NewLine();
            supplierCode = row.KodDod;
            supplier = Sums{};
        }
        const Sums values = lineValues(row);
        QString line = QLatin1Char('\t') + DateToStr(row.Vystaveno) + QLatin1Char('\t') + row.Doklad +
                       QLatin1Char('\t') + row.Nazev + QLatin1Char('\t') + row.FakDod;
        for (int i = 0; i < kSums; ++i) {
            line += QLatin1Char('\t') + money(values[i]);
            supplier[i] += values[i];
            total[i] += values[i];
        }
        s.PrintTabbedLine(line);
    }
    if (overview.order == BySupplier)
        s.PrintTabbedLine(sumsLine(QStringLiteral("Celkem dodavatel "), supplier));
    s.PrintTabbedLine(sumsLine(QStringLiteral("Celkem sestava "), total));
}
