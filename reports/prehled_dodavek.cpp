#include "prehled_dodavek.h"

#include "app/core/codepage.h"
#include "app/core/errors.h"
#include "app/core/textutil.h"
#include "store/table.h"
#include "store/table_use.h"
#include "store/tables/column_names.h"
#include "store/tdata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <clocale>
#include <cmath>
#include <string>
#include <xlsxwriter.h>

namespace {

// The document kind of a receipt for the value computation.
constexpr int kReceipt = 3;

// Deletes every row of an open table.
void emptyTable(store::Table &t)
{
    t.First();
    while (!t.IsEmpty())
        t.Delete();
}

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

void writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t col, store::Field &f, lxw_format *dateFormat,
               const QString &path)
{
    if (f.IsNull())
        return;
    switch (f.def().type) {
    case store::FieldType::Float: {
        const double v = f.AsFloat();
        if (!std::isfinite(v))
            throw AppError(QStringLiteral("Hodnota pole %1 není číslo").arg(f.FieldName()));
        check(worksheet_write_number(sheet, row, col, v, nullptr), path);
        return;
    }
    case store::FieldType::Date:
    case store::FieldType::DateTime: {
        const QDateTime t = f.AsDateTime();
        lxw_datetime when{t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(),
                          double(t.time().second())};
        check(worksheet_write_datetime(sheet, row, col, &when, dateFormat), path);
        return;
    }
    default: {
        const QString text = f.AsString();
        if (!text.isEmpty())
            check(worksheet_write_string(sheet, row, col, text.toUtf8().constData(), nullptr), path);
        return;
    }
    }
}

// Appends the row of the current receipt to the work table: its header fields and its
// value from the journal lines.
void appendReceiptRow(TData &d, store::Table &receipts, store::Table &work)
{
    namespace in = store::tables::column::ffSesDod;
    namespace out = store::tables::column::SesDodMem;
    auto text = [&](const char *name) { return receipts[name].AsString(); };
    double nc = 0, pc = 0, base22 = 0, base05 = 0, base00 = 0, vat22 = 0, vat05 = 0, halVyr = 0, deduction = 0;
    const QString number = text(in::HLA_DO1);
    d.HlaHod(number, kReceipt, nc, pc, base22, base05, base00, vat22, vat05, halVyr, deduction);
    work.Append();
    work[out::Vystaveno].SetValue(QDateTime(receipts[in::HLA_DAT].AsDate(), QTime(0, 0)));
    work[out::Doklad].SetValue(number);
    work[out::TypDod].SetValue(text(in::HLA_TYP).left(2));
    work[out::FakDod].SetValue(text(in::HLA_DO2));
    work[out::KodDod].SetValue(text(in::HLA_ODB));
    work[out::Nazev].SetValue(text(in::HLA_NAC));
    work[out::CelFac].SetValue(receipts[in::HLA_FAC].AsFloat());
    work[out::CelkemNC].SetValue(nc);
    work[out::CelkemPC].SetValue(pc);
    work[out::Zaklad22].SetValue(base22);
    work[out::Zaklad05].SetValue(base05);
    work[out::Zaklad00].SetValue(base00);
    work[out::Dan22].SetValue(vat22);
    work[out::Dan05].SetValue(vat05);
    work[out::HalVyr].SetValue(halVyr);
    work.Post();
}

} // namespace

QString OverviewShopName(TData &d)
{
    const store::TableUse owner(d.ffVlastnik);
    d.ffVlastnik.First();
    const QString name = d.ffVlastnikVLA_NAC.AsString();
    return name;
}

void FillOverviewWorkTable(TData &d, store::Table &receipts, store::Table &work, const QDate &from,
                           const QDate &to, int order)
{
    receipts.Open();
    receipts.SetIndexName(QStringLiteral("DAT"));
    receipts.SetRange({from}, {to});
    work.Open();
    work.SetIndexName(QString());
    emptyTable(work);
    // The journal and the assortment stay open over all receipts, so that the value of
    // each receipt is not computed between an open and a close of both; they are given
    // back as they were found.
    const store::TableUse journal(d.ffDenik, QStringLiteral("DOK"));
    const store::TableUse assortment(d.ffSortiment, QStringLiteral("KAV"));
    for (receipts.First(); !receipts.Eof(); receipts.Next()) {
        QCoreApplication::processEvents();
        appendReceiptRow(d, receipts, work);
    }
    work.SetIndexName(order == BySupplier ? QStringLiteral("KodDod") : QStringLiteral("Doklad"));
    work.First();
}

void WriteOverviewText(store::Table &work, const QString &path)
{
    const QString shown = QFileInfo(path).absoluteFilePath();
    // Written beside the target and put in its place only by commit: a failure leaves
    // the previous file, or none, never a half-written one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(shown, file.errorString()));
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
            if (file.write(bytes) != bytes.size())
                throw AppError(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(shown, file.errorString()));
            bytes.clear();
        }
    }
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw AppError(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(shown, file.errorString()));
}

QString OverviewWorkbookPath(const QDate &day)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("Přehled faktur k ") + day.toString(kShortDateFormat) + QStringLiteral(".xlsx"));
}

void WriteOverviewWorkbook(store::Table &work, const QString &path)
{
    const QFileInfo target(path);
    const QString shown = target.absoluteFilePath();
    if (!QDir().mkpath(target.absolutePath()))
        throw AppError(QStringLiteral("Adresář %1 nelze vytvořit").arg(target.absolutePath()));
    // Written under a temporary name beside the target and renamed at the end, so that a
    // failure leaves no half-written workbook.
    QString partName;
    {
        QTemporaryFile part(target.absolutePath() + QStringLiteral("/.XXXXXX.xlsx"));
        part.setAutoRemove(false);
        if (!part.open())
            throw AppError(QStringLiteral("Sešit %1 nelze vytvořit: %2").arg(shown, part.errorString()));
        partName = part.fileName();
    }
    const struct RemovePart {
        const QString &name;
        ~RemovePart() { QFile::remove(name); }
    } removePart{partName};
    {
        const CNumbers numbers;
        Workbook book(partName);
        lxw_worksheet *sheet = workbook_add_worksheet(book.book(), nullptr);
        lxw_format *dateFormat = workbook_add_format(book.book());
        if (!sheet || !dateFormat)
            throw AppError(QStringLiteral("Sešit %1 nelze založit").arg(shown));
        format_set_num_format(dateFormat, "dd.mm.yyyy");
        for (int i = 0; i < work.FieldCount(); ++i)
            check(worksheet_write_string(sheet, 0, lxw_col_t(i), work.Fields(i).FieldName().toUtf8().constData(),
                                         nullptr),
                  shown);
        lxw_row_t row = 1;
        for (work.First(); !work.Eof(); work.Next(), ++row)
            for (int i = 0; i < work.FieldCount(); ++i)
                writeCell(sheet, row, lxw_col_t(i), work.Fields(i), dateFormat, shown);
        book.close(shown);
    }
    if (QFile::exists(path) && !QFile::remove(path))
        throw AppError(QStringLiteral("Sešit %1 nelze nahradit").arg(shown));
    if (!QFile::rename(partName, path))
        throw AppError(QStringLiteral("Sešit %1 nelze zapsat").arg(shown));
}
