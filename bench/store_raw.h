#pragma once
// The two raw engines of bench_store and what they share.

#include "store_bench.h"
#include "store/database.h"

#include <memory>

namespace bench {

std::unique_ptr<RawEngine> rawSqlite(const QString &path);
std::unique_ptr<RawEngine> rawPostgres(const QByteArray &conninfo);

// A database created on the PostgreSQL server of conninfo for one run and dropped
// (forcibly) when the object goes.
class ScratchPostgres {
public:
    // stem: the start of the database's name; the process id follows it.
    ScratchPostgres(const QByteArray &conninfo, const QString &stem);
    ~ScratchPostgres();
    ScratchPostgres(const ScratchPostgres &) = delete;
    ScratchPostgres &operator=(const ScratchPostgres &) = delete;

    // The table component's connection to the database, and the raw one's.
    const store::ConnectionParams &params() const { return m_params; }
    QByteArray conninfo() const { return m_conninfo + " dbname=" + m_params.database.toUtf8(); }

private:
    QByteArray m_conninfo;
    store::ConnectionParams m_params;
};

// A parameter as text (dates and times in ISO form).
QByteArray textOf(const QVariant &v);
// A column read as text, decoded into a plain value and folded into a number.
double decodeText(Col col, const char *text, int length);

} // namespace bench
