#pragma once
// Test databases on both engines and a plain in-memory model of a table's orders.
//
// SQLite: a new database file in a temporary directory for each test.
// PostgreSQL: the server named by PODKLADY_TEST_PG (a libpq connection string), or by
// PODKLADY_TEST_PG_DURABLE after useDurableServer(); each test program creates its own
// database there and drops it when it ends. Without the variable the PostgreSQL cases
// skip with a message, or fail when CI=true.

#include "store/database.h"
#include "store/table.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace storetest {

enum class Backend { SQLite, PostgreSQL };

// For INSTANTIATE_TEST_SUITE_P(…, testing::Values(Backend::SQLite, Backend::PostgreSQL), engineName).
std::string engineName(const testing::TestParamInfo<Backend> &info);

// The PostgreSQL cases of this test program run on the server named by
// PODKLADY_TEST_PG_DURABLE (tools/pg-test-cluster start-durable prints it) instead: one with
// the server's default durability, where a commit takes the time a shop's server takes
// and races around the commit can show. Its fsync and synchronous_commit must be on (the
// program stops with an error otherwise). Call before the first TestDatabase.
void useDurableServer();

// Why the engine cannot be tested here, or nullopt when it can.
std::optional<std::string> unavailable(Backend engine);

// Skips (or, under CI=true, fails) the current test when the engine is unavailable.
#define STORETEST_REQUIRE_ENGINE(engine)                                          \
    do {                                                                          \
        if (const auto why = storetest::unavailable(engine)) {                    \
            if (qEnvironmentVariable("CI") == QLatin1String("true"))              \
                FAIL() << *why;                                                   \
            GTEST_SKIP() << *why;                                                 \
        }                                                                         \
    } while (0)

// A database of its own for one test. Requires: the engine is available.
class TestDatabase {
public:
    explicit TestDatabase(Backend engine);
    ~TestDatabase();

    store::ConnectionParams params() const { return m_params; }
    // Opens one more connection to the same database (another "station").
    std::unique_ptr<store::Database> connect() const;
    // A table name not used before in this test program.
    static QString freshTableName(const QString &stem);

private:
    Backend m_engine;
    std::unique_ptr<QTemporaryDir> m_dir;
    store::ConnectionParams m_params;
};

// The connection string of the test server as ConnectionParams for one database.
store::ConnectionParams pgParams(const QString &database);

// A small table of codes and names, for tests that need any table at all.
const store::TableDef &codesTableDef();

// The rows of a table as plain values, ordered as an index orders them: text keys by
// code point (in capitals for a case-insensitive index), numbers and dates by value,
// empty dates first, ties by record id. It is what the table component must agree with.
class Model {
public:
    struct Row {
        qint64 id = 0;
        QVector<QVariant> values;  // by field, as the record holds them
    };

    explicit Model(const store::TableDef &def) : m_def(def) {}

    void upsert(const Row &row);
    void remove(qint64 id);
    const Row *find(qint64 id) const;
    int size() const { return int(m_rows.size()); }

    // The rows of the index ("" = by id) under the range, in order.
    QVector<qint64> ordered(const QString &index, const QVariantList &start = {}, const QVariantList &end = {},
                            bool ranged = false) const;
    // Compares a row's key with search values on their length, as the store does:
    // negative, zero or positive.
    int compareKey(const QString &index, const Row &row, const QVariantList &values) const;

private:
    QVariant keyValue(const store::IndexDef *ix, int keyPos, const Row &row) const;
    QVariant searchValue(const store::IndexDef *ix, int keyPos, const QVariant &v) const;
    static int compareValues(const QVariant &a, const QVariant &b);

    const store::TableDef &m_def;
    QVector<Row> m_rows;
};

// The ids of the whole range read with First/Next (or Last/Prior, given back in index
// order), checking Bof/Eof on the way.
QVector<qint64> walkForward(store::Table &t);
QVector<qint64> walkBackward(store::Table &t);

} // namespace storetest
