#include "isdoc_document.h"

#include "cards.h"

#include "core/errors.h"
#include "store/cursor.h"
#include "store/podklad_item.h"
#include "store/tables/column_names.h"
#include "store/tdata.h"
#include "store/transaction.h"
#include "store/tables/index_names.h"

#include <QDate>

namespace ix = store::tables::index;

namespace {

// The numbers as messages show them: up to 15 significant digits.
QString num(double value) { return QString::number(value, 'g', 15); }

// Checks the quantity and amount of an item with a card, and derives its price.
void checkItem(const IsdocDocument &doc, IsdocItem &item)
{
    item.reason.clear();
    const IsdocLine &line = item.line;
    if (!line.quantity) {
        item.reason = QStringLiteral("řádek nemá množství (InvoicedQuantity)");
        return;
    }
    const double quantity = *line.quantity;
    if (quantity <= 0) {
        item.reason = quantity == 0 ? QStringLiteral("nulové množství") : QStringLiteral("záporné množství %1").arg(num(quantity));
        return;
    }
    if (!PodklPolWholePackages(quantity)) {
        item.reason = QStringLiteral("množství %1 není celý počet obchodních balení").arg(num(quantity));
        return;
    }
    std::optional<double> amount = doc.invoice.inForeignCurrency() ? line.amountCurr : std::optional<double>(line.amount);
    if (!amount) {
        item.reason = QStringLiteral("řádek nemá částku v cizí měně (LineExtensionAmountCurr)");
        return;
    }
    item.quantity = quantity;
    item.price = *amount / quantity;
}

// Finds the card of a line by its identifications, in their order.
void matchItem(TData &d, IsdocItem &item)
{
    struct Way {
        IsdocMatch match;
        const char *index;
        QString id;
        const char *what;
    };
    const Way ways[] = {
        {IsdocMatch::Buyers, ix::ffSortiment::KAV, item.line.buyersId.trimmed(), "číslem karty"},
        {IsdocMatch::Ean, ix::ffSortiment::EAN, item.line.catalogueId.trimmed(), "kódem EAN"},
        {IsdocMatch::Sellers, ix::ffSortiment::KDO, item.line.sellersId.trimmed(), "kódem dodavatele"},
    };
    bool identified = false;
    for (const Way &way : ways) {
        if (way.id.isEmpty())
            continue;
        identified = true;
        const QVector<CardHit> hits = ActiveCardsByKey(d, QLatin1String(way.index), way.id);
        if (hits.isEmpty())
            continue;
        if (hits.size() > 1) {
            item.reason = QStringLiteral("nejednoznačné: %1 karty s %2 %3").arg(hits.size()).arg(QString::fromUtf8(way.what), way.id);
            return;
        }
        item.match = way.match;
        item.card = hits.first().card;
        item.cardName = hits.first().name;
        return;
    }
    item.reason = identified ? QStringLiteral("nenalezeno: žádná platná karta s touto identifikací")
                             : QStringLiteral("nenalezeno: řádek nemá identifikaci zboží");
}

// The text of an invoice value cut to its field, with a warning when it was cut.
QString cut(const QString &text, int size, const QString &label, QStringList &warnings)
{
    const QString value = text.trimmed();
    if (value.size() <= size)
        return value;
    const QString kept = value.left(size);
    warnings << QStringLiteral("%1 „%2“ je delší než %3 znaků, zapíše se „%4“").arg(label, value).arg(size).arg(kept);
    return kept;
}

} // namespace

QString IsdocItem::identifications() const
{
    QStringList parts;
    if (!line.buyersId.trimmed().isEmpty())
        parts << QStringLiteral("karta odběratele %1").arg(line.buyersId.trimmed());
    if (!line.catalogueId.trimmed().isEmpty())
        parts << QStringLiteral("EAN %1").arg(line.catalogueId.trimmed());
    if (!line.sellersId.trimmed().isEmpty())
        parts << QStringLiteral("kód dodavatele %1").arg(line.sellersId.trimmed());
    return parts.isEmpty() ? QStringLiteral("bez identifikace") : parts.join(QStringLiteral(", "));
}

QString IsdocDocument::refusal() const
{
    if (invoice.documentType != 1 && invoice.documentType != 7)
        return QStringLiteral("Doklad %1 je %2: načíst lze jen fakturu (typ 1) nebo zjednodušený daňový doklad (typ 7)")
            .arg(invoice.id, IsdocDocumentTypeName(invoice.documentType));
    if (invoice.inForeignCurrency() && !invoice.taxExclusiveAmountCurr)
        return QStringLiteral("Faktura %1 v měně %2 nemá částku bez DPH v této měně (TaxExclusiveAmountCurr)")
            .arg(invoice.id, invoice.foreignCurrency);
    return QString();
}

QString IsdocDocument::shortenedWarning() const
{
    if (!numberShortened)
        return QString();
    return QStringLiteral("Číslo faktury %1 je delší než %2 znaků, jako číslo dokladu dodavatele se zapíše %3")
        .arg(invoice.id)
        .arg(kInvoiceNumberSize)
        .arg(invoiceNumber);
}

int IsdocDocument::unmatchedCount() const
{
    int n = 0;
    for (const IsdocItem &item : items)
        n += !item.omitted && !item.writable() ? 1 : 0;
    return n;
}

int IsdocDocument::writableCount() const
{
    int n = 0;
    for (const IsdocItem &item : items)
        n += item.writable() ? 1 : 0;
    return n;
}

IsdocDocument PlanIsdocDocument(TData &d, const IsdocInvoice &invoice)
{
    IsdocDocument doc;
    doc.invoice = invoice;

    const QString ico = invoice.supplier.ico.trimmed();
    if (!ico.isEmpty() && ico.size() <= d.ffDodavateleDOD_ICO.def().size) {
        using namespace store::tables::column::ffDodavatele;
        store::Cursor suppliers(d.ffDodavatele, ix::ffDodavatele::ICO);
        if (suppliers.FindKey({ico}) && suppliers[DOD_ICO].AsString().trimmed() == ico) {
            doc.supplierCode = suppliers[DOD_KOD].AsString();
            doc.supplierName = suppliers[DOD_FIR].AsString();
        }
    }

    const QString id = invoice.id.trimmed();
    if (id.size() <= kInvoiceNumberSize) {
        doc.invoiceNumber = id;
    } else {
        doc.numberShortened = true;
        const QString symbol = invoice.variableSymbols.isEmpty() ? QString() : invoice.variableSymbols.first();
        doc.invoiceNumber = !symbol.isEmpty() && symbol.size() <= kInvoiceNumberSize ? symbol : id.right(kInvoiceNumberSize);
    }
    doc.currency = invoice.inForeignCurrency() ? invoice.foreignCurrency : invoice.localCurrency;
    doc.rate = invoice.inForeignCurrency() ? invoice.currRate / invoice.refCurrRate : 1;
    doc.invoiced = invoice.inForeignCurrency() ? invoice.taxExclusiveAmountCurr.value_or(0) : invoice.taxExclusiveAmount;

    for (const IsdocLine &line : invoice.lines) {
        IsdocItem item;
        item.line = line;
        matchItem(d, item);
        if (!item.card.isEmpty())
            checkItem(doc, item);
        doc.items << item;
    }
    return doc;
}

bool PickIsdocCard(TData &d, IsdocDocument &doc, int index, const QString &card)
{
    const QVector<CardHit> hits = ActiveCardsByKey(d, ix::ffSortiment::KAV, card);
    if (hits.size() != 1)
        return false;
    IsdocItem &item = doc.items[index];
    item.match = IsdocMatch::Picked;
    item.card = hits.first().card;
    item.cardName = hits.first().name;
    checkItem(doc, item);
    return true;
}

bool IsdocDocumentExists(TData &d, const QString &supplierCode, const QString &invoiceNumber)
{
    // A cursor of its own, so that the caller's list keeps its order, range and record.
    store::Cursor headers(d.ffPodklHlav, ix::ffPodklHlav::DO2);
    const QVector<store::Record> rows =
        headers.ReadKeys({invoiceNumber}, {d.ffPodklHlavHLA_DO2, d.ffPodklHlavHLA_ODB});
    for (const store::Record &r : rows)
        if (r.AsString(d.ffPodklHlavHLA_DO2) == invoiceNumber && r.AsString(d.ffPodklHlavHLA_ODB) == supplierCode)
            return true;
    return false;
}

void CreateIsdocSupplier(TData &d, IsdocDocument &doc, QStringList &warnings)
{
    const IsdocParty &party = doc.invoice.supplier;
    // A cursor of its own, so that the register's list keeps its record.
    store::Cursor suppliers(d.ffDodavatele, ix::ffDodavatele::KOD);
    suppliers.Append();
    // The new supplier gets its code from the counter, committed at once, as every new
    // supplier of the register does.
    d.ffDodavateleAfterInsert(suppliers);
    const auto set = [&](const store::Field &column, const QString &text, const QString &label) {
        store::Field &field = suppliers[column];
        field.SetAsString(cut(text, field.def().size, label, warnings));
    };
    const QString street = QStringList{party.street.trimmed(), party.buildingNumber.trimmed()}.join(QLatin1Char(' ')).trimmed();
    set(d.ffDodavateleDOD_ICO, party.ico, QStringLiteral("IČO"));
    set(d.ffDodavateleDOD_DIC, party.dic, QStringLiteral("DIČ"));
    set(d.ffDodavateleDOD_FIR, party.name, QStringLiteral("Název firmy"));
    set(d.ffDodavateleDOD_ULI, street, QStringLiteral("Ulice"));
    set(d.ffDodavateleDOD_MES, party.city, QStringLiteral("Město"));
    set(d.ffDodavateleDOD_PSC, party.postalZone, QStringLiteral("PSČ"));
    set(d.ffDodavateleDOD_STA, party.countryName.trimmed().isEmpty() ? party.countryCode : party.countryName,
        QStringLiteral("Stát"));
    set(d.ffDodavateleDOD_TEL, party.telephone, QStringLiteral("Telefon"));
    set(d.ffDodavateleDOD_EML, party.email, QStringLiteral("E-mail"));
    suppliers.Post();
    doc.supplierCode = suppliers[d.ffDodavateleDOD_KOD].AsString();
    doc.supplierName = suppliers[d.ffDodavateleDOD_FIR].AsString();
}

QString WriteIsdocDocument(TData &d, const IsdocDocument &doc)
{
    if (doc.supplierCode.isEmpty() || doc.writableCount() == 0)
        throw AppError(QStringLiteral("Doklad bez dodavatele nebo bez položek se nezapisuje"));
    store::Table &header = d.ffPodklHlav;
    store::Table &items = d.ffPodklPol;
    header.Open();
    store::Transaction transaction(d.Database);
    try {
        // The header as a new document starts in the main window, then as the editor
        // fills it when the supplier is confirmed and the clerk types the invoice.
        header.Append();
        const QDate today = QDate::currentDate();
        d.ffPodklHlavHLA_DAT.SetAsDate(today);
        d.ffPodklHlavHLA_DDO.SetAsDate(today);
        d.ffPodklHlavHLA_ODB.SetAsString(doc.supplierCode);
        d.ffPodklHlavHLA_NAC.SetAsString(doc.supplierName);
        d.ffPodklHlavHLA_DO2.SetAsString(doc.invoiceNumber);
        d.ffPodklHlavHLA_FAC.SetAsFloat(doc.invoiced);
        d.ffPodklHlavHLA_MEN.SetAsString(doc.currency);
        d.ffPodklHlavHLA_KUR.SetAsFloat(doc.rate);
        const QString number = NumberNewPodklad(d);
        items.Open();
        items.SetIndexName(ix::ffPodklPol::DO1);
        items.SetRange({number}, {number});
        for (const IsdocItem &item : doc.items) {
            if (!item.writable())
                continue;
            items.Append();
            d.ffPodklPolPOP_DOK.SetAsString(number);
            d.ffPodklPolPOP_KAV.SetAsString(item.card);
            d.ffPodklPolPOP_NAC.SetAsString(item.cardName);
            d.ffPodklPolPOP_CKU.SetAsFloat(item.quantity);
            d.ffPodklPolPOP_CNC.SetAsFloat(item.price);
            d.ffPodklPolPOP_PRI.SetAsFloat(0);
            d.ffPodklPolPOP_BAL.SetAsFloat(1);
            DerivePodklPol(d, item.quantity, item.price, 0, 1);
            PostPodklPol(d, 0, 0);
        }
        header.Post();
        items.Close();
        transaction.commit();
        return number;
    } catch (...) {
        items.Close();
        if (header.State() != store::DataSetState::Browse)
            header.Cancel();
        throw;
    }
}
