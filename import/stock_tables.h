#pragma once
// What the stock operations share: the name they serialize their writes to one card on,
// and an edit that may be refused.

#include "store/table.h"

#include <QString>

// The name on which the stock operations of all stations serialize their writes to one
// card (store::Transaction).
QString StockCardSerialName(const QString &card);
// Puts the current record of t into editing (holding it); false, nothing changed, when
// that fails (for example because another station holds the record).
bool TryEdit(store::Table &t);
