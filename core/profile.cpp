#include "profile.h"

#include "codepage.h"
#include "errors.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QStringView trimBlanksAndTabs(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool isValidUtf8WithNonAscii(const QByteArray &bytes)
{
    bool nonAscii = false;
    for (char c : bytes)
        nonAscii = nonAscii || static_cast<unsigned char>(c) >= 0x80;
    if (!nonAscii)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytes); // decoding sets hasError()
    return !utf8.hasError();
}

bool sameName(QStringView a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString readError(const QString &path, const QString &why)
{
    return QStringLiteral("Soubor %1 nelze číst: %2").arg(path, why);
}

// The bytes of a configuration file. Only a plain file of at most kMaxFileSize bytes is
// read: a device would never end (/dev/zero), a FIFO would wait for a writer for ever.
// The file is opened without waiting and checked on the descriptor that is then read.
QByteArray readRegularFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw AppError(readError(path, QString::fromLocal8Bit(std::strerror(errno))));
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw AppError(readError(path, file.errorString()));
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw AppError(readError(path, QStringLiteral("není to obyčejný soubor")));
    if (st.st_size > Profile::kMaxFileSize)
        throw AppError(readError(path, QStringLiteral("je větší než %1 bajtů").arg(Profile::kMaxFileSize)));
    // The size read is bounded too: a file that grows while it is read is cut, never
    // taken whole.
    QByteArray bytes = file.read(Profile::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw AppError(readError(path, file.errorString()));
    if (bytes.size() > Profile::kMaxFileSize)
        throw AppError(readError(path, QStringLiteral("je větší než %1 bajtů").arg(Profile::kMaxFileSize)));
    return bytes;
}

} // namespace

Profile::Profile(const QString &path)
    : m_path(path)
{
    QFile file(path);
    if (!file.exists())
        return;
    QByteArray bytes = readRegularFile(path);
    m_exists = true;

    if (bytes.startsWith(kUtf8Bom)) {
        m_bom = kUtf8Bom;
        bytes.remove(0, kUtf8Bom.size());
        m_utf8 = true;
    } else {
        m_utf8 = isValidUtf8WithNonAscii(bytes);
    }

    // Lines end in CR LF, LF or a lone CR (as some editors still write them); each keeps
    // its own ending when the file is written back.
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = from;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        if (end == bytes.size()) {
            m_lines.append({bytes.mid(from), QByteArray()});
            break;
        }
        const qsizetype endingLength = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
        m_lines.append({bytes.mid(from, end - from), bytes.mid(end, endingLength)});
        from = end + endingLength;
    }
}

QString Profile::decode(const QByteArray &bytes) const
{
    return m_utf8 ? QString::fromUtf8(bytes) : fromWin1250(bytes);
}

QByteArray Profile::encode(const QString &text) const
{
    return m_utf8 ? text.toUtf8() : toWin1250(text);
}

Profile::Place Profile::find(const QString &section, const QString &key) const
{
    Place place;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString text = decode(m_lines[i].text);
        const QStringView line = trimBlanksAndTabs(text);
        if (line.startsWith(u'[')) {
            if (place.sectionHeader >= 0)
                break; // the end of the first section of the name
            const qsizetype close = line.indexOf(u']');
            const QStringView name = trimBlanksAndTabs(line.mid(1, close < 0 ? -1 : close - 1));
            if (sameName(name, section))
                place.sectionHeader = place.sectionEnd = i;
            continue;
        }
        if (place.sectionHeader < 0 || line.isEmpty())
            continue;
        place.sectionEnd = i;
        if (place.keyLine >= 0 || line.startsWith(u';'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && sameName(trimBlanksAndTabs(line.left(equals)), key))
            place.keyLine = i;
    }
    return place;
}

std::optional<QString> Profile::value(const QString &section, const QString &key) const
{
    const Place place = find(section, key);
    if (place.keyLine < 0)
        return std::nullopt;
    const QString text = decode(m_lines[place.keyLine].text);
    QStringView value = trimBlanksAndTabs(QStringView(text).mid(text.indexOf(u'=') + 1));
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\''))
        value = value.mid(1, value.size() - 2);
    return value.left(kMaxValueLength).toString();
}

QString Profile::readString(const QString &section, const QString &key, const QString &def) const
{
    return value(section, key).value_or(def);
}

QByteArray Profile::lineEnding() const
{
    for (const Line &line : m_lines)
        if (!line.terminator.isEmpty())
            return line.terminator;
    return QByteArrayLiteral("\r\n");
}

void Profile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (value.contains(u'\n') || value.contains(u'\r'))
        throw AppError(QStringLiteral("Hodnotu klíče %1 nelze zapsat do souboru %2: obsahuje konec řádku")
                           .arg(key, m_path));
    const QByteArray bytes = encode(value);
    const QByteArray eol = lineEnding();
    const Place place = find(section, key);
    QList<Line> lines = m_lines;
    if (place.keyLine >= 0) {
        // Keep the key as written and the blanks after "="; replace what follows.
        QByteArray &text = lines[place.keyLine].text;
        qsizetype valueStart = text.indexOf('=') + 1;
        while (valueStart < text.size() && (text[valueStart] == ' ' || text[valueStart] == '\t'))
            ++valueStart;
        text = text.left(valueStart) + bytes;
    } else if (place.sectionHeader >= 0) {
        Line &last = lines[place.sectionEnd];
        // A last line without a line end stays the file's last line without one.
        QByteArray terminator = eol;
        if (last.terminator.isEmpty())
            std::swap(last.terminator, terminator);
        lines.insert(place.sectionEnd + 1, {encode(key) + '=' + bytes, terminator});
    } else {
        if (!lines.isEmpty() && lines.last().terminator.isEmpty())
            lines.last().terminator = eol;
        lines.append({'[' + encode(section) + ']', eol});
        lines.append({encode(key) + '=' + bytes, eol});
    }

    QSaveFile file(m_path);
    file.setDirectWriteFallback(true);
    bool ok = file.open(QIODevice::WriteOnly);
    ok = ok && file.write(m_bom) == m_bom.size();
    for (const Line &line : lines)
        ok = ok && file.write(line.text) == line.text.size()
            && file.write(line.terminator) == line.terminator.size();
    if (!ok || !file.commit())
        throw AppError(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(m_path, file.errorString()));
    m_lines = lines;
    m_exists = true;
}
