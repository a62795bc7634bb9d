#pragma once
// The commands of the three search dialogs, which share one design: a group of radio
// buttons, each naming an index of the caller's table and how the typed text becomes the
// search value; a search field; "&Hledej" and "Storno". The search moves the caller's
// table to the first row whose key equals or follows the value (past the end when none
// does) and leaves the table on the index of the search, so that the caller's list is
// then shown in that order.
//
// TSorHle searches the assortment (opened from the assortment picker), TDodHle the
// suppliers (from the supplier list), TPodkladyHle the source-document headers (from the
// main window). The table is reached through `Data` and must be open.

#include "core/form_commands.h"

#include "store/table.h"

#include <QString>
#include <QVector>
#include <Qt>

// One radio button of a search dialog.
struct SearchOption {
    // How the typed text becomes the search value.
    enum class Value {
        TrimRight,  // trailing blanks removed
        Trim,       // leading and trailing blanks removed
        TrimUpper,  // trimmed and in capitals (locale rules)
    };
    QString control;   // "RadioButton3"
    QString caption;
    QString index;     // index of the table selected for the search
    Value value = Value::TrimRight;
    bool number = false;  // the key is a number: the search field takes a number
    bool barcode = false; // a valid EAN bar code finds its card by SOR_EAN (card numbers)
};

class SearchDialog : public FormCommands {
    Q_OBJECT
public:
    // The controls after the radio buttons (which are 0 … Options.size() − 1, in tab order).
    enum Control { VEdit1 = 100, BitBtn1, BitBtn2 };

    // Requires: table outlives the dialog; options not empty.
    SearchDialog(store::Table &table, const QString &title, const QVector<SearchOption> &options,
                 bool centreOnOwner, QObject *parent = nullptr);

    const QString Title;
    const QVector<SearchOption> Options;
    // Centred over the window that opened it (else: centred on the screen).
    const bool CentreOnOwner;
    store::Table &Table() const { return m_table; }

    // The selected radio button (exactly one is), the text of the search field and
    // whether "&Hledej" may be pressed. Every change is announced by changed().
    int Selected = 0;
    QString Text;
    bool HledejEnabled = false;
    // The search field takes a number (ttFloat) for a numeric key, else any text (ttString).
    bool FloatField() const { return Options[Selected].number; }

    // The dialog is shown: empty field taking any text, "&Hledej" disabled, the first radio
    // button selected and focused.
    void FormShow();
    // The user selected radio button i (click or arrow key). The field's mode follows the
    // option (a number for a numeric key).
    void SelectOption(int i);
    // A key pressed on a radio button: Enter moves the focus to the search field.
    void RadioKeyDown(int key);
    // The search field's text as typed.
    void SetText(const QString &text);
    // A key typed a character (or Backspace) in the search field: "&Hledej" is enabled.
    void FieldKeyPressed();
    // The dialog's keys, seen before its controls: Escape closes without searching. True
    // when the key was taken.
    bool FormKeyDown(int key);
    // "&Hledej": selects the option's index and moves the table to the nearest key, then
    // closes with OK. Under an option that takes bar codes, a valid EAN of a card moves the
    // table to that card (on the option's index) instead. A value the table cannot convert to the key's type (a sale price
    // that is not a number) is shown with the conversion error; the table keeps its
    // index and record and the dialog stays open with the focus in the field.
    void BitBtn1Click();
    // "Storno": closes without searching.
    void BitBtn2Click();

    // The search value of the typed text for the selected option.
    QString SearchValue() const;

signals:
    void changed();

private:
    store::Table &m_table;
};

// The assortment search, "Hledej položku databáze", over Data->ffSortiment.
class TSorHle : public SearchDialog {
    Q_OBJECT
public:
    explicit TSorHle(QObject *parent = nullptr);
};

// The supplier search over Data->ffDodavatele.
class TDodHle : public SearchDialog {
    Q_OBJECT
public:
    explicit TDodHle(QObject *parent = nullptr);
};

// The source-document search over Data->ffPodklHlav.
class TPodkladyHle : public SearchDialog {
    Q_OBJECT
public:
    explicit TPodkladyHle(QObject *parent = nullptr);
};
