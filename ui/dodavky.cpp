#include "dodavky.h"

#include "doklad_podklady.h"
#include "document_screens.h"
#include "file_dialogs.h"
#include "invoice_screens.h"
#include "overview_screens.h"
#include "picker_screens.h"
#include "faktura_dodavatele.h"
#include "core/quietly.h"
#include "core/general_error.h"
#include "core/prompter.h"
#include "ses_preh_dod_od_do.h"
#include "reports/data_sestavy.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"
#include "xml/podklad_export.h"

#include <QDate>

namespace ix = store::tables::index;

namespace {

const QString kPod = QStringLiteral("POD");


void openHeaders()
{
    Data->ffPodklHlav.Open();
    Data->ffPodklHlav.SetIndexName(ix::ffPodklHlav::DO1);
}

void closeItems()
{
    store::Table &items = Data->ffPodklPol;
    if (!items.Active())
        return;
    items.CancelRange();
    items.Close();
}

void cancelHeaderEdit()
{
    store::Table &headers = Data->ffPodklHlav;
    if (headers.Active() && headers.State() != store::DataSetState::Browse)
        headers.Cancel();
}

} // namespace

void TDodavky::FormCreate()
{
    TData &d = *Data;
    try {
        openHeaders();
        d.ffPodklHlav.Last();
    } catch (const std::exception &) {
        if (d.Index())
            openHeaders();
        store::Table &priceLists = d.ffCeniky;
        priceLists.Open();
        try {
            if (!priceLists.IsEmpty()) {
                priceLists.First();
                d.PriceMode = d.ffCenikyCEN_DPH.AsBoolean() ? 2 : 1;
            }
        } catch (...) {
            Quietly([&] { priceLists.Close(); });
            throw;
        }
        priceLists.Close();
    }
}

void TDodavky::FormActivate(int left, int top)
{
    Data->MainLeft = left;
    Data->MainTop = top;
}

void TDodavky::FormClose()
{
    Data->ffPodklHlav.Close();
}

bool TDodavky::FormCloseQuery()
{
    return !Data->ImportRunning;
}

void TDodavky::Konec3Click()
{
    if (FormCloseQuery())
        CloseWith(mrCancel);
}

bool TDodavky::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers held = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool command = key == Qt::Key_F2 || key == Qt::Key_F5 || key == Qt::Key_F8 || key == Qt::Key_F9
        || (key == Qt::Key_F4 && held != Qt::AltModifier);
    // While an import runs no command starts (the import has the tables open and the
    // connection in use); its keys are taken and do nothing.
    if (command && Data->ImportRunning)
        return true;
    // A connection lost since the last command is restored before this one runs.
    if (command && !Data->RestoreConnection())
        return true;
    switch (key) {
    case Qt::Key_F2:
        Button1Click();
        return true;
    case Qt::Key_F4:
        if (held == Qt::AltModifier)
            return false;   // Alt+F4 closes the window
        Button2Click();
        return true;
    case Qt::Key_F5:
        Button3Click();
        return true;
    case Qt::Key_F8: {
        // Shift+F8 asks for the preview with the setup dialog, F8 for the printer; the
        // print command clears the setup choices, so both end in the preview.
        const bool preview = held & Qt::ShiftModifier;
        TDataSestavy &reports = *DataSestavy;
        reports.PreviewRequested = preview;
        reports.Sestavy.RequestedDestination = preview ? TDestination::Preview : TDestination::Printer;
        reports.Sestavy.SystemSetups =
            preview ? ssSetupDialog | ssCopies | ssPreview | ssPrinter | ssPrinterSetup : ssPrinter;
        Button4Click();
        return true;
    }
    case Qt::Key_F9:
        Button5Click();
        return true;
    default:
        return false;
    }
}

void TDodavky::Button1Click()
{
    if (Data->ImportRunning)
        return;
    TData &d = *Data;
    store::Table &headers = d.ffPodklHlav;
    try {
        headers.Append();
        const QDate today = QDate::currentDate();
        Data->ffPodklHlavHLA_DAT.SetAsDate(today);
        Data->ffPodklHlavHLA_DDO.SetAsDate(today);
        Data->ffPodklHlavHLA_MEN.SetAsString(QStringLiteral("EUR"));
        Data->ffPodklHlavHLA_KUR.SetAsFloat(1);
        TDokladPodklady editor;
        editor.NewDocument = true;
        editor.ActiveControl = TDokladPodklady::DBEditTovel1;
        if (DocumentScreens::current().ShowDokladPodklady(editor, QPoint(d.MainLeft + 35, d.MainTop)) == mrOk) {
            if (headers.Active())
                headers.Post();
        } else {
            cancelHeaderEdit();
        }
        closeItems();
    } catch (...) {
        Quietly(cancelHeaderEdit);
        Quietly(closeItems);
        FocusControl(DBGrid1);
        throw;
    }
    FocusControl(DBGrid1);
}

void TDodavky::Button2Click()
{
    if (Data->ImportRunning)
        return;
    TData &d = *Data;
    store::Table &headers = d.ffPodklHlav;
    QString number;
    bool taken = false;
    try {
        if (!headers.Active() || headers.IsEmpty())
            return;
        number = Data->ffPodklHlavHLA_DO1.AsString();
        if (!d.LockRecord(kPod, number, &taken))
            return;
    } catch (const std::exception &) {
        return;
    }
    try {
        headers.Edit();
        TDokladPodklady editor;
        editor.ActiveControl = TDokladPodklady::DBGrid1;
        const QString supplier = editor.DodavatelValid(Data->ffPodklHlavHLA_ODB.AsString());
        if (supplier.isEmpty()) {
            // No supplier confirmed (the code is gone from the register and the picker was
            // cancelled): the correction ends and the stored code stays as it was.
            headers.Cancel();
        } else {
            Data->ffPodklHlavHLA_ODB.SetAsString(supplier);
            editor.NewDocument = false;
            editor.KeepDocument = true;
            store::Table &items = d.ffPodklPol;
            items.Open();
            items.SetIndexName(ix::ffPodklPol::DO1);
            items.SetRange({number}, {number});
            items.First();
            editor.DBEditTovel1Enabled = false;
            editor.DBEditTovel5Enabled = false;
            if (DocumentScreens::current().ShowDokladPodklady(editor, QPoint(d.MainLeft + 30, d.MainTop + 40)) == mrOk)
                headers.Post();
            else
                headers.Cancel();
            closeItems();
        }
    } catch (const std::exception &) {
        // Dropped without a message; what the correction left open is undone. A lock
        // record that was there before (another copy of the program on this computer
        // editing the document) is not this correction's to remove.
        Quietly(cancelHeaderEdit);
        Quietly(closeItems);
        FocusControl(DBGrid1);
        if (taken)
            Quietly([&] { d.UnlockRecord(kPod, number); });
        return;
    }
    FocusControl(DBGrid1);
    Quietly([&] { d.UnlockRecord(kPod, number); });
}

void TDodavky::Button3Click()
{
    if (Data->ImportRunning)
        return;
    PickerScreens::current().ShowPodkladyHle();
    FocusControl(DBGrid1);
}

void TDodavky::Button4Click()
{
    if (Data->ImportRunning)
        return;
    TData &d = *Data;
    TDataSestavy &reports = *DataSestavy;
    TSestavy &engine = reports.Sestavy;
    try {
        if (!d.ffPodklHlav.Active() || d.ffPodklHlav.IsEmpty())
            return;
        const QString number = Data->ffPodklHlavHLA_DO1.AsString();
        store::Table &items = d.ffPodklPol;
        items.Open();
        items.SetIndexName(ix::ffPodklPol::DO1);
        items.SetRange({number}, {number});
        items.First();
        engine.RequestedDestination = TDestination::Preview;
        engine.SystemSetups = 0;
        engine.RequestedDestination = reports.PreviewRequested ? TDestination::Preview : TDestination::Printer;
        reports.PrintPodklad(d);
        closeItems();
    } catch (const std::exception &) {
        // Dropped without a message; the items opened for the printout are closed.
        Quietly(closeItems);
    }
    FocusControl(DBGrid1);
}

void TDodavky::Button5Click()
{
    if (Data->ImportRunning)
        return;
    const SaveFileDialog askFileName = [](const QString &title, const QString &dir, const QString &name,
                                          const QString &filter, const QString &defaultSuffix) {
        return FileDialogs::current().GetSaveFileName(title, dir, name, filter, defaultSuffix);
    };
    try {
        ExportPodkladXml(*Data, askFileName);
    } catch (...) {
        FocusControl(DBGrid1);
        throw;
    }
    FocusControl(DBGrid1);
}

void TDodavky::NactiFakturuIsdocClick()
{
    if (Data->ImportRunning)
        return;
    const QString path = FileDialogs::current().GetOpenFileName(QStringLiteral("Načíst fakturu ISDOC"), Data->ImportPath,
                                                   QStringLiteral("Faktury ISDOC (*.isdoc *.isdocx)"));
    if (!path.isEmpty())
        OpenIsdoc(path);
    FocusControl(DBGrid1);
}

void TDodavky::OpenIsdoc(const QString &path)
{
    if (Data->ImportRunning)
        return;
    TFakturaDodavatele review;
    if (review.Load(path) && InvoiceScreens::current().ShowFakturaDodavatele(review) == mrOk)
        Button2Click();
    FocusControl(DBGrid1);
}

void TDodavky::Sestavadodvek1Click()
{
    if (Data->ImportRunning)
        return;
    TDataSestavy &reports = *DataSestavy;
    store::Table &receipts = reports.ffSesDod;
    try {
        receipts.Close();
        receipts.SetDatabase(Data->ffDodavky.GetDatabase());
        receipts.SetTableName(Data->ffDodavky.TableName());
        receipts.Open();
        receipts.SetIndexName(ix::ffSesDod::DAT);
        TSesPrehDodOdDo dialog;
        dialog.ZandorDateEdit1Date = dialog.ZandorDateEdit2Date = QDate::currentDate();
        dialog.ExcelExport = &reports.ExcelExport;
        if (OverviewScreens::current().ShowSesPrehDodOdDo(dialog) == mrOk) {
            reports.DateFrom = dialog.ZandorDateEdit1Date;
            reports.DateTo = dialog.ZandorDateEdit2Date;
            reports.SesPrehPRD(dialog.TrizeniItemIndex, reports.DateFrom, reports.DateTo);
        }
        receipts.Close();
    } catch (const std::exception &e) {
        Quietly([&] { receipts.Close(); });
        prompter().ShowMessage(QStringLiteral("Ošetření vyjímky\n") + ErrorText(e));
    }
}
