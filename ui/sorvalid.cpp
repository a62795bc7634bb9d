// The card look-up of the data module. It belongs to TData, but it may open the
// assortment picker, so it lives with the windows and reaches the picker through Screens.

#include "app/core/screens.h"

#include "app/core/textutil.h"
#include "isdoc/cards.h"
#include "store/table_use.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

namespace ix = store::tables::index;

bool TData::SorValid(const QString &text)
{
    store::Table &cards = ffSortiment;
    // Opened for the look-up when closed; an open table stays on the card found.
    const store::TableUse use(cards, ix::ffSortiment::KAV, store::TableUse::GiveBack::OpenState);
    // A bar code (typed, or scanned: its digits and Enter) finds its card by SOR_EAN. A
    // valid code that finds no card is not tried as a card number, which it cannot be.
    const QString trimmed = TrimControl(text);
    const bool barcode = IsEanCode(trimmed);
    if ((barcode && GotoCardByEan(*this, trimmed)) || (!barcode && trimmed.size() > 5 && cards.FindKey({text}))) {
        SetLastSor();
        return true;
    }
    if (!cards.IsEmpty())
        GetLastSor();
    cards.SetIndexName(ix::ffSortiment::NAC);
    if (screens().ShowPrehledSortimentu(QPoint(MainLeft + 50, MainTop + 102)) != mrOk)
        return false;
    SetLastSor();
    return true;
}
