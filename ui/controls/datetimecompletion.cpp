#include "datetimecompletion.h"

#include "core/textutil.h"
#include "separators.h"

namespace {

// The part of reference after its n-th separator (n = 1 or 2).
QString afterSeparator(const QString &reference, QChar separator, int n)
{
    int at = -1;
    for (int i = 0; i < n; ++i) {
        at = reference.indexOf(separator, at + 1);
        if (at < 0)
            return QString();
    }
    return reference.mid(at + 1);
}

// A completed text built from typed characters may hold only digits, blanks and the
// date and time separators.
bool onlyDateTimeCharacters(const QString &text)
{
    for (QChar c : text)
        if (!(c.isDigit() || c == u' ' || c == kDateSeparator || c == kTimeSeparator))
            return false;
    return true;
}

} // namespace

bool IsTypedSeparator(QChar c)
{
    static const QString kTyped = QStringLiteral("*+,-./:?");
    return kTyped.contains(c);
}

std::optional<QString> CompleteDateTime(const QString &text, const QString &reference, QChar separator,
                                        int maxLength)
{
    QString t = TrimControl(text);
    if (t.isEmpty())
        return QString();
    if (t.size() > 8)
        t.truncate(maxLength);

    int first = 0;   // 1-based positions of the first two separators; 0 when absent
    int second = 0;
    for (int i = 0; i < t.size() && second == 0; ++i) {
        if (!IsTypedSeparator(t[i]))
            continue;
        t[i] = separator;
        (first == 0 ? first : second) = i + 1;
    }
    const int n = int(t.size());

    QString result;
    if (first == 0) {
        if (n == 6)   // ddmmyy: divided as typed, not checked here
            return t.left(2) + separator + t.mid(2, 2) + separator + t.mid(4);
        if (n > 2)
            return std::nullopt;
        result = t + separator + afterSeparator(reference, separator, 1);
    } else if (first == 1) {
        return reference;
    } else if (second == 0) {
        result = first == n ? t + afterSeparator(reference, separator, 1)
                            : t + separator + afterSeparator(reference, separator, 2);
    } else if (second == first + 1) {
        return std::nullopt;
    } else {
        result = second == n ? t + afterSeparator(reference, separator, 2) : t;
    }
    if (!onlyDateTimeCharacters(result))
        return std::nullopt;
    return result;
}

std::optional<QString> CompleteDate(const QString &text, const QDate &reference)
{
    return CompleteDateTime(text, DateToStr(reference), kDateSeparator, 10);
}

std::optional<QString> CompleteTime(const QString &text, const QTime &reference)
{
    return CompleteDateTime(text, reference.toString(kTimeFormat), kTimeSeparator, 8);
}
