#pragma once
// The windows of an import run without windows (a scheduled job, a benchmark): the
// import dialog is answered with a given number; no other family of windows is
// installed, so no other window may open.

#include "import_screens.h"

#include <QString>

class BatchImportScreens final : public ImportScreens {
public:
    // Installs itself as the import's dialog for its lifetime.
    explicit BatchImportScreens(const QString &prepared);

    // Types the prepared number and answers "Import".
    int ShowFormPodkladyImport(TFormPodkladyImport &form) override;

private:
    QString m_prepared;
    InstalledWindows<ImportScreens> m_installed{*this};
};
