#pragma once
// TPrehledZakazniku: the commands of the supplier list, "Přehled dodavatelů". It lists
// Data->ffDodavatele (open and positioned by the caller) and lets the user choose a
// supplier (the table is left standing on it), search, correct one and create one. The
// window's height is remembered in Kramora.ini under VstHeight.

#include "core/form_commands.h"

#include <QStringList>
#include <Qt>
#include <functional>

class TDodHle;
class TZakazniciEdit;

class TPrehledZakazniku : public FormCommands {
    Q_OBJECT
public:
    enum Control { DBGrid1 };

    // The grid's columns, in order.
    static QStringList GridColumns();
    // The kind of remembered window height (VstHeight).
    static constexpr int HeightKind = 8;
    // The message of every failure while a supplier is corrected, created or written.
    static const QString LockedMessage;

    explicit TPrehledZakazniku(QObject *parent = nullptr);

    // Show the supplier search and the supplier form modally over this window and return
    // their results; set by the window (tests play them).
    std::function<int(TDodHle &)> ShowDodHle;
    std::function<int(TZakazniciEdit &)> ShowZakazniciEdit;

    // The window's height in pixels.
    int Height = 0;

    // The window is created: Height := the remembered height. A height in the file that is
    // not an integer raises ConversionError.
    void FormCreate();
    // The window closes with the given height: it is remembered. A failed write raises
    // AppError naming the file.
    void FormClose(int height);
    // The window's keys, seen before the grid: F4 corrects, F2 creates, Escape closes with
    // Cancel, F5 searches, Enter chooses. True when the key was taken.
    bool FormKeyDown(int key);
    // A double click on the grid chooses.
    void DBGrid1DblClick() { Choose(); }
    // Closes with OK when the table stands on a supplier; on an empty list there is nothing
    // to choose and the window stays open.
    void Choose();
    // "F5 Hledej": the supplier search (ShowDodHle); it may move the table and leave it on
    // another index. Then the focus returns to the grid.
    void Button1Click();
    // "F2 Nový": inserts a supplier row (which takes the next supplier code at once) and
    // shows the form on it; OK writes the row, which is then current, anything else
    // cancels it. Any failure shows LockedMessage and writes nothing. Focus to the grid.
    void Button2Click();
    // "F4 Oprava": puts the current supplier into editing (refused when another station
    // holds it) and shows the form; OK writes the row, anything else cancels it. Any
    // failure shows LockedMessage and writes nothing. Focus to the grid.
    void Button3Click();

private:
    void editSupplier(bool insert);
};
