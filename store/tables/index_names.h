#pragma once
// The index names as constants: store::tables::index::ffSortiment::KAV is "KAV", the name
// of that index of ffSortiment, to be given to Table::SetIndexName. They come from the
// same lists as the definitions (indexes.h), so a misspelt index, or one its table does
// not have, does not compile.

#include "indexes.h"

#define STORE_INDEX_NAME(T, name, definition) inline constexpr char name[] = #name;
#define STORE_INDEX_NAMES(component, indexes) \
    namespace component {                     \
    indexes(STORE_INDEX_NAME, component)      \
    }

namespace store::tables::index {
STORE_INDEXED_TABLES(STORE_INDEX_NAMES)
} // namespace store::tables::index

#undef STORE_INDEX_NAME
#undef STORE_INDEX_NAMES
