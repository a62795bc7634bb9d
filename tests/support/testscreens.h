#pragma once
// The windows of every family for tests, installed for the double's lifetime: every
// window is a test failure (and answers Cancel, or no file) unless a subclass plays it.
// Header only: a test that includes it links the commands' library and GoogleTest.

#include "core/form_commands.h"
#include "reports/sestavy.h"
#include "ui/all_screens.h"

#include <QPoint>
#include <QString>
#include <gtest/gtest.h>

class TestScreens : public AllScreens {
public:
    int ShowDokladPodklady(TDokladPodklady &, QPoint) override { return unexpected("doklad"); }
    int ShowPodkladyPolEdit(TPodkladyPolEdit &, QPoint) override { return unexpected("polozka"); }
    int ShowPrehledZakazniku(QPoint) override { return unexpected("dodavatele"); }
    int ShowPrehledSortimentu(QPoint) override { return unexpected("sortiment"); }
    int ShowPodkladyHle() override { return unexpected("hledani"); }
    int ShowFormPodkladyImport(TFormPodkladyImport &) override { return unexpected("import"); }
    int ShowSesPrehDodOdDo(TSesPrehDodOdDo &) override { return unexpected("obdobi"); }
    QString GetSaveFileName(const QString &, const QString &, const QString &, const QString &,
                            const QString &) override
    {
        unexpected("ulozit");
        return QString();
    }
    QString GetOpenFileName(const QString &, const QString &, const QString &) override
    {
        unexpected("otevrit");
        return QString();
    }
    int ShowFakturaDodavatele(TFakturaDodavatele &) override { return unexpected("faktura"); }
    int ShowSestavySetup(TSestavySetup &) override { return unexpected("nastaveni tisku"); }
    // The progress window takes no input: a run may show it without a script.
    std::unique_ptr<TSestavyProgress> ShowSestavyProgress() override { return std::make_unique<SilentProgress>(); }
    void ShowSestavyPreview(const TSestavy &) override { unexpected("nahled"); }
    void PrintSestavy(const TSestavy &) override { unexpected("tiskarna"); }

protected:
    class SilentProgress final : public TSestavyProgress {
    public:
        void Show(const QString &) override {}
    };

    // Records the failure of the test; the window answers Cancel.
    static int unexpected(const char *window)
    {
        ADD_FAILURE() << "unexpected window " << window;
        return mrCancel;
    }
};
