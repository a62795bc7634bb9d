#pragma once
// The stock check: every card compared with the stock journal, as the rebuild of a card
// would compute it. A stock item's variant ("000" to "999") must hold its start-of-year
// stock plus the quantities of its journal entries, and the card the sum of its
// variants; a card that keeps no stock holds none, in its variants or itself. And every
// receipt compared with its lines in the journal: its totals must be the values of its
// posted lines, it must have lines, and every receipt line must have its receipt.

#include <QString>
#include <QStringList>
#include <QVector>

class TData;

// One stock that disagrees with the journal.
struct StockDifference {
    QString card;
    QString variant;   // empty: the card's own stock SOR_STA
    double stored = 0;
    double expected = 0;
};

// The differences of one card, variants first in index order, then the card; none for
// a card that agrees or is not in the assortment. With everyStock, every stock of the
// card is listed, also those that agree. Reads the tables of ffSortiment, ffSklad and
// ffDenik through cursors of its own (store::Cursor); the components are not touched.
// Store errors are raised.
QVector<StockDifference> CheckCard(TData &d, const QString &card, bool everyStock = false);

// The differences of every card of the assortment, in card-number order, read as
// CheckCard reads them. Store errors are raised.
QVector<StockDifference> CheckStock(TData &d);

// A receipt that disagrees with its lines in the journal (the entries of operation "001"
// whose DEN_DOK is its number), or lines without their receipt.
struct ReceiptDifference {
    enum class Kind {
        Totals,     // HLA_NCA differs by half a haléř or more from its lines, or HLA_PCA
                    // by more than their rounding (half a haléř and a haléř per line)
        NoLines,    // the receipt has no line
        NoReceipt,  // lines whose receipt does not exist
    };
    Kind kind = Kind::Totals;
    QString receipt;           // HLA_DO1; for NoReceipt the DEN_DOK of the lines
    qint64 id = 0;             // the receipt's record (bookmark value); 0 for NoReceipt
    int lines = 0;             // its lines in the journal
    double storedStock = 0;    // HLA_NCA
    double postedStock = 0;    // the stock value of the lines: the sum of DEN_HNC
    double storedSale = 0;     // HLA_PCA
    double postedSale = 0;     // the sale value of the lines: DEN_HPC, with VAT added
                               // (DEN_DAN) when PriceMode is 2, as HLA_PCA counts it
};

// Every receipt that differs from its lines, in the order of date and number (a receipt
// without lines whose totals are not 0 is listed as both), then the numbers of lines
// without their receipt, in number order. A receipt short of a line or with an empty
// content was written apart from its lines (by an older program, or another one); lines
// without their receipt were posted without it. The tables of ffDodavky and ffDenik are
// read through cursors of its own, the journal once from start to end. Store errors are
// raised.
QVector<ReceiptDifference> CheckReceipts(TData &d);

// Sets HLA_NCA and HLA_PCA of each receipt listed as differing in its totals to the
// values of its lines; creates and deletes nothing. Returns the receipts changed (with
// the values they had); a receipt that cannot be written (another station holds it, or
// it is gone) is left as it is and its number goes to `left`. The receipts are written
// through a cursor of its own. Store errors other than a refused edit are raised.
QVector<ReceiptDifference> RepairReceipts(TData &d, const QVector<ReceiptDifference> &differences, QStringList &left);
