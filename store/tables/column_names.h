#pragma once
// The column names as constants, for code that works on a table without the data module
// and its field objects (the administrator's tool writes the demo firm before any data
// module exists): store::tables::column::ffSortiment::SOR_KAV is "SOR_KAV". They come
// from the same lists as the definitions, so a misspelt name does not compile.

#include "catalogue.h"

#define STORE_COLUMN_NAME(T, name, definition) inline constexpr char name[] = #name;
#define STORE_COLUMN_NAMES(component, definition, columns) \
    namespace component {                                  \
    columns(STORE_COLUMN_NAME, component)                  \
    }
#define STORE_NO_COLUMN_NAMES(...)

namespace store::tables::column {
STORE_CATALOGUE(STORE_COLUMN_NAMES, STORE_NO_COLUMN_NAMES)
STORE_WORK_TABLES(STORE_COLUMN_NAMES, STORE_NO_COLUMN_NAMES)
STORE_REPORT_TABLES(STORE_COLUMN_NAMES)
} // namespace store::tables::column

#undef STORE_COLUMN_NAME
#undef STORE_COLUMN_NAMES
#undef STORE_NO_COLUMN_NAMES
