#include "screens_widgets.h"

#include "doklad_podklady_form.h"
#include "faktura_dodavatele_form.h"
#include "form_podklady_import_form.h"
#include "podklady_pol_edit_form.h"
#include "prehled_sortimentu_form.h"
#include "prehled_zakazniku_form.h"
#include "search_dialogs_form.h"
#include "ses_preh_dod_od_do_form.h"
#include "sestavy_form.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>

namespace {

// Runs a window modally at pos; a window closed in any other way counts as Cancel.
// Afterwards the keyboard goes back to the window that opened it, also where no window
// manager hands the activation back.
int runAt(QDialog &dialog, QPoint pos)
{
    dialog.move(pos);
    const int result = dialog.exec();
    if (QWidget *opener = dialog.parentWidget())
        opener->activateWindow();
    return result == mrOk ? mrOk : mrCancel;
}

// Runs a window modally centred over the main window (the top of the active window's
// owners).
int runOverMain(QDialog &dialog)
{
    QWidget *main = QApplication::activeWindow();
    while (main && main->parentWidget())
        main = main->parentWidget()->window();
    dialog.adjustSize();
    const QPoint centre = main ? main->frameGeometry().center() : QPoint();
    return runAt(dialog, main ? centre - QPoint(dialog.width() / 2, dialog.height() / 2) : dialog.pos());
}

} // namespace

int WidgetScreens::ShowDokladPodklady(TDokladPodklady &editor, QPoint pos)
{
    DokladPodkladyDialog dialog(editor, QApplication::activeWindow());
    return runAt(dialog, pos);
}

int WidgetScreens::ShowPodkladyPolEdit(TPodkladyPolEdit &editor, QPoint pos)
{
    PodkladyPolEditDialog dialog(editor, QApplication::activeWindow());
    return runAt(dialog, pos);
}

int WidgetScreens::ShowPrehledZakazniku(QPoint pos)
{
    return RunPrehledZakazniku(pos, QApplication::activeWindow());
}

int WidgetScreens::ShowPrehledSortimentu(QPoint pos)
{
    return RunPrehledSortimentu(pos, QApplication::activeWindow());
}

int WidgetScreens::ShowPodkladyHle()
{
    TPodkladyHle search;
    return RunSearchDialog(search, QApplication::activeWindow());
}

int WidgetScreens::ShowFormPodkladyImport(TFormPodkladyImport &form)
{
    FormPodkladyImportDialog dialog(form, QApplication::activeWindow());
    return runOverMain(dialog);
}

int WidgetScreens::ShowSesPrehDodOdDo(TSesPrehDodOdDo &dialog)
{
    SesPrehDodOdDoForm window(dialog, QApplication::activeWindow());
    return runOverMain(window);
}

QString WidgetScreens::GetSaveFileName(const QString &title, const QString &dir, const QString &name,
                                       const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(QApplication::activeWindow(), title, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(QDir(dir).filePath(name));
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (QWidget *opener = dialog.parentWidget())
        opener->activateWindow();
    return chosen ? dialog.selectedFiles().constFirst() : QString();
}

QString WidgetScreens::GetOpenFileName(const QString &title, const QString &dir, const QString &filter)
{
    QFileDialog dialog(QApplication::activeWindow(), title, dir, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (QWidget *opener = dialog.parentWidget())
        opener->activateWindow();
    return chosen ? dialog.selectedFiles().constFirst() : QString();
}

int WidgetScreens::ShowFakturaDodavatele(TFakturaDodavatele &review)
{
    FakturaDodavateleDialog dialog(review, QApplication::activeWindow());
    return runOverMain(dialog);
}

int WidgetScreens::ShowSestavySetup(TSestavySetup &setup)
{
    SestavySetupDialog dialog(setup, QApplication::activeWindow());
    const int result = dialog.exec();
    if (QWidget *opener = dialog.parentWidget())
        opener->activateWindow();
    return result == QDialog::Accepted ? mrOk : mrCancel;
}

std::unique_ptr<TSestavyProgress> WidgetScreens::ShowSestavyProgress()
{
    return std::make_unique<SestavyProgressWindow>(QApplication::activeWindow());
}

void WidgetScreens::ShowSestavyPreview(const TSestavy &report)
{
    QPrintPreviewDialog dialog(QApplication::activeWindow());
    SetupSestavyPreview(dialog, report);
    dialog.exec();
    if (QWidget *opener = dialog.parentWidget())
        opener->activateWindow();
}

void WidgetScreens::PrintSestavy(const TSestavy &report)
{
    PrintSestavyOnPrinter(report);
}
