#pragma once
// Posting one stock movement of a card variant: a journal entry with the running stock
// after it, and the stock of the variant and the card changed by the quantity. The
// posting reads and writes the assortment, the stock variants and the stock journal
// through cursors (StockCursors): its own, or those of a caller that posts many
// movements. The data module's components, which the windows show, are not touched.

#include <QString>

class TData;
struct StockCursors;

// Posts one stock movement of a card variant: appends a journal entry (today, the
// user's initials, DEN_ZAS the variant's stock after it, 0 for a card that keeps no
// stock) and, for a stock item, changes SKL_STA and SOR_STA by the quantity; stamps
// SOR_PPO. Prices and products are kept in double precision (0.1 × 10 posts 1.0).
// All in one transaction, which must not be open yet. When the newest entry's
// DEN_ZAS disagrees with SKL_STA the card is rebuilt first (RekonstrukceKarty) and its
// new stock shown. True when committed; false, nothing written, for an unknown card, a
// stock item without the variant or any failure.
bool ZapisPohybuVar(TData &d, const QString &card, const QString &variant, const QString &document,
                    const QString &operation, double unitPrice, double vatRate, double quantity);

// Posts a stock movement as ZapisPohybuVar does, within the caller's transaction
// (which it requires). `c.cards` stands on the card and `c.variants` on the variant, both
// as the caller looked them up by these codes: putting them into editing reads them
// afresh. True when the movement is written there, to be kept by the
// caller's commit. When the journal's running stock disagrees with the variant's stock,
// the card is rebuilt within that transaction first and its new stock shown. False when
// the card or the variant is gone or a write failed: what the posting wrote is still
// in the transaction, and the caller rolls the transaction back (a failed statement ends
// it on every engine; a caller that goes on guards the posting with a store::Savepoint).
// Nothing is rebuilt after a failure. The cursors are left where the posting put them:
// the cards and the variants on the movement's card and variant, the journal on any
// record and index.
bool PostMovementInTransaction(TData &d, StockCursors &c, const QString &card, const QString &variant,
                               const QString &document, const QString &operation, double unitPrice, double vatRate,
                               double quantity);
