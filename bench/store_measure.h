#pragma once
// The measurements of bench_store: each operation through the table component and the
// same work by hand on the raw engine, in the same run.

#include "store_bench.h"

namespace store {
class Database;
}

namespace bench {

// Runs every measurement on the generated tables and prints one line per operation.
void measure(store::Database &db, RawEngine &raw, bool postgres, qint64 rows, const QString &journal,
             const QString &headers);

} // namespace bench
