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

TEST(PodkladyFile, QuantityIsRoundedHalfAwayFromZero)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pod0000.dbf"));
    writePodkladyDbf(path, {{"000001", "001", 2.5, "A"}, {"000001", "001", -2.5, "A"}}, 0x64, 2);
    const QVector<PodkladyLine> lines = ReadPodkladyFile(path);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].quantity, 3);
    EXPECT_EQ(lines[1].quantity, -3);
}

// The texts are decoded from the code page the language-driver byte names.
struct DriverCase {
    int driver;
    const char *text;   // UTF-8; every character has a byte in that code page
};

class PodkladyFileDriver : public testing::TestWithParam<DriverCase> {};

TEST_P(PodkladyFileDriver, TextFollowsTheLanguageDriver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pod0000.dbf"));
    const QString text = QString::fromUtf8(GetParam().text);
    writePodkladyDbf(path, {{"000001", "001", 1, text}}, GetParam().driver);
    EXPECT_EQ(ReadPodkladyFile(path).value(0).document, text);
}

INSTANTIATE_TEST_SUITE_P(CodePages, PodkladyFileDriver,
                         testing::Values(DriverCase{0x00, "ŽLUŤ1"},   // no driver: DOS 852
                                         DriverCase{0x64, "ŽLUŤ1"},   // DOS 852
                                         DriverCase{0xC8, "ČÍSLO"},   // Windows-1250
                                         DriverCase{0x03, "ŠÉF€"},    // Windows-1252
                                         DriverCase{0x57, "ŽÄÖ"},     // Windows-1252 (ANSI)
                                         DriverCase{0x01, "ÄÖÜé"},    // DOS 437
                                         DriverCase{0x02, "ÁÉÍÓ"}));  // DOS 850

// Another driver byte reads while the texts are plain ASCII, and is refused by name with
// any other text.
TEST(PodkladyFile, UnknownLanguageDriverIsRefusedByNameForNonAsciiText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pod0000.dbf"));
    writePodkladyDbf(path, {{"000001", "001", 1, "AB12"}}, 0x26);
    EXPECT_EQ(ReadPodkladyFile(path).value(0).document, QStringLiteral("AB12"));
    writePodkladyDbf(path, {{"000001", "001", 1, "ŽLUŤ"}}, 0x26);
    const QString error = readError(path);
    EXPECT_TRUE(error.contains(QStringLiteral("jazykový ovladač 0x26"))) << error.toStdString();
    writePodkladyDbf(path, {{"000001", "001", 1, "ŽLUŤ"}}, 0xBE);
    EXPECT_TRUE(readError(path).contains(QStringLiteral("0xBE"))) << readError(path).toStdString();
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

// A header whose record length is not the deletion flag plus the field widths would have
// the records read out of step (every other line returned, the rest dropped): the file is
// refused whole.
TEST(PodkladyFile, RecordLengthDisagreeingWithTheFieldsIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Pod0000.dbf"));
    struct Case {
        const char *what;
        int lengthDelta;    // added to the record length of the header
        bool doubled;       // record length doubled and record count halved
    };
    // (A length shorter than the fields shapelib refuses to open by itself.)
    for (const Case &c : {Case{"doubled, count halved", 0, true}, Case{"one byte longer", 1, false}}) {
        SCOPED_TRACE(c.what);
        writePodkladyDbf(path, {{"000001", "001", 1, "AB12"}, {"000002", "001", 2, "AB12"},
                                {"000003", "001", 3, "AB12"}, {"000004", "001", 4, "AB12"}});
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray header = f.read(12);
        const int count = quint8(header[4]) | quint8(header[5]) << 8;
        const int length = quint8(header[10]) | quint8(header[11]) << 8;
        const int newLength = c.doubled ? 2 * length : length + c.lengthDelta;
        const int newCount = c.doubled ? count / 2 : count;
        header[4] = char(newCount & 0xFF);
        header[5] = char(newCount >> 8);
        header[10] = char(newLength & 0xFF);
        header[11] = char(newLength >> 8);
        f.seek(0);
        f.write(header);
        f.close();
        const QString text = readError(path);
        EXPECT_TRUE(text.contains(QStringLiteral("soubor je poškozen"))) << text.toStdString();
    }
}
