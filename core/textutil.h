#pragma once
// Text and number helpers shared by every layer: trimming and padding of codes, the two
// kinds of capitals, and the conversions between text and numbers, dates and times in
// the user's regional settings (decimal separator of QLocale::system()) and the
// program's fixed date format.

#include <QChar>
#include <QDate>
#include <QString>
#include <QTime>

// The program-wide short date format "dd.mm.yyyy", in Qt's notation.
inline constexpr QLatin1StringView kShortDateFormat{"dd.MM.yyyy"};
// The display format of times, hours:minutes:seconds with two digits each, in Qt's notation.
inline constexpr QLatin1StringView kTimeFormat{"HH:mm:ss"};

// Removes every leading occurrence of c; the rest stays as it is.
QString TrimLeftChar(const QString &text, QChar c);
// Removes every trailing occurrence of c; the rest stays as it is.
QString TrimRightChar(const QString &text, QChar c);
// Removes leading and trailing blanks (code 32 only; tabs and other controls stay).
QString TrimBlanks(const QString &text);
// Puts c in front of the text until it is at least width characters long; a longer text
// comes back unchanged, never cut.
QString PadLeft(const QString &text, QChar c, int width);
// TrimBlanks, then zeros in front up to width: the stored form of document numbers and codes.
QString ZeroPad(const QString &text, int width);
// "Trimmed" in the general sense: removes every leading and trailing character whose
// code is 32 or less (blanks and control characters).
QString TrimControl(const QString &text);

// Capitals (a–z): only a–z become A–Z; accented letters and everything else stay.
QString UpperAZ(const QString &text);
// Capitals by the locale: every letter, accented ones included (účetní → ÚČETNÍ).
QString UpperLocale(const QString &text);

// A decimal integer with an optional sign, no blanks. Throws ConversionError
// ("'abc' není platné celé číslo") when the text is anything else or out of range.
int StrToInt(const QString &text);

// A number with the locale's decimal separator (no group separators; an exponent is
// allowed; blanks at the ends are ignored). Throws ConversionError for anything else.
double StrToFloat(const QString &text);
// The number in general form with up to 15 significant digits and the locale's decimal
// separator, without group separators (7,5; 1234; 0,1); zero never with a sign.
QString FloatToStr(double value);
// The number in one of the display formats of the tables: "#,##0.00", "#,##0.000",
// "#,##0.0000" (group separators of the locale), "0.00", or the empty format (FloatToStr).
// Halves round away from zero at the last shown digit. Throws AppError for another format.
QString FormatFloat(const QString &format, double value);

// The number as C's "%<width>.<decimals>f" prints it (right-aligned in at least width
// characters, fixed decimals, no group separators), with the locale's decimal separator:
// FormatFixed(1234.5, 8, 2) is " 1234,50" in a Czech setting. A negative value that
// rounds to zero prints without its sign ("    0,00", never "   -0,00").
QString FormatFixed(double value, int width, int decimals);

// A date written day.month.year: day and month with one or two digits, year with four
// (or two, taken within 50 years before and 49 after the current year); without a year,
// the current year. Throws ConversionError ("'32.13.2024' není platné datum") otherwise.
QDate StrToDate(const QString &text);
// The date in the short date format; the empty text for a null date.
QString DateToStr(const QDate &date);
// A time written hours:minutes or hours:minutes:seconds (one or two digits each).
// Throws ConversionError ("'25:00' není platný čas") otherwise.
QTime StrToTime(const QString &text);
