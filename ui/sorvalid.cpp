// The card look-up lives with the windows that use it, and reaches the assortment picker
// through PickerScreens.

#include "sorvalid.h"

#include "core/form_commands.h"
#include "picker_screens.h"
#include "core/textutil.h"
#include "isdoc/cards.h"
#include "store/table_use.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

namespace ix = store::tables::index;

bool SorValid(TData &d, const QString &text)
{
    store::Table &cards = d.ffSortiment;
    // Opened for the look-up when closed; an open table stays on the card found.
    const store::TableUse use(cards, ix::ffSortiment::KAV, store::TableUse::GiveBack::OpenState);
    // A bar code (typed, or scanned: its digits and Enter) finds its card by SOR_EAN. A
    // valid code that finds no card is not tried as a card number, which it cannot be.
    const QString trimmed = TrimControl(text);
    const bool barcode = IsEanCode(trimmed);
    if ((barcode && GotoCardByEan(d, trimmed)) || (!barcode && trimmed.size() > 5 && cards.FindKey({text}))) {
        d.SetLastSor();
        return true;
    }
    if (!cards.IsEmpty())
        d.GetLastSor();
    cards.SetIndexName(ix::ffSortiment::NAC);
    if (PickerScreens::current().ShowPrehledSortimentu(QPoint(d.MainLeft + 50, d.MainTop + 102)) != mrOk)
        return false;
    d.SetLastSor();
    return true;
}
