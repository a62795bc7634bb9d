#include "podklady_file.h"

#include "core/codepage.h"

#include <QFileInfo>
#include <cmath>
#include <shapefil.h>
#include <string>

namespace {

// shapelib reports its failures through a hook; the last one is kept for the message.
thread_local std::string g_lastDbfError;

void keepDbfError(const char *message)
{
    g_lastDbfError = message ? message : "";
}

// The code page each language-driver byte of the dBase header names, for the DOS and
// Windows code pages a Czech shop meets. A file without a driver byte (0) comes from the
// price-calculation module, which writes DOS 852.
struct Driver {
    int byte;
    int codePage;
};
constexpr Driver kDrivers[] = {
    {0x00, 852},
    // DOS 437 (US and the national variants built on it)
    {0x01, 437}, {0x09, 437}, {0x0B, 437}, {0x0D, 437}, {0x0F, 437}, {0x11, 437}, {0x15, 437},
    {0x18, 437}, {0x19, 437}, {0x1B, 437},
    // DOS 850 (multilingual)
    {0x02, 850}, {0x0A, 850}, {0x0E, 850}, {0x10, 850}, {0x12, 850}, {0x14, 850}, {0x16, 850},
    {0x1A, 850}, {0x1D, 850}, {0x25, 850}, {0x37, 850},
    // DOS 852 (Central European: Czech, Slovak, Polish, Hungarian)
    {0x1F, 852}, {0x22, 852}, {0x23, 852}, {0x40, 852}, {0x64, 852}, {0x87, 852},
    // Windows
    {0x03, 1252}, {0x57, 1252}, {0x58, 1252}, {0x59, 1252},
    {0xC8, 1250},
};

struct FieldSpec {
    const char *name;
    bool numeric;
};
constexpr FieldSpec kFields[] = {{"POD_KAV", false}, {"POD_IND", false}, {"POD_KSD", true}, {"POD_PCD", false}};

class DbfFile {
public:
    DbfFile(const QString &path, DBFHandle handle) : m_path(path), m_handle(handle) {}
    ~DbfFile() { DBFClose(m_handle); }
    DbfFile(const DbfFile &) = delete;
    DbfFile &operator=(const DbfFile &) = delete;

    DBFHandle handle() const { return m_handle; }

    [[noreturn]] void fail(const QString &what) const
    {
        throw ImportFileError(QStringLiteral("Soubor %1: %2").arg(m_path, what));
    }

private:
    QString m_path;
    DBFHandle m_handle;
};

struct FieldPlace {
    int offset = 0;
    int width = 0;
};

// The place of each line field in a record, checked for its type and for lying within
// the record.
QVector<FieldPlace> placeFields(const DbfFile &file)
{
    DBFHandle h = file.handle();
    QStringList missing;
    QVector<FieldPlace> places;
    for (const FieldSpec &wanted : kFields) {
        const int index = DBFGetFieldIndex(h, wanted.name);
        if (index < 0) {
            missing << QLatin1String(wanted.name);
            continue;
        }
        const char type = DBFGetNativeFieldType(h, index);
        const bool typeOk = wanted.numeric ? (type == 'N' || type == 'F') : type == 'C';
        if (!typeOk)
            file.fail(QStringLiteral("pole %1 je typu %2, import čeká %3")
                          .arg(QLatin1String(wanted.name), QString(QLatin1Char(type ? type : '?')),
                               wanted.numeric ? QStringLiteral("číselné (N)") : QStringLiteral("znakové (C)")));
        const FieldPlace place{h->panFieldOffset[index], h->panFieldSize[index]};
        if (place.offset < 1 || place.width < 1 || place.offset + place.width > h->nRecordLength)
            file.fail(QStringLiteral("pole %1 leží mimo záznam, soubor je poškozen").arg(QLatin1String(wanted.name)));
        places << place;
    }
    if (!missing.isEmpty())
        file.fail(QStringLiteral("chybí pole %1, není to soubor podkladů z modulu Kalkulace cen")
                      .arg(missing.join(QStringLiteral(", "))));
    return places;
}

// The code page of the file's texts named by its language-driver byte; 0 for a byte
// the program does not know.
int codePageOf(DBFHandle h)
{
    for (const Driver &d : kDrivers) {
        if (d.byte == h->iLanguageDriver)
            return d.codePage;
    }
    return 0;
}

QString decodeText(const DbfFile &file, const QByteArray &bytes, int codePage, int driver)
{
    if (codePage != 0)
        return fromCodePage(codePage, bytes);
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            file.fail(QStringLiteral("texty jsou v kódové stránce, kterou import nezná (jazykový ovladač 0x%1)")
                          .arg(QString::number(driver, 16).toUpper().rightJustified(2, QLatin1Char('0'))));
    }
    return QString::fromLatin1(bytes);
}

QByteArray rawField(const char *record, const FieldPlace &place)
{
    QByteArray bytes(record + place.offset, place.width);
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0)
        bytes.truncate(end);
    while (!bytes.isEmpty() && bytes.back() == ' ')
        bytes.chop(1);
    return bytes;
}

qint64 readQuantity(const DbfFile &file, const QByteArray &raw, int record)
{
    const QByteArray text = raw.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 1e15)
        file.fail(QStringLiteral("záznam %1 nemá v poli POD_KSD číslo („%2“)")
                      .arg(record + 1)
                      .arg(QString::fromLatin1(text)));
    return std::llround(value);
}

} // namespace

QVector<PodkladyLine> ReadPodkladyFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        throw ImportFileError(QStringLiteral("Soubor %1 nebyl nalezen").arg(path));

    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.Error = keepDbfError;
    g_lastDbfError.clear();
    DBFHandle handle = DBFOpenLL(QFile::encodeName(path).constData(), "rb", &hooks);
    if (!handle)
        throw ImportFileError(QStringLiteral("Soubor %1 nelze otevřít jako tabulku dBase%2")
                                  .arg(path, g_lastDbfError.empty()
                                                 ? QString()
                                                 : QStringLiteral(" (%1)").arg(QString::fromStdString(g_lastDbfError))));
    const DbfFile file(path, handle);
    const int records = DBFGetRecordCount(handle);
    if (records < 0 || handle->nRecordLength < 1 || handle->nHeaderLength < 32
        || info.size() < qint64(handle->nHeaderLength) + qint64(records) * handle->nRecordLength)
        file.fail(QStringLiteral("soubor je poškozen, jeho délka neodpovídá počtu záznamů"));
    // A record is its deletion flag followed by the fields: a header that gives another
    // length would have every record read out of step with the fields.
    qint64 fieldWidths = 1;
    for (int f = 0; f < DBFGetFieldCount(handle); ++f)
        fieldWidths += handle->panFieldSize[f];
    if (fieldWidths != handle->nRecordLength)
        file.fail(QStringLiteral("soubor je poškozen, délka záznamu %1 neodpovídá jeho polím (%2)")
                      .arg(handle->nRecordLength)
                      .arg(fieldWidths));

    const QVector<FieldPlace> places = placeFields(file);
    const int driver = handle->iLanguageDriver;
    const int codePage = codePageOf(handle);
    QVector<PodkladyLine> lines;
    for (int i = 0; i < records; ++i) {
        const char *record = DBFReadTuple(handle, i);
        if (!record)
            file.fail(QStringLiteral("záznam %1 nelze přečíst").arg(i + 1));
        if (record[0] == '*')
            continue;  // deleted
        lines.append({decodeText(file, rawField(record, places[0]), codePage, driver),
                      decodeText(file, rawField(record, places[1]), codePage, driver),
                      readQuantity(file, rawField(record, places[2]), i),
                      decodeText(file, rawField(record, places[3]), codePage, driver)});
    }
    return lines;
}
