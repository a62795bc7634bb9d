#pragma once
// How the commands of the source-document windows reach the screen without the toolkit.
//
// A window's commands live in a QtCore-only class (TDodavky, TDokladPodklady,
// TPodkladyPolEdit) derived from FormCommands: what they ask of their own window
// (close with a result, move the focus) goes out as signals that the window obeys;
// every other window they open is opened through Screens. The program installs a
// Screens that creates the real windows and runs them modally; tests install one that
// plays the user with a script.

#include <QObject>
#include <QPoint>
#include <QString>
#include <memory>

class TDokladPodklady;
class TFakturaDodavatele;
class TFormPodkladyImport;
class TPodkladyPolEdit;
class TSesPrehDodOdDo;
class TSestavy;
class TSestavyProgress;
struct TSestavySetup;

// Results of a modal window.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

// The commands half of a window.
class FormCommands : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The result the window closed with; mrNone while it is open.
    int ModalResult = mrNone;
    // The control that takes the focus when the window is shown (an id of the window's
    // own Control enumeration).
    int ActiveControl = 0;

    // ModalResult := result, then closeRequested: the window closes, its modal run
    // returns result.
    void CloseWith(int result);
    // focusRequested: the window puts the focus into that control.
    void FocusControl(int control);

signals:
    void closeRequested(int result);
    void focusRequested(int control);
};

// The other windows the commands open. Each Show… runs its window modally and returns
// its result (mrOk or mrCancel); pos is the top-left corner of the window on the screen.
class Screens {
public:
    virtual ~Screens() = default;

    // The source-document editor working on the current header of ffPodklHlav.
    virtual int ShowDokladPodklady(TDokladPodklady &editor, QPoint pos) = 0;
    // The item editor working on the current row of ffPodklPol.
    virtual int ShowPodkladyPolEdit(TPodkladyPolEdit &editor, QPoint pos) = 0;
    // The supplier picker TPrehledZakazniku on ffDodavatele, open and positioned by the
    // caller. mrOk: the user chose the supplier the table stands on.
    virtual int ShowPrehledZakazniku(QPoint pos) = 0;
    // The assortment picker TPrehledSortimentu on ffSortiment, open and positioned by
    // the caller. mrOk: the user chose the card the table stands on.
    virtual int ShowPrehledSortimentu(QPoint pos) = 0;
    // The source-document search TPodkladyHle over ffPodklHlav, centred on the screen;
    // it moves the header table to the document found.
    virtual int ShowPodkladyHle() = 0;
    // The dialog asking for the number of a prepared delivery to import; the typed
    // number is left in the form's EditTovel1Text. Centred over the main window.
    virtual int ShowFormPodkladyImport(TFormPodkladyImport &form) = 0;
    // The period dialog of the deliveries overview; the dates and choices are left in
    // the dialog's commands. Centred over the main window.
    virtual int ShowSesPrehDodOdDo(TSesPrehDodOdDo &dialog) = 0;
    // The save-file dialog: title, starting directory, proposed file name, filter (Qt's
    // "description (*.ext)" form) and the suffix added to a name typed without one; it
    // asks before an existing file is overwritten. Returns the chosen path, or an empty
    // text when the user cancelled.
    virtual QString GetSaveFileName(const QString &title, const QString &dir, const QString &name,
                                    const QString &filter, const QString &defaultSuffix) = 0;

    // The open-file dialog: title, starting directory and filter (Qt's "description
    // (*.ext …)" form). Returns the chosen path, or an empty text when the user cancelled.
    // A Screens that shows no windows (a batch job's) raises std::logic_error.
    virtual QString GetOpenFileName(const QString &title, const QString &dir, const QString &filter);
    // The review window "Faktura dodavatele" of a supplier's e-invoice read into `review`;
    // mrOk when the document was written. A Screens that shows no windows raises
    // std::logic_error.
    virtual int ShowFakturaDodavatele(TFakturaDodavatele &review);

    // The windows of a report run (TSestavy):
    // the setup dialog "Nastavení tisku sestavy", offering the choices in setup.choices;
    // mrOk with the destination, copies, printer and file chosen in setup, mrCancel ends
    // the run without output;
    virtual int ShowSestavySetup(TSestavySetup &setup) = 0;
    // the progress window "Stav přípravy tisku", open until the object is destroyed;
    virtual std::unique_ptr<TSestavyProgress> ShowSestavyProgress() = 0;
    // the modal preview "Náhled před tiskem" of the generated pages, from which "&Tisk"
    // prints them (TSestavy::PrintPages) on a printer the user chooses;
    virtual void ShowSestavyPreview(const TSestavy &report) = 0;
    // the pages sent to the printer, copies and printer of report.Setup().
    virtual void PrintSestavy(const TSestavy &report) = 0;
};

// The program-wide Screens. Requires one to be installed (std::logic_error otherwise).
Screens &screens();
// Installs s (not owned); nullptr removes it.
void setScreens(Screens *s);
// The installed Screens, or nullptr when none is (a batch job shows no windows).
Screens *installedScreens();
