#include "data_import.h"

#include "form_podklady_import.h"
#include "import_screens.h"
#include "podklady_file.h"
#include "stock_posting.h"
#include "stock_tables.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "core/textutil.h"
#include "core/quietly.h"
#include "store/counter.h"
#include "store/cursor.h"
#include "store/tables/column_names.h"
#include "store/transaction.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QThread>
#include <utility>

namespace ix = store::tables::index;

const QString TDataImport::kFileName = QStringLiteral("Pod0000.dbf");

TDataImport *DataImport = nullptr;

TDataImport::TDataImport()
{
    if (!DataImport)
        DataImport = this;
}

TDataImport::~TDataImport()
{
    if (DataImport == this)
        DataImport = nullptr;
}

namespace {

const QString kRunning = QStringLiteral("Úloha importu spuštěna");
const QString kFailed = QStringLiteral("Osetreni vyjimky");
const QString kNoSupplier = QStringLiteral("Není zadán odběratel");
const QString kNotConfirmed = QStringLiteral("Nepotvrzen zápis do karty");
const QString kCard = QStringLiteral("SOR");
const QString kReceiptOperation = QStringLiteral("001");

// Why a line was skipped, as the report of the lines gives it.
const QString kReasonNoSupplier = QStringLiteral("není zadán dodavatel, import skončil");
const QString kReasonNoCard = QStringLiteral("karta není v sortimentu");
const QString kReasonNoVariant = QStringLiteral("varianta není na skladě");
const QString kReasonLocked = QStringLiteral("karta je uzamčena jinou stanicí");
const QString kReasonNotConfirmed = QStringLiteral("zápis do karty nebyl potvrzen");
const QString kReasonFailed = QStringLiteral("chyba: ");


// Holds Data->ImportRunning for the lifetime of one import, whatever way it ends.
class RunningImport {
public:
    RunningImport() { Data->ImportRunning = true; }
    ~RunningImport() { Data->ImportRunning = false; }
    RunningImport(const RunningImport &) = delete;
    RunningImport &operator=(const RunningImport &) = delete;
};

// The messages of one run through the delivery, held back while its transaction is open
// and shown in their order once it has ended: no other station waits on this one's cards
// while the user reads them, and a run that is rolled back and run again shows only the
// messages of the run that counted. Questions are not held back.
class HeldMessages final : public Prompter {
public:
    HeldMessages() : m_outer(prompter()) { setPrompter(this); }
    ~HeldMessages() override { setPrompter(&m_outer); }
    HeldMessages(const HeldMessages &) = delete;
    HeldMessages &operator=(const HeldMessages &) = delete;

    void ShowMessage(const QString &text) override { m_held.append(text); }
    bool Confirm(const QString &text) override { return m_outer.Confirm(text); }
    bool AskYesNo(const QString &text) override { return m_outer.AskYesNo(text); }

    // Takes the messages held so far out, unshown.
    QStringList take() { return std::exchange(m_held, {}); }
    // Shows the messages held so far, through the prompter that was installed before,
    // which takes their place from here on.
    void show()
    {
        setPrompter(&m_outer);
        for (const QString &text : take())
            m_outer.ShowMessage(text);
    }

private:
    Prompter &m_outer;
    QStringList m_held;
};

// Gives the receipt its number from the receipt counter, and the number of the prepared
// document its lines come from. The counter is written at once: a number it has not
// recorded would be given out again. The receipt itself is written with its lines, so
// that a receipt into which nothing was posted can still be dropped. The flag is cleared
// only once the receipt carries the number.
void numberReceipt(store::Table &receipt, bool &newDocument, const QString &prepared)
{
    TData &d = *Data;
    store::Cursor counters(d.ffCiselnik);
    const QString number = TakeTextCounter(counters, store::tables::column::ffCiselnik::CIS_PRD);
    counters.Post();
    receipt[d.ffDodavkyHLA_DO1].SetAsString(number);
    receipt[d.ffDodavkyHLA_DAT].SetAsDate(QDate::currentDate());
    receipt[d.ffDodavkyHLA_DO3].SetAsString(prepared);
    newDocument = false;
}

// The row of DokladObsah and the receipt's share of one posted line.
struct PostedLine {
    QString card, variant, name;
    double salePrice = 0, stockPrice = 0, rate = 0, quantity = 0;
};

// True when the text fits the field: a longer code is not the code of anything, and the
// table would cut it to the field's size and find another card or variant by it.
bool fits(const QString &code, const store::Field &field) { return code.size() <= field.def().size; }

// The cursors a delivery reads and writes through, opened once for all its lines and
// runs: the stock tables and the lock table.
struct DeliveryCursors {
    explicit DeliveryCursors(TData &d) : stock(d), locks(d.ffSemafor, ix::ffSemafor::KOD) {}
    StockCursors stock;
    store::Cursor locks;
};

// Posts one line within the delivery's transaction: the card and the variant looked up,
// the card lock checked and the movement posted. Returns why the line was skipped (its
// message shown, except for a posting that failed), or an empty text with `posted`
// filled in. Everything that refuses a line for its own reason is read before anything
// of the line is written.
QString postLine(DeliveryCursors &c, const PodkladyLine &line, const QString &receipt, PostedLine &posted)
{
    TData &d = *Data;
    store::Table &cards = c.stock.cards, &variants = c.stock.variants;
    if (!fits(line.card, d.ffSortimentSOR_KAV) || !cards.FindKey({line.card})) {
        prompter().ShowMessage(QStringLiteral("Karta ") + line.card + QLatin1Char('/') + line.variant
                               + QStringLiteral(" není v sortimentu "));
        return kReasonNoCard;
    }
    posted.card = line.card;
    posted.name = cards[d.ffSortimentSOR_NAC].AsString();
    posted.salePrice = cards[d.ffSortimentSOR_PC1].AsFloat();
    posted.rate = cards[d.ffSortimentSOR_DAN].AsFloat();
    posted.quantity = double(line.quantity);
    if (!fits(line.variant, d.ffSkladSKL_IND) || !variants.FindKey({line.card, line.variant}))
        return kReasonNoVariant;
    posted.variant = variants[d.ffSkladSKL_IND].AsString();
    posted.stockPrice = variants[d.ffSkladSKL_SNC].AsFloat();
    QString refusal;
    if (!d.LockForTransaction(c.locks, kCard, line.card, &refusal)) {
        prompter().ShowMessage(refusal);
        return kReasonLocked;
    }
    // The movement is valued at the sale price without VAT.
    const double unitPrice = d.PriceMode == 2 ? posted.salePrice / (posted.rate / 100 + 1) : posted.salePrice;
    if (!PostMovementInTransaction(d, c.stock, line.card, line.variant, receipt, kReceiptOperation, unitPrice,
                                   posted.rate, posted.quantity))
        return kReasonNotConfirmed;
    return QString();
}

// A line whose posting failed within a run: what the run wrote may be spoilt, so the run
// is rolled back and run again without the line, which shows `message` and is skipped
// with `reason`.
struct LineFailed {
    qsizetype line;
    QString reason;
    QString message;
};
using FailedLines = QHash<qsizetype, LineFailed>;

// The name on which the imports of one prepared delivery serialize: of two started at
// once, the second finds the receipt of the first.
QString deliverySerialName(const QString &prepared) { return QStringLiteral("PRD import ") + prepared; }

enum class Run { Committed, AskAgain };

// One run through the delivery, in one transaction: every line posted or skipped for its
// own reason, and the receipt with its totals written, committed together. The lines of
// `failed` are skipped as they failed before. AskAgain, nothing written, when the
// delivery has been imported by another station since the user was asked (`agreed`: the
// user wants it imported again anyway). Raises LineFailed for a line whose posting fails,
// and what else ends the run; the transaction is then rolled back and nothing of the run
// remains. The transaction keeps no savepoint: on a server, a transaction of thousands of
// savepoints slows every statement down.
Run postDelivery(DeliveryCursors &c, store::Table &receiptTable, QVector<ImportedLine> &lines, const QString &prepared, bool agreed,
                 const FailedLines &failed, QVector<PostedLine> &rows)
{
    TData &d = *Data;
    store::Transaction transaction(d.Database, deliverySerialName(prepared));
    // The cards are taken in one fixed order, before any is written: two imports that
    // share cards never wait for each other in a circle.
    QStringList cards;
    for (const ImportedLine &l : std::as_const(lines))
        cards.append(l.line.card);
    cards.sort();
    cards.removeDuplicates();
    for (const QString &card : std::as_const(cards))
        d.Database.SerializeOn(StockCardSerialName(card));
    // The first statement of the transaction, which waits for the serializations.
    if (!d.ReceiptImportedFrom(prepared).isEmpty() && !agreed)
        return Run::AskAgain;

    const QString receipt = receiptTable[d.ffDodavkyHLA_DO1].AsString();
    double salesTotal = 0, stockTotal = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ImportedLine &l = lines[i];
        QCoreApplication::processEvents();
        if (const auto f = failed.constFind(i); f != failed.constEnd()) {
            prompter().ShowMessage(f->message);
            l.reason = f->reason;
            continue;
        }
        PostedLine posted;
        try {
            l.reason = postLine(c, l.line, receipt, posted);
        } catch (const std::exception &e) {
            // Without the server nothing more can be posted, and nothing is kept.
            if (d.Database.ConnectionLost())
                throw;
            throw LineFailed{i, kReasonFailed + QString::fromUtf8(e.what()), kFailed};
        }
        if (l.reason == kReasonNotConfirmed)
            throw LineFailed{i, kReasonNotConfirmed, kNotConfirmed};
        l.posted = l.reason.isEmpty();
        if (!l.posted)
            continue;
        rows.append(posted);
        salesTotal += posted.quantity * posted.salePrice;
        stockTotal += posted.stockPrice * posted.quantity;
    }
    if (!rows.isEmpty()) {
        store::Field &pca = receiptTable[d.ffDodavkyHLA_PCA];
        store::Field &nca = receiptTable[d.ffDodavkyHLA_NCA];
        pca.SetAsFloat(pca.AsFloat() + salesTotal);
        nca.SetAsFloat(nca.AsFloat() + stockTotal);
        // Written and put back into editing, as the caller expects to find it.
        receiptTable.PostAndEdit();
    }
    transaction.commit();
    return Run::Committed;
}

// The receipt of the import as it stood before a run that did not commit: in editing
// again (or inserting, when it was new) with the values it had.
class ReceiptBefore {
public:
    explicit ReceiptBefore(store::Table &receipt)
        : m_receipt(receipt), m_record(receipt.CurrentRecord()), m_state(receipt.State())
    {
    }

    // Puts the receipt back. When `committed` is the number of a receipt that is now
    // stored (the run's commit reached the server although its answer did not come back),
    // that receipt is put into editing instead.
    void restore(const QString &committed = QString()) const
    {
        store::Table &receipt = m_receipt;
        receipt.Cancel();
        if (!committed.isEmpty() && receipt.Locate(Data->ffDodavkyHLA_DO1, committed)) {
            receipt.Edit();
            return;
        }
        if (wasNew()) {
            receipt.Append();
        } else {
            receipt.GotoBookmark({m_record.id()});
            receipt.Edit();
        }
        const QVector<store::FieldDef> &fields = receipt.Definition().fields;
        for (int f = 0; f < fields.size(); ++f) {
            if (!fields[f].calculated && fields[f].type != store::FieldType::AutoInc
                && receipt.Fields(f).Value() != m_record.value(f))
                receipt.Fields(f).SetValue(m_record.value(f));
        }
    }

    // True when the receipt was a new one, not stored before the import.
    bool wasNew() const { return m_state == store::DataSetState::Insert; }

private:
    store::Table &m_receipt;
    store::Record m_record;
    store::DataSetState m_state;
};

// True when a receipt numbered `number` is stored.
bool receiptStored(const QString &number)
{
    store::Cursor receipts(Data->ffDodavky);
    return receipts.Locate(store::tables::column::ffDodavky::HLA_DO1, number);
}

// Variant codes are stored padded with zeros to the width of SKL_IND ("1" is "001"); the
// file may give them narrower.
QString paddedVariant(const QString &variant)
{
    const int width = Data->ffSkladSKL_IND.def().size;
    return variant.size() < width ? ZeroPad(variant, width) : variant;
}

// True when the document's lines may be posted: no receipt carries its number yet, or
// the user wants them posted again. `agreed` tells which of the two.
bool importAgainAllowed(const QString &prepared, bool &agreed)
{
    agreed = false;
    if (prepared.isEmpty())
        return true;
    const QString receipt = Data->ReceiptImportedFrom(prepared);
    if (receipt.isEmpty())
        return true;
    agreed = prompter().AskYesNo(QStringLiteral("Podklady dodávky ") + prepared
                                 + QStringLiteral(" již byly importovány do příjemky ") + receipt
                                 + QStringLiteral(". Importovat znovu ?"));
    return agreed;
}

// How often a delivery is run at most: a run that does not commit (a deadlock, a
// serialization failure, a connection lost and restored) is followed by another.
constexpr int kRuns = 4;
// How long the import waits for the server before each attempt to connect again after
// a lost connection.
constexpr unsigned long kReconnectWaitsMs[] = {500, 2000, 5000};

// Waits for the server after a lost connection and connects again as the program does at
// the start of a command (the open tables opened again), and says so once; when the server
// stays away, says that. True when connected.
bool reconnect()
{
    for (const unsigned long waitMs : kReconnectWaitsMs) {
        QThread::msleep(waitMs);
        try {
            Data->Database.Reconnect();
            prompter().ShowMessage(Data->ConnectionRestoredText());
            return true;
        } catch (const AppError &) {
            // Still away: wait longer.
        }
    }
    return Data->RestoreConnection();
}

} // namespace

QString TDataImport::FindImportFile(const QString &directory)
{
    const QDir dir(directory.isEmpty() ? QStringLiteral(".") : directory);
    if (QFileInfo(dir.filePath(kFileName)).isFile())
        return dir.filePath(kFileName);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        if (name.compare(kFileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return QString();
}

QVector<ImportedLine> TDataImport::PodkladyImport(bool &newDocument)
{
    return importInto(Data->ffDodavky, newDocument);
}

QVector<ImportedLine> TDataImport::importInto(store::Table &receiptTable, bool &newDocument)
{
    TData &d = *Data;
    if (d.ImportRunning) {
        prompter().ShowMessage(kRunning);
        return {};
    }
    RunningImport running;

    TFormPodkladyImport form;
    form.ActiveControl = TFormPodkladyImport::EditTovel1;
    if (ImportScreens::current().ShowFormPodkladyImport(form) != mrOk)
        return {};
    const QString number = UpperLocale(TrimControl(form.EditTovel1Text));

    const QString directory = TrimControl(d.ImportPath);
    const QString path = FindImportFile(directory);
    if (path.isEmpty()) {
        const QDir dir(directory.isEmpty() ? QStringLiteral(".") : directory);
        prompter().ShowMessage(QStringLiteral("Soubor ") + dir.filePath(kFileName) + QStringLiteral(" nebyl nalezen "));
        return {};
    }
    QVector<ImportedLine> lines;
    try {
        for (const PodkladyLine &line : ReadPodkladyFile(path)) {
            if (line.document == number)
                lines.append({{line.card, paddedVariant(line.variant), line.quantity, line.document}, false, {}});
        }
    } catch (const ImportFileError &e) {
        prompter().ShowMessage(e.text());
        return {};
    }
    bool agreed = false;
    if (lines.isEmpty() || !importAgainAllowed(number, agreed))
        return {};

    // The cursors of the lines stay open for the whole delivery.
    DeliveryCursors cursors(d);
    if (TrimBlanks(receiptTable[d.ffDodavkyHLA_ODB].AsString()).isEmpty()) {
        prompter().ShowMessage(kNoSupplier);
        lines.resize(1);
        lines[0].reason = kReasonNoSupplier;
        return lines;
    }
    if (newDocument)
        numberReceipt(receiptTable, newDocument, number);

    // The whole delivery is one unit: its lines and its receipt are committed together
    // or not at all. A run that does not commit is rolled back whole and run again.
    const ReceiptBefore before(receiptTable);
    const QString receipt = receiptTable[d.ffDodavkyHLA_DO1].AsString();
    QVector<PostedLine> rows;
    FailedLines failed;
    for (int run = 0;;) {
        HeldMessages held;
        rows.clear();
        for (ImportedLine &l : lines)
            l = {l.line, false, {}};
        try {
            try {
                if (postDelivery(cursors, receiptTable, lines, number, agreed, failed, rows) == Run::AskAgain) {
                    held.show();
                    if (!importAgainAllowed(number, agreed))
                        return {};
                    continue;
                }
                held.show();
                break;
            } catch (const LineFailed &f) {
                // A line failing as the server goes away is the loss of the connection,
                // not the line's own failure.
                if (d.Database.ConnectionLost())
                    throw StoreError(f.reason);
                // Run again without the line; each such run leaves out one more line.
                held.take();
                failed.insert(f.line, f);
                Quietly([&] { before.restore(); });
                continue;
            }
        } catch (const std::exception &e) {
            const QStringList runMessages = held.take();
            const bool lost = d.Database.ConnectionLost();
            const bool again = ++run < kRuns && (!lost || reconnect());
            if (again && lost && before.wasNew() && receiptStored(receipt)) {
                // The new receipt is stored: the commit went through, only its answer was
                // lost.
                before.restore(receipt);
                for (const QString &text : runMessages)
                    held.ShowMessage(text);
                held.show();
                break;
            }
            Quietly([&] { before.restore(); });
            if (again) {
                held.show();   // that the connection is back
                continue;
            }
            // Nothing of the delivery is posted.
            prompter().ShowMessage(kFailed);
            for (ImportedLine &l : lines)
                l = {l.line, false, kReasonFailed + QString::fromUtf8(e.what())};
            held.show();
            return lines;
        }
    }
    // The rows of the posted lines, written once the lines are committed.
    store::Table &content = d.DokladObsah;
    for (const PostedLine &p : std::as_const(rows)) {
        content.Append();
        d.DokladObsahDOK_KAV.SetAsString(p.card);
        d.DokladObsahDOK_CIS.SetAsString(receipt);
        d.DokladObsahDOK_PC1.SetAsFloat(p.salePrice);
        d.DokladObsahDOK_NAZ.SetAsString(p.name);
        d.DokladObsahDOK_DAN.SetAsFloat(p.rate);
        d.DokladObsahDOK_KUS.SetAsFloat(p.quantity);
        d.DokladObsahDOK_IND.SetAsString(p.variant);
        d.DokladObsahDOK_NC1.SetAsFloat(p.stockPrice);
        d.DokladObsahDOK_PCC.SetAsFloat(p.salePrice * p.quantity);
        d.DokladObsahDOK_NCC.SetAsFloat(p.stockPrice * p.quantity);
        d.DokladObsahDOK_PCS.SetAsFloat(p.salePrice * p.quantity);
        content.Post();
    }
    return lines;
}

QVector<ImportedLine> TDataImport::ImportIntoReceipt(const ReceiptSource &source)
{
    TData &d = *Data;
    store::Cursor receipts(d.ffDodavky);
    QVector<ImportedLine> lines;
    try {
        d.EmptyDokladObsah();
        receipts.Append();
        receipts[d.ffDodavkyHLA_ODB].SetAsString(source.supplier);
        receipts[d.ffDodavkyHLA_NAC].SetAsString(source.supplierName);
        receipts[d.ffDodavkyHLA_DDO].SetAsDate(source.delivered);
        receipts[d.ffDodavkyHLA_DO2].SetAsString(source.invoice);
        receipts[d.ffDodavkyHLA_FAC].SetAsFloat(source.invoiced);
        bool receiptNew = true;
        lines = importInto(receipts, receiptNew);
        // A receipt is kept only with the lines posted into it: the rows of DokladObsah.
        if (d.DokladObsah.RecordCount() > 0)
            receipts.Post();
        else
            receipts.Cancel();
    } catch (...) {
        Quietly([&] { receipts.Cancel(); });
        throw;
    }
    return lines;
}
