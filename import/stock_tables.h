#pragma once
// What the stock operations share: the cursors they read and write the stock through,
// the name they serialize their writes to one card on, and an edit that may be refused.

#include "store/cursor.h"
#include "store/table.h"

#include <QString>

class TData;

// The assortment, the stock variants and the stock journal, each through a cursor of
// its own on its index "KAV" (store::Cursor): the data module's components `ffSortiment`,
// `ffSklad` and `ffDenik`, which the windows show, are not touched. A stock operation
// opens them once for its work; a caller that posts many movements opens them once for
// all of them and passes them on.
struct StockCursors {
    explicit StockCursors(TData &d);
    store::Cursor cards, variants, journal;
};

// The name on which the stock operations of all stations serialize their writes to one
// card (store::Transaction).
QString StockCardSerialName(const QString &card);
// Puts the current record of t into editing (holding it); false, nothing changed, when
// that fails (for example because another station holds the record).
bool TryEdit(store::Table &t);
