#include "textutil.h"

#include "errors.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

bool isAsciiDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

ConversionError notANumber(const QString &text)
{
    return ConversionError(QStringLiteral("'%1' není platné číslo").arg(text));
}

// The display formats: optional grouping "#,##", then "0", then optionally "." and
// the decimals as zeros. Returns false for any other format.
bool parseDisplayFormat(const QString &format, bool &grouped, int &decimals)
{
    QStringView rest(format);
    grouped = rest.startsWith(u"#,##");
    if (grouped)
        rest = rest.mid(4);
    if (!rest.startsWith(u'0'))
        return false;
    rest = rest.mid(1);
    decimals = 0;
    if (rest.isEmpty())
        return true;
    if (!rest.startsWith(u'.') || rest.size() < 2)
        return false;
    for (QChar c : rest.mid(1))
        if (c != u'0')
            return false;
    decimals = int(rest.size()) - 1;
    return true;
}

// The value rounded to the given decimals, halves away from zero. The binary noise
// below 15 significant digits is dropped first, so that 2.675 (stored as
// 2.67499999…) shows as 2.68, as written.
double roundHalfAway(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    if (!(std::abs(value * scale) < 1e15))
        return value; // no digits below the last shown one are significant
    const double scaled = QString::number(value * scale, 'g', 15).toDouble();
    return std::round(scaled) / scale + 0.0; // + 0.0 turns -0 into 0
}

} // namespace

QString TrimLeftChar(const QString &text, QChar c)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == c)
        ++i;
    return text.mid(i);
}

QString TrimRightChar(const QString &text, QChar c)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == c)
        --n;
    return text.left(n);
}

QString TrimBlanks(const QString &text) { return TrimRightChar(TrimLeftChar(text, u' '), u' '); }

QString PadLeft(const QString &text, QChar c, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), c) + text;
}

QString ZeroPad(const QString &text, int width) { return PadLeft(TrimBlanks(text), u'0', width); }

QString TrimControl(const QString &text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from].unicode() <= 32)
        ++from;
    while (to > from && text[to - 1].unicode() <= 32)
        --to;
    return text.mid(from, to - from);
}

QString UpperAZ(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    return out;
}

QString UpperLocale(const QString &text) { return text.toUpper(); }

int StrToInt(const QString &text)
{
    QStringView digits(text);
    if (digits.startsWith(u'+') || digits.startsWith(u'-'))
        digits = digits.mid(1);
    bool ok = isAsciiDigits(digits);
    const int value = ok ? text.toInt(&ok) : 0;
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' není platné celé číslo").arg(text));
    return value;
}

double StrToFloat(const QString &text)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        throw notANumber(text);
    return value;
}

QString FloatToStr(double value)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value + 0.0, 'g', 15); // + 0.0 turns -0 into 0
}

QString FormatFloat(const QString &format, double value)
{
    if (format.isEmpty())
        return FloatToStr(value);
    bool grouped = false;
    int decimals = 0;
    if (!parseDisplayFormat(format, grouped, decimals))
        throw AppError(QStringLiteral("Neznámý formát čísla '%1'").arg(format));
    QLocale locale = QLocale::system();
    locale.setNumberOptions(grouped ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    return locale.toString(roundHalfAway(value, decimals), 'f', decimals);
}

QString FormatFixed(double value, int width, int decimals)
{
    QString text = QString::asprintf("%*.*f", width, decimals, value);
    // A negative value that rounds to zero keeps its sign in C's output ("-0.00"); it is
    // printed as the zero it shows.
    if (std::signbit(value) && std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; }))
        text = QString::asprintf("%*.*f", width, decimals, 0.0);
    const QString point = QLocale::system().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

QDate StrToDate(const QString &text)
{
    // Blanks around the numbers are skipped ("5. 3.2024").
    QStringList parts = TrimBlanks(text).split(u'.');
    for (QString &part : parts)
        part = TrimBlanks(part);
    bool ok = (parts.size() == 2 || parts.size() == 3) && isAsciiDigits(parts[0])
        && parts[0].size() <= 2 && isAsciiDigits(parts[1]) && parts[1].size() <= 2;
    int year = QDate::currentDate().year();
    if (ok && parts.size() == 3) {
        const QString &y = parts[2];
        ok = isAsciiDigits(y) && (y.size() == 4 || y.size() <= 2);
        if (ok) {
            year = y.toInt();
            if (y.size() <= 2) {
                // Two digits: the year within 50 years before and 49 after the current one.
                const int earliest = QDate::currentDate().year() - 50;
                year += earliest / 100 * 100;
                if (year < earliest)
                    year += 100;
            }
        }
    }
    const QDate date = ok ? QDate(year, parts[1].toInt(), parts[0].toInt()) : QDate();
    if (!date.isValid())
        throw ConversionError(QStringLiteral("'%1' není platné datum").arg(text));
    return date;
}

QString DateToStr(const QDate &date) { return date.isNull() ? QString() : date.toString(kShortDateFormat); }

QTime StrToTime(const QString &text)
{
    const QStringList parts = TrimBlanks(text).split(u':');
    bool ok = parts.size() == 2 || parts.size() == 3;
    for (const QString &p : parts)
        ok = ok && isAsciiDigits(p) && p.size() <= 2;
    const QTime time = ok ? QTime(parts[0].toInt(), parts[1].toInt(), parts.value(2, QStringLiteral("0")).toInt())
                          : QTime();
    if (!time.isValid())
        throw ConversionError(QStringLiteral("'%1' není platný čas").arg(text));
    return time;
}
