#pragma once
// The measurements of bench_store: each operation through the table component and the
// same work by hand on the raw engine, in the same run.

#include "store_bench.h"

class TData;

namespace bench {

// Runs every measurement on the data module's journal and header tables (open on a
// connected database, filled with `rows` rows each) and prints one line per operation.
void measure(TData &data, RawEngine &raw, bool postgres, qint64 rows, int rounds);

} // namespace bench
