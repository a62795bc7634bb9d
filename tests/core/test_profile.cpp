// The profile (INI) file: reading conventions, and writes that keep every other byte.

#include "core/errors.h"
#include "core/profile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Kramora.ini"));

    void write(const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray contents()
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(ProfileTest, ReadingConventions)
{
    write("Orphan=before any section\r\n"
          "[Jiny]\r\n"
          "Host=other section\r\n"
          "[ kramora ]\r\n"
          "; Host=commented out\r\n"
          "  hOsT  =  \t server 1 \t \r\n"
          "Host=second occurrence\r\n"
          "Empty=\r\n"
          "Quoted=\" a b \"\r\n"
          "Single='x'\r\n"
          "Half=\"x\r\n"
          "Eq=a=b\r\n"
          "NoEquals\r\n"
          "Long=" + QByteArray(3000, 'x') + "\r\n"
          "[KRAMORA]\r\n"
          "Later=ignored, second section of the name\r\n"
          "[Jiny]\r\n"
          "Empty=other section\r\n");
    const Profile p(path);
    ASSERT_TRUE(p.exists());
    const QString s = QStringLiteral("Kramora");
    EXPECT_EQ(p.value(s, QStringLiteral("HOST")), QStringLiteral("server 1"));
    EXPECT_EQ(p.value(s, QStringLiteral("Empty")), QString());
    EXPECT_EQ(p.value(s, QStringLiteral("Absent")), std::nullopt);
    EXPECT_EQ(p.readString(s, QStringLiteral("Absent"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(p.readString(s, QStringLiteral("Empty"), QStringLiteral("def")), QString());
    EXPECT_EQ(p.value(s, QStringLiteral("Quoted")), QStringLiteral(" a b "));
    EXPECT_EQ(p.value(s, QStringLiteral("Single")), QStringLiteral("x"));
    EXPECT_EQ(p.value(s, QStringLiteral("Half")), QStringLiteral("\"x"));
    EXPECT_EQ(p.value(s, QStringLiteral("Eq")), QStringLiteral("a=b"));
    EXPECT_EQ(p.value(s, QStringLiteral("NoEquals")), std::nullopt);
    EXPECT_EQ(p.value(s, QStringLiteral("Orphan")), std::nullopt);
    EXPECT_EQ(p.value(s, QStringLiteral("Later")), std::nullopt);
    EXPECT_EQ(p.value(s, QStringLiteral("Long")), QString(Profile::kMaxValueLength, u'x'));
    EXPECT_EQ(p.value(QStringLiteral("jiny"), QStringLiteral("Host")), QStringLiteral("other section"));
}

TEST_F(ProfileTest, MissingFileIsEmpty)
{
    const Profile p(path);
    EXPECT_FALSE(p.exists());
    EXPECT_EQ(p.readString(QStringLiteral("Kramora"), QStringLiteral("Host"), QStringLiteral("d")),
              QStringLiteral("d"));
}

TEST_F(ProfileTest, WritingKeepsEveryOtherByte)
{
    const QByteArray head = "; Konfigurace\r\n[Kramora]\r\nKramora=0002\r\n";
    const QByteArray tail = "\r\n[Jine]\r\nVstHeight=1\r\n";
    write(head + "vstheight = 400   \r\n" + "Host=x\r\n" + tail);

    Profile p(path);
    p.writeString(QStringLiteral("Kramora"), QStringLiteral("VstHeight"), QStringLiteral("500"));
    EXPECT_EQ(contents(), head + "vstheight = 500\r\n" + "Host=x\r\n" + tail);

    // A new key goes after the section's last line, before the blank line that ends it.
    p.writeString(QStringLiteral("KRAMORA"), QStringLiteral("FakHeight"), QStringLiteral("300"));
    EXPECT_EQ(contents(), head + "vstheight = 500\r\n" + "Host=x\r\nFakHeight=300\r\n" + tail);

    // A missing section is appended.
    p.writeString(QStringLiteral("Nova"), QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(contents(), head + "vstheight = 500\r\n" + "Host=x\r\nFakHeight=300\r\n" + tail + "[Nova]\r\nA=1\r\n");

    EXPECT_EQ(Profile(path).value(QStringLiteral("Kramora"), QStringLiteral("VstHeight")), QStringLiteral("500"));
}

TEST_F(ProfileTest, WritingKeepsLineFeedsAndAMissingLastLineEnd)
{
    write("[Kramora]\nHost=x");
    Profile p(path);
    p.writeString(QStringLiteral("Kramora"), QStringLiteral("VstHeight"), QStringLiteral("500"));
    EXPECT_EQ(contents(), QByteArray("[Kramora]\nHost=x\nVstHeight=500"));
    p.writeString(QStringLiteral("Dalsi"), QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(contents(), QByteArray("[Kramora]\nHost=x\nVstHeight=500\n[Dalsi]\nA=1\n"));
}

// Lines may end in CR LF, LF or a lone CR, even mixed in one file; a written key keeps
// the ending of the file's first line.
TEST_F(ProfileTest, EveryLineEndIsALineEnd)
{
    for (const QByteArray &eol : {QByteArray("\r"), QByteArray("\n"), QByteArray("\r\n")}) {
        write("[Kramora]" + eol + "Host=server" + eol + "Dan22=21" + eol);
        Profile p(path);
        EXPECT_EQ(p.value(QStringLiteral("Kramora"), QStringLiteral("Host")), QStringLiteral("server"));
        EXPECT_EQ(p.value(QStringLiteral("Kramora"), QStringLiteral("Dan22")), QStringLiteral("21"));
        p.writeString(QStringLiteral("Kramora"), QStringLiteral("VstHeight"), QStringLiteral("500"));
        EXPECT_EQ(contents(), "[Kramora]" + eol + "Host=server" + eol + "Dan22=21" + eol + "VstHeight=500" + eol);
    }
    write("[Kramora]\rHost=a\nDan22=21\r\nDan05=4\r");
    const Profile mixed(path);
    EXPECT_EQ(mixed.value(QStringLiteral("Kramora"), QStringLiteral("Host")), QStringLiteral("a"));
    EXPECT_EQ(mixed.value(QStringLiteral("Kramora"), QStringLiteral("Dan22")), QStringLiteral("21"));
    EXPECT_EQ(mixed.value(QStringLiteral("Kramora"), QStringLiteral("Dan05")), QStringLiteral("4"));
}

TEST_F(ProfileTest, WindowsAndUtf8Encodings)
{
    // Windows-1250: "Účty" is \xDA\xE8ty; the other bytes come back as they were.
    const QByteArray win = "[Kramora]\r\nCestaData=C:\\\xDA\xE8ty\\\r\nX=1\r\n";
    write(win);
    {
        Profile p(path);
        EXPECT_EQ(p.value(QStringLiteral("Kramora"), QStringLiteral("CestaData")), QStringLiteral("C:\\Účty\\"));
        p.writeString(QStringLiteral("Kramora"), QStringLiteral("X"), QStringLiteral("Žluť"));
        EXPECT_EQ(contents(), QByteArray("[Kramora]\r\nCestaData=C:\\\xDA\xE8ty\\\r\nX=\x8Elu\x9D\r\n"));
        // A character the code page cannot hold is refused and the file stays as it is.
        EXPECT_THROW(p.writeString(QStringLiteral("Kramora"), QStringLiteral("X"), QStringLiteral("Ж")),
                     CodePageError);
        EXPECT_EQ(contents(), QByteArray("[Kramora]\r\nCestaData=C:\\\xDA\xE8ty\\\r\nX=\x8Elu\x9D\r\n"));
    }
    // Valid UTF-8 with non-ASCII characters is read, and written, as UTF-8.
    write("[Kramora]\nCestaData=/home/účty/\n");
    {
        Profile p(path);
        EXPECT_EQ(p.value(QStringLiteral("Kramora"), QStringLiteral("CestaData")), QStringLiteral("/home/účty/"));
        p.writeString(QStringLiteral("Kramora"), QStringLiteral("X"), QStringLiteral("Ж"));
        EXPECT_EQ(contents(), QByteArray("[Kramora]\nCestaData=/home/účty/\nX=Ж\n"));
    }
}

TEST_F(ProfileTest, ValueWithLineBreakIsRefused)
{
    write("[Kramora]\r\nX=1\r\n");
    Profile p(path);
    EXPECT_THROW(p.writeString(QStringLiteral("Kramora"), QStringLiteral("X"), QStringLiteral("1\r\n[Jine]")),
                 AppError);
    EXPECT_EQ(contents(), QByteArray("[Kramora]\r\nX=1\r\n"));
}

TEST_F(ProfileTest, FailedWriteNamesTheFile)
{
    const QString sub = dir.filePath(QStringLiteral("sub"));
    ASSERT_TRUE(QDir().mkpath(sub));
    const QString file = sub + QStringLiteral("/Kramora.ini");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Kramora]\r\n");
    }
    Profile p(file);
    ASSERT_TRUE(QDir(sub).removeRecursively()); // the directory vanishes under the program
    try {
        p.writeString(QStringLiteral("Kramora"), QStringLiteral("X"), QStringLiteral("1"));
        FAIL() << "no error";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().contains(file)) << e.what();
    }
}

} // namespace
