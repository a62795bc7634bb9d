#pragma once
// The deliveries overview: the receipts of a period with their value split by VAT rate,
// gathered into the work table SesDodMem, written to the text file "PrehledDodavek.txt",
// on request to a workbook, and printed in landscape with supplier subtotals.

#include <QDate>
#include <QString>

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
// invoiced, and the value of the receipt from its journal lines (TData::HlaHod). Pending
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

class TSestavy;

// The shop's name in the overview's title: VLA_NAC of the first record of the owner table
// (empty when it has none), which is given back open or closed as it was.
QString OverviewShopName(TData &d);

// Draws the overview on the report engine from the rows of `work` (open, in the order of
// `order`): the title with the period and the shop's name, the heading line, one line per
// receipt with a new page and the heading again when fewer than 3 lines remain, with
// `order` BySupplier a subtotal line after each supplier's block (followed by an empty
// line, except after the last), and the grand total. Numbers as %8.2f with the regional
// decimal separator.
void PrintOverview(TSestavy &s, store::Table &work, int order, const QDate &from, const QDate &to,
                   const QString &shopName);
