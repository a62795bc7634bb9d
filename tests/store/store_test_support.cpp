#include "store_test_support.h"

#include "raw_engine.h"
#include "throwaway_pg.h"

#include "store/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <algorithm>
#include <stdexcept>
#include <unistd.h>

namespace storetest {

namespace {

bool durableServer = false;  // useDurableServer()

const char *pgVariable() { return durableServer ? "PODKLADY_TEST_PG_DURABLE" : "PODKLADY_TEST_PG"; }

QString pgConnInfo() { return qEnvironmentVariable(pgVariable()); }

// A setting of the server, as the program's own connection sees it.
QString serverSetting(store::Database &db, const QString &name)
{
    QString value;
    rawEngine(db).query(QStringLiteral("SELECT current_setting($1)"), {name}, {store::ColType::Text},
                        [&value](QVariant *cells) { value = cells[0].toString(); });
    return value;
}

// Stops the program when the server meant to be durable is not: its tests would pass
// where the races they look for cannot show.
void requireDurability(const QString &database)
{
    store::Database db;
    db.Connect(pgParams(database));
    for (const QString &name : {QStringLiteral("fsync"), QStringLiteral("synchronous_commit")}) {
        const QString value = serverSetting(db, name);
        if (value != QLatin1String("on"))
            throw std::runtime_error(QStringLiteral("PODKLADY_TEST_PG_DURABLE: the server runs with %1=%2, not on")
                                         .arg(name, value)
                                         .toStdString());
    }
}

// The database of this test program on the test server: created on first use, dropped
// when the program ends.
class ProgramDatabase : public testing::Environment {
public:
    static ProgramDatabase &instance()
    {
        static ProgramDatabase *db = [] {
            auto *env = new ProgramDatabase;
            testing::AddGlobalTestEnvironment(env);  // gtest owns it and tears it down
            return env;
        }();
        return *db;
    }
    const QString &name()
    {
        if (!m_database) {
            m_database = std::make_unique<pgtest::ThrowawayDatabase>(
                pgConnInfo().toUtf8(), QStringLiteral("podklady_test_%1_%2")
                                           .arg(getpid())
                                           .arg(QRandomGenerator::global()->generate() % 1000000));
            if (durableServer)
                requireDurability(m_database->name());
        }
        return m_database->name();
    }
    void TearDown() override { m_database.reset(); }

private:
    std::unique_ptr<pgtest::ThrowawayDatabase> m_database;
};

} // namespace

std::string engineName(const testing::TestParamInfo<Backend> &info)
{
    return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
}

std::optional<std::string> unavailable(Backend engine)
{
    if (engine == Backend::PostgreSQL && pgConnInfo().isEmpty())
        return std::string(pgVariable()) + " is not set: PostgreSQL not tested (tools/pg-test-cluster "
            + (durableServer ? "start-durable" : "start") + " prints it)";
    return std::nullopt;
}

void useDurableServer() { durableServer = true; }

store::ConnectionParams pgParams(const QString &database)
{
    return pgtest::paramsFor(pgConnInfo().toUtf8(), database);
}

TestDatabase::TestDatabase(Backend engine) : m_engine(engine)
{
    if (engine == Backend::SQLite) {
        m_dir = std::make_unique<QTemporaryDir>();
        m_params.kind = store::ConnectionParams::Kind::SQLite;
        m_params.sqliteFile = m_dir->filePath(QStringLiteral("test.sqlite"));
        store::Database::CreateSQLiteFile(m_params.sqliteFile);
    } else {
        m_params = pgParams(ProgramDatabase::instance().name());
    }
}

TestDatabase::~TestDatabase() = default;

std::unique_ptr<store::Database> TestDatabase::connect() const
{
    auto db = std::make_unique<store::Database>();
    db->Connect(m_params);
    return db;
}

QString TestDatabase::freshTableName(const QString &stem)
{
    static int counter = 0;
    return QStringLiteral("%1%2").arg(stem).arg(++counter, 4, 10, QLatin1Char('0'));
}

const store::TableDef &codesTableDef()
{
    static const store::TableDef def = [] {
        store::TableDef d;
        d.component = QStringLiteral("ffCodes");
        d.builtInName = QStringLiteral("COD0001");
        store::FieldDef code;
        code.name = QStringLiteral("C_KOD");
        code.size = 6;
        store::FieldDef name;
        name.name = QStringLiteral("C_NAZ");
        name.size = 30;
        d.fields = {code, name};
        d.indexes = {{QStringLiteral("KOD"), {{QStringLiteral("C_KOD")}}, true}};
        return d;
    }();
    return def;
}

// ---- Model

void Model::upsert(const Row &row)
{
    for (Row &r : m_rows)
        if (r.id == row.id) {
            r = row;
            return;
        }
    m_rows.append(row);
}

void Model::remove(qint64 id)
{
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(), [id](const Row &r) { return r.id == id; }),
                 m_rows.end());
}

const Model::Row *Model::find(qint64 id) const
{
    for (const Row &r : m_rows)
        if (r.id == id)
            return &r;
    return nullptr;
}

int Model::compareValues(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    switch (a.typeId()) {
    case QMetaType::QString:
        return a.toString().compare(b.toString(), Qt::CaseSensitive) < 0
            ? -1
            : (a.toString() == b.toString() ? 0 : 1);
    case QMetaType::QDate:
        return a.toDate() < b.toDate() ? -1 : (a.toDate() == b.toDate() ? 0 : 1);
    case QMetaType::QDateTime:
        return a.toDateTime() < b.toDateTime() ? -1 : (a.toDateTime() == b.toDateTime() ? 0 : 1);
    case QMetaType::QTime:
        return a.toTime() < b.toTime() ? -1 : (a.toTime() == b.toTime() ? 0 : 1);
    default:
        return a.toDouble() < b.toDouble() ? -1 : (a.toDouble() == b.toDouble() ? 0 : 1);
    }
}

QVariant Model::keyValue(const store::IndexDef *ix, int keyPos, const Row &row) const
{
    const int f = m_def.fieldIndex(ix->fields[keyPos].field);
    const QVariant &v = row.values[f];
    if (m_def.fields[f].type == store::FieldType::AutoInc)
        return row.id;
    if (m_def.fields[f].type == store::FieldType::String) {
        const QString s = v.toString();
        return ix->caseInsensitive ? s.toUpper() : s;
    }
    return v;
}

QVariant Model::searchValue(const store::IndexDef *ix, int keyPos, const QVariant &v) const
{
    const int f = m_def.fieldIndex(ix->fields[keyPos].field);
    const store::FieldDef &fd = m_def.fields[f];
    if (fd.type == store::FieldType::String) {
        const QString s = v.toString().left(fd.size);
        return ix->caseInsensitive ? s.toUpper() : s;
    }
    return v;
}

int Model::compareKey(const QString &index, const Row &row, const QVariantList &values) const
{
    const store::IndexDef *ix = m_def.index(index);
    if (!ix)
        return compareValues(row.id, values.value(0));
    for (int i = 0; i < values.size(); ++i) {
        int c = compareValues(keyValue(ix, i, row), searchValue(ix, i, values[i]));
        if (ix->fields[i].descending)
            c = -c;
        if (c != 0)
            return c;
    }
    return 0;
}

QVector<qint64> Model::ordered(const QString &index, const QVariantList &start, const QVariantList &end,
                               bool ranged) const
{
    QVector<Row> rows;
    for (const Row &r : m_rows)
        if (!ranged || (compareKey(index, r, start) >= 0 && compareKey(index, r, end) <= 0))
            rows.append(r);
    const store::IndexDef *ix = m_def.index(index);
    std::sort(rows.begin(), rows.end(), [&](const Row &a, const Row &b) {
        if (ix) {
            for (int i = 0; i < ix->fields.size(); ++i) {
                int c = compareValues(keyValue(ix, i, a), keyValue(ix, i, b));
                if (ix->fields[i].descending)
                    c = -c;
                if (c != 0)
                    return c < 0;
            }
        }
        return a.id < b.id;
    });
    QVector<qint64> ids;
    for (const Row &r : rows)
        ids.append(r.id);
    return ids;
}

QVector<qint64> walkForward(store::Table &t)
{
    QVector<qint64> ids;
    t.First();
    EXPECT_TRUE(t.Bof());
    while (!t.Eof()) {
        ids.append(t.GetBookmark().id);
        t.Next();
    }
    return ids;
}

QVector<qint64> walkBackward(store::Table &t)
{
    QVector<qint64> ids;
    t.Last();
    EXPECT_TRUE(t.Eof());
    while (!t.Bof()) {
        ids.prepend(t.GetBookmark().id);
        t.Prior();
    }
    return ids;
}

} // namespace storetest
