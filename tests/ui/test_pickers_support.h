#pragma once
// A firm on a fresh database of each engine for the pickers and search dialogs: the data
// module connected to it with its Kramora.ini in a directory of its own and the counter
// row, and helpers that write cards and suppliers.

#include "firm_tables.h"
#include "store_test_support.h"

#include "store/tables/tables.h"
#include "store/tdata.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace pickers {

using storetest::Backend;

class FirmTest : public testing::TestWithParam<Backend> {
protected:
    // The supplier counter every test starts from.
    static constexpr double kSupplierCounter = 41;

    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0001"));
        data->ExePath = dir.path() + u'/';
        QFile ini(dir.filePath(QStringLiteral("Kramora.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Kramora]\r\n");
        ini.close();
        // The tests of one program share a database: every test starts from new tables.
        FreshFirmSchema(data->Database, data->FirmNumber);
        // The counter row that numbers new suppliers.
        store::Table &cis = data->ffCiselnik;
        cis.Open();
        AppendRow(cis, {{data->ffCiselnikCIS_ODB, kSupplierCounter}, {data->ffCiselnikCIS_PRD, "0"},
                        {data->ffCiselnikCIS_POD, "0"}});
        cis.Close();
    }

    void TearDown() override
    {
        data.reset();
        db.reset();
    }

    // Cards (open: the assortment stays open on index "KAV" at its first card).
    void addCard(const QString &kav, const QString &nac, double pc1 = 0, const QString &ali = {},
                 const QString &kdo = {}, const QString &kvy = {})
    {
        store::Table &sor = data->ffSortiment;
        sor.Open();
        AppendRow(sor, {{data->ffSortimentSOR_KAV, kav}, {data->ffSortimentSOR_NAC, nac},
                        {data->ffSortimentSOR_PC1, pc1}, {data->ffSortimentSOR_ALI, ali},
                        {data->ffSortimentSOR_KDO, kdo},
                        {data->ffSortimentSOR_KVY, kvy}});
    }

    // Suppliers (each takes a number from the counter first; the code given replaces it).
    // The supplier table stays open.
    void addSupplier(const QString &kod, const QString &fir, const QString &ico = {})
    {
        store::Table &dod = data->ffDodavatele;
        dod.Open();
        AppendRow(dod, {{data->ffDodavateleDOD_KOD, kod}, {data->ffDodavateleDOD_FIR, fir},
                        {data->ffDodavateleDOD_ICO, ico}});
    }

    // The supplier counter as stored (read by another connection).
    double storedSupplierCounter()
    {
        const std::unique_ptr<store::Database> other = db->connect();
        store::Table cis(&store::tables::ciselnik());
        cis.SetDatabase(other.get());
        cis.SetTableName(data->ffCiselnik.TableName());
        cis.Open();
        return cis.FieldByName(data->ffCiselnikCIS_ODB).AsFloat();
    }

    QTemporaryDir dir;
    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
};

} // namespace pickers
