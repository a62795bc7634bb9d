#include "podklady_pol_edit.h"

#include "sorvalid.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "core/textutil.h"
#include "store/podklad_item.h"
#include "store/tdata.h"

#include <cmath>

const QString TPodkladyPolEdit::kNotWhole = QStringLiteral("Obchodní balení není celé číslo !!!");
const QString TPodkladyPolEdit::kZeroPackage = PodklPolZeroPackageText();
const QString TPodkladyPolEdit::kOutOfRange = PodklPolOutOfRangeText();

namespace {

// Sets the two derived values of the item (a package size of 0 throws AppError
// kZeroPackage).
void derive(double cku, double cnc, double pri, double bal)
{
    DerivePodklPol(*Data, cku, cnc, pri, bal);
}

// Derives both values from the stored fields, with the package size or the markup
// replaced by the text being validated where given. A stored package size of 0 is
// reported, but does not keep the user in a field that cannot change it.
void deriveReporting(double pri, double bal)
{
    try {
        derive(Data->ffPodklPolPOP_CKU.AsFloat(), Data->ffPodklPolPOP_CNC.AsFloat(), pri, bal);
    } catch (const AppError &e) {
        prompter().ShowMessage(e.text());
    }
}

void takeCard(QString &text)
{
    const QString card = Data->ffSortimentSOR_KAV.AsString();
    Data->ffPodklPolPOP_KAV.SetAsString(card);
    Data->ffPodklPolPOP_NAC.SetAsString(Data->ffSortimentSOR_NAC.AsString());
    text = card;
}

} // namespace

void TPodkladyPolEdit::DBEditTovel1Valid(QString &text, bool &valid, bool towardsStorno)
{
    if (towardsStorno)
        return;
    if (SorValid(*Data, text))
        takeCard(text);
    else
        valid = false;
}

void TPodkladyPolEdit::DBEditTovel1ClickButton(QString &text)
{
    if (SorValid(*Data, text))
        takeCard(text);
}

void TPodkladyPolEdit::DBEditTovel2Valid(QString &, bool &)
{
    deriveReporting(Data->ffPodklPolPOP_PRI.AsFloat(), Data->ffPodklPolPOP_BAL.AsFloat());
}

void TPodkladyPolEdit::DBEditTovel3Valid(QString &text, bool &valid)
{
    try {
        if (StrToFloat(text) < 0)
            valid = false;
    } catch (const ConversionError &) {
        valid = false;   // empty or not a number
    }
    deriveReporting(Data->ffPodklPolPOP_PRI.AsFloat(), Data->ffPodklPolPOP_BAL.AsFloat());
}

void TPodkladyPolEdit::DBEditTovel4Valid(QString &text, bool &)
{
    const double pri = StrToFloat(text);
    deriveReporting(pri, Data->ffPodklPolPOP_BAL.AsFloat());
}

void TPodkladyPolEdit::DBEditTovel5Valid(QString &text, bool &)
{
    const double bal = StrToFloat(text);
    derive(Data->ffPodklPolPOP_CKU.AsFloat(), Data->ffPodklPolPOP_CNC.AsFloat(), Data->ffPodklPolPOP_PRI.AsFloat(),
           bal);
}

void TPodkladyPolEdit::Button1Click()
{
    CloseWith(mrCancel);
}

void TPodkladyPolEdit::Button2Click()
{
    try {
        derive(Data->ffPodklPolPOP_CKU.AsFloat(), Data->ffPodklPolPOP_CNC.AsFloat(), Data->ffPodklPolPOP_PRI.AsFloat(),
               Data->ffPodklPolPOP_BAL.AsFloat());
    } catch (const AppError &e) {
        prompter().ShowMessage(e.text());
        FocusControl(DBEditTovel5);
        return;
    }
    if (!std::isfinite(Data->ffPodklPolPOP_CCC.AsFloat()) || !std::isfinite(Data->ffPodklPolPOP_NCC.AsFloat())) {
        prompter().ShowMessage(kOutOfRange);
        FocusControl(DBEditTovel2);
        return;
    }
    if (PodklPolWholePackages(Data->ffPodklPolPOP_KUS.AsFloat())) {
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
