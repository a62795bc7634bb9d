#pragma once
// A supplier's e-invoice in the Czech ISDOC format (6.0.x, namespace
// http://isdoc.cz/namespace/2013) read into plain values: what a source document is made
// from. The reader takes an .isdoc file (XML) or an .isdocx (a ZIP whose manifest.xml
// names the main document).

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// AccountingSupplierParty/Party.
struct IsdocParty {
    QString ico;           // PartyIdentification/ID
    QString name;          // PartyName/Name
    QString street;        // PostalAddress/StreetName
    QString buildingNumber;  // PostalAddress/BuildingNumber
    QString city;          // PostalAddress/CityName
    QString postalZone;    // PostalAddress/PostalZone
    QString countryCode;   // PostalAddress/Country/IdentificationCode
    QString countryName;   // PostalAddress/Country/Name
    QString dic;           // the first PartyTaxScheme/CompanyID
    QString telephone;     // Contact/Telephone
    QString email;         // Contact/ElectronicMail
};

// InvoiceLines/InvoiceLine.
struct IsdocLine {
    QString id;                              // ID
    std::optional<double> quantity;          // InvoicedQuantity (optional in the format)
    QString unitCode;                        // InvoicedQuantity/@unitCode
    double amount = 0;                       // LineExtensionAmount: without VAT, local currency
    std::optional<double> amountCurr;        // LineExtensionAmountCurr: the same in the foreign currency
    double vatPercent = 0;                   // ClassifiedTaxCategory/Percent
    QString description;                     // Item/Description
    QString buyersId;                        // Item/BuyersItemIdentification/ID
    QString catalogueId;                     // Item/CatalogueItemIdentification/ID (the EAN)
    QString sellersId;                       // Item/SellersItemIdentification/ID
    int sourceLine = 0;                      // where the line starts in the XML, for messages
};

struct IsdocInvoice {
    int documentType = 0;            // DocumentType: 1 invoice, 2 credit note, ... 7 simplified
    QString id;                      // ID: the supplier's number of the invoice
    QDate issueDate;                 // IssueDate
    QString localCurrency;           // LocalCurrencyCode
    QString foreignCurrency;         // ForeignCurrencyCode, empty when the invoice has none
    double currRate = 1;             // CurrRate
    double refCurrRate = 1;          // RefCurrRate
    IsdocParty supplier;             // AccountingSupplierParty/Party
    double taxExclusiveAmount = 0;   // LegalMonetaryTotal/TaxExclusiveAmount (local currency)
    std::optional<double> taxExclusiveAmountCurr;  // LegalMonetaryTotal/TaxExclusiveAmountCurr
    QStringList variableSymbols;     // PaymentMeans/Payment/Details/VariableSymbol, in order
    QVector<IsdocLine> lines;

    bool inForeignCurrency() const { return !foreignCurrency.isEmpty(); }
};

// The largest file the reader takes (and the largest main document inside an .isdocx).
constexpr qint64 kIsdocMaxBytes = 20 * 1024 * 1024;

// Reads the invoice of an .isdoc or .isdocx file (told apart by their content: a ZIP is an
// .isdocx). Throws AppError with a Czech message naming the file, and the line and column
// where the XML is at fault: a file that cannot be read, is larger than 20 MB, is not XML,
// declares a DTD or refers to an entity (neither is ever resolved), is not an ISDOC
// invoice, lacks a required element or holds a number or date that is not one; an .isdocx
// without a manifest or without the main document it names.
IsdocInvoice ReadIsdocFile(const QString &path);

// Reads the invoice from XML bytes; `name` names the file in messages. Errors as above.
IsdocInvoice ReadIsdocXml(const QByteArray &xml, const QString &name);

// The name of an ISDOC document type, in Czech ("dobropis").
QString IsdocDocumentTypeName(int type);
