#include "podklad_export.h"

#include "app/core/codepage.h"
#include "app/core/errors.h"
#include "app/core/prompter.h"
#include "app/core/textutil.h"
#include "store/table_use.h"
#include "store/tdata.h"
#include "xmlwriter.h"

#include <QSaveFile>

namespace {

const QString kTitle = QStringLiteral("Uložení XML File");
const QString kFilter = QStringLiteral("XML soubory (*.xml)");
const QString kSuffix = QStringLiteral("xml");

// The value formats of the hand-over file.
QString text(const store::Field &f) { return f.AsString(); }
QString date(const store::Field &f) { return DateToStr(f.AsDate()); }
// Two decimals, the regional decimal separator, no thousands separator; empty is 0.
QString amount(const store::Field &f) { return FormatFloat(QStringLiteral("0.00"), f.AsFloat()); }
// The shortest general form; empty for an empty field.
QString number(const store::Field &f) { return f.IsNull() ? QString() : FloatToStr(f.AsFloat()); }
// A free text as character references of its Windows-1250 bytes.
QString encoded(const QString &value) { return EncodeCharRefs(value, true); }

void writeHeader(TXMLWriter &w, store::Table &h, store::Table &supplier)
{
    auto hla = [&](const char *name) -> store::Field & { return h.FieldByName(QLatin1String(name)); };
    auto dod = [&](const char *name) -> store::Field & { return supplier.FieldByName(QLatin1String(name)); };

    w.WriteTag(QStringLiteral("DOKLAD TYP=\"Dod\"  VERZE=\"1.00\" "), xtOpen);
    w.WriteTag(QStringLiteral("HLAVICKA"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("DOKLAD"), text(hla("HLA_DO1")));
    w.WriteAttribute(QStringLiteral("VYSTAVENO"), date(hla("HLA_DAT")));
    w.WriteAttribute(QStringLiteral("DODAVATEL"), text(dod("DOD_ICO")));
    w.WriteAttribute(QStringLiteral("FAKTURA"), text(hla("HLA_DO2")));
    w.WriteAttribute(QStringLiteral("FAKTCENA"), amount(hla("HLA_FAC")));
    w.WriteAttribute(QStringLiteral("MENA"), encoded(text(hla("HLA_MEN"))));
    w.WriteAttribute(QStringLiteral("KURZ"), encoded(number(hla("HLA_KUR"))));
    w.EndStartTag(xtOpen);

    w.WriteTag(QStringLiteral("DODAVATEL"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("KOD"), text(dod("DOD_KOD")));
    w.WriteAttribute(QStringLiteral("ICO"), text(dod("DOD_ICO")));
    w.WriteAttribute(QStringLiteral("DIC"), text(dod("DOD_DIC")));
    w.WriteAttribute(QStringLiteral("NAZEV"), encoded(text(dod("DOD_FIR"))));
    w.WriteAttribute(QStringLiteral("ULICE"), encoded(text(dod("DOD_ULI"))));
    w.WriteAttribute(QStringLiteral("MESTO"), encoded(text(dod("DOD_MES"))));
    w.WriteAttribute(QStringLiteral("PSC"), text(dod("DOD_PSC")));
    w.EndStartTag(xtOpen);
    w.WriteTag(QStringLiteral("DODAVATEL"), xtClose);
    w.WriteTag(QStringLiteral("HLAVICKA"), xtClose);
}

void writeItem(TXMLWriter &w, store::Table &item, store::Table &card)
{
    auto pop = [&](const char *name) -> store::Field & { return item.FieldByName(QLatin1String(name)); };
    auto sor = [&](const char *name) -> store::Field & { return card.FieldByName(QLatin1String(name)); };

    w.WriteTag(QStringLiteral("POLOZKA"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("KARTA"), text(pop("POP_KAV")));
    w.WriteAttribute(QStringLiteral("VARIANTA"), QStringLiteral("000"));
    w.WriteAttribute(QStringLiteral("NAZEV"), encoded(text(pop("POP_NAC"))));
    w.WriteAttribute(QStringLiteral("NC1"), amount(pop("POP_NCS")));
    w.WriteAttribute(QStringLiteral("PC1"), amount(sor("SOR_PC1")));
    w.WriteAttribute(QStringLiteral("DPH"), TrimBlanks(number(sor("SOR_DAN"))));
    w.WriteAttribute(QStringLiteral("KUSY"), TrimBlanks(number(pop("POP_KUS"))));
    w.EndStartTag(xtOpen);
    w.WriteTag(QStringLiteral("POLOZKA"), xtClose);
}

} // namespace

bool ExportPodkladXml(TData &d, const SaveFileDialog &askFileName)
{
    store::Table &headers = d.ffPodklHlav;
    if (!headers.Active() || headers.IsEmpty())
        return false;

    const store::TableUse cardsUse(d.ffSortiment, QStringLiteral("KAV"));
    store::Table &cards = d.ffSortiment;
    const QString document = headers.FieldByName(QStringLiteral("HLA_DO1")).AsString();
    const store::TableUse itemsUse(d.ffPodklPol, QStringLiteral("DO1"));
    store::Table &items = d.ffPodklPol;
    items.SetRange({document}, {document});
    items.First();

    const QString path = askFileName(kTitle, d.ExportPath, document, kFilter, kSuffix);
    if (path.isEmpty())
        return false;

    // Written beside the target and put in its place only by commit: a failure on the
    // way leaves any earlier file of that name as it was and no partial file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("Cannot create file %1").arg(path));
    TXMLStreamWriter w(&file, true, false);
    w.Reset();
    w.WriteDeclaration();
    w.WriteTag(QStringLiteral("PRENOS"), xtOpen);

    items.First();
    const store::TableUse suppliersUse(d.ffDodavatele, QStringLiteral("KOD"));
    store::Table &suppliers = d.ffDodavatele;
    const QString supplierCode = headers.FieldByName(QStringLiteral("HLA_ODB")).AsString();
    if (!suppliers.FindKey({supplierCode})) {
        prompter().ShowMessage(QStringLiteral("Dodavatel %1 dokladu %2 není v seznamu dodavatelů, soubor %3 nebyl vytvořen.")
                                   .arg(supplierCode, document, path));
        return false;
    }

    try {
        writeHeader(w, headers, suppliers);
        w.WriteTag(QStringLiteral("POLOZKY"), xtOpen);
        for (; !items.Eof(); items.Next()) {
            if (cards.FindKey({items.FieldByName(QStringLiteral("POP_KAV")).AsString()}))
                writeItem(w, items, cards);
        }
        w.WriteTag(QStringLiteral("POLOZKY"), xtClose);
        w.WriteTag(QStringLiteral("DOKLAD"), xtClose);
        w.WriteTag(QStringLiteral("PRENOS"), xtClose);
    } catch (const CodePageError &e) {
        throw CodePageError(QStringLiteral("Doklad %1 nelze uložit do XML, soubor %2 nebyl vytvořen: %3")
                                .arg(document, path, e.text()));
    }
    w.Flush();
    if (!file.commit())
        throw AppError(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, file.errorString()));
    prompter().ShowMessage(QStringLiteral("Soubor dodávky ") + document + QStringLiteral(".xml vytvořen."));
    return true;
}
