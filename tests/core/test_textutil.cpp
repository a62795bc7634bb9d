// Trimming, padding, capitals and the conversions of text to numbers, dates and times,
// in the Czech locale the tests run in (decimal comma, group separator U+00A0).

#include "core/errors.h"
#include "core/textutil.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

const QString nbsp = QString(QChar(0x00A0));

TEST(TextUtil, RunsInCzechLocale)
{
    ASSERT_EQ(QLocale::system().decimalPoint(), QStringLiteral(","));
    ASSERT_EQ(QLocale::system().groupSeparator(), nbsp);
}

TEST(TextUtil, ZeroPadAndTrims)
{
    EXPECT_EQ(ZeroPad(QStringLiteral(" 123 "), 10), QStringLiteral("0000000123"));
    EXPECT_EQ(ZeroPad(QStringLiteral("12345678901"), 10), QStringLiteral("12345678901"));
    EXPECT_EQ(ZeroPad(QString(), 6), QStringLiteral("000000"));
    EXPECT_EQ(PadLeft(QStringLiteral("7"), u'*', 3), QStringLiteral("**7"));

    EXPECT_EQ(TrimBlanks(QStringLiteral("\t a b  ")), QStringLiteral("\t a b"));
    EXPECT_EQ(TrimControl(QStringLiteral("\t a b \r\n")), QStringLiteral("a b"));
    EXPECT_EQ(TrimControl(QStringLiteral(" \t ")), QString());
    EXPECT_EQ(TrimLeftChar(QStringLiteral("000120"), u'0'), QStringLiteral("120"));
    EXPECT_EQ(TrimRightChar(QStringLiteral("000120"), u'0'), QStringLiteral("00012"));
    EXPECT_EQ(TrimRightChar(QStringLiteral("000"), u'0'), QString());
}

TEST(TextUtil, Capitals)
{
    EXPECT_EQ(UpperAZ(QStringLiteral("účetní abc-z")), QStringLiteral("účETNí ABC-Z"));
    EXPECT_EQ(UpperLocale(QStringLiteral("účetní žluťoučký")), QStringLiteral("ÚČETNÍ ŽLUŤOUČKÝ"));
}

TEST(TextUtil, StrToInt)
{
    EXPECT_EQ(StrToInt(QStringLiteral("22")), 22);
    EXPECT_EQ(StrToInt(QStringLiteral("-5")), -5);
    EXPECT_EQ(StrToInt(QStringLiteral("+0007")), 7);
    EXPECT_EQ(StrToInt(QStringLiteral("2147483647")), 2147483647);
    for (const char *bad : {"", "abc", "1 2", " 5", "5 ", "0x10", "1,5", "-", "2147483648", "٣"}) {
        try {
            StrToInt(QString::fromUtf8(bad));
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("'%1' není platné celé číslo").arg(QString::fromUtf8(bad)));
        }
    }
}

TEST(TextUtil, StrToFloatAndFloatToStr)
{
    EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("12,5")), 12.5);
    EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("-0,25")), -0.25);
    EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("1234")), 1234.0);
    EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral(" 3,5 ")), 3.5);
    for (const char *bad : {"", "abc", "1,2,3", "1.5", "1 234,5", "1\u00A0234", "inf", "nan", "12,5x"}) {
        try {
            StrToFloat(QString::fromUtf8(bad));
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("'%1' není platné číslo").arg(QString::fromUtf8(bad)));
        }
    }
    EXPECT_EQ(FloatToStr(7.5), QStringLiteral("7,5"));
    EXPECT_EQ(FloatToStr(1234567.0), QStringLiteral("1234567"));
    EXPECT_EQ(FloatToStr(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(FloatToStr(-2.0), QStringLiteral("-2"));
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(1234.5678)), 1234.5678);
}

TEST(TextUtil, FormatFloat)
{
    struct Case {
        const char *format;
        double value;
        QString expected;
    };
    const Case cases[] = {
        {"#,##0.00", 7.5, QStringLiteral("7,50")},
        {"#,##0.00", 1234567.891, QStringLiteral("1") + nbsp + "234" + nbsp + "567,89"},
        {"#,##0.00", -1234.5, QStringLiteral("-1") + nbsp + "234,50"},
        {"#,##0.00", 2.675, QStringLiteral("2,68")},
        {"#,##0.00", 1.005, QStringLiteral("1,01")},
        {"#,##0.00", -0.004, QStringLiteral("0,00")},
        {"#,##0.00", 0.0, QStringLiteral("0,00")},
        {"#,##0.000", 999.9995, QStringLiteral("1") + nbsp + "000,000"},
        {"#,##0.000", 12.3456, QStringLiteral("12,346")},
        {"#,##0.0000", 25.125, QStringLiteral("25,1250")},
        {"0.00", 1234567.891, QStringLiteral("1234567,89")},
        {"0.00", -3.0, QStringLiteral("-3,00")},
        {"", 7.5, QStringLiteral("7,5")},
        {"", 1234.0, QStringLiteral("1234")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatFloat(QString::fromLatin1(c.format), c.value), c.expected)
            << "format '" << c.format << "' value " << c.value;
    EXPECT_THROW(FormatFloat(QStringLiteral("#,##0.0#"), 1.0), AppError);
}

// The printed forms of a difference that leaves binary residue: an invoiced 5821.16
// against lines that add up to 5821.160000000001 is zero on paper, with no sign.
TEST(TextUtil, FormatFixedAndFloatToStrNeverPrintANegativeZero)
{
    double lines = 0;
    for (double part : {1940.38, 1940.39, 1940.39})
        lines += part;
    ASSERT_LT(5821.16 - lines, 0.0) << "the sum leaves no residue; the case shows nothing";
    struct Case {
        double value;
        int width, decimals;
        QString expected;
    };
    const Case cases[] = {
        {5821.16 - lines, 8, 2, QStringLiteral("    0,00")},
        {-0.0, 8, 2, QStringLiteral("    0,00")},
        {-0.004, 8, 2, QStringLiteral("    0,00")},
        {-0.004, 0, 2, QStringLiteral("0,00")},
        {-0.0004, 10, 3, QStringLiteral("     0,000")},
        {-0.005, 8, 2, QStringLiteral("   -0,01")},
        {-12.5, 8, 2, QStringLiteral("  -12,50")},
        {1234.5, 8, 2, QStringLiteral(" 1234,50")},
        {-1e-9, 0, 0, QStringLiteral("0")},
        {-0.6, 0, 0, QStringLiteral("-1")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.width, c.decimals), c.expected) << c.value;
    EXPECT_EQ(FloatToStr(-0.0), QStringLiteral("0"));
    EXPECT_EQ(FloatToStr(-0.5), QStringLiteral("-0,5"));
}

TEST(TextUtil, Dates)
{
    EXPECT_EQ(StrToDate(QStringLiteral("08.03.2024")), QDate(2024, 3, 8));
    EXPECT_EQ(StrToDate(QStringLiteral("8.3.2024")), QDate(2024, 3, 8));
    EXPECT_EQ(StrToDate(QStringLiteral("29.02.2024")), QDate(2024, 2, 29));
    EXPECT_EQ(StrToDate(QStringLiteral("8.3")), QDate(QDate::currentDate().year(), 3, 8));
    EXPECT_EQ(StrToDate(QStringLiteral("5. 3. 2024")), QDate(2024, 3, 5));   // blanks as typed
    EXPECT_EQ(StrToDate(QStringLiteral(" 5.3 .2024")), QDate(2024, 3, 5));
    // Two-digit years fall within 50 years before and 49 after the current year.
    const int thisYear = QDate::currentDate().year();
    const int back = thisYear - 50; // the earliest year a two-digit year can mean
    EXPECT_EQ(StrToDate(QStringLiteral("1.1.%1").arg(back % 100, 2, 10, QLatin1Char('0'))).year(), back);
    EXPECT_EQ(StrToDate(QStringLiteral("1.1.%1").arg((back - 1) % 100, 2, 10, QLatin1Char('0'))).year(),
              back + 99);
    EXPECT_EQ(StrToDate(QStringLiteral("05.03.%1").arg(thisYear % 100, 2, 10, QLatin1Char('0'))).year(),
              thisYear);
    for (const char *bad : {"", "32.13.2024", "29.02.2023", "8..3", "8a.3.2024", "1.2.024", "1.2.2024.",
                            "2024-03-08", "001.3.2024"}) {
        try {
            StrToDate(QString::fromUtf8(bad));
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("'%1' není platné datum").arg(QString::fromUtf8(bad)));
        }
    }
    EXPECT_EQ(DateToStr(QDate(2024, 3, 8)), QStringLiteral("08.03.2024"));
    EXPECT_EQ(DateToStr(QDate()), QString());
}

TEST(TextUtil, Times)
{
    EXPECT_EQ(StrToTime(QStringLiteral("8:05")), QTime(8, 5));
    EXPECT_EQ(StrToTime(QStringLiteral("23:59:59")), QTime(23, 59, 59));
    EXPECT_EQ(StrToTime(QStringLiteral("00:00:00")), QTime(0, 0));
    for (const char *bad : {"", "25:00", "8", "12:60", "1:2:3:4", "a:b", "8,30"}) {
        try {
            StrToTime(QString::fromUtf8(bad));
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("'%1' není platný čas").arg(QString::fromUtf8(bad)));
        }
    }
    EXPECT_EQ(QTime(7, 4, 9).toString(kTimeFormat), QStringLiteral("07:04:09"));
}

} // namespace
