#pragma once
// The windows of the running program: each Show… creates the real window over the
// active one, places it, runs it modally and frees it.

#include "all_screens.h"

// Installs itself as the windows of every family for its lifetime. Requires a
// QApplication.
class WidgetScreens final : public AllScreens {
public:
    int ShowDokladPodklady(TDokladPodklady &editor, QPoint pos) override;
    int ShowPodkladyPolEdit(TPodkladyPolEdit &editor, QPoint pos) override;
    // The supplier list, the assortment picker and the document search (centred on the
    // screen).
    int ShowPrehledZakazniku(QPoint pos) override;
    int ShowPrehledSortimentu(QPoint pos) override;
    int ShowPodkladyHle() override;
    // The import dialog, centred over the main window (the top of the active window's
    // owners).
    int ShowFormPodkladyImport(TFormPodkladyImport &form) override;
    // The period dialog of the overview, centred over the main window.
    int ShowSesPrehDodOdDo(TSesPrehDodOdDo &dialog) override;
    // A QFileDialog in save mode over the active window.
    QString GetSaveFileName(const QString &title, const QString &dir, const QString &name, const QString &filter,
                            const QString &defaultSuffix) override;
    // A QFileDialog opening an existing file, over the active window.
    QString GetOpenFileName(const QString &title, const QString &dir, const QString &filter) override;
    // The review window of a supplier's e-invoice, centred over the main window.
    int ShowFakturaDodavatele(TFakturaDodavatele &review) override;
    // The windows of a report run over the active window.
    int ShowSestavySetup(TSestavySetup &setup) override;
    std::unique_ptr<TSestavyProgress> ShowSestavyProgress() override;
    void ShowSestavyPreview(const TSestavy &report) override;
    void PrintSestavy(const TSestavy &report) override;
};
