#pragma once
// The two raw engines of bench_store and what they share.

#include "store_bench.h"

#include <memory>

namespace bench {

std::unique_ptr<RawEngine> rawSqlite(const QString &path);
std::unique_ptr<RawEngine> rawPostgres(const QByteArray &conninfo);

// A parameter as text (dates and times in ISO form).
QByteArray textOf(const QVariant &v);
// A column read as text, decoded into a plain value and folded into a number.
double decodeText(Col col, const char *text, int length);

} // namespace bench
