#pragma once
// The card look-up of the item editor and the supplier invoice's card choice: a card
// number or bar code typed, or a card chosen in the assortment picker.

#include <QString>

class TData;

// Finds the card of `text` on the data module's assortment `ffSortiment`. A bar code
// (IsEanCode) finds its card by SOR_EAN; another text of more than 5 characters (trimmed)
// found as SOR_KAV on index "KAV" is taken at once; otherwise the assortment picker opens
// in name order at the remembered card. True when ffSortiment stands on the card found or
// chosen, which is then remembered (TData::SetLastSor). The table is opened if closed, and
// then closed again afterwards; an open table stays on the card found.
bool SorValid(TData &d, const QString &text);
