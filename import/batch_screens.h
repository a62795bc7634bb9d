#pragma once
// The Screens of an import run without windows (a scheduled job, a benchmark): the
// import dialog is answered with a given number, and no other window may open.

#include "core/screens.h"

#include <QString>

class BatchImportScreens final : public Screens {
public:
    // Installs itself as the program-wide Screens for its lifetime.
    explicit BatchImportScreens(const QString &prepared);
    ~BatchImportScreens() override;

    // Types the prepared number and answers "Import".
    int ShowFormPodkladyImport(TFormPodkladyImport &form) override;
    // Every other window throws std::logic_error.
    int ShowDokladPodklady(TDokladPodklady &, QPoint) override;
    int ShowPodkladyPolEdit(TPodkladyPolEdit &, QPoint) override;
    int ShowPrehledZakazniku(QPoint) override;
    int ShowPrehledSortimentu(QPoint) override;
    int ShowPodkladyHle() override;
    QString GetSaveFileName(const QString &, const QString &, const QString &, const QString &,
                            const QString &) override;
    int ShowSesPrehDodOdDo(TSesPrehDodOdDo &) override;
    int ShowSestavySetup(TSestavySetup &) override;
    std::unique_ptr<TSestavyProgress> ShowSestavyProgress() override;
    void ShowSestavyPreview(const TSestavy &) override;
    void PrintSestavy(const TSestavy &) override;

private:
    QString m_prepared;
};
