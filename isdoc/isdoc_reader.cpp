// The ISDOC reader: Qt's XML stream reader over the bytes of the file, which never
// resolves a DTD or an external entity; a DTD or an entity reference is refused outright.
// The .isdocx container is opened with libzip.

#include "isdoc_invoice.h"

#include "core/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>
#include <cmath>
#include <memory>
#include <zip.h>

namespace {

const QString kNamespace = QStringLiteral("http://isdoc.cz/namespace/2013");

QString fileName(const QString &path) { return QFileInfo(path).fileName(); }

QString sizeLimitText(const QString &name)
{
    return QStringLiteral("Soubor %1 je větší než 20 MB, takovou fakturu nelze načíst").arg(name);
}

// Where the reader stands, in the words of a message.
QString at(const QXmlStreamReader &xml)
{
    return QStringLiteral("řádek %1, sloupec %2").arg(xml.lineNumber()).arg(xml.columnNumber());
}

[[noreturn]] void refuse(const QString &name, const QXmlStreamReader &xml, const QString &what)
{
    throw AppError(QStringLiteral("Soubor %1 (%2): %3").arg(name, at(xml), what));
}

// The reader's own error, in Czech.
QString xmlErrorText(const QXmlStreamReader &xml)
{
    switch (xml.error()) {
    case QXmlStreamReader::PrematureEndOfDocumentError:
        return QStringLiteral("soubor končí uprostřed XML, není celý");
    case QXmlStreamReader::NotWellFormedError:
        return QStringLiteral("soubor není správně utvořené XML");
    case QXmlStreamReader::UnexpectedElementError:
        return QStringLiteral("neočekávaný prvek XML");
    default:
        return QStringLiteral("soubor nelze přečíst jako XML");
    }
}

// What is collected while the document is read: the text of each element, by its path
// below Invoice ("AccountingSupplierParty/Party/PartyName/Name").
class Collector {
public:
    Collector(const QString &name, QXmlStreamReader &xml) : m_name(name), m_xml(xml) {}

    IsdocInvoice read();

private:
    void start();
    void end();
    void requireInvoice(const QString &path);
    double number(const QString &text, const QString &path) const;
    [[noreturn]] void missing(const QString &path) const { refuse(m_name, m_xml, QStringLiteral("chybí povinný prvek %1").arg(path)); }

    const QString m_name;
    QXmlStreamReader &m_xml;
    QStringList m_path;          // element names below Invoice
    QString m_text;
    int m_foreignDepth = 0;      // inside an element of another namespace (extensions, signature)
    bool m_root = false;
    QHash<QString, QString> m_values;   // invoice-level paths that were found
    bool m_inLine = false;
    IsdocLine m_line;
    QHash<QString, QString> m_lineValues;
    IsdocInvoice m_invoice;
};

IsdocInvoice Collector::read()
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::DTD:
            refuse(m_name, m_xml, QStringLiteral("soubor obsahuje definici typu dokumentu (DTD), takový soubor se nenačítá"));
        case QXmlStreamReader::EntityReference:
            refuse(m_name, m_xml, QStringLiteral("soubor odkazuje na entitu %1, takový soubor se nenačítá").arg(m_xml.name()));
        case QXmlStreamReader::StartElement:
            start();
            break;
        case QXmlStreamReader::EndElement:
            end();
            break;
        case QXmlStreamReader::Characters:
            if (m_foreignDepth == 0)
                m_text += m_xml.text();
            break;
        default:
            break;
        }
    }
    if (m_xml.hasError())
        refuse(m_name, m_xml, xmlErrorText(m_xml));
    return m_invoice;
}

void Collector::start()
{
    if (!m_root) {
        if (m_xml.name() != QLatin1String("Invoice") || m_xml.namespaceUri() != kNamespace)
            refuse(m_name, m_xml,
                   QStringLiteral("není to faktura ISDOC (kořenový prvek %1 v oboru názvů „%2“)")
                       .arg(m_xml.name(), m_xml.namespaceUri()));
        m_root = true;
        return;
    }
    if (m_foreignDepth > 0 || m_xml.namespaceUri() != kNamespace) {
        ++m_foreignDepth;
        return;
    }
    m_path << m_xml.name().toString();
    m_text.clear();
    const QString path = m_path.join(QLatin1Char('/'));
    if (path == QLatin1String("InvoiceLines/InvoiceLine")) {
        m_inLine = true;
        m_line = IsdocLine();
        m_line.sourceLine = int(m_xml.lineNumber());
        m_lineValues.clear();
    } else if (m_inLine && path == QLatin1String("InvoiceLines/InvoiceLine/InvoicedQuantity")) {
        m_line.unitCode = m_xml.attributes().value(QStringLiteral("unitCode")).toString();
    }
}

double Collector::number(const QString &text, const QString &path) const
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        refuse(m_name, m_xml, QStringLiteral("hodnota „%1“ prvku %2 není číslo").arg(text.trimmed(), path));
    return value;
}

void Collector::end()
{
    if (m_foreignDepth > 0) {
        --m_foreignDepth;
        return;
    }
    if (m_path.isEmpty()) {   // the end of Invoice
        requireInvoice(QString());
        return;
    }
    const QString path = m_path.join(QLatin1Char('/'));
    const QString text = m_text.trimmed();
    m_text.clear();
    m_path.removeLast();

    static const QString kLine = QStringLiteral("InvoiceLines/InvoiceLine/");
    if (m_inLine && path.startsWith(kLine)) {
        m_lineValues.insert(path.mid(kLine.size()), text);
        return;
    }
    if (m_inLine && path == QLatin1String("InvoiceLines/InvoiceLine")) {
        m_inLine = false;
        const auto value = [&](const char *p) -> QString {
            const auto it = m_lineValues.constFind(QLatin1String(p));
            if (it == m_lineValues.constEnd())
                missing(QStringLiteral("InvoiceLine/%1").arg(QLatin1String(p)));
            return *it;
        };
        m_line.id = value("ID");
        m_line.amount = number(value("LineExtensionAmount"), QStringLiteral("LineExtensionAmount"));
        m_line.vatPercent = number(value("ClassifiedTaxCategory/Percent"), QStringLiteral("Percent"));
        if (m_lineValues.contains(QStringLiteral("InvoicedQuantity")))
            m_line.quantity = number(m_lineValues.value(QStringLiteral("InvoicedQuantity")), QStringLiteral("InvoicedQuantity"));
        if (m_lineValues.contains(QStringLiteral("LineExtensionAmountCurr")))
            m_line.amountCurr = number(m_lineValues.value(QStringLiteral("LineExtensionAmountCurr")),
                                       QStringLiteral("LineExtensionAmountCurr"));
        m_line.description = m_lineValues.value(QStringLiteral("Item/Description"));
        m_line.buyersId = m_lineValues.value(QStringLiteral("Item/BuyersItemIdentification/ID"));
        m_line.catalogueId = m_lineValues.value(QStringLiteral("Item/CatalogueItemIdentification/ID"));
        m_line.sellersId = m_lineValues.value(QStringLiteral("Item/SellersItemIdentification/ID"));
        m_invoice.lines << m_line;
        return;
    }
    if (path == QLatin1String("PaymentMeans/Payment/Details/VariableSymbol")) {
        if (!text.isEmpty())
            m_invoice.variableSymbols << text;
        return;
    }
    if (path == QLatin1String("AccountingSupplierParty/Party/PartyTaxScheme/CompanyID")) {
        if (m_invoice.supplier.dic.isEmpty())
            m_invoice.supplier.dic = text;
        return;
    }
    if (!m_values.contains(path))
        m_values.insert(path, text);
    // A part of the invoice that must hold its elements is checked where it ends, so that
    // the message points at it.
    if (path == QLatin1String("AccountingSupplierParty") || path == QLatin1String("LegalMonetaryTotal")
        || path == QLatin1String("InvoiceLines"))
        requireInvoice(path);
}

// Takes the invoice-level values under `part` (the whole invoice when empty) into the
// invoice, refusing one that is missing.
void Collector::requireInvoice(const QString &part)
{
    const auto value = [&](const QString &path) -> QString {
        const auto it = m_values.constFind(path);
        if (it == m_values.constEnd())
            missing(path);
        return *it;
    };
    const auto optional = [&](const QString &path) { return m_values.value(path); };
    IsdocInvoice &inv = m_invoice;
    if (part == QLatin1String("AccountingSupplierParty")) {
        const QString party = QStringLiteral("AccountingSupplierParty/Party/");
        inv.supplier.ico = value(party + QStringLiteral("PartyIdentification/ID"));
        inv.supplier.name = value(party + QStringLiteral("PartyName/Name"));
        inv.supplier.street = optional(party + QStringLiteral("PostalAddress/StreetName"));
        inv.supplier.buildingNumber = optional(party + QStringLiteral("PostalAddress/BuildingNumber"));
        inv.supplier.city = optional(party + QStringLiteral("PostalAddress/CityName"));
        inv.supplier.postalZone = optional(party + QStringLiteral("PostalAddress/PostalZone"));
        inv.supplier.countryCode = optional(party + QStringLiteral("PostalAddress/Country/IdentificationCode"));
        inv.supplier.countryName = optional(party + QStringLiteral("PostalAddress/Country/Name"));
        inv.supplier.telephone = optional(party + QStringLiteral("Contact/Telephone"));
        inv.supplier.email = optional(party + QStringLiteral("Contact/ElectronicMail"));
    } else if (part == QLatin1String("LegalMonetaryTotal")) {
        inv.taxExclusiveAmount = number(value(QStringLiteral("LegalMonetaryTotal/TaxExclusiveAmount")),
                                        QStringLiteral("TaxExclusiveAmount"));
        if (m_values.contains(QStringLiteral("LegalMonetaryTotal/TaxExclusiveAmountCurr")))
            inv.taxExclusiveAmountCurr = number(optional(QStringLiteral("LegalMonetaryTotal/TaxExclusiveAmountCurr")),
                                                QStringLiteral("TaxExclusiveAmountCurr"));
    } else if (part == QLatin1String("InvoiceLines")) {
        if (inv.lines.isEmpty())
            missing(QStringLiteral("InvoiceLines/InvoiceLine"));
    } else {
        for (const char *p : {"AccountingSupplierParty", "InvoiceLines", "LegalMonetaryTotal"})
            value(QLatin1String(p));
        const QString type = value(QStringLiteral("DocumentType"));
        bool ok = false;
        inv.documentType = type.toInt(&ok);
        if (!ok)
            refuse(m_name, m_xml, QStringLiteral("typ dokladu „%1“ není číslo").arg(type));
        inv.id = value(QStringLiteral("ID"));
        if (inv.id.isEmpty())
            refuse(m_name, m_xml, QStringLiteral("faktura nemá číslo (prvek ID je prázdný)"));
        const QString issued = value(QStringLiteral("IssueDate"));
        inv.issueDate = QDate::fromString(issued, Qt::ISODate);
        if (!inv.issueDate.isValid())
            refuse(m_name, m_xml, QStringLiteral("datum vystavení „%1“ není datum").arg(issued));
        inv.localCurrency = value(QStringLiteral("LocalCurrencyCode"));
        inv.foreignCurrency = optional(QStringLiteral("ForeignCurrencyCode"));
        inv.currRate = number(value(QStringLiteral("CurrRate")), QStringLiteral("CurrRate"));
        inv.refCurrRate = number(value(QStringLiteral("RefCurrRate")), QStringLiteral("RefCurrRate"));
        if (inv.inForeignCurrency() && (inv.currRate <= 0 || inv.refCurrRate <= 0))
            refuse(m_name, m_xml, QStringLiteral("kurz %1 / %2 není kladné číslo").arg(inv.currRate).arg(inv.refCurrRate));
    }
}

// libzip's archive, closed (discarding) when it goes.
struct ZipCloser {
    void operator()(zip_t *z) const { zip_discard(z); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipCloser>;

// The bytes of one member of the archive; at most kIsdocMaxBytes.
QByteArray readMember(zip_t *archive, const QString &member, const QString &name)
{
    const QByteArray memberName = member.toUtf8();
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(archive, memberName.constData(), 0, &st) != 0)
        throw AppError(QStringLiteral("Soubor %1 neobsahuje %2").arg(name, member));
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(kIsdocMaxBytes))
        throw AppError(sizeLimitText(name + QLatin1Char('/') + member));
    zip_file_t *file = zip_fopen(archive, memberName.constData(), 0);
    if (!file)
        throw AppError(QStringLiteral("Soubor %1: %2 nelze přečíst").arg(name, member));
    QByteArray bytes;
    char buffer[65536];
    zip_int64_t n = 0;
    while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, int(n));
        if (bytes.size() > kIsdocMaxBytes) {
            zip_fclose(file);
            throw AppError(sizeLimitText(name + QLatin1Char('/') + member));
        }
    }
    zip_fclose(file);
    if (n < 0)
        throw AppError(QStringLiteral("Soubor %1: %2 nelze rozbalit").arg(name, member));
    return bytes;
}

// The main document of an .isdocx: manifest.xml names it in maindocument/@filename.
QByteArray isdocxMainDocument(const QByteArray &bytes, const QString &name, QString &member)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    if (!source)
        throw AppError(QStringLiteral("Soubor %1 nelze otevřít jako archiv ZIP").arg(name));
    ZipArchive archive(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!archive) {
        zip_source_free(source);
        zip_error_fini(&error);
        throw AppError(QStringLiteral("Soubor %1 není platný archiv ISDOCX (ZIP)").arg(name));
    }
    const QByteArray manifest = readMember(archive.get(), QStringLiteral("manifest.xml"), name);
    QXmlStreamReader xml(manifest);
    const QString manifestName = name + QStringLiteral("/manifest.xml");
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference)
            refuse(manifestName, xml, QStringLiteral("manifest obsahuje DTD nebo entitu, takový soubor se nenačítá"));
        if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("maindocument")) {
            member = xml.attributes().value(QStringLiteral("filename")).toString();
            break;
        }
    }
    if (xml.hasError())
        refuse(manifestName, xml, xmlErrorText(xml));
    if (member.isEmpty())
        throw AppError(QStringLiteral("Soubor %1: manifest.xml neurčuje hlavní dokument (maindocument)").arg(name));
    return readMember(archive.get(), member, name);
}

} // namespace

IsdocInvoice ReadIsdocXml(const QByteArray &bytes, const QString &name)
{
    // A DTD is refused as soon as it is seen, before the root element: no entity it
    // declares can be expanded, and an external one is never fetched.
    QXmlStreamReader xml(bytes);
    return Collector(name, xml).read();
}

IsdocInvoice ReadIsdocFile(const QString &path)
{
    const QString name = fileName(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Soubor %1 nelze otevřít: %2").arg(path, file.errorString()));
    if (file.size() > kIsdocMaxBytes)
        throw AppError(sizeLimitText(name));
    // Read one byte past the limit: a file that grew since its size was seen is refused too.
    const QByteArray bytes = file.read(kIsdocMaxBytes + 1);
    if (bytes.size() > kIsdocMaxBytes)
        throw AppError(sizeLimitText(name));
    if (bytes.startsWith("PK\x03\x04")) {
        QString member;
        const QByteArray main = isdocxMainDocument(bytes, name, member);
        return ReadIsdocXml(main, name + QLatin1Char('/') + member);
    }
    return ReadIsdocXml(bytes, name);
}

QString IsdocDocumentTypeName(int type)
{
    switch (type) {
    case 1:
        return QStringLiteral("faktura (daňový doklad)");
    case 2:
        return QStringLiteral("opravný daňový doklad – dobropis");
    case 3:
        return QStringLiteral("opravný daňový doklad – vrubopis");
    case 4:
        return QStringLiteral("zálohová faktura (nedaňový zálohový list)");
    case 5:
        return QStringLiteral("daňový doklad k přijaté platbě");
    case 6:
        return QStringLiteral("opravný daňový doklad k přijaté platbě");
    case 7:
        return QStringLiteral("zjednodušený daňový doklad");
    default:
        return QStringLiteral("doklad neznámého typu %1").arg(type);
    }
}
