#pragma once
// TDokladPodklady: the commands of the source-document editor. It works on the current
// header of ffPodklHlav (inserting or editing, prepared by its caller) and on the items
// of that document in ffPodklPol. It gives a new document its number at the first new
// item, and keeps the header totals HLA_EUR and HLA_NCA in step with the items: each
// written item adds its values, each corrected item its difference, each deleted item
// takes its values off; they are never recomputed. While an import runs
// (Data->ImportRunning) no command of the window starts: F2, F4, F8, Escape, Ctrl+Delete,
// the buttons and the supplier's side button do nothing, F9 only says that an import
// runs, and the window cannot be closed.

#include "core/form_commands.h"

#include <QString>
#include <Qt>

class TDokladPodklady : public FormCommands {
    Q_OBJECT
public:
    // The controls of the window, in tab order.
    enum Control { DBEditTovel1, ZandorDBDateEdit1, DBEditTovel3, DBEditTovel2, DBEditTovel4, DBEditTovel5, DBGrid1 };

    using FormCommands::FormCommands;

    // The header has no document number yet; cleared when the number is assigned.
    bool NewDocument = false;
    // The window closes with OK (its caller writes the header); set when the number is
    // assigned and by the caller of a correction.
    bool KeepDocument = false;
    // The supplier code and exchange-rate fields take input (the caller of a correction
    // turns both off).
    bool DBEditTovel1Enabled = true;
    bool DBEditTovel5Enabled = true;

    // The supplier display under the code: name, street, city, postal code.
    QString Label1, Label2, Label3, Label4;

    // New item ("F2 Nová", F2). With an empty HLA_ODB only moves the focus to the
    // supplier code. A new document first takes its number from CIS_POD: the counter is
    // written, then the header (HLA_DO1, HLA_DAT today) is written and edited again,
    // KeepDocument set, the items opened on the document's range. Then an item row is
    // appended (POP_DOK, POP_BAL 1) and the item editor shown; on OK the item and the
    // header, its POP_CCC / POP_NCC added to HLA_EUR / HLA_NCA, are written in one
    // transaction, the header held and in editing throughout; otherwise the item is
    // cancelled. Store failures show "Osetreni vyjimky" (nothing of the write is kept).
    void Button1Click();
    // Correct item ("F4 Oprava", F4). With an empty HLA_ODB only moves the focus; does
    // nothing on an empty item list (also before the document has a number). Puts
    // the current item into editing; when its card is in the assortment and the "SOR"
    // lock on it is granted, shows the item editor (card field off, price field active):
    // on OK writes the item and the header with the differences of POP_CCC / POP_NCC
    // added to its totals, in one transaction as above; otherwise shows "Nepotvrzen zápis do karty" and
    // cancels the item. The lock is released afterwards. Failures: "Osetreni vyjimky".
    void Button2Click();
    // Print ("F8 Tisk", F8): nothing while Data->ImportRunning. Runs the document printout
    // (PrintPodklad) of the header and the items in range with the report engine's setup
    // choices as they stand (the F8 key clears them first, so only the button shows the
    // setup dialog until then); afterwards clears them, sets the requested destination
    // back to the preview and closes the window as "Ukončení" does. Errors are raised.
    void Button3Click();
    // Close ("Ukončení", Escape): nothing while Data->ImportRunning; else closes with OK when
    // KeepDocument is set, with Cancel otherwise.
    void Button4Click();
    // The close box: false (stay open) while Data->ImportRunning; else ModalResult := Cancel
    // and true, whatever KeepDocument says.
    bool FormCloseQuery();
    // Import (F9): with an empty HLA_ODB only moves the focus to the supplier code. A
    // document without a number is first numbered and written as at the first new item.
    // Then the lines of a prepared delivery go into a receipt of their own in ffDodavky
    // (TDataImport::ImportIntoReceipt) with the document's supplier, delivery date,
    // supplier's document number HLA_DO2 and amount HLA_FAC; the receipt is written only
    // when lines were posted into it. KeepDocument is set when DokladObsah holds rows
    // afterwards. Store failures: "Osetreni vyjimky".
    void ImportClick();
    // The window's keys, seen before the focused control: Escape, F2, F4 (not Alt+F4),
    // F8, F9. True when the key ran a command.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);
    // Ctrl+Delete on the item list: asks "Smazat položku ?"; on OK deletes the current
    // item and takes its POP_CCC / POP_NCC off the header totals, writing the header in
    // the same transaction. Does nothing without a current item. Failures: "Osetreni vyjimky".
    void deleteItem();

    // OnValid of the supplier code. towardsClose: the focus is moving to "Ukončení";
    // leaving is then allowed and the text goes back to the stored code, so that an
    // unconfirmed code is never written. Otherwise the text becomes DodavatelValid(text)
    // and an empty result makes it invalid.
    void DBEditTovel1Valid(QString &text, bool &valid, bool towardsClose);
    // The supplier code's side button: text := DodavatelShow(text) (unchanged while an
    // import runs).
    void DBEditTovel1ClickButton(QString &text);

    // Confirms a supplier code: found (trimmed, exact) on ffDodavatele's "KOD", it is
    // remembered and shown; otherwise the supplier picker opens in name order at the
    // remembered supplier and the chosen one is shown and remembered, or, cancelled, the
    // labels are cleared and "" returned. Showing sets HLA_NAC (the header must be in
    // editing) and the labels. Returns DOD_KOD. ffDodavatele is closed afterwards.
    QString DodavatelValid(const QString &code);
    // Lets the user choose a supplier in the picker, starting at the typed code in code
    // order; returns the chosen DOD_KOD (shown as above), or the trimmed code when the
    // picker is cancelled. ffDodavatele is closed afterwards.
    QString DodavatelShow(const QString &code);

signals:
    // The supplier labels changed.
    void supplierShown();

private:
    void newItem();
    void correctItem();
    void assignNumber();
    void importDelivery();
    bool supplierMissing();
    void showSupplier();
    void clearSupplier();
};
