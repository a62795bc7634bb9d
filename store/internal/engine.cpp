#include "engine.h"

#include "core/errors.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>
#include <QVarLengthArray>
#include <charconv>
#include <cstring>

namespace store {

namespace {

// Parses exactly `digits` decimal digits at text[pos]; -1 when they are not digits.
int fixedNumber(const char *text, int length, int pos, int digits)
{
    if (pos + digits > length)
        return -1;
    int value = 0;
    for (int i = pos; i < pos + digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY-MM-DD" at the start of the text.
QDate isoDate(const char *text, int length)
{
    const int y = fixedNumber(text, length, 0, 4);
    const int m = fixedNumber(text, length, 5, 2);
    const int d = fixedNumber(text, length, 8, 2);
    if (y < 0 || m < 0 || d < 0 || text[4] != '-' || text[7] != '-')
        return {};
    return QDate(y, m, d);
}

// The same, remembering the last date read on this thread: the rows of a read often
// share their date, which is then not worked out again.
QDate rememberedIsoDate(const char *text, int length)
{
    thread_local char lastText[10] = {};
    thread_local QDate lastDate;
    if (length >= 10 && std::memcmp(text, lastText, 10) == 0)
        return lastDate;
    const QDate d = isoDate(text, length);
    if (length >= 10) {
        std::memcpy(lastText, text, 10);
        lastDate = d;
    }
    return d;
}

// A decimal number: plain ones ([-]digits[.digits], at most 15 digits in all) are the
// quotient of two exactly held numbers, which the division rounds correctly; the rest
// go to std::from_chars.
double decimalNumber(const char *text, int length)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    int i = length > 0 && text[0] == '-' ? 1 : 0;
    qint64 mantissa = 0;
    int digits = 0;
    int decimals = -1;  // digits after the point; -1: no point yet
    for (; i < length; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + (c - '0');
            ++digits;
            if (decimals >= 0)
                ++decimals;
        } else if (c == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (i == length && digits > 0 && digits <= 15) {
        const double v = double(mantissa) / kPowers[std::max(decimals, 0)];
        return text[0] == '-' ? -v : v;
    }
    double v = 0;
    std::from_chars(text, text + length, v);
    return v;
}

// "HH:MM:SS" at text[pos].
QTime isoTime(const char *text, int length, int pos)
{
    const int h = fixedNumber(text, length, pos, 2);
    const int m = fixedNumber(text, length, pos + 3, 2);
    const int s = fixedNumber(text, length, pos + 6, 2);
    if (h < 0 || m < 0 || s < 0 || text[pos + 2] != ':' || text[pos + 5] != ':')
        return {};
    return QTime(h, m, s);
}

// Writes `value` as `width` decimal digits (the lowest ones), with leading zeros.
char *digits(char *out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
    return out + width;
}

// "YYYY-MM-DD"; a year of more than four digits, or before the common era, in full.
QByteArray isoDateText(const QDate &d)
{
    char text[10];
    char *p = digits(text, d.year(), 4);
    *p++ = '-';
    p = digits(p, d.month(), 2);
    *p++ = '-';
    digits(p, d.day(), 2);
    if (d.year() < 0 || d.year() > 9999)
        return QByteArray::number(d.year()).rightJustified(4, '0') + QByteArray(text + 4, 6);
    return QByteArray(text, sizeof text);
}

QByteArray isoTimeText(const QTime &t)
{
    char text[8];
    char *p = digits(text, t.hour(), 2);
    *p++ = ':';
    p = digits(p, t.minute(), 2);
    *p++ = ':';
    digits(p, t.second(), 2);
    return QByteArray(text, sizeof text);
}

} // namespace

QByteArray paramText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().toUtf8();
    case QMetaType::Bool:
        return value.toBool() ? "1" : "0";
    case QMetaType::Double: {
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, value.toDouble());
        return QByteArray(buf, int(r.ptr - buf));
    }
    case QMetaType::QDate:
        return isoDateText(value.toDate());
    case QMetaType::QTime:
        return isoTimeText(value.toTime());
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return isoDateText(dt.date()) + ' ' + isoTimeText(dt.time());
    }
    default:
        return QByteArray::number(value.toLongLong());
    }
}

namespace {

// Decodes UTF-8 into out, which has room for length characters: the number of UTF-16
// characters written, or -1 for what QString::fromUtf8 is left to decode (four-byte
// sequences, malformed text, a leading byte order mark).
qsizetype utf8Into(char16_t *out, const char *text, int length)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text);
    const auto *end = p + length;
    if (length >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return -1;
    char16_t *o = out;
    while (p < end) {
        const unsigned b = *p;
        if (b < 0x80) {
            *o++ = char16_t(b);
            ++p;
        } else if (b >= 0xC2 && b <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            *o++ = char16_t(((b & 0x1F) << 6) | (p[1] & 0x3F));
            p += 2;
        } else if (b >= 0xE0 && b <= 0xEF && end - p >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
            const unsigned c = ((b & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
            if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))
                return -1;
            *o++ = char16_t(c);
            p += 3;
        } else {
            return -1;
        }
    }
    return o - out;
}

// The text into the cell: into the string it holds, which keeps its buffer when that is
// its own and large enough (else it grows with some room to spare for the texts after
// it), or as a new string.
void setText(QVariant &cell, const char *text, int length)
{
    if (cell.typeId() != QMetaType::QString) {
        cell = QVariant(QString::fromUtf8(text, length));
        return;
    }
    QString &s = *static_cast<QString *>(cell.data());
    if (s.capacity() < length)
        s.reserve(length + length / 2);
    s.resize(length);
    const qsizetype n = utf8Into(reinterpret_cast<char16_t *>(s.data()), text, length);
    if (n >= 0)
        s.resize(n);
    else
        s = QString::fromUtf8(text, length);
}

void setEmpty(QVariant &cell)
{
    if (cell.isValid())
        cell = QVariant();
}

} // namespace

void decodeText(QVariant &cell, ColType type, const char *text, int length)
{
    switch (type) {
    case ColType::Text:
        setText(cell, text, length);
        return;
    case ColType::Integer: {
        qint64 v = 0;
        std::from_chars(text, text + length, v);
        cell.setValue(v);
        return;
    }
    case ColType::Real:
        cell.setValue(decimalNumber(text, length));
        return;
    case ColType::Boolean:
        cell.setValue(length > 0 && text[0] != '0');
        return;
    case ColType::Date: {
        const QDate d = rememberedIsoDate(text, length);
        if (d.isValid() && d != kEmptyKeyDate)
            cell.setValue(d);
        else
            setEmpty(cell);
        return;
    }
    case ColType::Time:
        // A time stored as text may be empty: the empty time of a key field.
        if (length == 0)
            setEmpty(cell);
        else
            cell.setValue(isoTime(text, length, 0));
        return;
    case ColType::DateTime: {
        const QDate d = rememberedIsoDate(text, length);
        if (d.isValid() && d != kEmptyKeyDate)
            cell.setValue(QDateTime(d, isoTime(text, length, 11)));
        else
            setEmpty(cell);
        return;
    }
    case ColType::Skip:
        break;
    }
    setEmpty(cell);
}

namespace {

// Hands each row of a read to a RowReceiver, from cells of its own.
class ReceiverSink : public RowSink {
public:
    ReceiverSink(int columns, const RowReceiver &receiver) : m_cells(columns), m_targets(columns), m_receiver(receiver)
    {
        for (int c = 0; c < columns; ++c)
            m_targets[c] = &m_cells[c];
    }
    QVariant *const *row() override { return m_targets.data(); }
    void rowDone() override { m_receiver(m_cells.data()); }

private:
    QVarLengthArray<QVariant, 32> m_cells;
    QVarLengthArray<QVariant *, 32> m_targets;
    const RowReceiver &m_receiver;
};

} // namespace

void Engine::query(const QString &sql, const QVariantList &params, const QVector<ColType> &columns,
                   const RowReceiver &row)
{
    ReceiverSink sink(int(columns.size()), row);
    run(sql, params, false, columns, &sink);
}

qint64 Engine::execute(const QString &sql, const QVariantList &params)
{
    const qint64 changed = run(sql, params, true, {}, nullptr);
    noteWrite();
    return changed;
}

qint64 Engine::insertReturningId(const QString &sql, const QVariantList &params)
{
    std::optional<qint64> id;
    const RowReceiver row = [&id](QVariant *cells) { id = cells[0].toLongLong(); };
    ReceiverSink sink(1, row);
    run(sql, params, true, {ColType::Integer}, &sink);
    noteWrite();
    if (!id)
        throw StoreError(QStringLiteral("Záznam nebyl zapsán"));
    return *id;
}

std::optional<qint64> Engine::queryInteger(const QString &sql, const QVariantList &params)
{
    std::optional<qint64> value;
    query(sql, params, {ColType::Integer}, [&value](QVariant *cells) {
        if (!value)
            value = cells[0].toLongLong();
    });
    return value;
}

bool Engine::tryHold(quint32 tableKey, qint64 id)
{
    const auto key = qMakePair(tableKey, id);
    auto it = m_holds.find(key);
    if (it != m_holds.end()) {
        ++*it;
        return true;
    }
    if (!lockHold(tableKey, id) && !lockHoldSoon(tableKey, id))
        return false;
    m_holds.insert(key, 1);
    return true;
}

bool Engine::holdAndRead(quint32 tableKey, qint64 id, const QString &sql, const QVariantList &params,
                         const QVector<ColType> &columns, RowSink &sink)
{
    const auto key = qMakePair(tableKey, id);
    if (auto it = m_holds.find(key); it != m_holds.end()) {
        run(sql, params, false, columns, &sink);
        ++*it;
        return true;
    }
    if (!lockHoldAndRead(tableKey, id, sql, params, columns, sink)) {
        if (!lockHoldSoon(tableKey, id))
            return false;
        readHeld(tableKey, id, sql, params, columns, sink);
    }
    m_holds.insert(key, 1);
    return true;
}

bool Engine::lockHoldAndRead(quint32 tableKey, qint64 id, const QString &sql, const QVariantList &params,
                             const QVector<ColType> &columns, RowSink &sink)
{
    if (!lockHold(tableKey, id))
        return false;
    readHeld(tableKey, id, sql, params, columns, sink);
    return true;
}

void Engine::readHeld(quint32 tableKey, qint64 id, const QString &sql, const QVariantList &params,
                      const QVector<ColType> &columns, RowSink &sink)
{
    try {
        run(sql, params, false, columns, &sink);
    } catch (...) {
        unlockHold(tableKey, id);
        throw;
    }
}

// Asks for a hold held elsewhere again, more and more seldom, until kHoldRetryMs have
// passed: a hold that another connection keeps to the end of its transaction ends right
// after its commit, which this connection may have been waiting for.
bool Engine::lockHoldSoon(quint32 tableKey, qint64 id)
{
    const QDeadlineTimer deadline(kHoldRetryMs);
    for (int pauseMs = 1; !deadline.hasExpired(); pauseMs = std::min(pauseMs * 2, 20)) {
        QThread::msleep(std::min<qint64>(pauseMs, deadline.remainingTime()));
        if (lockHold(tableKey, id))
            return true;
    }
    return false;
}

void Engine::release(quint32 tableKey, qint64 id)
{
    auto it = m_holds.find(qMakePair(tableKey, id));
    if (it == m_holds.end())
        return;
    if (--*it == 0) {
        m_holds.erase(it);
        unlockHold(tableKey, id);
    }
}

void Engine::releaseAll()
{
    for (auto it = m_holds.cbegin(); it != m_holds.cend(); ++it)
        unlockHold(it.key().first, it.key().second);
    m_holds.clear();
}

} // namespace store
