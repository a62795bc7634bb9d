#pragma once
// A cursor of a report's own on a table a component of the data module names, so that
// reading for a report leaves the component's index, range and record as they were.

#include "store/table.h"

#include <QString>
#include <memory>

// A new component on the same definition, database and table name as `component`,
// opened and, when `index` is not empty, on that index. Store errors are raised.
std::unique_ptr<store::Table> OpenCursorOn(const store::Table &component, const QString &index = QString());
