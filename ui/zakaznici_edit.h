#pragma once
// TZakazniciEdit: the commands of the supplier form, "ZakazniciEdit". It edits the row of
// Data->ffDodavatele that the supplier list has put into editing or inserted, on two
// pages; the list writes or cancels the row by the form's result.

#include "core/form_commands.h"

#include <QString>
#include <QVector>
#include <Qt>

class TZakazniciEdit : public FormCommands {
    Q_OBJECT
public:
    enum Control {
        DBEditTovel1 = 1, DBEditTovel2, DBEditTovel3, DBEditTovel4, DBEditTovel5, DBEditTovel6,
        DBEditTovel7, DBEditTovel8, DBEditTovel9, DBEditTovel10, DBEditTovel11, DBEditTovel12,
        DBEditTovel13, DBEditTovel14,
        Button1,  // "Zapiš"
        Button2,  // "Storno"
    };
    enum Page { ZakladniUdaje, KontaktniUdaje };

    // One input of the form: its control, the field it edits, its page and the label of
    // its line ("" for the second input of a line).
    struct Input {
        Control control;
        QString field;
        Page page;
        QString label;
    };
    // Every input, in tab order (page by page).
    static QVector<Input> Inputs();
    static const QString PageCaptions[2];

    explicit TZakazniciEdit(QObject *parent = nullptr);

    // The page shown; pageRequested announces a change.
    Page ActivePage = ZakladniUdaje;

    // The form is shown: the first page with the IČO field active.
    void FormShow();
    // The state field (the last of the first page) was left forward (Tab or Enter): the
    // second page is shown and the supplier-type field takes the focus.
    void DBEditTovel7TabExit();
    // The form's keys, seen before its controls: Escape closes with Cancel. True when taken.
    bool FormKeyDown(int key);
    // "Zapiš": closes with OK.
    void Button1Click() { CloseWith(mrOk); }
    // "Storno": closes with Cancel.
    void Button2Click() { CloseWith(mrCancel); }

signals:
    void pageRequested(int page);

private:
    void showPage(Page page);
};
