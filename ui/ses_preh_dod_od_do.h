#pragma once
// TSesPrehDodOdDo: the commands of the period dialog of the deliveries overview ("Sestava
// přehledu dokladů"): the first and last date, the order, and whether the data also go to
// the workbook. QtCore only; the window over it obeys its signals.

#include "core/form_commands.h"

#include <QDate>
#include <QString>
#include <Qt>

class TSesPrehDodOdDo : public FormCommands {
    Q_OBJECT
public:
    // The controls of the dialog, in tab order.
    enum Control { ZandorDateEdit1, ZandorDateEdit2, Trizeni, CheckBox1, Button2, Button1 };

    using FormCommands::FormCommands;

    // "Sestava přehledu dokladů".
    static QString Caption();

    // The first and last date of the period ("Přehled dokl. vyst. od data", "do data").
    QDate ZandorDateEdit1Date;
    QDate ZandorDateEdit2Date;
    // The order chosen in "Setřízení sestavy": 0 by receipt number, 1 by supplier.
    int TrizeniItemIndex = 0;
    // "Export data do souboru XLS ( MS Excel )".
    bool CheckBox1Checked = false;
    // Where "Start" copies the check box (the reports module's ExcelExport); not owned.
    bool *ExcelExport = nullptr;

    // "Start": ExcelExport := the check box; closes the dialog with OK.
    void Button1Click();
    // "Storno": closes the dialog with Cancel.
    void Button2Click();
    // The dialog's keys, seen before the focused control (focused: a Control, or -1):
    // Escape closes with Cancel; Enter moves the focus to the check box, and from the
    // check box on to "Storno". True when the key ran a command.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift, int focused);
};
