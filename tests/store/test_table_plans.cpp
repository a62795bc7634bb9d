// The reads of the table component are indexed on both engines: every statement it
// builds for an order — from the start or the end, after a key of any length, in either
// direction, within ranges — seeks the index and never sorts. Asked of the engines'
// own planners (EXPLAIN), on a table of a few thousand rows with fresh statistics.

#include "raw_engine.h"
#include "store_test_support.h"

#include "store/internal/keyset.h"
#include "store/internal/layout.h"

using namespace store;
using storetest::Backend;

namespace {

FieldDef field(const QString &name, FieldType type, int size = 0)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    return f;
}

const TableDef &planDef()
{
    static const TableDef def = [] {
        TableDef d;
        d.component = QStringLiteral("ffPlan");
        d.builtInName = QStringLiteral("PLN0001");
        d.fields = {field("P_RAD", FieldType::AutoInc), field("P_KAV", FieldType::String, 6),
                    field("P_IND", FieldType::String, 3), field("P_NAZ", FieldType::String, 20),
                    field("P_DAT", FieldType::Date),      field("P_NUM", FieldType::Float)};
        d.indexes = {
            {QStringLiteral("KAV"), {{QStringLiteral("P_KAV")}, {QStringLiteral("P_IND")}}},
            {QStringLiteral("STA"),
             {{QStringLiteral("P_KAV")}, {QStringLiteral("P_IND")}, {QStringLiteral("P_RAD"), true}}},
            {QStringLiteral("NAZ"), {{QStringLiteral("P_NAZ")}, {QStringLiteral("P_KAV")}}, false, true},
            {QStringLiteral("DAT"), {{QStringLiteral("P_DAT")}}},
            {QStringLiteral("UNI"), {{QStringLiteral("P_NUM")}}, true},
        };
        return d;
    }();
    return def;
}

class Plans : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        tdb = std::make_unique<storetest::TestDatabase>(GetParam());
        db = tdb->connect();
        name = storetest::TestDatabase::freshTableName("PLN");
        db->CreateTable(planDef(), name);
        Table t(&planDef());
        t.SetDatabase(db.get());
        t.SetTableName(name);
        t.Open();
        db->StartTransaction();
        for (int i = 0; i < 3000; ++i) {
            t.Append();
            t.FieldByName("P_KAV").SetAsString(QStringLiteral("%1").arg(i % 300, 6, 10, QLatin1Char('0')));
            t.FieldByName("P_IND").SetAsString(QStringLiteral("00%1").arg(i % 3));
            t.FieldByName("P_NAZ").SetAsString(QStringLiteral("Název %1").arg(i % 700));
            t.FieldByName("P_DAT").SetAsDate(QDate(2024, 1, 1).addDays(i % 200));
            t.FieldByName("P_NUM").SetAsFloat(i * 1.5);
            t.Post();
        }
        db->Commit();
        storetest::rawEngine(*db).runScript(GetParam() == Backend::SQLite ? QStringLiteral("ANALYZE")
                                                             : QStringLiteral("ANALYZE \"%1\"").arg(name));
    }
    void TearDown() override
    {
        if (db && db->IsConnected())
            db->DropTable(name);
    }

    // The engine's plan of a statement, one line per node.
    QStringList plan(const SqlQuery &q)
    {
        QStringList lines;
        const bool sqlite = GetParam() == Backend::SQLite;
        const QString explain = (sqlite ? QStringLiteral("EXPLAIN QUERY PLAN ") : QStringLiteral("EXPLAIN ")) + q.sql;
        const QVector<ColType> columns = sqlite
            ? QVector<ColType>{ColType::Skip, ColType::Skip, ColType::Skip, ColType::Text}
            : QVector<ColType>{ColType::Text};
        storetest::rawEngine(*db).query(explain, q.params, columns,
                           [&](QVariant *cells) { lines.append(cells[columns.size() - 1].toString()); });
        return lines;
    }

    // Every statement seeks (when it starts from a key or a range) and none sorts.
    void expectIndexed(const QVector<SqlQuery> &read, bool seeks, const std::string &what)
    {
        for (const SqlQuery &q : read) {
            const QStringList lines = plan(q);
            const QString text = lines.join(u'\n');
            SCOPED_TRACE(what + "\n" + q.sql.toStdString() + "\n" + text.toStdString());
            if (GetParam() == Backend::SQLite) {
                // From the edge: a scan of the index (or of the table in id order) that the
                // LIMIT stops; from a key: a search.
                EXPECT_FALSE(text.contains("TEMP B-TREE"));
                EXPECT_TRUE(text.contains(seeks ? "SEARCH" : "SCAN"));
            } else {
                EXPECT_FALSE(text.contains("Sort"));
                EXPECT_FALSE(text.contains("Seq Scan"));
                if (seeks) {
                    EXPECT_TRUE(text.contains("Index Cond"));
                }
            }
        }
    }

    std::unique_ptr<storetest::TestDatabase> tdb;
    std::unique_ptr<Database> db;
    QString name;
};

TEST_P(Plans, EveryReadOfEveryOrderSeeksAndNeverSorts)
{
    if (GetParam() == Backend::PostgreSQL)  // a small table: make the planner show what it could do
        storetest::rawEngine(*db).runScript(QStringLiteral("SET enable_seqscan = off; SET enable_sort = off; "
                                              "SET enable_bitmapscan = off"));
    const TableLayout layout(planDef());
    const Dialect &dialect = storetest::rawEngine(*db).dialect();
    // A key of a middle row, in storage form, for each order.
    const QVariantList row{QStringLiteral("000150"), QStringLiteral("001"), QStringLiteral("NÁZEV 15"),
                           QDate(2024, 3, 1), 2250.0, qint64(1501)};
    const auto keyFor = [&](const QVector<KeyColumn> &order) {
        QVariantList key;
        for (const KeyColumn &c : order) {
            const QString f = c.field < 0 ? QStringLiteral("P_RAD") : planDef().fields[c.field].name;
            key.append(f == "P_KAV"   ? row[0]
                       : f == "P_IND" ? row[1]
                       : f == "P_NAZ" ? row[2]
                       : f == "P_DAT" ? row[3]
                       : f == "P_NUM" ? row[4]
                                      : row[5]);
        }
        return key;
    };

    const QVector<const IndexDef *> indexes{nullptr, planDef().index("KAV"), planDef().index("STA"),
                                            planDef().index("NAZ"), planDef().index("DAT"), planDef().index("UNI")};
    for (const IndexDef *ix : indexes) {
        const QVector<KeyColumn> order = layout.keyColumns(ix);
        const QVariantList key = keyFor(order);
        const std::string ixName = ix ? ix->name.toStdString() : "(by id)";
        QVector<KeyRange> ranges{KeyRange{}};
        if (order.size() > 1) {
            ranges.append({key.mid(0, 1), key.mid(0, 1)});  // a prefix
            ranges.append({key.mid(0, order.size() - 1), key.mid(0, order.size() - 1)});
        }
        ranges.append({key.mid(0, 1), {}});  // from a key on
        for (const KeyRange &range : ranges) {
            const KeysetQuery keyset(layout, dialect, name, order, range);
            const bool ranged = !range.start.isEmpty();
            for (bool forward : {true, false}) {
                const std::string where = ixName + (ranged ? " ranged" : "") + (forward ? " forward" : " backward");
                expectIndexed(keyset.rows(nullptr, forward, 32), ranged, where + " from the edge");
                for (int k = 1; k <= order.size(); ++k)
                    for (bool inclusive : {true, false}) {
                        const KeySeek seek{key.mid(0, k), inclusive};
                        expectIndexed(keyset.rows(&seek, forward, 32), true,
                                      where + " seek " + std::to_string(k) + (inclusive ? " at" : " after"));
                    }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, Plans, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
