// The ISDOC reader on invoice files written for the cases: an invoice in a foreign and one
// in the local currency read into their values, an .isdocx through its manifest, and the
// files it must refuse with the line and column of the fault, among them a DTD with an
// external entity and a file over 20 MB. And the bar codes it recognizes.

#include "isdoc_firm.h"

#include "core/errors.h"
#include "isdoc/cards.h"
#include "isdoc/isdoc_invoice.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zip.h>

namespace {

QString refusalOf(const QString &path)
{
    try {
        ReadIsdocFile(path);
    } catch (const AppError &e) {
        return e.text();
    }
    return QStringLiteral("(přijato)");
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

// Writes a ZIP with the members given (name, bytes).
void writeZip(const QString &path, const QVector<QPair<QString, QByteArray>> &members)
{
    int error = 0;
    zip_t *z = zip_open(path.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto &m : members) {
        zip_source_t *s = zip_source_buffer(z, m.second.constData(), zip_uint64_t(m.second.size()), 0);
        ASSERT_NE(s, nullptr);
        ASSERT_GE(zip_file_add(z, m.first.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(z), 0);
}

TEST(IsdocReader, ReadsAnInvoiceInAForeignCurrency)
{
    const IsdocInvoice inv = ReadIsdocFile(IsdocFixture("cizi_mena.isdoc"));
    EXPECT_EQ(inv.documentType, 1);
    EXPECT_EQ(inv.id, QStringLiteral("FV-0042"));
    EXPECT_EQ(inv.issueDate, QDate(2026, 12, 10));
    EXPECT_EQ(inv.localCurrency, QStringLiteral("CZK"));
    EXPECT_EQ(inv.foreignCurrency, QStringLiteral("EUR"));
    EXPECT_DOUBLE_EQ(inv.currRate, 2510);
    EXPECT_DOUBLE_EQ(inv.refCurrRate, 100);
    EXPECT_DOUBLE_EQ(inv.taxExclusiveAmount, 2585.30);
    ASSERT_TRUE(inv.taxExclusiveAmountCurr);
    EXPECT_DOUBLE_EQ(*inv.taxExclusiveAmountCurr, 103);
    EXPECT_EQ(inv.variableSymbols, QStringList{QStringLiteral("420042")});

    EXPECT_EQ(inv.supplier.ico, QStringLiteral("12345678"));
    EXPECT_EQ(inv.supplier.name, QStringLiteral("Alfa s.r.o."));
    EXPECT_EQ(inv.supplier.street, QStringLiteral("Dlouhá"));
    EXPECT_EQ(inv.supplier.buildingNumber, QStringLiteral("12"));
    EXPECT_EQ(inv.supplier.city, QStringLiteral("Brno"));
    EXPECT_EQ(inv.supplier.postalZone, QStringLiteral("60200"));
    EXPECT_EQ(inv.supplier.countryName, QStringLiteral("Česká republika"));
    EXPECT_EQ(inv.supplier.dic, QStringLiteral("CZ12345678"));   // the supplier's, not the customer's

    ASSERT_EQ(inv.lines.size(), 3);
    const IsdocLine &first = inv.lines[0];
    EXPECT_EQ(first.id, QStringLiteral("1"));
    ASSERT_TRUE(first.quantity);
    EXPECT_DOUBLE_EQ(*first.quantity, 24);
    EXPECT_EQ(first.unitCode, QStringLiteral("ks"));
    EXPECT_DOUBLE_EQ(first.amount, 1204.80);
    ASSERT_TRUE(first.amountCurr);
    EXPECT_DOUBLE_EQ(*first.amountCurr, 48);
    EXPECT_DOUBLE_EQ(first.vatPercent, 21);
    EXPECT_EQ(first.buyersId, QStringLiteral("000010"));
    EXPECT_EQ(first.catalogueId, QStringLiteral("8594000000013"));
    EXPECT_EQ(first.description, QStringLiteral("Šroub M6 (číslo karty)"));
    EXPECT_EQ(inv.lines[2].sellersId, QStringLiteral("AB-77"));
    EXPECT_TRUE(inv.lines[2].buyersId.isEmpty());
}

TEST(IsdocReader, ReadsAnInvoiceInTheLocalCurrency)
{
    const IsdocInvoice inv = ReadIsdocFile(IsdocFixture("mistni_mena.isdoc"));
    EXPECT_EQ(inv.documentType, 7);
    EXPECT_FALSE(inv.inForeignCurrency());
    EXPECT_FALSE(inv.taxExclusiveAmountCurr);
    EXPECT_TRUE(inv.variableSymbols.isEmpty());
    ASSERT_EQ(inv.lines.size(), 2);
    EXPECT_FALSE(inv.lines[1].amountCurr);
    EXPECT_DOUBLE_EQ(inv.lines[1].amount, 50.5);
}

TEST(IsdocReader, ReadsTheMainDocumentAnIsdocxManifestNames)
{
    QTemporaryDir dir;
    const QByteArray invoice = fileBytes(IsdocFixture("mistni_mena.isdoc"));
    const QByteArray manifest = "<?xml version=\"1.0\"?>\n<manifest xmlns=\"http://isdoc.cz/namespace/2013/manifest\">"
                                "<maindocument filename=\"faktura.isdoc\"/></manifest>";
    // A decoy invoice beside it: only the one the manifest names is read.
    const QString good = dir.filePath(QStringLiteral("faktura.isdocx"));
    writeZip(good, {{QStringLiteral("jina.isdoc"), fileBytes(IsdocFixture("dobropis.isdoc"))},
                    {QStringLiteral("manifest.xml"), manifest},
                    {QStringLiteral("faktura.isdoc"), invoice}});
    const IsdocInvoice inv = ReadIsdocFile(good);
    EXPECT_EQ(inv.id, QStringLiteral("UCT-7"));
    EXPECT_EQ(inv.lines.size(), 2);

    const QString noManifest = dir.filePath(QStringLiteral("bez_manifestu.isdocx"));
    writeZip(noManifest, {{QStringLiteral("faktura.isdoc"), invoice}});
    EXPECT_EQ(refusalOf(noManifest), QStringLiteral("Soubor bez_manifestu.isdocx neobsahuje manifest.xml"));

    const QString missingMain = dir.filePath(QStringLiteral("bez_faktury.isdocx"));
    writeZip(missingMain, {{QStringLiteral("manifest.xml"), manifest}});
    EXPECT_EQ(refusalOf(missingMain), QStringLiteral("Soubor bez_faktury.isdocx neobsahuje faktura.isdoc"));

    // A fault inside the main document is named with the member's name.
    const QString broken = dir.filePath(QStringLiteral("poskozena.isdocx"));
    writeZip(broken, {{QStringLiteral("manifest.xml"), manifest},
                      {QStringLiteral("faktura.isdoc"), fileBytes(IsdocFixture("poskozena.isdoc"))}});
    EXPECT_TRUE(refusalOf(broken).startsWith(QStringLiteral("Soubor poskozena.isdocx/faktura.isdoc (řádek ")))
        << refusalOf(broken).toStdString();
}

TEST(IsdocReader, RefusesFilesItCannotTakeNamingLineAndColumn)
{
    struct Case {
        const char *file;
        const char *refusal;
    };
    const Case cases[] = {
        {"poskozena.isdoc", "Soubor poskozena.isdoc (řádek 57, sloupec 16): soubor není správně utvořené XML"},
        {"entita.isdoc", "Soubor entita.isdoc (řádek 4, sloupec 2): soubor obsahuje definici typu dokumentu (DTD), "
                         "takový soubor se nenačítá"},
        {"neni_isdoc.isdoc", "Soubor neni_isdoc.isdoc (řádek 2, sloupec 75): není to faktura ISDOC (kořenový prvek "
                             "Invoice v oboru názvů „urn:priklad:cizi-format:faktura:Invoice-2“)"},
        {"chybi_prvek.isdoc", "Soubor chybi_prvek.isdoc (řádek 81, sloupec 23): chybí povinný prvek "
                              "LegalMonetaryTotal/TaxExclusiveAmount"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(refusalOf(IsdocFixture(c.file)), QString::fromUtf8(c.refusal)) << c.file;
    EXPECT_TRUE(refusalOf(QStringLiteral("/neni/zde.isdoc")).startsWith(QStringLiteral("Soubor /neni/zde.isdoc nelze otevřít")));
}

TEST(IsdocReader, RefusesAFileOverTwentyMegabytesWithoutReadingIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velka.isdoc"));
    QByteArray bytes = fileBytes(IsdocFixture("mistni_mena.isdoc"));
    // A valid invoice padded with white space to one byte over the limit.
    bytes.insert(bytes.indexOf("<Invoice"), QByteArray(kIsdocMaxBytes + 1 - bytes.size(), ' '));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), kIsdocMaxBytes + 1);
    f.close();
    EXPECT_EQ(refusalOf(path), QStringLiteral("Soubor velka.isdoc je větší než 20 MB, takovou fakturu nelze načíst"));
    // At the limit itself it is read.
    bytes.remove(bytes.indexOf("<Invoice") - 1, 1);
    const QString atLimit = dir.filePath(QStringLiteral("presne.isdoc"));
    QFile g(atLimit);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    ASSERT_EQ(g.write(bytes), kIsdocMaxBytes);
    g.close();
    EXPECT_EQ(ReadIsdocFile(atLimit).id, QStringLiteral("UCT-7"));
}

TEST(BarCodes, AreEightOrThirteenDigitsWithTheirCheckDigit)
{
    struct Case {
        const char *text;
        bool ean;
    };
    const Case cases[] = {
        {"8594000000013", true}, {"12345670", true}, {"4006381333931", true},
        {"8594000000014", false},   // wrong check digit
        {"12345671", false},
        {"859400000001", false},    // 12 digits
        {"000010", false},          // a card number
        {"85940000000a3", false},
        {"١٢٣٤٥٦٧٠", false},        // digits of another script
        {"", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsEanCode(QString::fromUtf8(c.text)), c.ean) << c.text;
}

} // namespace
