#pragma once
// TPodkladyPolEdit: the commands of the item editor. It works on the current row of
// ffPodklPol, which its caller has appended or put into editing and writes or cancels
// by the result. From the price, quantity, markup and package size (and the header's
// exchange rate) it derives
//   POP_KUS = POP_CKU / POP_BAL                                   (packages delivered)
//   POP_NCS = (KUR × POP_CNC + KUR × POP_CNC / 100 × POP_PRI) × POP_BAL
// and refuses an item whose quantity is not whole in packages.

#include "core/form_commands.h"

#include <QString>
#include <Qt>

class TPodkladyPolEdit : public FormCommands {
    Q_OBJECT
public:
    // The controls of the window, in tab order.
    enum Control { DBEditTovel1, DBEditTovel2, DBEditTovel3, DBEditTovel4, DBEditTovel5, Button1, Button2 };

    // The message of a quantity that is not whole in packages.
    static const QString kNotWhole;
    // The message of a package size of 0, of which no package count can be derived.
    static const QString kZeroPackage;
    // The message of an item whose value (quantity × price, or the stock value) is too
    // large for a number.
    static const QString kOutOfRange;

    using FormCommands::FormCommands;

    // The card field takes input (the caller of a correction turns it off).
    bool DBEditTovel1Enabled = true;

    // OnValid of the card (POP_KAV). towardsStorno: the focus is moving to "Storno";
    // nothing is checked. Otherwise SorValid(text): found or chosen, POP_KAV and the text
    // := SOR_KAV, POP_NAC := SOR_NAC; not, the text is invalid.
    void DBEditTovel1Valid(QString &text, bool &valid, bool towardsStorno);
    // OnValid of the price (POP_CNC): both derived values from the stored fields (the
    // previous price).
    void DBEditTovel2Valid(QString &text, bool &valid);
    // OnValid of the quantity (POP_CKU): invalid unless a number that is not negative;
    // both derived values from the stored fields either way.
    void DBEditTovel3Valid(QString &text, bool &valid);
    // OnValid of the markup (POP_PRI): the text must be a number (ConversionError);
    // POP_KUS from the stored fields, POP_NCS with the markup of the text.
    void DBEditTovel4Valid(QString &text, bool &valid);
    // OnValid of the package size (POP_BAL): the text must be a number
    // (ConversionError) other than 0 (AppError kZeroPackage); both derived values with
    // the package size of the text.
    void DBEditTovel5Valid(QString &text, bool &valid);
    // The card field's side button: when SorValid(text) is true, POP_KAV and the text :=
    // SOR_KAV, POP_NAC := SOR_NAC; otherwise the text stays.
    void DBEditTovel1ClickButton(QString &text);

    // "Storno": closes with Cancel.
    void Button1Click();
    // "Zapiš": derives POP_KUS and POP_NCS from the stored fields; closes with OK when
    // POP_KUS is within 0.01 above a whole number. Otherwise (or with a package size of
    // 0) shows its message, moves the focus to the package size and stays open. An item
    // whose values POP_CCC or POP_NCC are not finite numbers shows kOutOfRange and keeps
    // the focus on the price.
    void Button2Click();
    // The close box: ModalResult := Cancel; true (the window closes).
    bool FormCloseQuery();
    // The window's keys, seen before the focused control: Escape closes with Cancel.
    // True when the key ran a command.
    bool FormKeyDown(int key, Qt::KeyboardModifiers shift);
};
