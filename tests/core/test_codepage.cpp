// The code-page tables against ICU's converters (through Qt), for every byte value,
// and the refusal of characters Windows-1250 cannot hold.

#include "core/codepage.h"
#include "core/errors.h"

#include <QStringDecoder>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QByteArray allBytes()
{
    QByteArray bytes(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        bytes[b] = static_cast<char>(b);
    return bytes;
}

struct Exception {
    int byte;
    char16_t expected;
};

// Compares our decoding of each byte with ICU's, except for the listed bytes, where
// ICU differs on purpose and the expected character is given instead.
void expectSameAsIcu(const char *icuName, QString (*ours)(const QByteArray &),
                     std::initializer_list<Exception> exceptions)
{
    ASSERT_TRUE(QStringDecoder(icuName).isValid()) << icuName;
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, static_cast<char>(b));
        const QString mine = ours(byte);
        ASSERT_EQ(mine.size(), 1) << "byte " << b;
        const auto exception = std::find_if(exceptions.begin(), exceptions.end(),
                                            [b](const Exception &e) { return e.byte == b; });
        if (exception != exceptions.end()) {
            EXPECT_EQ(mine[0].unicode(), exception->expected) << icuName << " byte " << b;
            continue;
        }
        QStringDecoder icu(icuName);
        const QString reference = icu.decode(byte);
        EXPECT_FALSE(icu.hasError()) << icuName << " byte " << b;
        EXPECT_EQ(mine, reference) << icuName << " byte 0x" << std::hex << b << ": ours U+"
                                   << int(mine[0].unicode()) << ", ICU U+"
                                   << (reference.isEmpty() ? -1 : int(reference[0].unicode()));
    }
}

TEST(CodePage, Win1250MatchesIcuForEveryByte)
{
    // The five bytes Windows-1250 leaves undefined stand for the C1 control of the same number.
    expectSameAsIcu("windows-1250", fromWin1250,
                    {{0x81, 0x81}, {0x83, 0x83}, {0x88, 0x88}, {0x90, 0x90}, {0x98, 0x98}});
}

TEST(CodePage, Cp852MatchesIcuForEveryByte)
{
    // ICU's IBM852 moves the controls 0x1A, 0x1C and 0x7F (an IBM mainframe convention);
    // DOS files hold them as plain ASCII. 0xAA is the not sign, which ICU leaves unmapped.
    expectSameAsIcu("IBM852", fromCp852, {{0x1A, 0x1A}, {0x1C, 0x1C}, {0x7F, 0x7F}, {0xAA, 0x00AC}});
}

// The code pages a dBase file may name besides 852 and 1250. ICU's IBM tables move the
// same controls as for 852, and read 437's 0xE6 as the Greek mu where DOS meant the micro
// sign (which Windows-1250 holds); the five bytes Windows-1252 leaves undefined stand for
// the C1 control of the same number.
TEST(CodePage, DosAndWindowsCodePagesOfDbaseFilesMatchIcu)
{
    const std::initializer_list<Exception> ibmControls = {{0x1A, 0x1A}, {0x1C, 0x1C}, {0x7F, 0x7F}};
    expectSameAsIcu("IBM437", [](const QByteArray &b) { return fromCodePage(437, b); },
                    {{0x1A, 0x1A}, {0x1C, 0x1C}, {0x7F, 0x7F}, {0xE6, 0x00B5}});
    expectSameAsIcu("IBM850", [](const QByteArray &b) { return fromCodePage(850, b); }, ibmControls);
    expectSameAsIcu("windows-1252", [](const QByteArray &b) { return fromCodePage(1252, b); },
                    {{0x81, 0x81}, {0x8D, 0x8D}, {0x8F, 0x8F}, {0x90, 0x90}, {0x9D, 0x9D}});
}

TEST(CodePage, Win1250RoundTripsEveryByte)
{
    const QByteArray bytes = allBytes();
    const QString text = fromWin1250(bytes);
    EXPECT_TRUE(fitsWin1250(text));
    EXPECT_EQ(toWin1250(text), bytes);
}

TEST(CodePage, CzechTextEncodesToKnownBytes)
{
    const QString text = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy – €");
    EXPECT_EQ(toWin1250(text),
              QByteArray("P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1"
                         "belsk\xE9 \xF3""dy \x96 \x80"));
    EXPECT_EQ(fromCodePage(1250, toWin1250(text)), text);
    EXPECT_EQ(fromCodePage(852, QByteArray("\xAC\x9F\x85\xDE")), QStringLiteral("ČčůŮ"));
}

TEST(CodePage, CharacterOutsideWin1250IsRefusedAndNamed)
{
    // "ł" fits (Polish), the Cyrillic Ж and the emoji (a surrogate pair) do not.
    const QString cyrillic = QStringLiteral("ałŽЖb");
    EXPECT_FALSE(fitsWin1250(cyrillic));
    EXPECT_EQ(firstNonWin1250(cyrillic), QStringLiteral("Ж"));
    try {
        toWin1250(cyrillic);
        FAIL() << "no error";
    } catch (const CodePageError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("'Ж'"))) << e.what();
        EXPECT_TRUE(e.text().contains(QStringLiteral("U+0416"))) << e.what();
    }

    const QString emoji = QStringLiteral("x") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("y");
    EXPECT_EQ(firstNonWin1250(emoji), QString::fromUcs4(U"\U0001F600"));
    try {
        toWin1250(emoji);
        FAIL() << "no error";
    } catch (const CodePageError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("U+1F600"))) << e.what();
    }
    EXPECT_EQ(firstNonWin1250(QStringLiteral("Žluť")), QString());
}

TEST(CodePage, UnknownCodePageIsAnError)
{
    EXPECT_THROW(fromCodePage(866, QByteArray("a")), CodePageError);
}

} // namespace
