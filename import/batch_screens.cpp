#include "batch_screens.h"

#include "form_podklady_import.h"

#include <stdexcept>

namespace {

[[noreturn]] void noWindow()
{
    throw std::logic_error("an import without windows opens no other window");
}

} // namespace

BatchImportScreens::BatchImportScreens(const QString &prepared) : m_prepared(prepared)
{
    setScreens(this);
}

BatchImportScreens::~BatchImportScreens()
{
    setScreens(nullptr);
}

int BatchImportScreens::ShowFormPodkladyImport(TFormPodkladyImport &form)
{
    form.EditTovel1Text = m_prepared;
    return mrOk;
}

int BatchImportScreens::ShowDokladPodklady(TDokladPodklady &, QPoint) { noWindow(); }
int BatchImportScreens::ShowPodkladyPolEdit(TPodkladyPolEdit &, QPoint) { noWindow(); }
int BatchImportScreens::ShowPrehledZakazniku(QPoint) { noWindow(); }
int BatchImportScreens::ShowPrehledSortimentu(QPoint) { noWindow(); }
int BatchImportScreens::ShowPodkladyHle() { noWindow(); }
int BatchImportScreens::ShowSesPrehDodOdDo(TSesPrehDodOdDo &) { noWindow(); }
int BatchImportScreens::ShowSestavySetup(TSestavySetup &) { noWindow(); }
std::unique_ptr<TSestavyProgress> BatchImportScreens::ShowSestavyProgress() { noWindow(); }
void BatchImportScreens::ShowSestavyPreview(const TSestavy &) { noWindow(); }
void BatchImportScreens::PrintSestavy(const TSestavy &) { noWindow(); }

QString BatchImportScreens::GetSaveFileName(const QString &, const QString &, const QString &, const QString &,
                                            const QString &)
{
    noWindow();
}
