// The card look-up of the data module. It belongs to TData, but it may open the
// assortment picker, so it lives with the windows and reaches the picker through Screens.

#include "app/core/screens.h"

#include "app/core/textutil.h"
#include "store/table_use.h"
#include "store/tdata.h"

bool TData::SorValid(const QString &text)
{
    store::Table &cards = ffSortiment;
    // Opened for the look-up when closed; an open table stays on the card found.
    const store::TableUse use(cards, QStringLiteral("KAV"), store::TableUse::GiveBack::OpenState);
    if (TrimControl(text).size() > 5 && cards.FindKey({text})) {
        SetLastSor();
        return true;
    }
    if (!cards.IsEmpty())
        GetLastSor();
    cards.SetIndexName(QStringLiteral("NAC"));
    if (screens().ShowPrehledSortimentu(QPoint(MainLeft + 50, MainTop + 102)) != mrOk)
        return false;
    SetLastSor();
    return true;
}
