#pragma once
// The stock check: every card compared with the stock journal, as the rebuild of a card
// would compute it. A stock item's variant ("000" to "999") must hold its start-of-year
// stock plus the quantities of its journal entries, and the card the sum of its
// variants; a card that keeps no stock holds none, in its variants or itself. And every
// receipt compared with its lines in the journal: its total at stock prices must be the
// stock value of its posted lines.

#include <QString>
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
// card is listed, also those that agree. Reads ffSortiment, ffSklad and ffDenik through
// store::TableUse: each is opened when closed and closed again, or given back on its
// index, range and record when it was open. Store errors are raised.
QVector<StockDifference> CheckCard(TData &d, const QString &card, bool everyStock = false);

// The differences of every card of the assortment, in card-number order, read as
// CheckCard reads them. Store errors are raised.
QVector<StockDifference> CheckStock(TData &d);

// A receipt whose total at stock prices disagrees with its lines in the journal.
struct ReceiptDifference {
    QString receipt;      // HLA_DO1
    double stored = 0;    // HLA_NCA
    double posted = 0;    // the stock value of its journal lines, as the receipt's value sums them
};

// Every receipt whose HLA_NCA differs by half a haléř or more from the stock value of its
// journal lines (TData::HlaHodDodavek), in the order of date and number. Such a receipt
// lacks a line that was posted (a station ended between posting the line and writing
// the receipt) or holds one whose journal entry is gone. ffDodavky and ffDenik are read
// through store::TableUse. Store errors are raised.
QVector<ReceiptDifference> CheckReceipts(TData &d);
