// The data module on a real database of each engine: table names for a firm, the open
// and close operations, the remembered card and supplier, calculated fields, supplier
// numbering with its counter transaction, and document numbers from text counters.

#include "firm_tables.h"
#include "store_test_support.h"

#include "core/errors.h"
#include "core/osinfo.h"
#include "store/connection.h"
#include "store/counter.h"
#include "store/tables/tables.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <gtest/gtest.h>
#include <memory>

namespace ix = store::tables::index;

using storetest::Backend;
using storetest::TestDatabase;

namespace {

// The data module holds a component for each table of the catalogue that has fields
// (the tables this system opens), under the catalogue's name for the firm; the tables it
// never opens have none.
TEST(TDataNames, EveryComponentTakesItsNameForTheFirm)
{
    TData data;
    EXPECT_EQ(Data, &data);
    EXPECT_EQ(data.ffPodklHlav.TableName(), QStringLiteral("POD0001"));  // built-in name

    data.FirmNumber = QStringLiteral("0002");
    data.SetTableNames();
    QStringList components;
#define CHECK_NAME(T, definition, columns)                                                             \
    components << QStringLiteral(#T);                                                                 \
    EXPECT_EQ(data.T.Definition().component, QStringLiteral(#T));                                     \
    EXPECT_EQ(data.T.TableName(), store::tables::definition().nameForFirm(QStringLiteral("0002")));
#define NO_COMPONENT(...)
    STORE_CATALOGUE(CHECK_NAME, NO_COMPONENT)
#undef CHECK_NAME
#undef NO_COMPONENT
    QStringList withFields;
    for (const store::TableDef *t : store::tables::catalogue())
        if (!t->fields.isEmpty())
            withFields << t->component;
    EXPECT_EQ(components, withFields);
    EXPECT_EQ(data.ffPodklHlav.TableName(), QStringLiteral("POD0002"));
    EXPECT_EQ(data.ffCeniky.TableName(), QStringLiteral("CEN0000"));
    EXPECT_EQ(data.ffSemafor.TableName(), QStringLiteral("SYS0001"));
    EXPECT_EQ(data.UserFullName.size(), 19);
    EXPECT_EQ(data.DataSorti.DataSet(), &data.ffSortiment);
    EXPECT_FALSE(data.Index());
}

// Every field object is its component's own field of the column it is named after, in
// the tables of the catalogue and the work tables alike.
TEST(TDataFields, EachFieldObjectIsItsComponentsFieldOfThatColumn)
{
    TData data;
    int count = 0;
#define CHECK_FIELD(T, name, definition)                                                    \
    EXPECT_EQ(&data.T##name, &data.T.FieldByName(QStringLiteral(#name))) << #T #name;   \
    EXPECT_EQ(data.T##name.FieldName(), QStringLiteral(#name));                           \
    ++count;
#define CHECK_TABLE(component, definition, columns)                                          \
    columns(CHECK_FIELD, component)                                                          \
    EXPECT_EQ(data.component.FieldCount(), count) << #component;                             \
    count = 0;
#define SKIP_TABLE(...)
    STORE_CATALOGUE(CHECK_TABLE, SKIP_TABLE)
    STORE_WORK_TABLES(CHECK_TABLE, SKIP_TABLE)
#undef CHECK_FIELD
#undef CHECK_TABLE
#undef SKIP_TABLE
    EXPECT_EQ(data.ffDodavky.FindField(QStringLiteral("HLA_TYP")), nullptr);
    EXPECT_EQ(data.ffPodklHlavHLA_DO1.DisplayLabel(), QStringLiteral("Doklad"));
}

TEST(TDataNames, DataPointsAtTheLiveModuleOnly)
{
    {
        TData data;
        EXPECT_EQ(Data, &data);
    }
    EXPECT_EQ(Data, nullptr);
}

TEST(ConnectionParams, FollowTheTransportOfTheConfiguration)
{
    Config c;
    c.TcpIp = true;
    c.Host = QStringLiteral("sklad.example:6543");
    c.AliasName = QStringLiteral("kramora");
    c.DbUser = QStringLiteral("prodejna");
    store::ConnectionParams p = ConnectionParamsFor(c);
    EXPECT_EQ(p.kind, store::ConnectionParams::Kind::PostgreSQL);
    EXPECT_EQ(p.host, QStringLiteral("sklad.example"));
    EXPECT_EQ(p.port, 6543);
    EXPECT_EQ(p.database, QStringLiteral("kramora"));
    EXPECT_EQ(p.user, QStringLiteral("prodejna"));

    c.Host = QStringLiteral("127.0.0.1");
    c.DbUser.clear();
    p = ConnectionParamsFor(c);
    EXPECT_EQ(p.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(p.port, 5432);
    EXPECT_EQ(p.user, GetWindowsUserName());
    for (const char *bad : {"sklad:", "sklad:abc", "sklad:70000"}) {
        c.Host = QLatin1String(bad);
        EXPECT_THROW(ConnectionParamsFor(c), AppError) << bad;
    }

    c.TcpIp = false;
    c.AliasName = QStringLiteral("0002");
    for (const char *dir : {"/srv/kramora/data", "/srv/kramora/data/"}) {
        c.DataPath = QLatin1String(dir);
        p = ConnectionParamsFor(c);
        EXPECT_EQ(p.kind, store::ConnectionParams::Kind::SQLite);
        EXPECT_EQ(p.sqliteFile, QStringLiteral("/srv/kramora/data/0002.sqlite"));
    }
}

class TDataTest : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        db = std::make_unique<TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0002"));
        // The tests of this program share one database: every test starts from new,
        // empty tables, the shared ones included.
        FreshFirmSchema(data->Database, data->FirmNumber);
    }

    void TearDown() override
    {
        data.reset();
        db.reset();
    }

    // A table of the firm seen from another station.
    std::unique_ptr<store::Table> otherStation(store::Database &other, const store::TableDef &def)
    {
        auto t = std::make_unique<store::Table>(&def);
        t->SetDatabase(&other);
        t->SetTableName(def.nameForFirm(QStringLiteral("0002")));
        t->Open();
        return t;
    }

    void addCards()
    {
        store::Table &sor = data->ffSortiment;
        sor.Open();
        AppendRow(sor, {{data->ffSortimentSOR_KAV, "000003"}, {data->ffSortimentSOR_NAC, "Kladivo"}});
        AppendRow(sor, {{data->ffSortimentSOR_KAV, "000001"}, {data->ffSortimentSOR_NAC, "Pilník"}});
        AppendRow(sor, {{data->ffSortimentSOR_KAV, "000002"}, {data->ffSortimentSOR_NAC, "Dláto"}});
        sor.Close();
    }

    void addCounter(double supplierCounter, const QString &receiptCounter)
    {
        store::Table &cis = data->ffCiselnik;
        cis.Open();
        AppendRow(cis, {{data->ffCiselnikCIS_ODB, supplierCounter},
                        {data->ffCiselnikCIS_PRD, receiptCounter}, {data->ffCiselnikCIS_POD, "0"}});
        cis.Close();
    }

    double storedSupplierCounter()
    {
        auto other = db->connect();
        return otherStation(*other, store::tables::ciselnik())->FieldByName(data->ffCiselnikCIS_ODB).AsFloat();
    }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TData> data;
};

TEST_P(TDataTest, OpenKeepsTheIndexForABlankNameAndFailsQuietly)
{
    addCards();
    store::Table &sor = data->ffSortiment;
    sor.SetIndexName(ix::ffSortiment::NAC);
    ASSERT_TRUE(data->OpenffSor(0, QStringLiteral("   ")));
    EXPECT_TRUE(sor.Active());
    EXPECT_EQ(sor.IndexName(), ix::ffSortiment::NAC);
    EXPECT_EQ(data->ffSortimentSOR_NAC.AsString(), QStringLiteral("Dláto"));

    EXPECT_TRUE(data->OpenffSor(0, ix::ffSortiment::KAV));  // already open: selects the index
    EXPECT_EQ(sor.IndexName(), ix::ffSortiment::KAV);
    EXPECT_TRUE(data->OpenffSor(0, QString()));
    EXPECT_EQ(sor.IndexName(), ix::ffSortiment::KAV);
    EXPECT_THROW(data->OpenffSor(0, QStringLiteral("XYZ")), StoreError);
    data->CloseffSor();
    EXPECT_FALSE(sor.Active());
    data->CloseffSor();  // closing a closed table is harmless

    EXPECT_TRUE(data->OpenffDen(0, ix::ffDenik::STA));
    EXPECT_EQ(data->ffDenik.IndexName(), ix::ffDenik::STA);
    data->CloseffDenik();
    EXPECT_FALSE(data->ffDenik.Active());

    // A table that cannot be opened: its firm has no tables in this database.
    TData other;
    other.FirmNumber = QStringLiteral("0003");
    other.SetTableNames();
    other.Database.Connect(db->params());
    bool result = true;
    EXPECT_NO_THROW(result = other.OpenffSor(0, ix::ffSortiment::KAV));
    EXPECT_FALSE(result);
    EXPECT_FALSE(other.ffSortiment.Active());
    EXPECT_FALSE(other.OpenffDen(0, QString()));
}

TEST_P(TDataTest, RemembersACardAndGoesBackInTheRememberedOrder)
{
    store::Table &sor = data->ffSortiment;
    // Nothing remembered: false, and the table is not touched.
    EXPECT_FALSE(data->GetLastSor());
    EXPECT_FALSE(sor.Active());
    EXPECT_FALSE(data->SetLastSor());  // closed
    sor.Open();
    EXPECT_FALSE(data->SetLastSor());  // empty
    EXPECT_FALSE(data->LastSorSet);
    sor.Close();

    addCards();
    sor.Open();
    sor.SetIndexName(ix::ffSortiment::NAC);
    ASSERT_TRUE(sor.Locate(data->ffSortimentSOR_NAC, QStringLiteral("Kladivo")));
    ASSERT_TRUE(data->SetLastSor());
    EXPECT_EQ(data->LastSorCode, QStringLiteral("000003"));
    EXPECT_EQ(data->LastSorIndex, ix::ffSortiment::NAC);

    sor.SetIndexName(ix::ffSortiment::KAV);
    sor.First();
    ASSERT_TRUE(data->GetLastSor());
    EXPECT_EQ(data->ffSortimentSOR_KAV.AsString(), QStringLiteral("000003"));
    EXPECT_EQ(sor.IndexName(), ix::ffSortiment::NAC);
    sor.Next();  // the order is the remembered one: Kladivo, then Pilník
    EXPECT_EQ(data->ffSortimentSOR_NAC.AsString(), QStringLiteral("Pilník"));

    // The last record counts as a current record, also after Last.
    sor.Last();
    EXPECT_TRUE(data->SetLastSor());
    EXPECT_EQ(data->LastSorCode, QStringLiteral("000001"));

    // A remembered card that is gone leaves the table where it was.
    data->LastSorCode = QStringLiteral("999999");
    sor.First();
    EXPECT_TRUE(data->GetLastSor());
    EXPECT_EQ(data->ffSortimentSOR_NAC.AsString(), QStringLiteral("Dláto"));

    // The suppliers the same way, by code.
    store::Table &dod = data->ffDodavatele;
    addCounter(0, QStringLiteral("0"));
    dod.Open();
    for (const char *name : {"Beta", "Alfa"}) {
        dod.Append();
        data->ffDodavateleDOD_FIR.SetAsString(QLatin1String(name));
        dod.Post();
    }
    dod.SetIndexName(ix::ffDodavatele::NAC);
    dod.First();
    ASSERT_TRUE(data->SetLastDod());
    EXPECT_EQ(data->LastDodCode, QStringLiteral("000002"));
    dod.Last();
    ASSERT_TRUE(data->GetLastDod());
    EXPECT_EQ(data->ffDodavateleDOD_FIR.AsString(), QStringLiteral("Alfa"));
    EXPECT_EQ(dod.IndexName(), ix::ffDodavatele::NAC);
}

TEST_P(TDataTest, NewSupplierTakesItsCodeFromTheCommittedCounter)
{
    addCounter(41, QStringLiteral("0"));
    store::Table &dod = data->ffDodavatele;
    dod.Open();
    dod.Append();
    EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000042"));
    EXPECT_EQ(data->ffDodavateleDOD_JED.AsString(), QStringLiteral("0002"));
    EXPECT_FALSE(data->ffCiselnik.Active());
    EXPECT_FALSE(data->Database.InTransaction());
    // Committed at once: another station sees it while the supplier is still new.
    EXPECT_DOUBLE_EQ(storedSupplierCounter(), 42);
    dod.Cancel();
    EXPECT_TRUE(dod.IsEmpty());
    EXPECT_DOUBLE_EQ(storedSupplierCounter(), 42);

    dod.Append();
    EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000043"));
    dod.Post();
    EXPECT_DOUBLE_EQ(storedSupplierCounter(), 43);
}

TEST_P(TDataTest, FailedNumberingFailsTheInsertAndKeepsTheCounter)
{
    addCounter(41, QStringLiteral("0"));
    store::Table &dod = data->ffDodavatele;
    dod.Open();

    // The counter record is being edited at another station: no code can be taken.
    {
        auto other = db->connect();
        auto cis = otherStation(*other, store::tables::ciselnik());
        cis->Edit();
        EXPECT_THROW(dod.Append(), StoreError);
        EXPECT_EQ(dod.State(), store::DataSetState::Browse);
        EXPECT_FALSE(data->ffCiselnik.Active());
        EXPECT_FALSE(data->Database.InTransaction());
    }

    // The failure comes after the code was given (the firm number cannot be stored):
    // the counter goes back, and no supplier is left holding the code.
    const QString firm = data->FirmNumber;
    data->FirmNumber = QStringLiteral("漢字");
    EXPECT_THROW(dod.Append(), CodePageError);
    EXPECT_EQ(dod.State(), store::DataSetState::Browse);
    EXPECT_TRUE(dod.IsEmpty());
    EXPECT_DOUBLE_EQ(storedSupplierCounter(), 41);
    EXPECT_FALSE(data->Database.InTransaction());

    data->FirmNumber = firm;
    dod.Append();
    EXPECT_EQ(data->ffDodavateleDOD_KOD.AsString(), QStringLiteral("000042"));
    dod.Post();
}

TEST_P(TDataTest, TextCounterGivesPaddedNumbersAndKeepsItsOwnForm)
{
    addCounter(0, QStringLiteral("0000000123"));
    store::Table &cis = data->ffCiselnik;
    cis.Open();
    EXPECT_EQ(TakeTextCounter(cis, data->ffCiselnikCIS_PRD), QStringLiteral("0000000124"));
    EXPECT_EQ(data->ffCiselnikCIS_PRD.AsString(), QStringLiteral("124"));
    cis.Post();
    EXPECT_EQ(TakeTextCounter(cis, data->ffCiselnikCIS_PRD), QStringLiteral("0000000125"));
    cis.Post();
    cis.Close();
    cis.Open();
    EXPECT_EQ(data->ffCiselnikCIS_PRD.AsString(), QStringLiteral("125"));

    // A counter that is not a number cannot be increased; it is left as it was, and
    // not held against other stations.
    for (const char *bad : {"", "12a"}) {
        cis.Edit();
        data->ffCiselnikCIS_POD.SetAsString(QLatin1String(bad));
        cis.Post();
        EXPECT_THROW(TakeTextCounter(cis, data->ffCiselnikCIS_POD), ConversionError) << bad;
        EXPECT_EQ(cis.State(), store::DataSetState::Browse);
        EXPECT_EQ(data->ffCiselnikCIS_POD.AsString(), QLatin1String(bad));
        auto other = db->connect();
        EXPECT_NO_THROW(otherStation(*other, store::tables::ciselnik())->Edit());
    }
}

TEST_P(TDataTest, CalculatedFieldsFollowTheStoredOnes)
{
    store::Table &sor = data->ffSortiment;
    sor.Open();
    AppendRow(sor, {{data->ffSortimentSOR_KAV, "000001"}, {data->ffSortimentSOR_STA, 10},
                    {data->ffSortimentSOR_BLO, 3}, {data->ffSortimentSOR_MAJ, 5},
                    {data->ffSortimentSOR_PUJ, 2}});
    sor.Close();
    sor.Open();
    EXPECT_EQ(data->ffSortimentSOR_DIS.DisplayLabel(), QStringLiteral("Volne"));
    EXPECT_DOUBLE_EQ(data->ffSortimentSOR_DIS.AsFloat(), 7);
    EXPECT_DOUBLE_EQ(data->ffSortimentSOR_VOL.AsFloat(), 3);
    sor.Edit();
    data->ffSortimentSOR_BLO.SetAsFloat(4);
    EXPECT_DOUBLE_EQ(data->ffSortimentSOR_DIS.AsFloat(), 6);
    sor.Cancel();

    store::Table &cen = data->ffCeniky;
    cen.Open();
    AppendRow(cen, {{data->ffCenikyCEN_KOD, "1"}, {data->ffCenikyCEN_DPH, true}});
    AppendRow(cen, {{data->ffCenikyCEN_KOD, "2"}, {data->ffCenikyCEN_DPH, false}});
    cen.First();
    EXPECT_EQ(data->ffCenikytypCeniku.DisplayLabel(), QStringLiteral("Typ ceníku"));
    EXPECT_EQ(data->ffCenikytypCeniku.AsString(), QStringLiteral("Ceny s DPH"));
    cen.Next();
    EXPECT_EQ(data->ffCenikytypCeniku.AsString(), QStringLiteral("Ceny bez DPH"));

    store::Table &pop = data->ffPodklPol;
    pop.Open();
    AppendRow(pop, {{data->ffPodklPolPOP_DOK, "0000000001"}, {data->ffPodklPolPOP_CKU, 3},
                    {data->ffPodklPolPOP_CNC, 2.5}, {data->ffPodklPolPOP_KUS, 4},
                    {data->ffPodklPolPOP_NCS, 1.25}});
    pop.Close();
    pop.Open();
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_CCC.AsFloat(), 7.5);
    EXPECT_EQ(data->ffPodklPolPOP_CCC.DisplayText(), QStringLiteral("7,50"));
    EXPECT_DOUBLE_EQ(data->ffPodklPolPOP_NCC.AsFloat(), 5);
}

TEST_P(TDataTest, RangeOnDocumentNumberKeepsDocumentsApart)
{
    store::Table &pop = data->ffPodklPol;
    pop.Open();
    AppendRow(pop, {{data->ffPodklPolPOP_DOK, "0000000007"}, {data->ffPodklPolPOP_KAV, "000001"}});
    AppendRow(pop, {{data->ffPodklPolPOP_DOK, "0000000070"}, {data->ffPodklPolPOP_KAV, "000002"}});
    AppendRow(pop, {{data->ffPodklPolPOP_DOK, "0000000007"}, {data->ffPodklPolPOP_KAV, "000003"}});
    AppendRow(pop, {{data->ffPodklPolPOP_DOK, "0000000006"}, {data->ffPodklPolPOP_KAV, "000004"}});
    pop.SetIndexName(ix::ffPodklPol::DO1);
    pop.SetRange({QStringLiteral("0000000007")}, {QStringLiteral("0000000007")});
    QStringList cards;
    for (pop.First(); !pop.Eof(); pop.Next())
        cards << data->ffPodklPolPOP_KAV.AsString();
    EXPECT_EQ(cards, QStringList({"000001", "000003"}));  // in the order they were written
}

TEST_P(TDataTest, JournalFindsTheNewestEntryOfAVariantFirst)
{
    store::Table &den = data->ffDenik;
    den.Open();
    for (double stock : {5.0, 8.0, 12.0})
        AppendRow(den, {{data->ffDenikDEN_KAV, "000001"}, {data->ffDenikDEN_IND, "000"},
                        {data->ffDenikDEN_ZAS, stock}});
    AppendRow(den, {{data->ffDenikDEN_KAV, "000001"}, {data->ffDenikDEN_IND, "001"},
                    {data->ffDenikDEN_ZAS, 99}});
    den.SetIndexName(ix::ffDenik::STA);
    ASSERT_TRUE(den.FindKey({QStringLiteral("000001"), QStringLiteral("000")}));
    EXPECT_DOUBLE_EQ(data->ffDenikDEN_ZAS.AsFloat(), 12);
    den.SetIndexName(ix::ffDenik::KAV);
    ASSERT_TRUE(den.FindKey({QStringLiteral("000001"), QStringLiteral("000")}));
    EXPECT_DOUBLE_EQ(data->ffDenikDEN_ZAS.AsFloat(), 5);
}

TEST_P(TDataTest, ReceiptsComponentLeavesTheTypeToTheFullTable)
{
    store::Table &prd = data->ffDodavky;
    prd.Open();
    EXPECT_EQ(prd.FindField(QStringLiteral("HLA_TYP")), nullptr);
    AppendRow(prd, {{data->ffDodavkyHLA_DO1, "0000000001"}, {data->ffDodavkyHLA_NAC, "Kovo Dvořák"}});
    data->CloseffDod();
    EXPECT_FALSE(prd.Active());

    store::Table full(&store::tables::dodavkyFull());
    full.SetDatabase(&data->Database);
    full.SetTableName(data->ffDodavky.TableName());
    full.Open();
    EXPECT_EQ(full[QStringLiteral("HLA_DO1")].AsString(), QStringLiteral("0000000001"));
    EXPECT_EQ(full[QStringLiteral("HLA_TYP")].AsString(), QString());
}

TEST_P(TDataTest, WorkTablesLiveInMemory)
{
    store::Table &dok = data->DokladObsah;
    dok.Open();
    AppendRow(dok, {{data->DokladObsahDOK_KAV, "000002"}, {data->DokladObsahDOK_IND, "000"},
                    {data->DokladObsahDOK_KUS, 1}});
    AppendRow(dok, {{data->DokladObsahDOK_KAV, "000001"}, {data->DokladObsahDOK_IND, "001"},
                    {data->DokladObsahDOK_KUS, 2}});
    dok.SetIndexName(ix::DokladObsah::KAV);
    ASSERT_TRUE(dok.FindKey({QStringLiteral("000001"), QStringLiteral("001")}));
    EXPECT_DOUBLE_EQ(data->DokladObsahDOK_KUS.AsFloat(), 2);
    EXPECT_FALSE(data->Database.TableExists(QStringLiteral("DokladObsah")));
    EXPECT_EQ(data->DataDokladObsah.DataSet(), &dok);
}

// A field object reads and writes the stored column of its name (as another station sees
// it by name), also after its table was closed, renamed for another firm and reopened;
// on a record it names its own table's field only.
TEST_P(TDataTest, FieldObjectsFollowTheirColumnThroughReopenAndRename)
{
    store::Table &pod = data->ffPodklHlav;
    AppendRow(pod, {{data->ffPodklHlavHLA_DO1, "0000000005"}, {data->ffPodklHlavHLA_NAC, "Kovo Dvořák"},
                    {data->ffPodklHlavHLA_KUR, 25.5}});
    {
        auto other = db->connect();
        auto seen = otherStation(*other, store::tables::podklHlav());
        EXPECT_EQ(seen->FieldByName(data->ffPodklHlavHLA_DO1).AsString(), QStringLiteral("0000000005"));
        EXPECT_EQ(seen->FieldByName(data->ffPodklHlavHLA_NAC).AsString(), QStringLiteral("Kovo Dvořák"));
        EXPECT_DOUBLE_EQ(seen->FieldByName(data->ffPodklHlavHLA_KUR).AsFloat(), 25.5);
    }

    FreshFirmSchema(data->Database, QStringLiteral("0003"));
    data->FirmNumber = QStringLiteral("0003");
    data->SetTableNames();
    pod.Open();
    EXPECT_TRUE(pod.IsEmpty());
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QString());
    pod.Append();
    data->ffPodklHlavHLA_DO1.SetAsString(QStringLiteral("0000000009"));
    pod.Post();
    pod.Close();

    data->FirmNumber = QStringLiteral("0002");
    data->SetTableNames();
    pod.Open();
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000005"));
    EXPECT_EQ(data->ffPodklHlavHLA_NAC.AsString(), QStringLiteral("Kovo Dvořák"));
    const store::Record &row = pod.CurrentRecord();
    EXPECT_EQ(row.AsString(data->ffPodklHlavHLA_DO1), QStringLiteral("0000000005"));
    EXPECT_DOUBLE_EQ(row.AsFloat(data->ffPodklHlavHLA_KUR), 25.5);
    EXPECT_THROW(row.AsString(data->ffPodklPolPOP_DOK), StoreError);
    EXPECT_THROW(pod.FieldByName(data->ffDodavkyHLA_DO1), StoreError);
    EXPECT_TRUE(pod.Locate(data->ffPodklHlavHLA_NAC, QStringLiteral("Kovo Dvořák")));
}

INSTANTIATE_TEST_SUITE_P(Engines, TDataTest,
                         testing::Values(Backend::SQLite, Backend::PostgreSQL), storetest::engineName);

} // namespace
