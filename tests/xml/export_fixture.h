#pragma once
// A firm on a fresh database of each engine with one source document ready for the
// XML export: a supplier, cards and items (one of them on a card the assortment does
// not have, and an item of another document), the data module connected to it and a
// scripted save dialog that records what it was asked.

#include "firm_tables.h"
#include "recordingprompter.h"
#include "store_test_support.h"

#include "store/tables/tables.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"
#include "xml/podklad_export.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <memory>
#include <sqlite3.h>

namespace xmltest {

// The save dialog played by a test: answers `answer` (empty = Cancel) and keeps what it
// was shown.
struct ScriptedSaveDialog {
    QString answer;
    int shown = 0;
    QStringList asked;   // title, directory, name, filter, suffix of the last showing

    QString operator()(const QString &title, const QString &dir, const QString &name, const QString &filter,
                       const QString &suffix)
    {
        ++shown;
        asked = {title, dir, name, filter, suffix};
        return answer;
    }
};

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ExportTest : public testing::TestWithParam<storetest::Backend> {
protected:
    void SetUp() override
    {
        STORETEST_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(exportDir.isValid());
        db = std::make_unique<storetest::TestDatabase>(GetParam());
        data = FirmDataModule(db->params(), QStringLiteral("0001"));
        // The tests of one program share a database: each starts from new, empty tables.
        FreshFirmSchema(data->Database, data->FirmNumber);
        data->ExportPath = exportDir.path() + u'/';

        // A new supplier takes its code from the counter; the codes below replace it.
        AppendRow(data->ffCiselnik, {{data->ffCiselnikCIS_POD, "1"}, {data->ffCiselnikCIS_ODB, 0.0}});
        AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000007"},
                                       {data->ffDodavateleDOD_ICO, "12345678"},
                                       {data->ffDodavateleDOD_DIC, "CZ12345678"},
                                       {data->ffDodavateleDOD_FIR, "Pekárna s.r.o."},
                                       {data->ffDodavateleDOD_ULI, "Nádražní 5"},
                                       {data->ffDodavateleDOD_MES, "Třebíč"},
                                       {data->ffDodavateleDOD_PSC, "674 01"}});
        AppendRow(data->ffDodavatele, {{data->ffDodavateleDOD_KOD, "000008"},
                                       {data->ffDodavateleDOD_ICO, "87654321"},
                                       {data->ffDodavateleDOD_FIR, "Jiná"}});
        AppendRow(data->ffSortiment, {{data->ffSortimentSOR_KAV, "000010"},
                                      {data->ffSortimentSOR_NAC, "Šroub"}, {data->ffSortimentSOR_PC1, 49.9},
                                      {data->ffSortimentSOR_DAN, 21.0}});
        AppendRow(data->ffSortiment, {{data->ffSortimentSOR_KAV, "000011"},
                                      {data->ffSortimentSOR_NAC, "Matice"},
                                      {data->ffSortimentSOR_PC1, 12.0}, {data->ffSortimentSOR_DAN, 15.0}});

        addItem("0000000006", "000010", "Jiný doklad", 1, 1);
        addItem("0000000005", "000011", "Matice M6", 1.5, 10);
        addItem("0000000005", "000010", "Šroub & spol.", 3.25, 2.5);
        addItem("0000000005", "000099", "Karta není v sortimentu", 7, 7);
        addItem("0000000005", "000011", "Matice M6 žlutá", 0, 1);
        AppendRow(data->ffPodklHlav, {{data->ffPodklHlavHLA_DO1, "0000000005"},
                                      {data->ffPodklHlavHLA_DAT, QDate(2004, 3, 5)},
                                      {data->ffPodklHlavHLA_ODB, "000007"},
                                      {data->ffPodklHlavHLA_DO2, "Fč'A'<1>"},
                                      {data->ffPodklHlavHLA_FAC, 1234.5}, {data->ffPodklHlavHLA_MEN, "EUR"},
                                      {data->ffPodklHlavHLA_KUR, 25.5}});
        AppendRow(data->ffPodklHlav, {{data->ffPodklHlavHLA_DO1, "0000000006"},
                                      {data->ffPodklHlavHLA_ODB, "000008"}, {data->ffPodklHlavHLA_MEN, "CZK"},
                                      {data->ffPodklHlavHLA_KUR, 1.0}});
        // The main list as the main window keeps it: open in "DO1" order.
        data->ffPodklHlav.Open();
        data->ffPodklHlav.SetIndexName(store::tables::index::ffPodklHlav::DO1);
    }

    void TearDown() override
    {
        data.reset();
        db.reset();
    }

    void addItem(const char *document, const char *card, const char *name, double price, double packages)
    {
        AppendRow(data->ffPodklPol, {{data->ffPodklPolPOP_DOK, document}, {data->ffPodklPolPOP_KAV, card},
                                     {data->ffPodklPolPOP_NAC, QString::fromUtf8(name)},
                                     {data->ffPodklPolPOP_NCS, price}, {data->ffPodklPolPOP_KUS, packages}});
    }

    // Makes the document the current header of the main list.
    void select(const QString &document)
    {
        ASSERT_TRUE(data->ffPodklHlav.FindKey({document}));
    }

    bool runExport() { return ExportPodkladXml(*data, std::ref(dialog)); }

    // Every table the export opens is closed again.
    void expectTablesClosed()
    {
        EXPECT_FALSE(data->ffPodklPol.Active());
        EXPECT_FALSE(data->ffSortiment.Active());
        EXPECT_FALSE(data->ffDodavatele.Active());
    }

    QStringList exportDirEntries() const
    {
        return QDir(exportDir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // Writes past the table component, as another program could: the store itself
    // refuses such text.
    void rawExec(const QString &sql)
    {
        const store::ConnectionParams p = db->params();
        if (p.kind == store::ConnectionParams::Kind::SQLite) {
            sqlite3 *conn = nullptr;
            ASSERT_EQ(sqlite3_open(p.sqliteFile.toUtf8().constData(), &conn), SQLITE_OK);
            sqlite3_busy_timeout(conn, 5000);
            char *error = nullptr;
            const int rc = sqlite3_exec(conn, sql.toUtf8().constData(), nullptr, nullptr, &error);
            const std::string text = error ? error : "";
            sqlite3_free(error);
            sqlite3_close(conn);
            ASSERT_EQ(rc, SQLITE_OK) << text;
        } else {
            const QString info = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
                                     .arg(p.host).arg(p.port).arg(p.database, p.user);
            PGconn *conn = PQconnectdb(info.toUtf8().constData());
            ASSERT_EQ(PQstatus(conn), CONNECTION_OK) << PQerrorMessage(conn);
            PGresult *r = PQexec(conn, sql.toUtf8().constData());
            const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
            const std::string text = PQresultErrorMessage(r);
            PQclear(r);
            PQfinish(conn);
            ASSERT_TRUE(ok) << text;
        }
    }

    QString tableName(const store::TableDef &def) const { return def.nameForFirm(data->FirmNumber); }

    QTemporaryDir exportDir;
    std::unique_ptr<storetest::TestDatabase> db;
    std::unique_ptr<TData> data;
    RecordingPrompter prompts;
    ScriptedSaveDialog dialog;
};

} // namespace xmltest
