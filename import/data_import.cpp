#include "data_import.h"

#include "form_podklady_import.h"
#include "podklady_file.h"

#include "app/core/errors.h"
#include "app/core/prompter.h"
#include "app/core/textutil.h"
#include "app/core/screens_cleanup.h"
#include "store/counter.h"
#include "store/table_use.h"
#include "store/tdata.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>

const QString TDataImport::kFileName = QStringLiteral("Pod0000.dbf");

namespace {

const QString kRunning = QStringLiteral("Úloha importu spuštěna");
const QString kFailed = QStringLiteral("Osetreni vyjimky");
const QString kNoSupplier = QStringLiteral("Není zadán odběratel");
const QString kNotConfirmed = QStringLiteral("Nepotvrzen zápis do karty");
const QString kCard = QStringLiteral("SOR");
const QString kReceiptOperation = QStringLiteral("001");

// Holds Data->ImportRunning for the lifetime of one import, whatever way it ends.
class RunningImport {
public:
    RunningImport() { Data->ImportRunning = true; }
    ~RunningImport() { Data->ImportRunning = false; }
    RunningImport(const RunningImport &) = delete;
    RunningImport &operator=(const RunningImport &) = delete;
};

// Writes the receipt and puts it back into editing, as the caller expects to find it.
void writeReceipt()
{
    Data->ffDodavky.Post();
    Data->ffDodavky.Edit();
}

// Gives the receipt its number from the receipt counter. The counter is written first:
// a number it has not recorded would be given out again. The flag is cleared only once
// the receipt carries the number.
void numberReceipt(bool &newDocument)
{
    TData &d = *Data;
    const store::TableUse counters(d.ffCiselnik);
    const QString number = TakeTextCounter(d.ffCiselnik, d.ffCiselnikCIS_PRD);
    d.ffCiselnik.Post();
    d.ffDodavkyHLA_DO1.SetAsString(number);
    d.ffDodavkyHLA_DAT.SetAsDate(QDate::currentDate());
    writeReceipt();
    newDocument = false;
}

// Posts the movement of one line whose DokladObsah row is being filled, under the card
// lock; on success keeps the row and adds the line to the receipt's totals.
void postLine(const PodkladyLine &line, double salePrice, float unitPrice, float rate)
{
    TData &d = *Data;
    if (!d.LockRecord(kCard, line.card)) {
        d.DokladObsah.Cancel();   // the lock has told who holds the card
        return;
    }
    struct Unlock {
        const QString &card;
        ~Unlock() { Quietly([this] { Data->UnlockRecord(kCard, card); }); }
    } unlock{line.card};

    const QString receipt = d.ffDodavkyHLA_DO1.AsString();
    if (!d.ZapisPohybuVar(line.card, line.variant, receipt, kReceiptOperation, unitPrice, rate,
                          double(line.quantity))) {
        d.DokladObsah.Cancel();
        prompter().ShowMessage(kNotConfirmed);
        return;
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
        writeReceipt();
    } catch (const AppError &e) {
        prompter().ShowMessage(QStringLiteral("Pohyb karty %1/%2 je zapsán, příjemku %3 se nepodařilo uložit: %4")
                                   .arg(line.card, line.variant, receipt, e.text()));
    }
}

// Imports one line of the document. False when the import must end (no supplier code).
bool importLine(const PodkladyLine &line, bool &newDocument)
{
    TData &d = *Data;
    const store::TableUse cards(d.ffSortiment, QStringLiteral("KAV"));
    const store::TableUse stock(d.ffSklad, QStringLiteral("KAV"));
    const store::TableUse journal(d.ffDenik);

    if (TrimBlanks(d.ffDodavkyHLA_ODB.AsString()).isEmpty()) {
        prompter().ShowMessage(kNoSupplier);
        return false;
    }
    if (newDocument)
        numberReceipt(newDocument);
    if (!d.ffSortiment.FindKey({line.card})) {
        prompter().ShowMessage(QStringLiteral("Karta ") + line.card + QLatin1Char('/') + line.variant
                               + QStringLiteral(" není v sortimentu "));
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
        postLine(line, salePrice, float(unitPrice), float(rate));
    } catch (...) {
        Quietly([&] { row.Cancel(); });
        throw;
    }
    return true;
}

} // namespace

void TDataImport::PodkladyImport(bool &newDocument)
{
    TData &d = *Data;
    if (d.ImportRunning) {
        prompter().ShowMessage(kRunning);
        return;
    }
    RunningImport running;

    TFormPodkladyImport form;
    form.ActiveControl = TFormPodkladyImport::EditTovel1;
    if (screens().ShowFormPodkladyImport(form) != mrOk)
        return;
    const QString number = UpperLocale(TrimControl(form.EditTovel1Text));

    const QString directory = TrimControl(d.ImportPath);
    const QString path = QDir(directory.isEmpty() ? QStringLiteral(".") : directory).filePath(kFileName);
    if (!QFileInfo(path).isFile()) {
        prompter().ShowMessage(QStringLiteral("Soubor ") + path + QStringLiteral(" nebyl nalezen "));
        return;
    }
    QVector<PodkladyLine> lines;
    try {
        lines = ReadPodkladyFile(path);
    } catch (const ImportFileError &e) {
        prompter().ShowMessage(e.text());
        return;
    }

    for (const PodkladyLine &line : lines) {
        QCoreApplication::processEvents();
        if (line.document != number)
            continue;
        try {
            if (!importLine(line, newDocument))
                break;
        } catch (const std::exception &) {
            prompter().ShowMessage(kFailed);
        }
    }
}
