#pragma once
// For a view that reads the rows of a table page by page (Table::ReadRows) and drops
// those it no longer shows, such as a grid scrolling through a long table: the records
// it drops are given back to the table, whose next read decodes its rows into them
// instead of making new ones. It only saves allocations; a view need not use it.

#include "table.h"

namespace store {

// Gives back records read from `table` that the caller no longer shows. A record still
// shared elsewhere is left to its other holders.
void RecycleRows(Table &table, QVector<Record> rows);

} // namespace store
