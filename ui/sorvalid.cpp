// The card look-up of the data module. It belongs to TData, but it may open the
// assortment picker, so it lives with the windows and reaches the picker through Screens.

#include "app/core/screens.h"
#include "app/core/screens_cleanup.h"

#include "app/core/textutil.h"
#include "store/tdata.h"

bool TData::SorValid(const QString &text)
{
    store::Table &cards = ffSortiment;
    const bool wasOpen = cards.Active();
    cards.Open();
    bool chosen = false;
    try {
        cards.SetIndexName(QStringLiteral("KAV"));
        if (TrimControl(text).size() > 5 && cards.FindKey({text})) {
            SetLastSor();
            chosen = true;
        } else {
            if (!cards.IsEmpty())
                GetLastSor();
            cards.SetIndexName(QStringLiteral("NAC"));
            if (screens().ShowPrehledSortimentu(QPoint(MainLeft + 50, MainTop + 102)) == mrOk) {
                SetLastSor();
                chosen = true;
            }
        }
    } catch (...) {
        if (!wasOpen)
            Quietly([&] { cards.Close(); });
        throw;
    }
    if (!wasOpen)
        cards.Close();
    return chosen;
}
