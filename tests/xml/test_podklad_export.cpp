// The XML export of a source document on a real database of each engine: the file byte
// for byte against one written by hand, the dialog, the failures that leave no file,
// and the tables closed afterwards.

#include "export_fixture.h"
#include "small_filesystem.h"

#include "core/errors.h"

#include <QFileInfo>

namespace xmltest {
namespace {

const QString kExpected = QStringLiteral(PODKLADY_XML_EXPECTED "/podklad_0000000005.xml");

TEST_P(ExportTest, WritesTheDocumentWithItsSupplierAndItemsAsTheHandOverFile)
{
    select(QStringLiteral("0000000005"));
    // A file of the chosen name is replaced; the message names the document, not the file.
    const QString path = exportDir.filePath(QStringLiteral("prijem.xml"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents that are longer than nothing");
    }
    dialog.answer = path;

    ASSERT_TRUE(runExport());

    const QByteArray expected = readAll(kExpected);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(readAll(path), expected);
    EXPECT_EQ(dialog.asked, QStringList({QStringLiteral("Uložení XML File"), data->ExportPath,
                                         QStringLiteral("0000000005"), QStringLiteral("XML soubory (*.xml)"),
                                         QStringLiteral("xml")}));
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Soubor dodávky 0000000005.xml vytvořen.")});
    EXPECT_EQ(exportDirEntries(), QStringList{QStringLiteral("prijem.xml")});
    EXPECT_EQ(data->ffPodklHlavHLA_DO1.AsString(), QStringLiteral("0000000005"));
    expectTablesClosed();
}

TEST_P(ExportTest, EmptyValuesAndADocumentWithoutItems)
{
    // Document 6 has no date and no invoiced amount, and its one item's card is
    // missing once that card is gone from the assortment.
    data->ffSortiment.Open();
    ASSERT_TRUE(data->ffSortiment.Locate(data->ffSortimentSOR_KAV, QStringLiteral("000010")));
    data->ffSortiment.Delete();
    data->ffSortiment.Close();
    select(QStringLiteral("0000000006"));
    dialog.answer = exportDir.filePath(QStringLiteral("0000000006.xml"));

    ASSERT_TRUE(runExport());

    const QByteArray file = readAll(dialog.answer);
    EXPECT_TRUE(file.contains("<HLAVICKA DOKLAD=\"0000000006\" VYSTAVENO=\"\" DODAVATEL=\"87654321\" FAKTURA=\"\" "
                              "FAKTCENA=\"0,00\" MENA=\"CZK\" KURZ=\"1\">"))
        << file.constData();
    EXPECT_TRUE(file.endsWith("</HLAVICKA>\r\n    <POLOZKY>\r\n    </POLOZKY>\r\n  </DOKLAD>\r\n</PRENOS>"))
        << file.constData();
    expectTablesClosed();
}

TEST_P(ExportTest, CancellingTheDialogWritesNothing)
{
    select(QStringLiteral("0000000005"));
    dialog.answer.clear();

    EXPECT_FALSE(runExport());

    EXPECT_EQ(dialog.shown, 1);
    EXPECT_TRUE(exportDirEntries().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
    expectTablesClosed();
}

TEST_P(ExportTest, TextOutsideTheCodePageStopsTheExportAndLeavesNoFile)
{
    rawExec(QStringLiteral("UPDATE \"%1\" SET \"DOD_FIR\" = 'Жук s.r.o.' WHERE \"DOD_KOD\" = '000007'")
                .arg(tableName(store::tables::dodavatele())));
    select(QStringLiteral("0000000005"));
    const QString earlier = exportDir.filePath(QStringLiteral("earlier.xml"));
    {
        QFile f(earlier);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    dialog.answer = earlier;

    try {
        runExport();
        ADD_FAILURE() << "the export went through";
    } catch (const CodePageError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("0000000005"))) << e.what();
        EXPECT_TRUE(e.text().contains(QStringLiteral("Ж"))) << e.what();
    }
    EXPECT_EQ(readAll(earlier), QByteArray("kept"));
    EXPECT_EQ(exportDirEntries(), QStringList{QStringLiteral("earlier.xml")});
    EXPECT_TRUE(prompts.messages.isEmpty());
    expectTablesClosed();
}

TEST_P(ExportTest, ASupplierMissingFromTheRegisterIsReportedAndNoFileIsMade)
{
    ASSERT_TRUE(data->ffPodklHlav.FindKey({QStringLiteral("0000000005")}));
    data->ffPodklHlav.Edit();
    data->ffPodklHlavHLA_ODB.SetAsString(QStringLiteral("000999"));
    data->ffPodklHlav.Post();
    select(QStringLiteral("0000000005"));
    dialog.answer = exportDir.filePath(QStringLiteral("0000000005.xml"));

    EXPECT_FALSE(runExport());

    EXPECT_TRUE(exportDirEntries().isEmpty());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("000999"))) << prompts.messages[0].toStdString();
    EXPECT_FALSE(prompts.messages[0].startsWith(QStringLiteral("Soubor dodávky")));
    expectTablesClosed();
}

TEST_P(ExportTest, AFileThatCannotBeCreatedIsAnErrorAndTheTablesAreClosed)
{
    select(QStringLiteral("0000000005"));
    dialog.answer = exportDir.filePath(QStringLiteral("chybí/0000000005.xml"));

    try {
        runExport();
        ADD_FAILURE() << "the export went through";
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Cannot create file ") + dialog.answer);
    }
    EXPECT_TRUE(exportDirEntries().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
    expectTablesClosed();
}

// A disk without room: the export fails with the reason, the file written before stays
// as it was and nothing else is left. A symlink at the chosen name is replaced by the
// file; what it pointed to stays.
TEST_P(ExportTest, AFullDiskKeepsTheEarlierFileAndASymlinkIsReplaced)
{
    SmallFileSystem fs(64);
    SMALL_FS_REQUIRE(fs);
    const QString path = fs.Put(QStringLiteral("0000000005.xml"), "kept");
    fs.Fill(0);
    select(QStringLiteral("0000000005"));
    dialog.answer = path;
    try {
        runExport();
        ADD_FAILURE() << "the export went through";
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Zápis do souboru se nezdařil: na disku není místo"));
    }
    EXPECT_EQ(readAll(path), QByteArray("kept"));
    EXPECT_EQ(QDir(fs.Path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("0000000005.xml"), QStringLiteral("filler")}));
    EXPECT_TRUE(prompts.messages.isEmpty());
    expectTablesClosed();

    QFile::remove(fs.FilePath(QStringLiteral("filler")));
    const QString link = exportDir.filePath(QStringLiteral("odkaz.xml"));
    ASSERT_TRUE(QFile::link(path, link));
    select(QStringLiteral("0000000005"));
    dialog.answer = link;
    ASSERT_TRUE(runExport());
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(link), readAll(kExpected));
    EXPECT_EQ(readAll(path), QByteArray("kept"));
}

TEST_P(ExportTest, AnEmptyListExportsNothing)
{
    // A range with no document in it stands for an empty list.
    data->ffPodklHlav.SetRange({QStringLiteral("0000000009")}, {QStringLiteral("0000000009")});

    EXPECT_FALSE(runExport());
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_TRUE(exportDirEntries().isEmpty());
    expectTablesClosed();
}

INSTANTIATE_TEST_SUITE_P(Engines, ExportTest,
                         testing::Values(storetest::Backend::SQLite, storetest::Backend::PostgreSQL),
                         storetest::engineName);

} // namespace
} // namespace xmltest
