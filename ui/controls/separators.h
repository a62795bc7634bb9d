#pragma once
// The separators the edit controls type, complete and convert with. Dates and times use
// the program's fixed forms (day.month.year, hours:minutes:seconds), numbers the decimal
// separator of the user's regional settings.

#include <QChar>
#include <QLocale>

inline constexpr QChar kDateSeparator = u'.';
inline constexpr QChar kTimeSeparator = u':';

// The decimal separator of the user's locale (a comma in Czech).
inline QChar decimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.front();
}
