// The connection: creating and opening SQLite files, connecting to PostgreSQL, the schema
// operations, and what a closed connection refuses.

#include "store_test_support.h"

#include "core/errors.h"

#include <QFile>
#include <QTemporaryDir>

using namespace store;
using storetest::Backend;

namespace {

ConnectionParams sqliteFile(const QString &path)
{
    ConnectionParams p;
    p.sqliteFile = path;
    return p;
}

std::unique_ptr<Table> openTable(Database &db, const QString &name)
{
    auto t = std::make_unique<Table>(&storetest::codesTableDef());
    t->SetDatabase(&db);
    t->SetTableName(name);
    t->Open();
    return t;
}

TEST(DatabaseSQLite, NeverCreatesAFileOnConnect)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing.sqlite");
    Database db;
    try {
        db.Connect(sqliteFile(path));
        FAIL() << "connected to a missing file";
    } catch (const StoreError &e) {
        EXPECT_TRUE(e.text().contains(path)) << e.text().toStdString();
    }
    EXPECT_FALSE(db.IsConnected());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(DatabaseSQLite, CreatesANewFileOnlyWhenAskedAndNeverOverAnother)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shop.sqlite");
    Database::CreateSQLiteFile(path);
    EXPECT_THROW(Database::CreateSQLiteFile(path), StoreError);
    Database db;
    db.Connect(sqliteFile(path));
    db.CreateTable(storetest::codesTableDef(), "COD0001");
    auto t = openTable(db, "COD0001");
    t->Append();
    t->FieldByName("C_KOD").SetAsString("1");
    t->Post();
    // WAL mode: the write went to the log beside the file.
    EXPECT_TRUE(QFile::exists(path + "-wal"));
}

TEST(DatabaseSQLite, AFileThatIsNoDatabaseIsRefusedWithTheEngineText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("notes.sqlite");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    Database db;
    try {
        db.Connect(sqliteFile(path));
        FAIL() << "connected to a file that is no database";
    } catch (const StoreError &e) {
        EXPECT_TRUE(e.text().contains("not a database")) << e.text().toStdString();
    }
    EXPECT_FALSE(db.IsConnected());
}

TEST(DatabaseSQLite, InMemoryDatabasesAreEachTheirOwn)
{
    Database a, b;
    a.ConnectInMemory();
    b.ConnectInMemory();
    a.CreateTable(storetest::codesTableDef(), "WORK");
    EXPECT_TRUE(a.TableExists("WORK"));
    EXPECT_FALSE(b.TableExists("WORK"));
    auto t = openTable(a, "WORK");
    t->Append();
    t->FieldByName("C_KOD").SetAsString("1");
    t->Post();
    t->Edit();  // a hold needs no file here
    t->Cancel();
    EXPECT_EQ(t->RecordCount(), 1);
}

TEST(DatabasePostgreSQL, AnUnknownDatabaseIsRefusedWithTheServerText)
{
    STORETEST_REQUIRE_ENGINE(Backend::PostgreSQL);
    ConnectionParams p = storetest::pgParams("podklady_no_such_database");
    Database db;
    try {
        db.Connect(p);
        FAIL() << "connected to a database that does not exist";
    } catch (const StoreError &e) {
        EXPECT_TRUE(e.text().contains("podklady_no_such_database")) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains("does not exist")) << e.text().toStdString();
    }
    EXPECT_FALSE(db.IsConnected());
}

class Schema : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        tdb = std::make_unique<storetest::TestDatabase>(GetParam());
        db = tdb->connect();
        name = storetest::TestDatabase::freshTableName("SCH");
    }
    std::unique_ptr<storetest::TestDatabase> tdb;
    std::unique_ptr<Database> db;
    QString name;
};

TEST_P(Schema, CreateExistsDropAndTheirErrors)
{
    EXPECT_FALSE(db->TableExists(name));
    db->CreateTable(storetest::codesTableDef(), name);
    EXPECT_TRUE(db->TableExists(name));
    try {
        db->CreateTable(storetest::codesTableDef(), name);
        FAIL() << "created a table twice";
    } catch (const StoreError &e) {
        EXPECT_TRUE(e.text().startsWith("Tabulka " + name + ": ")) << e.text().toStdString();
    }
    // The failed creation left the first one whole, and no transaction open.
    EXPECT_FALSE(db->InTransaction());
    auto t = openTable(*db, name);
    t->SetIndexName("KOD");
    t->Close();
    db->DropTable(name);
    EXPECT_FALSE(db->TableExists(name));
    EXPECT_THROW(db->DropTable(name), StoreError);
}

// Names are identifiers, never SQL: a name holding double quotes and SQL of its own is a
// table of exactly that name, and the statement in it is not run.
TEST_P(Schema, ANameWithQuotesIsOneIdentifier)
{
    db->CreateTable(storetest::codesTableDef(), name);
    const QString odd = name + QStringLiteral("\"; DROP TABLE \"") + name + QStringLiteral("\"; --");
    db->CreateTable(storetest::codesTableDef(), odd);
    EXPECT_TRUE(db->TableExists(odd));
    auto t = openTable(*db, odd);
    t->Append();
    t->FieldByName("C_KOD").SetAsString("A\"B");
    t->Post();
    t->SetIndexName("KOD");
    EXPECT_TRUE(t->FindKey({QStringLiteral("A\"B")}));
    t->Close();
    db->DropTable(odd);
    EXPECT_FALSE(db->TableExists(odd));
    EXPECT_TRUE(db->TableExists(name));   // untouched by the name's "statement"
    db->DropTable(name);
}

TEST_P(Schema, OpeningAMissingTableNamesItAndLeavesItClosed)
{
    Table t(&storetest::codesTableDef());
    t.SetDatabase(db.get());
    t.SetTableName(name);
    try {
        t.Open();
        FAIL() << "opened a missing table";
    } catch (const StoreError &e) {
        EXPECT_TRUE(e.text().startsWith("Tabulka " + name + ": ")) << e.text().toStdString();
    }
    EXPECT_FALSE(t.Active());
    EXPECT_THROW(t.First(), StoreError);
}

TEST_P(Schema, AUniqueIndexRefusesASecondEqualKey)
{
    db->CreateTable(storetest::codesTableDef(), name);
    auto t = openTable(*db, name);
    t->Append();
    t->FieldByName("C_KOD").SetAsString("000001");
    t->Post();
    t->Append();
    t->FieldByName("C_KOD").SetAsString("000001");
    EXPECT_THROW(t->Post(), StoreError);
    t->Cancel();
    EXPECT_EQ(t->RecordCount(), 1);
}

TEST_P(Schema, DisconnectClosesTablesAndRefusesWork)
{
    db->CreateTable(storetest::codesTableDef(), name);
    auto t = openTable(*db, name);
    db->StartTransaction();
    t->Append();
    t->FieldByName("C_KOD").SetAsString("000001");
    t->Post();
    db->Disconnect();  // the open transaction is rolled back
    EXPECT_FALSE(t->Active());
    EXPECT_FALSE(db->IsConnected());
    EXPECT_THROW(t->Open(), StoreError);
    EXPECT_THROW(db->StartTransaction(), StoreError);
    EXPECT_THROW(db->TableExists(name), StoreError);
    db->Connect(tdb->params());
    t->Open();
    EXPECT_EQ(t->RecordCount(), 0);
    t->Close();
    db->DropTable(name);
}

// A component given another table (another firm's) reads that one, in the same order.
TEST_P(Schema, AComponentNamedAnewReadsItsNewTable)
{
    const QString other = storetest::TestDatabase::freshTableName("SCH");
    const QStringList tables{name, other};
    const QStringList codes{"A", "B"};
    for (int i = 0; i < 2; ++i) {
        db->CreateTable(storetest::codesTableDef(), tables[i]);
        auto t = openTable(*db, tables[i]);
        t->Append();
        t->FieldByName("C_KOD").SetAsString(codes[i]);
        t->Post();
    }
    Table t(&storetest::codesTableDef());
    t.SetDatabase(db.get());
    t.SetTableName(name);
    t.SetIndexName("KOD");
    t.Open();
    EXPECT_TRUE(t.FindKey({"A"}));
    EXPECT_THROW(t.SetTableName(other), StoreError);  // only while closed
    t.Close();
    t.SetTableName(other);
    t.Open();
    EXPECT_FALSE(t.FindKey({"A"}));
    EXPECT_TRUE(t.FindKey({"B"}));
    t.Close();
    db->DropTable(name);
    db->DropTable(other);
}

INSTANTIATE_TEST_SUITE_P(Engines, Schema, testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
