#include "data_import.h"

#include "form_podklady_import.h"
#include "podklady_file.h"
#include "stock_tables.h"

#include "app/core/errors.h"
#include "app/core/prompter.h"
#include "app/core/textutil.h"
#include "app/core/screens_cleanup.h"
#include "store/counter.h"
#include "store/table_use.h"
#include "store/transaction.h"
#include "store/tdata.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <optional>

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

// Gives the receipt its number from the receipt counter, and the number of the prepared
// document its lines come from. The counter is written at once: a number it has not
// recorded would be given out again. The receipt itself is written with its first posted
// line, so that a receipt into which nothing was posted can still be dropped. The flag
// is cleared only once the receipt carries the number.
void numberReceipt(bool &newDocument, const QString &prepared)
{
    TData &d = *Data;
    const store::TableUse counters(d.ffCiselnik);
    const QString number = TakeTextCounter(d.ffCiselnik, d.ffCiselnikCIS_PRD);
    d.ffCiselnik.Post();
    d.ffDodavkyHLA_DO1.SetAsString(number);
    d.ffDodavkyHLA_DAT.SetAsDate(QDate::currentDate());
    d.ffDodavkyHLA_DO3.SetAsString(prepared);
    newDocument = false;
}

// Holds the card lock and posts the movement in one transaction, so that the line costs
// one commit. False, nothing written and nothing shown, when anything
// stands in the way: the line then goes the long way, which reports it.
bool postAtOnce(const PodkladyLine &line, const QString &receipt, double unitPrice, double rate)
{
    TData &d = *Data;
    if (d.Database.InTransaction())
        return false;
    try {
        store::Transaction transaction(d.Database);
        // Any failure drops the whole line here, to be tried again the long way.
        transaction.wholeOrNothing();
        // The card lock is held for the transaction only: taken and removed within it, its
        // record would never be seen by another station.
        if (!d.LockForTransaction(kCard, line.card)
            || !PostMovementInTransaction(d, line.card, line.variant, receipt, kReceiptOperation, unitPrice, rate,
                                          double(line.quantity)))
            return false;
        transaction.commit();
        return true;
    } catch (const AppError &) {
        return false;
    }
}

// Posts the movement of one line whose DokladObsah row is being filled, under the card
// lock; on success keeps the row and adds the line to the receipt's totals. Returns why
// the line was skipped, or an empty text when it was posted.
QString postLine(const PodkladyLine &line, double salePrice, double unitPrice, double rate)
{
    TData &d = *Data;
    const QString receipt = d.ffDodavkyHLA_DO1.AsString();
    if (!postAtOnce(line, receipt, unitPrice, rate)) {
        bool taken = false;
        if (!d.LockRecord(kCard, line.card, &taken)) {
            d.DokladObsah.Cancel();   // the lock has told who holds the card
            return kReasonLocked;
        }
        // A line that fails removes only a lock record it wrote itself; one that was
        // there before belongs to whoever holds the card on this computer.
        struct Unlock {
            const QString &card;
            bool release;
            ~Unlock()
            {
                if (release)
                    Quietly([this] { Data->UnlockRecord(kCard, card); });
            }
        } unlock{line.card, taken};

        if (!d.ZapisPohybuVar(line.card, line.variant, receipt, kReceiptOperation, unitPrice, rate,
                              double(line.quantity))) {
            d.DokladObsah.Cancel();
            prompter().ShowMessage(kNotConfirmed);
            return kReasonNotConfirmed;
        }
        unlock.release = true;
    }
    // The movement is committed: from here on the line must not vanish from the
    // receipt. Its row and totals are kept even when writing the receipt fails; the
    // totals then stay in the receipt's edit for its next write, and the user is told.
    const double stockPrice = d.DokladObsahDOK_NC1.AsFloat();
    d.DokladObsah.Post();
    store::Field &pca = d.ffDodavkyHLA_PCA;
    store::Field &nca = d.ffDodavkyHLA_NCA;
    pca.SetAsFloat(pca.AsFloat() + double(line.quantity) * salePrice);
    nca.SetAsFloat(nca.AsFloat() + stockPrice * double(line.quantity));
    try {
        // Written and put back into editing, as the caller expects to find it.
        d.ffDodavky.PostAndEdit();
    } catch (const AppError &e) {
        prompter().ShowMessage(QStringLiteral("Pohyb karty %1/%2 je zapsán, příjemku %3 se nepodařilo uložit: %4")
                                   .arg(line.card, line.variant, receipt, e.text()));
    }
    return QString();
}

// Imports one line of the document into `out`. False when the import must end (no
// supplier code).
bool importLine(ImportedLine &out, bool &newDocument, const QString &prepared)
{
    TData &d = *Data;
    const PodkladyLine &line = out.line;
    if (TrimBlanks(d.ffDodavkyHLA_ODB.AsString()).isEmpty()) {
        prompter().ShowMessage(kNoSupplier);
        out.reason = kReasonNoSupplier;
        return false;
    }
    if (newDocument)
        numberReceipt(newDocument, prepared);
    if (!d.ffSortiment.FindKey({line.card})) {
        prompter().ShowMessage(QStringLiteral("Karta ") + line.card + QLatin1Char('/') + line.variant
                               + QStringLiteral(" není v sortimentu "));
        out.reason = kReasonNoCard;
        return true;
    }

    store::Table &row = d.DokladObsah;
    row.Append();
    try {
        const double salePrice = d.ffSortimentSOR_PC1.AsFloat();
        const double rate = d.ffSortimentSOR_DAN.AsFloat();
        const double quantity = double(line.quantity);
        d.DokladObsahDOK_KAV.SetAsString(line.card);
        d.DokladObsahDOK_CIS.SetAsString(d.ffDodavkyHLA_DO1.AsString());
        d.DokladObsahDOK_PC1.SetAsFloat(salePrice);
        d.DokladObsahDOK_NAZ.SetAsString(d.ffSortimentSOR_NAC.AsString());
        d.DokladObsahDOK_DAN.SetAsFloat(rate);
        d.DokladObsahDOK_KUS.SetAsFloat(quantity);
        if (!d.ffSklad.FindKey({line.card, line.variant})) {
            row.Cancel();
            out.reason = kReasonNoVariant;
            return true;
        }
        const double stockPrice = d.ffSkladSKL_SNC.AsFloat();
        d.DokladObsahDOK_IND.SetAsString(d.ffSkladSKL_IND.AsString());
        d.DokladObsahDOK_NC1.SetAsFloat(stockPrice);
        d.DokladObsahDOK_PCC.SetAsFloat(salePrice * quantity);
        d.DokladObsahDOK_NCC.SetAsFloat(stockPrice * quantity);
        d.DokladObsahDOK_PCS.SetAsFloat(salePrice * quantity);
        // The movement is valued at the sale price without VAT.
        const double unitPrice = d.PriceMode == 2 ? salePrice / (rate / 100 + 1) : salePrice;
        out.reason = postLine(line, salePrice, unitPrice, rate);
        out.posted = out.reason.isEmpty();
    } catch (...) {
        Quietly([&] { row.Cancel(); });
        throw;
    }
    return true;
}

// Variant codes are stored padded with zeros to the width of SKL_IND ("1" is "001"); the
// file may give them narrower.
QString paddedVariant(const QString &variant)
{
    const int width = Data->ffSkladSKL_IND.def().size;
    return variant.size() < width ? ZeroPad(variant, width) : variant;
}

// True when the document's lines may be posted: no receipt carries its number yet, or
// the user wants them posted again.
bool importAgainAllowed(const QString &prepared)
{
    if (prepared.isEmpty())
        return true;
    const QString receipt = Data->ReceiptImportedFrom(prepared);
    if (receipt.isEmpty())
        return true;
    return prompter().AskYesNo(QStringLiteral("Podklady dodávky ") + prepared
                               + QStringLiteral(" již byly importovány do příjemky ") + receipt
                               + QStringLiteral(". Importovat znovu ?"));
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
    TData &d = *Data;
    if (d.ImportRunning) {
        prompter().ShowMessage(kRunning);
        return {};
    }
    RunningImport running;

    TFormPodkladyImport form;
    form.ActiveControl = TFormPodkladyImport::EditTovel1;
    if (screens().ShowFormPodkladyImport(form) != mrOk)
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
    if (lines.isEmpty() || !importAgainAllowed(number))
        return {};

    // The tables of the lines are opened with the first line and stay open to the last,
    // each given back at the end as it was found; a line that cannot open them fails as
    // any other failure of a line does, and the next line tries again.
    std::optional<store::TableUse> cards, stock, journal, locks;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QCoreApplication::processEvents();
        try {
            if (!locks) {
                cards.emplace(d.ffSortiment, QStringLiteral("KAV"));
                stock.emplace(d.ffSklad, QStringLiteral("KAV"));
                journal.emplace(d.ffDenik);
                locks.emplace(d.ffSemafor, QStringLiteral("KOD"));
            }
            if (!importLine(lines[i], newDocument, number)) {
                lines.resize(i + 1);
                break;
            }
        } catch (const std::exception &e) {
            prompter().ShowMessage(kFailed);
            lines[i].reason = kReasonFailed + QString::fromUtf8(e.what());
        }
    }
    return lines;
}

QVector<ImportedLine> TDataImport::ImportIntoReceipt(const ReceiptSource &source)
{
    TData &d = *Data;
    store::Table &receipts = d.ffDodavky;
    const store::TableUse use(receipts, QString(), store::TableUse::GiveBack::OpenState);
    QVector<ImportedLine> lines;
    try {
        d.EmptyDokladObsah();
        receipts.Append();
        d.ffDodavkyHLA_ODB.SetAsString(source.supplier);
        d.ffDodavkyHLA_NAC.SetAsString(source.supplierName);
        d.ffDodavkyHLA_DDO.SetAsDate(source.delivered);
        d.ffDodavkyHLA_DO2.SetAsString(source.invoice);
        d.ffDodavkyHLA_FAC.SetAsFloat(source.invoiced);
        bool receiptNew = true;
        lines = PodkladyImport(receiptNew);
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
