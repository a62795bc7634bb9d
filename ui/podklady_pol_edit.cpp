#include "podklady_pol_edit.h"

#include "app/core/errors.h"
#include "app/core/prompter.h"
#include "app/core/textutil.h"
#include "store/tdata.h"

#include <cmath>

const QString TPodkladyPolEdit::kNotWhole = QStringLiteral("Obchodní balení není celé číslo !!!");
const QString TPodkladyPolEdit::kZeroPackage = QStringLiteral("Počet DB v Obch.Bal nesmí být 0 !!!");
const QString TPodkladyPolEdit::kOutOfRange = QStringLiteral("Hodnota položky je mimo rozsah čísel");

namespace {

store::Field &pop(const char *name) { return Data->ffPodklPol.FieldByName(QLatin1String(name)); }
double stored(const char *name) { return pop(name).AsFloat(); }

// Sets the two derived values of the item. A package size of 0 derives nothing and
// throws AppError kZeroPackage.
void derive(double cku, double cnc, double pri, double bal)
{
    if (bal == 0)
        throw AppError(TPodkladyPolEdit::kZeroPackage);
    const double kur = Data->ffPodklHlav.FieldByName(QStringLiteral("HLA_KUR")).AsFloat();
    pop("POP_KUS").SetAsFloat(cku / bal);
    pop("POP_NCS").SetAsFloat((kur * cnc + kur * cnc / 100 * pri) * bal);
}

// Derives both values from the stored fields, with the package size or the markup
// replaced by the text being validated where given. A stored package size of 0 is
// reported, but does not keep the user in a field that cannot change it.
void deriveReporting(double pri, double bal)
{
    try {
        derive(stored("POP_CKU"), stored("POP_CNC"), pri, bal);
    } catch (const AppError &e) {
        prompter().ShowMessage(e.text());
    }
}

void takeCard(QString &text)
{
    const QString card = Data->ffSortiment.FieldByName(QStringLiteral("SOR_KAV")).AsString();
    pop("POP_KAV").SetAsString(card);
    pop("POP_NAC").SetAsString(Data->ffSortiment.FieldByName(QStringLiteral("SOR_NAC")).AsString());
    text = card;
}

} // namespace

void TPodkladyPolEdit::DBEditTovel1Valid(QString &text, bool &valid, bool towardsStorno)
{
    if (towardsStorno)
        return;
    if (Data->SorValid(text))
        takeCard(text);
    else
        valid = false;
}

void TPodkladyPolEdit::DBEditTovel1ClickButton(QString &text)
{
    if (Data->SorValid(text))
        takeCard(text);
}

void TPodkladyPolEdit::DBEditTovel2Valid(QString &, bool &)
{
    deriveReporting(stored("POP_PRI"), stored("POP_BAL"));
}

void TPodkladyPolEdit::DBEditTovel3Valid(QString &text, bool &valid)
{
    try {
        if (StrToFloat(text) < 0)
            valid = false;
    } catch (const ConversionError &) {
        valid = false;   // empty or not a number
    }
    deriveReporting(stored("POP_PRI"), stored("POP_BAL"));
}

void TPodkladyPolEdit::DBEditTovel4Valid(QString &text, bool &)
{
    const double pri = StrToFloat(text);
    deriveReporting(pri, stored("POP_BAL"));
}

void TPodkladyPolEdit::DBEditTovel5Valid(QString &text, bool &)
{
    const double bal = StrToFloat(text);
    derive(stored("POP_CKU"), stored("POP_CNC"), stored("POP_PRI"), bal);
}

void TPodkladyPolEdit::Button1Click()
{
    CloseWith(mrCancel);
}

void TPodkladyPolEdit::Button2Click()
{
    try {
        derive(stored("POP_CKU"), stored("POP_CNC"), stored("POP_PRI"), stored("POP_BAL"));
    } catch (const AppError &e) {
        prompter().ShowMessage(e.text());
        FocusControl(DBEditTovel5);
        return;
    }
    if (!std::isfinite(stored("POP_CCC")) || !std::isfinite(stored("POP_NCC"))) {
        prompter().ShowMessage(kOutOfRange);
        FocusControl(DBEditTovel2);
        return;
    }
    const double kus = stored("POP_KUS");
    if (std::abs(kus - std::trunc(kus)) <= 0.01) {
        CloseWith(mrOk);
        return;
    }
    prompter().ShowMessage(kNotWhole);
    FocusControl(DBEditTovel5);
}

bool TPodkladyPolEdit::FormCloseQuery()
{
    ModalResult = mrCancel;
    return true;
}

bool TPodkladyPolEdit::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    if (key != Qt::Key_Escape)
        return false;
    Button1Click();
    return true;
}
