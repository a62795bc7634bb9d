#pragma once
// The deliveries overview: the receipts of a period with their value split by VAT rate,
// gathered into the work table SesDodMem, written to the text file "PrehledDodavek.txt",
// on request to a workbook, and printed in landscape with supplier subtotals.

#include "report_drawing.h"

#include <QDate>
#include <QString>
#include <QVector>

class TData;
namespace store {
class Table;
}

// The text file of the overview, in the current directory of the process.
inline constexpr QLatin1StringView kOverviewTextFile{"PrehledDodavek.txt"};

// The two orders of the overview (SortOrder): by receipt number, and by supplier with a
// subtotal per supplier.
enum OverviewOrder { ByReceipt = 0, BySupplier = 1 };

// Empties the open work table `work` and appends one row per receipt of `receipts`
// (open, on index "DAT") dated from..to, both included, in date order: date, number,
// type (its first two characters), supplier's document, supplier code and name, amount
// invoiced, and the value of the receipt from its journal lines (HlaHod). Pending
// user-interface events run before each receipt. Leaves `receipts` in that range and
// `work` on the index of `order` at its first row. Store errors are raised.
void FillOverviewWorkTable(TData &d, store::Table &receipts, store::Table &work, const QDate &from,
                           const QDate &to, int order);

// Writes the rows of `work` (open, in its current order, from the first) as the text file
// `path`: a line of the field names, then one line per row; every value in double quotes
// (inner quotes doubled), an empty one as nothing, each followed by a comma, the line
// ended by CR LF; dates as dd/mm/yyyy, numbers in general form with a period; Windows-1250.
// The file appears whole or not at all. Throws AppError naming the file when it cannot be
// created or written, CodePageError for a text the code page cannot hold, AppError for a
// number that is not finite.
void WriteOverviewText(store::Table &work, const QString &path);

// The workbook of the overview in the user's documents directory:
// "Přehled faktur k dd.mm.yyyy.xlsx" for the date `day`.
QString OverviewWorkbookPath(const QDate &day);

// Writes the rows of `work` (open, in its current order, from the first) as the workbook
// `path`: one worksheet, the field names in the first row, then one row per work-table
// row with the values themselves (dates as date cells, numbers as numbers, texts as
// texts), each column as wide as its widest value. The directory is created when
// missing; the file appears whole or not at all, with the user's umask.
// Throws AppError with the reason when the directory or the file cannot be made.
void WriteOverviewWorkbook(store::Table &work, const QString &path);

// The shop's name in the overview's title: VLA_NAC of the first record of the owner table
// (empty when it has none), read through a cursor of its own (ffVlastnik is not touched).
QString OverviewShopName(TData &d);

// One receipt line of the printed overview: a row of the work table as the printout
// shows it.
struct OverviewRow {
    QDate Vystaveno;
    QString Doklad, KodDod, Nazev, FakDod;
    double CelkemNC = 0, CelkemPC = 0, Zaklad22 = 0, Zaklad05 = 0, Zaklad00 = 0, Dan22 = 0, Dan05 = 0, CelFac = 0;
};

// What the printed overview shows, as plain values: the period and the shop of its title,
// the order and the rows in that order.
struct OverviewSnapshot {
    QDate from, to;
    QString shopName;
    int order = ByReceipt;
    QVector<OverviewRow> rows;
};

// The rows of `work` (open, in its current order) from the first; `work` is left at its
// end. Store errors are raised.
QVector<OverviewRow> ReadOverviewRows(store::Table &work);

// Draws the overview (on landscape paper as its run has it): the title with the period
// and the shop's name, the heading line, one line per receipt with a new page and the
// heading again when fewer than 3 lines remain, with the order BySupplier a subtotal line
// after each supplier's block (followed by an empty line, except after the last), and the
// grand total. Numbers as %8.2f with the regional decimal separator.
void LayoutOverview(ReportDrawing &s, const OverviewSnapshot &overview);
