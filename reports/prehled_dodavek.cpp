#include "prehled_dodavek.h"

#include "core/atomic_file.h"
#include "core/codepage.h"
#include "core/errors.h"
#include "core/textutil.h"
#include "document_value.h"
#include "store/table.h"
#include "table_cursor.h"
#include "store/tables/column_names.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <string>
#include <xlsxwriter.h>

namespace ix = store::tables::index;

namespace {

QString numberText(double value, const QString &field)
{
    if (!std::isfinite(value))
        throw AppError(QStringLiteral("Hodnota pole %1 není číslo").arg(field));
    // 0.0 for −0, so that nothing prints as "-0".
    return QString::number(value == 0 ? 0.0 : value, 'g', 15);
}

// A value of the current row as the text file holds it, before quoting.
QString fileValue(store::Field &f)
{
    if (f.IsNull())
        return QString();
    switch (f.def().type) {
    case store::FieldType::Float:
        return numberText(f.AsFloat(), f.FieldName());
    case store::FieldType::Date:
    case store::FieldType::DateTime:
        return f.AsDateTime().date().toString(QStringLiteral("dd/MM/yyyy"));
    default:
        return f.AsString();
    }
}

// A value enclosed in double quotes with inner quotes doubled; an empty one as nothing.
QString quoted(const QString &value)
{
    if (value.isEmpty())
        return value;
    QString inner = value;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QByteArray fileLine(const QStringList &values)
{
    QString line;
    for (const QString &v : values)
        line += quoted(v) + QLatin1Char(',');
    return toWin1250(line) + "\r\n";
}

// Numbers in C's notation while the workbook is written: libxlsxwriter prints them with
// the C library, whose numeric locale the program's regional settings (a decimal comma)
// would otherwise turn into cells no spreadsheet reads.
class CNumbers {
public:
    CNumbers()
    {
        const char *current = std::setlocale(LC_NUMERIC, nullptr);
        m_saved = current ? current : "C";
        std::setlocale(LC_NUMERIC, "C");
    }
    ~CNumbers() { std::setlocale(LC_NUMERIC, m_saved.c_str()); }

private:
    std::string m_saved;
};

// The workbook being written; closed (and freed) on every way out.
class Workbook {
public:
    explicit Workbook(const QString &path)
    {
        lxw_workbook_options options{};
        // Rows go straight to a temporary file as they are written, so memory stays
        // flat however many receipts the period holds.
        options.constant_memory = LXW_TRUE;
        m_book = workbook_new_opt(path.toUtf8().constData(), &options);
        if (!m_book)
            throw AppError(QStringLiteral("Sešit %1 nelze založit").arg(path));
    }
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    lxw_workbook *book() const { return m_book; }
    // Writes the file; AppError with libxlsxwriter's reason when that fails.
    void close(const QString &path)
    {
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        if (error != LXW_NO_ERROR)
            throw AppError(QStringLiteral("Sešit %1 nelze zapsat: %2").arg(path, QString::fromUtf8(lxw_strerror(error))));
    }

private:
    lxw_workbook *m_book = nullptr;
};

void check(lxw_error error, const QString &path)
{
    if (error != LXW_NO_ERROR)
        throw AppError(QStringLiteral("Sešit %1 nelze zapsat: %2").arg(path, QString::fromUtf8(lxw_strerror(error))));
}

// The date cells' format; its length is what such a cell shows.
constexpr char kDateCellFormat[] = "dd.mm.yyyy";

// Writes the field's value into the cell; returns how many characters the cell shows.
int writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t col, store::Field &f, lxw_format *dateFormat,
              const QString &path)
{
    if (f.IsNull())
        return 0;
    switch (f.def().type) {
    case store::FieldType::Float: {
        const double v = f.AsFloat();
        if (!std::isfinite(v))
            throw AppError(QStringLiteral("Hodnota pole %1 není číslo").arg(f.FieldName()));
        check(worksheet_write_number(sheet, row, col, v, nullptr), path);
        // The general number format shows up to eleven characters.
        return int(QString::number(v, 'g', 10).size());
    }
    case store::FieldType::Date:
    case store::FieldType::DateTime: {
        const QDateTime t = f.AsDateTime();
        lxw_datetime when{t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(),
                          double(t.time().second())};
        check(worksheet_write_datetime(sheet, row, col, &when, dateFormat), path);
        return int(sizeof kDateCellFormat) - 1;
    }
    default: {
        const QString text = f.AsString();
        if (!text.isEmpty())
            check(worksheet_write_string(sheet, row, col, text.toUtf8().constData(), nullptr), path);
        return int(text.size());
    }
    }
}

// The size of the complete zip file `path`: its end record closes the file. A file cut
// short (or not a zip at all) is refused with AppError naming `shown`.
qint64 completeZipSize(const QString &path, const QString &shown)
{
    constexpr qsizetype kEndRecord = 22;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const qint64 size = file.size();
        const qint64 tailSize = std::min<qint64>(size, kEndRecord + 0xFFFF);
        if (file.seek(size - tailSize)) {
            const QByteArray tail = file.read(tailSize);
            for (qsizetype at = tail.size() - kEndRecord; at >= 0; --at) {
                if (!tail.mid(at).startsWith(QByteArrayLiteral("PK\x05\x06")))
                    continue;
                const auto *end = reinterpret_cast<const uchar *>(tail.constData() + at);
                const int comment = end[20] | end[21] << 8;
                if (at + kEndRecord + comment == tail.size())
                    return size;
            }
        }
    }
    throw AppError(QStringLiteral("Sešit %1 nelze zapsat: soubor není úplný").arg(shown));
}

// The work table's row of a receipt: its header fields and its value.
store::Record overviewRow(const store::Table &work, const store::Record &receipt, const HodnotaDokladu &v)
{
    namespace hla = store::tables::column::ffSesDod;
    namespace mem = store::tables::column::SesDodMem;
    store::Record row(&work.Definition());
    row.setValue(mem::Vystaveno, QDateTime(receipt.AsDate(hla::HLA_DAT), QTime(0, 0)));
    row.setValue(mem::Doklad, receipt.AsString(hla::HLA_DO1));
    row.setValue(mem::TypDod, receipt.AsString(hla::HLA_TYP).left(2));
    row.setValue(mem::FakDod, receipt.AsString(hla::HLA_DO2));
    row.setValue(mem::KodDod, receipt.AsString(hla::HLA_ODB));
    row.setValue(mem::Nazev, receipt.AsString(hla::HLA_NAC));
    row.setValue(mem::CelFac, receipt.AsFloat(hla::HLA_FAC));
    row.setValue(mem::CelkemNC, v.CelkemNC);
    row.setValue(mem::CelkemPC, v.CelkemPC);
    row.setValue(mem::Zaklad22, v.Zaklad22);
    row.setValue(mem::Zaklad05, v.Zaklad05);
    row.setValue(mem::Zaklad00, v.Zaklad00);
    row.setValue(mem::Dan22, v.Dan22);
    row.setValue(mem::Dan05, v.Dan05);
    row.setValue(mem::HalVyr, v.HalVyr);
    return row;
}

} // namespace

QString OverviewShopName(TData &d)
{
    const auto owner = OpenCursorOn(d.ffVlastnik);
    owner->First();
    return owner->Eof() ? QString() : (*owner)[store::tables::column::ffVlastnik::VLA_NAC].AsString();
}

void FillOverviewWorkTable(TData &d, store::Table &receipts, store::Table &work, const QDate &from,
                           const QDate &to, int order)
{
    receipts.Open();
    receipts.SetIndexName(ix::ffSesDod::DAT);
    receipts.SetRange({from}, {to});
    work.Open();
    work.SetIndexName(QString());
    work.EmptyTable();
    // The rows are written a batch at a time, each batch in one transaction; no
    // transaction stays open while pending events run.
    constexpr int kBatch = 256;
    QVector<store::Record> rows;
    HlaHodDodavek(d.ffDenik, d, receipts, [&](const store::Record &receipt, const HodnotaDokladu &value) {
        QCoreApplication::processEvents();
        rows.append(overviewRow(work, receipt, value));
        if (rows.size() == kBatch) {
            work.AppendRecords(rows);
            rows.clear();
        }
    });
    work.AppendRecords(rows);
    work.SetIndexName(order == BySupplier ? ix::SesDodMem::KodDod : ix::SesDodMem::Doklad);
    work.First();
}

void WriteOverviewText(store::Table &work, const QString &path)
{
    AtomicFile file(path);
    QStringList names;
    for (int i = 0; i < work.FieldCount(); ++i)
        names << work.Fields(i).FieldName();
    QByteArray bytes = fileLine(names);
    for (work.First(); !work.Eof(); work.Next()) {
        QStringList values;
        for (int i = 0; i < work.FieldCount(); ++i)
            values << fileValue(work.Fields(i));
        bytes += fileLine(values);
        if (bytes.size() >= 1 << 16) {
            file.Write(bytes);
            bytes.clear();
        }
    }
    file.Write(bytes);
    file.Commit();
}

QString OverviewWorkbookPath(const QDate &day)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("Přehled faktur k ") + day.toString(kShortDateFormat) + QStringLiteral(".xlsx"));
}

void WriteOverviewWorkbook(store::Table &work, const QString &path)
{
    const QFileInfo target(path);
    if (!QDir().mkpath(target.absolutePath()))
        throw AppError(QStringLiteral("Adresář %1 nelze vytvořit").arg(target.absolutePath()));
    // libxlsxwriter writes the temporary file by its name; the file is put in place only
    // once it is found complete.
    AtomicFile file(path);
    const QString &shown = file.Target();
    {
        const CNumbers numbers;
        Workbook book(file.TemporaryPath());
        lxw_worksheet *sheet = workbook_add_worksheet(book.book(), nullptr);
        lxw_format *dateFormat = workbook_add_format(book.book());
        if (!sheet || !dateFormat)
            throw AppError(QStringLiteral("Sešit %1 nelze založit").arg(shown));
        format_set_num_format(dateFormat, kDateCellFormat);
        // The widest value of each column, in characters, heading included.
        QVector<int> widest(work.FieldCount());
        for (int i = 0; i < work.FieldCount(); ++i) {
            const QString name = work.Fields(i).FieldName();
            check(worksheet_write_string(sheet, 0, lxw_col_t(i), name.toUtf8().constData(), nullptr), shown);
            widest[i] = int(name.size());
        }
        lxw_row_t row = 1;
        for (work.First(); !work.Eof(); work.Next(), ++row)
            for (int i = 0; i < work.FieldCount(); ++i)
                widest[i] = std::max(widest[i], writeCell(sheet, row, lxw_col_t(i), work.Fields(i), dateFormat, shown));
        // Each column as wide as its widest value and a little room, so that no date
        // shows as "####".
        for (int i = 0; i < work.FieldCount(); ++i)
            check(worksheet_set_column(sheet, lxw_col_t(i), lxw_col_t(i), widest[i] + 2.0, nullptr), shown);
        book.close(shown);
    }
    file.Commit(completeZipSize(file.TemporaryPath(), shown));
}
