#pragma once
// TFormPodkladyImport: the commands of the dialog that asks for the number of the
// prepared document to import. QtCore only; the window over it obeys its signals.

#include "core/form_commands.h"

#include <QString>
#include <Qt>

class TFormPodkladyImport : public FormCommands {
    Q_OBJECT
public:
    // The controls of the dialog, in tab order.
    enum Control { EditTovel1, Button1, Button2 };

    using FormCommands::FormCommands;

    // The dialog's title: Import dat z modulu "Kalkulace cen".
    static QString Caption();

    // The text of the number field, as typed (at most 10 characters).
    QString EditTovel1Text;

    // "Storno": closes the dialog with Cancel.
    void Button1Click();
    // "Import": closes the dialog with OK.
    void Button2Click();
    // The dialog's keys, seen before the focused control: Escape closes with Cancel.
    // True when the key ran a command.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);
};
