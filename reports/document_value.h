#pragma once
// The value of a stock document from its lines in the stock journal, split by VAT rate:
// the lines gathered per card and variant into the work table DokladObsah (GetDoklad),
// the totals of one receipt (HlaHod), and the totals of many receipts read a page at a
// time (HlaHodDodavek). Only receipts (kind 3) are valued by this program. QtCore only.

#include "core/config.h"
#include "store/table.h"

#include <QString>
#include <functional>

// The tables the value of a document is computed from and gathered into, and the
// configuration that prices it (PriceMode, VatRateHigh, VatRateLow, VatRateZero). The
// journal and the assortment are read through cursors of their own on the tables these
// components name; the components themselves are not touched.
struct DocumentValueTables {
    const store::Table &denik;       // the stock journal
    const store::Table &sortiment;   // the assortment: names and groups of new rows
    store::Table &dokladObsah;       // the document's content, filled
    const Config &config;
};

// Gathers the journal lines of the receipt DocNumber (operation "001") into
// t.dokladObsah (opened if closed, left on its index "KAV"), one row per card and
// variant, without emptying it first: sums of quantity, sale value (with VAT when
// PriceMode is 2), purchase value and VAT on it; the sale value also into DOK_PCS,
// DOK_RAB, DOK_SLP, DOK_POM when the line's code is in the comma-separated list. Nothing
// is rounded. Only Kind 3 (receipt) is valued; another kind raises AppError before
// anything is read. Store errors are raised.
void GetDoklad(const DocumentValueTables &t, const QString &DocNumber, const QString &PcsOps, int Kind,
               const QString &RabOps, const QString &SlpOps, const QString &PomOps);

// The value of the receipt DocNumber (Kind 3) split by VAT rate: empties t.dokladObsah
// (opened if closed, left open) and fills it by GetDoklad, then CelkemNC = purchase
// total, CelkemPC = sale total with VAT, Zaklad22/05/00 = purchase totals of the rows at
// VatRateHigh, VatRateLow, VatRateZero, Dan22/Dan05 = those bases times their rate;
// HalVyr and Deduction 0. Not rounded. Every result is 0 on entry and stays 0 on any
// error (another kind raises AppError, the store its own errors).
void HlaHod(const DocumentValueTables &t, const QString &DocNumber, int Kind, double &CelkemNC, double &CelkemPC,
            double &Zaklad22, double &Zaklad05, double &Zaklad00, double &Dan22, double &Dan05, double &HalVyr,
            double &Deduction);

// The nine results of HlaHod.
struct HodnotaDokladu {
    double CelkemNC = 0, CelkemPC = 0, Zaklad22 = 0, Zaklad05 = 0, Zaklad00 = 0, Dan22 = 0, Dan05 = 0, HalVyr = 0,
           Deduction = 0;
};

// HlaHod for every receipt of `receipts` (a component of the receipts table, open, in
// the order and range the caller chose), from the current record to the end: `each`
// gets the receipt and its value, equal to the results of HlaHod for its number. It
// reads the receipts in pages and the journal lines of a whole page in one query through
// a cursor of its own on the journal `denik` (DokladObsah is not used), summing the
// lines in the same order and by the same rules as GetDoklad and HlaHod. `receipts` is
// left at its end (Eof); `denik` is not touched. Store errors are raised.
void HlaHodDodavek(const store::Table &denik, const Config &config, store::Table &receipts,
                   const std::function<void(const store::Record &receipt, const HodnotaDokladu &value)> &each);
