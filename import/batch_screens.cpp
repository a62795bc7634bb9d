#include "batch_screens.h"

#include "form_podklady_import.h"

BatchImportScreens::BatchImportScreens(const QString &prepared) : m_prepared(prepared) {}

int BatchImportScreens::ShowFormPodkladyImport(TFormPodkladyImport &form)
{
    form.EditTovel1Text = m_prepared;
    return mrOk;
}
