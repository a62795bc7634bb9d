#include "value.h"

#include "core/codepage.h"
#include "core/errors.h"
#include "core/textutil.h"

#include <QDateTime>
#include <cmath>
#include <limits>

namespace store {

namespace {

const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");

bool isTextValue(const QVariant &v) { return v.typeId() == QMetaType::QString; }

ConversionError cannotRead(const FieldDef &f, const QString &as)
{
    return ConversionError(QStringLiteral("Pole %1 nelze číst jako %2").arg(f.name, as));
}

// The texts of true and false: the display values of the format ("Ano;Ne") or the defaults.
QPair<QString, QString> booleanTexts(const FieldDef &f)
{
    const int sep = int(f.format.indexOf(u';'));
    if (f.type == FieldType::Boolean && sep >= 0)
        return {f.format.left(sep), f.format.mid(sep + 1)};
    return {kTrue, kFalse};
}

bool textToBoolean(const FieldDef &f, const QString &text)
{
    const QString t = text.trimmed();
    const auto [yes, no] = booleanTexts(f);
    if (t.compare(yes, Qt::CaseInsensitive) == 0 || t.compare(kTrue, Qt::CaseInsensitive) == 0 || t == u"1")
        return true;
    if (t.compare(no, Qt::CaseInsensitive) == 0 || t.compare(kFalse, Qt::CaseInsensitive) == 0 || t == u"0")
        return false;
    throw ConversionError(QStringLiteral("'%1' není platná logická hodnota").arg(text));
}

// "dd.mm.yyyy hh:mm:ss": the date, then optionally the time after a blank.
QDateTime textToDateTime(const QString &text)
{
    const QString t = TrimBlanks(text);
    const int blank = int(t.indexOf(u' '));
    if (blank < 0)
        return QDateTime(StrToDate(t), QTime(0, 0));
    return QDateTime(StrToDate(t.left(blank)), StrToTime(t.mid(blank + 1).trimmed()));
}

QTime toSeconds(const QTime &t) { return QTime(t.hour(), t.minute(), t.second()); }

QVariant orEmpty(const QDate &d) { return d.isValid() ? QVariant(d) : QVariant(); }
QVariant orEmpty(const QTime &t) { return t.isValid() ? QVariant(toSeconds(t)) : QVariant(); }
QVariant orEmpty(const QDateTime &dt)
{
    return dt.isValid() ? QVariant(QDateTime(dt.date(), toSeconds(dt.time()))) : QVariant();
}

qint64 checkedInteger(const FieldDef &f, qint64 v)
{
    const qint64 lo = f.type == FieldType::SmallInt ? -32768 : std::numeric_limits<qint32>::min();
    const qint64 hi = f.type == FieldType::SmallInt ? 32767 : std::numeric_limits<qint32>::max();
    if (f.type != FieldType::AutoInc && (v < lo || v > hi))
        throw ConversionError(QStringLiteral("Hodnota %1 je mimo rozsah pole %2").arg(v).arg(f.name));
    return v;
}

// A Delphi-style date/time format ("dd.mm.yyyy", "hh:mm:ss", "hh:nn") in Qt's notation:
// m is the month, except right after an hour, where it is the minutes; n is the minutes.
QString qtDateTimeFormat(const QString &format)
{
    QString out;
    bool afterHour = false;
    for (QChar c : format) {
        switch (c.toLower().unicode()) {
        case 'h':
            out += u'H';
            afterHour = true;
            break;
        case 'n':
            out += u'm';
            break;
        case 'm':
            out += afterHour ? u'm' : u'M';
            break;
        case 'd':
        case 'y':
            out += c.toLower();
            afterHour = false;
            break;
        case 's':
        case 'z':
            out += c.toLower();
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString numberText(const QString &format, const QVariant &v, bool isFloat)
{
    if (!format.isEmpty())
        return FormatFloat(format, v.toDouble());
    return isFloat ? FloatToStr(v.toDouble()) : QString::number(v.toLongLong());
}

} // namespace

QVariant toFieldValue(const FieldDef &f, const QVariant &v, bool checkCodePage)
{
    if (v.isNull() || !v.isValid())
        return {};
    if (f.type == FieldType::String) {
        QString s = v.typeId() == QMetaType::QString ? v.toString() : valueAsString(f, v);
        if (checkCodePage && !fitsWin1250(s))
            throw CodePageError(QStringLiteral("Pole %1: znak „%2“ nelze uložit (kódová stránka Windows-1250)")
                                    .arg(f.name, firstNonWin1250(s)));
        if (f.size > 0 && s.size() > f.size)
            s.truncate(f.size);
        return s;
    }
    if (isTextValue(v) && TrimBlanks(v.toString()).isEmpty())
        return {};
    switch (f.type) {
    case FieldType::Float: {
        if (isTextValue(v))
            return StrToFloat(v.toString());
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok || v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime)
            throw ConversionError(QStringLiteral("'%1' není platné číslo").arg(v.toString()));
        // A stored number must be one the column can hold and read back: an overflow of
        // a computation (infinite) or its undefined result is refused before it is kept.
        // A calculated field only shows what its computation gave.
        if (!f.calculated && !std::isfinite(d))
            throw ConversionError(QStringLiteral("Hodnota %1 je mimo rozsah pole %2").arg(d).arg(f.name));
        return d;
    }
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoInc: {
        if (isTextValue(v))
            return checkedInteger(f, StrToInt(TrimBlanks(v.toString())));
        if (v.typeId() == QMetaType::Double) {
            const double d = v.toDouble();
            if (!std::isfinite(d) || std::abs(d) > 9.0e15)
                throw ConversionError(QStringLiteral("Hodnota %1 je mimo rozsah pole %2").arg(d).arg(f.name));
            return checkedInteger(f, std::llround(d));
        }
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        if (!ok)
            throw ConversionError(QStringLiteral("'%1' není platné celé číslo").arg(v.toString()));
        return checkedInteger(f, n);
    }
    case FieldType::Boolean:
        if (isTextValue(v))
            return textToBoolean(f, v.toString());
        return v.toBool();
    case FieldType::Date:
        if (isTextValue(v))
            return orEmpty(StrToDate(v.toString()));
        if (v.typeId() == QMetaType::QDateTime)
            return orEmpty(v.toDateTime().date());
        if (v.typeId() == QMetaType::QDate)
            return orEmpty(v.toDate());
        break;
    case FieldType::Time:
        if (isTextValue(v))
            return orEmpty(StrToTime(TrimBlanks(v.toString())));
        if (v.typeId() == QMetaType::QDateTime)
            return orEmpty(v.toDateTime().time());
        if (v.typeId() == QMetaType::QTime)
            return orEmpty(v.toTime());
        break;
    case FieldType::DateTime:
        if (isTextValue(v))
            return orEmpty(textToDateTime(v.toString()));
        if (v.typeId() == QMetaType::QDate)
            return orEmpty(QDateTime(v.toDate(), QTime(0, 0)));
        if (v.typeId() == QMetaType::QDateTime)
            return orEmpty(v.toDateTime());
        break;
    case FieldType::String:
        break;
    }
    throw ConversionError(QStringLiteral("Hodnotu '%1' nelze uložit do pole %2").arg(v.toString(), f.name));
}

QString valueAsString(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString();
    case QMetaType::Double:
        return FloatToStr(v.toDouble());
    case QMetaType::Bool: {
        const auto [yes, no] = booleanTexts(f);
        return v.toBool() ? yes : no;
    }
    case QMetaType::QDate:
        return DateToStr(v.toDate());
    case QMetaType::QTime:
        return v.toTime().toString(kTimeFormat);
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        const QString date = DateToStr(dt.date());
        return dt.time() == QTime(0, 0) ? date : date + u' ' + dt.time().toString(kTimeFormat);
    }
    default:
        return QString::number(v.toLongLong());
    }
}

double valueAsFloat(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return 0.0;
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
        return v.toDouble();
    case QMetaType::QString:
        return TrimBlanks(v.toString()).isEmpty() ? 0.0 : StrToFloat(v.toString());
    default:
        throw cannotRead(f, QStringLiteral("číslo"));
    }
}

qint64 valueAsInteger(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return 0;
    switch (v.typeId()) {
    case QMetaType::Double:
        return std::llround(v.toDouble());
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
        return v.toLongLong();
    case QMetaType::QString:
        return TrimBlanks(v.toString()).isEmpty() ? 0 : StrToInt(TrimBlanks(v.toString()));
    default:
        throw cannotRead(f, QStringLiteral("celé číslo"));
    }
}

bool valueAsBoolean(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return false;
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
        return v.toBool();
    case QMetaType::QString:
        return textToBoolean(f, v.toString());
    default:
        throw cannotRead(f, QStringLiteral("logickou hodnotu"));
    }
}

QDate valueAsDate(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate();
    case QMetaType::QDateTime:
        return v.toDateTime().date();
    case QMetaType::QString:
        return TrimBlanks(v.toString()).isEmpty() ? QDate() : StrToDate(v.toString());
    default:
        throw cannotRead(f, QStringLiteral("datum"));
    }
}

QTime valueAsTime(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QTime:
        return v.toTime();
    case QMetaType::QDateTime:
        return v.toDateTime().time();
    case QMetaType::QString:
        return TrimBlanks(v.toString()).isEmpty() ? QTime() : StrToTime(TrimBlanks(v.toString()));
    default:
        throw cannotRead(f, QStringLiteral("čas"));
    }
}

QDateTime valueAsDateTime(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return v.toDateTime();
    case QMetaType::QDate:
        return QDateTime(v.toDate(), QTime(0, 0));
    case QMetaType::QString:
        return TrimBlanks(v.toString()).isEmpty() ? QDateTime() : textToDateTime(v.toString());
    default:
        throw cannotRead(f, QStringLiteral("datum a čas"));
    }
}

QString displayText(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (f.type) {
    case FieldType::Float:
        return numberText(f.format, v, true);
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoInc:
        return numberText(f.format, v, false);
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
        if (!f.format.isEmpty()) {
            const QDateTime dt = f.type == FieldType::Time ? QDateTime(QDate(2000, 1, 1), v.toTime())
                                                           : valueAsDateTime(f, v);
            return dt.toString(qtDateTimeFormat(f.format));
        }
        return valueAsString(f, v);
    default:
        return valueAsString(f, v);
    }
}

int displayWidth(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::String:
        return f.size > 0 ? f.size : 20;
    case FieldType::Integer:
    case FieldType::AutoInc:
        return 11;
    case FieldType::SmallInt:
        return 6;
    case FieldType::Boolean:
        return 5;
    case FieldType::DateTime:
        return 18;
    default:
        return 10;   // Float, Date, Time
    }
}

QString editText(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return {};
    // A number is edited in full, without grouping: the display format rounds it.
    if (f.type == FieldType::Float || f.type == FieldType::Integer || f.type == FieldType::SmallInt
        || f.type == FieldType::AutoInc)
        return numberText(QString(), v, f.type == FieldType::Float);
    return displayText(f, v);
}

} // namespace store
