#pragma once
// TDodavky: the commands of the main window, the list of all source documents of the
// firm (ffPodklHlav, kept open for the window's life, in "DO1" order unless a search
// chose another). Every other command of the program starts here. While an import runs
// (Data->ImportRunning) no command starts: each of them, by key, button or menu, returns
// at once, and the window cannot be closed.

#include "core/form_commands.h"

#include <Qt>

class TDodavky : public FormCommands {
    Q_OBJECT
public:
    enum Control { DBGrid1 };

    using FormCommands::FormCommands;

    // Opens ffPodklHlav on index "DO1" at its last document. When that fails: TData.Index
    // decides whether to open it again; then PriceMode is taken from the first price list
    // (2 when its CEN_DPH is true, else 1). An error of that recovery is raised.
    void FormCreate();
    // The window became active at (left, top): MainLeft / MainTop of TData follow it.
    void FormActivate(int left, int top);
    // Closes ffPodklHlav.
    void FormClose();
    // Whether the window may close: not while an import runs.
    bool FormCloseQuery();
    // The window's keys, seen before the focused control: F2 (any shift keys), F4 (not
    // Alt alone), F5, F8 and Shift+F8 (PreviewRequested set for Shift+F8, cleared for F8,
    // with the destination and setup choices each asks for), F9. True when the key ran a
    // command, or was taken without one while an import runs.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);

    // New document ("F2 Nový"): appends a header (HLA_DAT, HLA_DDO today, HLA_MEN "EUR",
    // HLA_KUR 1) and shows the editor for a new document 35 px right of the window; OK
    // writes the header, anything else cancels it. The items are closed afterwards and
    // the focus returns to the list. Errors are raised (the header edit is cancelled).
    void Button1Click();
    // Correct document ("F4 Oprava"): nothing on an empty list. Takes the "POD" lock on
    // HLA_DO1 (refused: stops), edits the header, confirms its supplier (none confirmed:
    // the header edit is cancelled, the lock released, and nothing else), opens its items
    // and shows the editor for a correction 30 px right of and 40 px below the window; OK
    // writes the header, anything else cancels its changes. The items are closed, the
    // focus returns to the list, the lock is released, also after an error, which is
    // dropped without a message.
    void Button2Click();
    // Search ("F5 Hledej"): the document search, then the focus returns to the list.
    void Button3Click();
    // Print ("F8 Tisk"): nothing on an empty list. Opens the items of the current
    // document (index "DO1", its range), clears the report engine's setup choices and
    // runs the document printout (PrintPodklad), which ends in the preview; the items are
    // closed and the focus returns to the list. Errors are dropped without a message.
    void Button4Click();
    // Export ("F9 Export"): writes the current document, its supplier and its items to
    // the XML file chosen in the save dialog (ExportPodkladXml); the focus returns to
    // the list. Errors (a file that cannot be made, text outside the code page, the
    // store's) are raised, with no file left behind.
    void Button5Click();

    // The menu: "Nový doklad", "Oprava Dokladu", "Hledej", "Sestava dodávek", "Konec".
    void Novdoklad1Click() { Button1Click(); }
    void OpravaDokladu1Click() { Button2Click(); }
    void Sestavy1Click() { Button3Click(); }
    // The deliveries overview ("Sestava dodávek"): points the reports module's receipts at
    // the firm's receipts table (index "DAT"), asks for the period, the order and the
    // workbook in TSesPrehDodOdDo (both dates today) and on "Start" runs SesPrehPRD. The
    // receipts are closed again in every case; any error shows "Ošetření vyjímky" with
    // its text on the next line.
    void Sestavadodvek1Click();
    // "Načíst fakturu ISDOC…": nothing while an import runs; else the open-file dialog for
    // *.isdoc and *.isdocx, then OpenIsdoc on the file chosen.
    void NactiFakturuIsdocClick();
    // A supplier's e-invoice made into a document (the menu entry, or the file dropped on
    // the window): the review window "Faktura dodavatele"; when it wrote the document, the
    // list stands on it and it opens in the editor as a correction (Button2Click), for
    // checking and printing. A file that cannot be read shows its message and nothing else.
    // Nothing while an import runs (a file dropped then is not read).
    void OpenIsdoc(const QString &path);
    // Closes the window (not while an import runs).
    void Konec3Click();
};
