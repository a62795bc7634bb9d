#include "faktura_dodavatele.h"

#include "sorvalid.h"

#include "core/errors.h"
#include "core/general_error.h"
#include "core/prompter.h"
#include "store/table_use.h"
#include "store/tdata.h"

namespace {

// Runs a command; a failure (the store's, a text the code page cannot hold) is shown with
// its own text and nothing more happens.
template <typename Command>
void reported(Command &&command)
{
    try {
        command();
    } catch (const std::exception &e) {
        prompter().ShowMessage(ErrorText(e));
    }
}

} // namespace

bool TFakturaDodavatele::Load(const QString &path)
{
    try {
        Doc = PlanIsdocDocument(*Data, ReadIsdocFile(path));
    } catch (const std::exception &e) {
        prompter().ShowMessage(ErrorText(e));
        return false;
    }
    if (const QString refusal = Doc.refusal(); !refusal.isEmpty()) {
        prompter().ShowMessage(refusal);
        return false;
    }
    if (!Doc.shortenedWarning().isEmpty())
        prompter().ShowMessage(Doc.shortenedWarning());
    Current = 0;
    return true;
}

bool TFakturaDodavatele::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    switch (key) {
    case Qt::Key_Escape:
        Cancel();
        return true;
    case Qt::Key_F4:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        PickCard();
        return true;
    case Qt::Key_Delete:
        ToggleOmit();
        return true;
    case Qt::Key_F2:
        CreateSupplier();
        return true;
    case Qt::Key_F9:
        Write();
        return true;
    default:
        return false;
    }
}

void TFakturaDodavatele::PickCard()
{
    if (Current < 0 || Current >= Doc.items.size())
        return;
    reported([this] {
        TData &d = *Data;
        const store::TableUse cards(d.ffSortiment, QString(), store::TableUse::GiveBack::OpenState);
        if (!SorValid(d, QString()))
            return;
        if (!PickIsdocCard(d, Doc, Current, d.ffSortimentSOR_KAV.AsString()))
            prompter().ShowMessage(QStringLiteral("Karta %1 je vyřazená, na doklad ji nelze dát")
                                       .arg(d.ffSortimentSOR_KAV.AsString()));
        emit changed();
    });
    FocusControl(Grid);
}

void TFakturaDodavatele::ToggleOmit()
{
    if (Current < 0 || Current >= Doc.items.size())
        return;
    Doc.items[Current].omitted = !Doc.items[Current].omitted;
    emit changed();
}

bool TFakturaDodavatele::CreateSupplier()
{
    if (!Doc.supplierCode.isEmpty())
        return true;
    const IsdocParty &party = Doc.invoice.supplier;
    if (!prompter().AskYesNo(QStringLiteral("Dodavatel %1 (IČO %2) není v adresáři dodavatelů. Založit ho podle faktury?")
                                 .arg(party.name, party.ico)))
        return false;
    reported([this] {
        QStringList warnings;
        CreateIsdocSupplier(*Data, Doc, warnings);
        if (!warnings.isEmpty())
            prompter().ShowMessage(warnings.join(QLatin1Char('\n')));
    });
    emit changed();
    return !Doc.supplierCode.isEmpty();
}

void TFakturaDodavatele::Write()
{
    if (const int open = Doc.unmatchedCount(); open > 0) {
        prompter().ShowMessage(QStringLiteral("%1 řádků faktury nemá kartu: vyberte kartu (F4), nebo řádek vynechte (Del)")
                                   .arg(open));
        return;
    }
    if (Doc.writableCount() == 0) {
        prompter().ShowMessage(QStringLiteral("Na doklad nezbyla žádná položka"));
        return;
    }
    if (!CreateSupplier())
        return;
    reported([this] {
        if (IsdocDocumentExists(*Data, Doc.supplierCode, Doc.invoiceNumber)
            && !prompter().AskYesNo(QStringLiteral("Doklad dodavatele %1 s číslem faktury %2 už existuje. Zapsat ho znovu?")
                                        .arg(Doc.supplierCode, Doc.invoiceNumber)))
            return;
        Number = WriteIsdocDocument(*Data, Doc);
        CloseWith(mrOk);
    });
}
