#pragma once
// A command's own cursor on a table that a shared component names: the same definition,
// database and table name, opened for the command and closed when the cursor ends. The
// shared component keeps its state, index and record, whatever the command does with the
// cursor; the windows that show the shared component see nothing of it. Cheap to make:
// the connection keeps its prepared statements, so opening the same table again reads
// no catalogue and prepares nothing new.
//
//     store::Cursor receipts(Data->ffDodavky, ix::ffDodavky::DAT);
//     for (receipts.First(); !receipts.Eof(); receipts.Next()) ...
//
// Fields are reached by the table's column constants (store/tables/column_names.h), so a
// misspelt name does not compile. The shared component's calculated-field and insert
// handlers do not run on the cursor.

#include "table.h"

#include <QString>

namespace store {

class Cursor : public Table {
public:
    // Opens the table of `like` (open or closed) and, when `index` is not empty, selects
    // it. The errors of Open and SetIndexName are raised (StoreError); the cursor is then
    // closed.
    explicit Cursor(const Table &like, const QString &index = QString());
};

} // namespace store
