#include "doklad_podklady.h"

#include "document_screens.h"
#include "picker_screens.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "core/textutil.h"
#include "import/data_import.h"
#include "podklady_pol_edit.h"
#include "core/quietly.h"
#include "reports/data_sestavy.h"
#include "store/podklad_item.h"
#include "store/table_use.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <QDate>
#include <stdexcept>

namespace ix = store::tables::index;

namespace {

const QString kFailed = QStringLiteral("Osetreni vyjimky");
const QString kNotConfirmed = QStringLiteral("Nepotvrzen zápis do karty");
const QString kDeleteItem = QStringLiteral("Smazat položku ?");

void cancelEdit(store::Table &table)
{
    if (table.Active() && table.State() != store::DataSetState::Browse)
        table.Cancel();
}

// Runs a command of the window; a failure of the store (or any other) is reported with
// the window's one fixed message, and what the command left half done is undone.
template <typename Command>
void guarded(Command &&command)
{
    try {
        command();
    } catch (const std::exception &) {
        Quietly([] { cancelEdit(Data->ffPodklPol); });
        Quietly([] { Data->ffCiselnik.Close(); });
        Quietly([] { Data->CloseffSor(); });
        prompter().ShowMessage(kFailed);
    }
}

// The program's import module, created at start-up.
TDataImport &importModule()
{
    if (!DataImport)
        throw std::logic_error("TDataImport has not been created");
    return *DataImport;
}

QPoint supplierPickerPos() { return QPoint(Data->MainLeft, Data->MainTop + 90); }

} // namespace

void TDokladPodklady::Button1Click()
{
    if (Data->ImportRunning)
        return;
    guarded([this] { newItem(); });
}

void TDokladPodklady::Button2Click()
{
    if (Data->ImportRunning)
        return;
    guarded([this] { correctItem(); });
}

void TDokladPodklady::Button3Click()
{
    if (Data->ImportRunning)
        return;
    TDataSestavy &reports = *DataSestavy;
    reports.PrintPodklad(*Data);
    reports.Sestavy.SystemSetups = 0;
    reports.Sestavy.RequestedDestination = TDestination::Preview;
    Button4Click();
}

void TDokladPodklady::Button4Click()
{
    if (Data->ImportRunning)
        return;
    CloseWith(KeepDocument ? mrOk : mrCancel);
}

bool TDokladPodklady::FormCloseQuery()
{
    if (Data->ImportRunning)
        return false;
    ModalResult = mrCancel;
    return true;
}

bool TDokladPodklady::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers held = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (key) {
    case Qt::Key_Escape:
        Button4Click();
        return true;
    case Qt::Key_F2:
        Button1Click();
        return true;
    case Qt::Key_F4:
        if (held == Qt::AltModifier)
            return false;   // Alt+F4 is the close box
        Button2Click();
        return true;
    case Qt::Key_F8:
        if (!Data->ImportRunning) {
            DataSestavy->Sestavy.SystemSetups = 0;   // no setup dialog from the key
            Button3Click();
        }
        return true;
    case Qt::Key_F9:
        ImportClick();
        return true;
    default:
        return false;
    }
}

void TDokladPodklady::ImportClick()
{
    if (Data->ImportRunning) {
        bool unused = false;
        importModule().PodkladyImport(unused);   // only says that one is running
        return;
    }
    guarded([this] { importDelivery(); });
}

void TDokladPodklady::importDelivery()
{
    if (supplierMissing())
        return;
    // The typed document is numbered and written first, as at the first new item, so
    // that it is kept whatever the import brings.
    if (NewDocument)
        assignNumber();
    ReceiptSource source;
    source.supplier = Data->ffPodklHlavHLA_ODB.AsString();
    source.supplierName = Data->ffPodklHlavHLA_NAC.AsString();
    source.delivered = Data->ffPodklHlavHLA_DDO.AsDate();
    source.invoice = Data->ffPodklHlavHLA_DO2.AsString();
    source.invoiced = Data->ffPodklHlavHLA_FAC.AsFloat();
    importModule().ImportIntoReceipt(source);
    if (Data->DokladObsah.RecordCount() > 0)
        KeepDocument = true;
}

bool TDokladPodklady::supplierMissing()
{
    if (!TrimBlanks(Data->ffPodklHlavHLA_ODB.AsString()).isEmpty())
        return false;
    FocusControl(DBEditTovel1);
    return true;
}

void TDokladPodklady::newItem()
{
    TData &d = *Data;
    d.ffSortiment.Open();
    if (!supplierMissing()) {
        if (NewDocument)
            assignNumber();
        store::Table &items = d.ffPodklPol;
        items.Append();
        Data->ffPodklPolPOP_DOK.SetAsString(Data->ffPodklHlavHLA_DO1.AsString());
        Data->ffPodklPolPOP_BAL.SetAsFloat(1);
        TPodkladyPolEdit editor;
        editor.ActiveControl = TPodkladyPolEdit::DBEditTovel1;
        if (DocumentScreens::current().ShowPodkladyPolEdit(editor, QPoint(d.MainLeft + 250, d.MainTop + 35)) == mrOk)
            PostPodklPol(d, 0, 0);
        else
            items.Cancel();
    }
    d.CloseffSor();
}

void TDokladPodklady::assignNumber()
{
    TData &d = *Data;
    const QString number = NumberNewPodklad(d);
    KeepDocument = true;
    store::Table &items = d.ffPodklPol;
    items.Open();
    items.SetIndexName(ix::ffPodklPol::DO1);
    items.SetRange({number}, {number});
    items.First();
    NewDocument = false;
}

void TDokladPodklady::correctItem()
{
    TData &d = *Data;
    store::Table &items = d.ffPodklPol;
    d.ffSortiment.Open();
    // An empty list (or none yet, in a document without a number) has no item to correct.
    if (!supplierMissing() && items.Active() && !items.IsEmpty()) {
        const double oldNcc = Data->ffPodklPolPOP_NCC.AsFloat();
        const double oldCcc = Data->ffPodklPolPOP_CCC.AsFloat();
        items.Edit();
        TPodkladyPolEdit editor;
        editor.DBEditTovel1Enabled = false;
        editor.ActiveControl = TPodkladyPolEdit::DBEditTovel2;
        const QString card = Data->ffPodklPolPOP_KAV.AsString();
        d.ffSortiment.SetIndexName(ix::ffSortiment::KAV);
        // A card no longer in the assortment, or locked by another station (which the
        // lock has reported), leaves the item as it was.
        bool taken = false;
        if (!d.ffSortiment.FindKey({card}) || !d.LockRecord(QStringLiteral("SOR"), card, &taken)) {
            items.Cancel();
        } else {
            try {
                if (DocumentScreens::current().ShowPodkladyPolEdit(editor, QPoint(d.MainLeft + 250, d.MainTop + 45)) == mrOk) {
                    PostPodklPol(d, oldCcc, oldNcc);
                } else {
                    prompter().ShowMessage(kNotConfirmed);
                    items.Cancel();
                }
            } catch (...) {
                // Only a lock record this correction wrote is removed on the way out.
                if (taken)
                    Quietly([&] { d.UnlockRecord(QStringLiteral("SOR"), card); });
                throw;
            }
            d.UnlockRecord(QStringLiteral("SOR"), card);
        }
    }
    d.CloseffSor();
}

void TDokladPodklady::deleteItem()
{
    store::Table &items = Data->ffPodklPol;
    if (Data->ImportRunning || !items.Active() || items.State() != store::DataSetState::Browse || items.IsEmpty())
        return;
    if (!prompter().Confirm(kDeleteItem))
        return;
    guarded([] { DeletePodklPol(*Data); });
}

void TDokladPodklady::DBEditTovel1Valid(QString &text, bool &valid, bool towardsClose)
{
    if (towardsClose) {
        text = Data->ffPodklHlavHLA_ODB.AsString();
        return;
    }
    text = DodavatelValid(text);
    if (text.isEmpty())
        valid = false;
}

void TDokladPodklady::DBEditTovel1ClickButton(QString &text)
{
    if (!Data->ImportRunning)
        text = DodavatelShow(text);
}

QString TDokladPodklady::DodavatelValid(const QString &code)
{
    TData &d = *Data;
    store::TableUse use(d.ffDodavatele, ix::ffDodavatele::KOD);
    store::Table &suppliers = d.ffDodavatele;
    const QString trimmed = TrimControl(code);
    if (!trimmed.isEmpty() && suppliers.FindKey({trimmed})) {
        d.SetLastDod();
        showSupplier();
        return Data->ffDodavateleDOD_KOD.AsString();
    }
    suppliers.SetIndexName(ix::ffDodavatele::NAC);
    d.GetLastDod();
    if (PickerScreens::current().ShowPrehledZakazniku(supplierPickerPos()) != mrOk) {
        clearSupplier();
        return QString();
    }
    showSupplier();
    const QString chosen = Data->ffDodavateleDOD_KOD.AsString();
    d.SetLastDod();
    return chosen;
}

QString TDokladPodklady::DodavatelShow(const QString &code)
{
    store::TableUse use(Data->ffDodavatele, ix::ffDodavatele::KOD);
    store::Table &suppliers = Data->ffDodavatele;
    const QString trimmed = TrimControl(code);
    if (!trimmed.isEmpty())
        suppliers.FindKey({trimmed});
    if (PickerScreens::current().ShowPrehledZakazniku(supplierPickerPos()) != mrOk)
        return trimmed;
    showSupplier();
    return Data->ffDodavateleDOD_KOD.AsString();
}

void TDokladPodklady::showSupplier()
{
    Data->ffPodklHlavHLA_NAC.SetAsString(Data->ffDodavateleDOD_FIR.AsString());
    Label1 = Data->ffDodavateleDOD_FIR.AsString();
    Label2 = Data->ffDodavateleDOD_ULI.AsString();
    Label3 = Data->ffDodavateleDOD_MES.AsString();
    Label4 = Data->ffDodavateleDOD_PSC.AsString();
    emit supplierShown();
}

void TDokladPodklady::clearSupplier()
{
    Label1.clear();
    Label2.clear();
    Label3.clear();
    Label4.clear();
    emit supplierShown();
}
