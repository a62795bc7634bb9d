#pragma once
// Rebuilding the stock of one card from its journal, through cursors of its own on the
// assortment, the stock variants and the stock journal (StockCursors).

#include <QString>

class TData;

// Recomputes the stock of a card from the journal: each variant "000"–"999" gets
// SKL_POC plus its entries' DEN_KUS (0 for a card that keeps no stock), the card the
// sum. The journal is only read. True when the card exists and every variant and the
// card were written; a variant held elsewhere keeps its stock (result false). The data
// module's components are not moved; `ffSklad`, when it stands on a record, reads it
// again to show the new stock, and "No valid bookmark" is shown when that record is gone.
bool RekonstrukceKarty(TData &d, const QString &card);
