#pragma once
// What the stock operations share: the name they serialize their writes to one card on,
// and an edit that may be refused.

#include "store/table.h"

#include <QString>

class TData;

// The name on which the stock operations of all stations serialize their writes to one
// card (store::Transaction).
QString StockCardSerialName(const QString &card);
// Puts the current record of t into editing (holding it); false, nothing changed, when
// that fails (for example because another station holds the record).
bool TryEdit(store::Table &t);
// Posts a stock movement as TData::ZapisPohybuVar does, within the caller's transaction
// (which it requires): true when the movement is written there, to be kept by the
// caller's commit. When the journal's running stock disagrees with the variant's stock,
// the card is rebuilt within that transaction first and its new stock shown. False when
// the card or the variant is missing or a write failed: what the posting wrote is still
// in the transaction, and the caller takes it back (store::TransactionPart). Nothing is
// rebuilt after a failure. Unlike ZapisPohybuVar it leaves ffSortiment, ffSklad and
// ffDenik, when they were open, where the posting put them (on their index "KAV", the
// journal on any), and it takes the card and the variant on which they stand as they
// were read.
bool PostMovementInTransaction(TData &d, const QString &card, const QString &variant, const QString &document,
                               const QString &operation, double unitPrice, double vatRate, double quantity);
