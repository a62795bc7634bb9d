#pragma once
// A supplier's e-invoice made into a source document, as a clerk would have typed it:
// the supplier found by its IČO, each line's card found by the line's identifications, the
// header and the items written by the same code as the document editor writes them, all
// in one transaction.

#include "isdoc_invoice.h"

#include <QString>
#include <QStringList>
#include <QVector>

class TData;

// How a line's card was found.
enum class IsdocMatch {
    None,       // not found: `reason` says why
    Buyers,     // BuyersItemIdentification/ID = SOR_KAV
    Ean,        // CatalogueItemIdentification/ID = SOR_EAN
    Sellers,    // SellersItemIdentification/ID = SOR_KDO
    Picked,     // chosen by the clerk
};

// A line of the invoice and the item it becomes.
struct IsdocItem {
    IsdocLine line;
    IsdocMatch match = IsdocMatch::None;
    QString card;        // SOR_KAV of the card found (empty when none)
    QString cardName;    // SOR_NAC
    QString reason;      // why the line cannot become an item; empty when it can
    bool omitted = false;   // left out by the clerk
    double quantity = 0;    // POP_CKU
    double price = 0;       // POP_CNC: amount without VAT in the document's currency ÷ quantity

    // The line becomes an item when written: a card, a usable quantity, not left out.
    bool writable() const { return !omitted && reason.isEmpty() && !card.isEmpty(); }
    // The line's identifications as one text: "odběratel 000010, EAN 8594…, dodavatel A-1".
    QString identifications() const;
};

// The document an invoice makes, before it is written.
struct IsdocDocument {
    IsdocInvoice invoice;
    QString supplierCode;      // DOD_KOD of the supplier found by IČO; empty when none
    QString supplierName;      // DOD_FIR
    QString invoiceNumber;     // HLA_DO2
    bool numberShortened = false;   // the invoice's ID did not fit in HLA_DO2
    QString currency;          // HLA_MEN
    double rate = 1;           // HLA_KUR
    double invoiced = 0;       // HLA_FAC
    QVector<IsdocItem> items;

    // Empty when the invoice can be written; else why not: a document type other than 1
    // (invoice) and 7 (simplified tax document), named; an invoice in a foreign currency
    // without its total in that currency.
    QString refusal() const;
    // The warning about a shortened invoice number; empty when it was not shortened.
    QString shortenedWarning() const;
    // Lines that are neither written nor left out by the clerk.
    int unmatchedCount() const;
    int writableCount() const;
};

// The field sizes the invoice's texts are cut to.
constexpr int kInvoiceNumberSize = 10;   // HLA_DO2

// Reads nothing from the file: makes the document of `invoice`, finding its supplier by
// IČO (index "ICO") and each line's card, among cards that are not withdrawn, by the
// buyer's identification on "KAV", the EAN on "EAN", then the seller's identification on
// "KDO"; the first identification that finds any card decides, and several cards make
// the line ambiguous (not matched, with the reason). Store errors are raised.
IsdocDocument PlanIsdocDocument(TData &d, const IsdocInvoice &invoice);

// Takes the card `card` for the item `index` of the document: found (not withdrawn) on
// "KAV", it becomes the item's card (IsdocMatch::Picked) and the item's quantity and
// amount are checked again. False, nothing changed, when there is no such card.
bool PickIsdocCard(TData &d, IsdocDocument &doc, int index, const QString &card);

// True when the supplier already has a document with this HLA_DO2 (read on index "DO2").
bool IsdocDocumentExists(TData &d, const QString &supplierCode, const QString &invoiceNumber);

// Creates the supplier of the invoice's party in the register, numbered as any new
// supplier (the counter CIS_ODB): name, street and number, town, postal code, country,
// DIČ, telephone and e-mail, each cut to its field with a warning in `warnings`. Sets the
// document's supplierCode and supplierName. Committed at once, on its own.
void CreateIsdocSupplier(TData &d, IsdocDocument &doc, QStringList &warnings);

// Writes the document: a new header in ffPodklHlav (dates today, the supplier, HLA_DO2,
// HLA_MEN, HLA_KUR, HLA_FAC), numbered from CIS_POD, and one item for each writable line
// (POP_KAV, POP_NAC from the card, POP_CKU, POP_CNC, POP_PRI 0, POP_BAL 1, the derived
// values), each growing the header's totals, all in one transaction. Returns HLA_DO1;
// ffPodklHlav stands on the new header (browsing). On any error nothing is written and
// the error is raised. Requires: a supplier, at least one writable line, no transaction
// open; ffPodklHlav open (or it is opened and left open), ffPodklPol closed.
QString WriteIsdocDocument(TData &d, const IsdocDocument &doc);
