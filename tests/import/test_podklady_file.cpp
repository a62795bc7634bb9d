// The reader of the import file: raw fields with their leading blanks, deleted records
// skipped, the code page of the header, and files it must refuse whole.

#include "podklady_dbf_writer.h"

#include "import/podklady_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(PODKLADY_DBF_FIXTURES "/") + QLatin1String(name);
}

// The text of the error reading the file gives, or "" when it reads.
QString readError(const QString &path)
{
    try {
        ReadPodkladyFile(path);
    } catch (const ImportFileError &e) {
        return e.text();
    }
    return QString();
}

} // namespace

TEST(PodkladyFile, ReadsLinesInOrderSkippingDeletedOnes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pod0000.dbf"));
    writePodkladyDbf(path, {{"000001", "001", 3, "AB12"},
                            {"000002", "002", 7, "X", true},
                            {" 00003", "", 2.5, "  ŽLUŤ1"},
                            {"000004", "01", -1.5, "AB12"}});
    const QVector<PodkladyLine> lines = ReadPodkladyFile(path);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].card, QStringLiteral("000001"));
    EXPECT_EQ(lines[0].variant, QStringLiteral("001"));
    EXPECT_EQ(lines[0].quantity, 3);
    EXPECT_EQ(lines[0].document, QStringLiteral("AB12"));
    // Leading blanks stay, trailing ones go; the text comes from code page 852.
    EXPECT_EQ(lines[1].card, QStringLiteral(" 00003"));
    EXPECT_EQ(lines[1].variant, QString());
    EXPECT_EQ(lines[1].document, QStringLiteral("  ŽLUŤ1"));
    EXPECT_EQ(lines[2].variant, QStringLiteral("01"));
}

TEST(PodkladyFile, QuantityIsRoundedAndTextFollowsTheLanguageDriver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pod0000.dbf"));
    writePodkladyDbf(path, {{"000001", "001", 2.5, "ČÍSLO"}, {"000001", "001", -2.5, "ČÍSLO"}}, 0xC8, 2);
    const QVector<PodkladyLine> lines = ReadPodkladyFile(path);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].quantity, 3);    // half away from zero
    EXPECT_EQ(lines[1].quantity, -3);
    EXPECT_EQ(lines[0].document, QStringLiteral("ČÍSLO"));   // Windows-1250 bytes

    // A code page the program does not know reads while the texts are plain ASCII only.
    writePodkladyDbf(path, {{"000001", "001", 1, "AB12"}}, 0x57);
    EXPECT_EQ(ReadPodkladyFile(path).value(0).document, QStringLiteral("AB12"));
    writePodkladyDbf(path, {{"000001", "001", 1, "ŽLUŤ"}}, 0xC8);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(29);
    f.putChar(char(0x57));
    f.close();
    EXPECT_TRUE(readError(path).contains(QStringLiteral("0x57"))) << readError(path).toStdString();
}

// Files that are not an import file, or are damaged, are refused with a text that names
// the file and the fault.
TEST(PodkladyFile, RefusesFilesItCannotUse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pod0000.dbf"));

    for (const char *name : {"people.dbf", "invalid_value.dbf", "memotest.dbf", "no_memofile.dbf"}) {
        const QString text = readError(fixture(name));
        EXPECT_TRUE(text.contains(QStringLiteral("chybí pole POD_KAV, POD_IND, POD_KSD, POD_PCD"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(name))) << text.toStdString();
    }

    writePodkladyDbf(path, {{"000001", "001", 1, "AB12"}}, 0x64, 0, true);
    EXPECT_TRUE(readError(path).contains(QStringLiteral("pole POD_KSD je typu C"))) << readError(path).toStdString();

    // A file cut short in its last record.
    writePodkladyDbf(path, {{"000001", "001", 1, "AB12"}, {"000002", "001", 1, "AB12"}});
    QFile f(path);
    ASSERT_TRUE(f.resize(f.size() - 10));
    EXPECT_TRUE(readError(path).contains(QStringLiteral("poškozen"))) << readError(path).toStdString();

    // Not a dBase file at all, and no file.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("this is a text file, not a table\n");
    f.close();
    EXPECT_FALSE(readError(path).isEmpty());
    EXPECT_TRUE(readError(dir.filePath(QStringLiteral("none.dbf"))).contains(QStringLiteral("nebyl nalezen")));
}

TEST(PodkladyFile, BadQuantityIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pod0000.dbf"));
    writePodkladyDbf(path, {{"000001", "001", 1, "AB12"}});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray all = f.readAll();
    const qsizetype at = all.lastIndexOf("       1");
    ASSERT_GT(at, 0);
    f.seek(at);
    f.write("   1x2  ");
    f.close();
    EXPECT_TRUE(readError(path).contains(QStringLiteral("POD_KSD"))) << readError(path).toStdString();
}
