#include "podklad_export.h"

#include "app/core/atomic_file.h"
#include "app/core/codepage.h"
#include "app/core/errors.h"
#include "app/core/prompter.h"
#include "app/core/textutil.h"
#include "store/table_use.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"
#include "xmlwriter.h"

#include <optional>

namespace ix = store::tables::index;

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

// The current header and its supplier.
void writeHeader(TXMLWriter &w, const TData &d)
{
    w.WriteTag(QStringLiteral("DOKLAD TYP=\"Dod\"  VERZE=\"1.00\" "), xtOpen);
    w.WriteTag(QStringLiteral("HLAVICKA"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("DOKLAD"), text(d.ffPodklHlavHLA_DO1));
    w.WriteAttribute(QStringLiteral("VYSTAVENO"), date(d.ffPodklHlavHLA_DAT));
    w.WriteAttribute(QStringLiteral("DODAVATEL"), text(d.ffDodavateleDOD_ICO));
    w.WriteAttribute(QStringLiteral("FAKTURA"), text(d.ffPodklHlavHLA_DO2));
    w.WriteAttribute(QStringLiteral("FAKTCENA"), amount(d.ffPodklHlavHLA_FAC));
    w.WriteAttribute(QStringLiteral("MENA"), encoded(text(d.ffPodklHlavHLA_MEN)));
    w.WriteAttribute(QStringLiteral("KURZ"), encoded(number(d.ffPodklHlavHLA_KUR)));
    w.EndStartTag(xtOpen);

    w.WriteTag(QStringLiteral("DODAVATEL"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("KOD"), text(d.ffDodavateleDOD_KOD));
    w.WriteAttribute(QStringLiteral("ICO"), text(d.ffDodavateleDOD_ICO));
    w.WriteAttribute(QStringLiteral("DIC"), text(d.ffDodavateleDOD_DIC));
    w.WriteAttribute(QStringLiteral("NAZEV"), encoded(text(d.ffDodavateleDOD_FIR)));
    w.WriteAttribute(QStringLiteral("ULICE"), encoded(text(d.ffDodavateleDOD_ULI)));
    w.WriteAttribute(QStringLiteral("MESTO"), encoded(text(d.ffDodavateleDOD_MES)));
    w.WriteAttribute(QStringLiteral("PSC"), text(d.ffDodavateleDOD_PSC));
    w.EndStartTag(xtOpen);
    w.WriteTag(QStringLiteral("DODAVATEL"), xtClose);
    w.WriteTag(QStringLiteral("HLAVICKA"), xtClose);
}

// The current item and its card.
void writeItem(TXMLWriter &w, const TData &d)
{
    w.WriteTag(QStringLiteral("POLOZKA"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("KARTA"), text(d.ffPodklPolPOP_KAV));
    w.WriteAttribute(QStringLiteral("VARIANTA"), QStringLiteral("000"));
    w.WriteAttribute(QStringLiteral("NAZEV"), encoded(text(d.ffPodklPolPOP_NAC)));
    w.WriteAttribute(QStringLiteral("NC1"), amount(d.ffPodklPolPOP_NCS));
    w.WriteAttribute(QStringLiteral("PC1"), amount(d.ffSortimentSOR_PC1));
    w.WriteAttribute(QStringLiteral("DPH"), TrimBlanks(number(d.ffSortimentSOR_DAN)));
    w.WriteAttribute(QStringLiteral("KUSY"), TrimBlanks(number(d.ffPodklPolPOP_KUS)));
    w.EndStartTag(xtOpen);
    w.WriteTag(QStringLiteral("POLOZKA"), xtClose);
}

} // namespace

bool ExportPodkladXml(TData &d, const SaveFileDialog &askFileName)
{
    store::Table &headers = d.ffPodklHlav;
    if (!headers.Active() || headers.IsEmpty())
        return false;

    const store::TableUse cardsUse(d.ffSortiment, ix::ffSortiment::KAV);
    store::Table &cards = d.ffSortiment;
    const QString document = d.ffPodklHlavHLA_DO1.AsString();
    const store::TableUse itemsUse(d.ffPodklPol, ix::ffPodklPol::DO1);
    store::Table &items = d.ffPodklPol;
    items.SetRange({document}, {document});
    items.First();

    const QString path = askFileName(kTitle, d.ExportPath, document, kFilter, kSuffix);
    if (path.isEmpty())
        return false;

    // Written beside the target and put in its place only by Commit: a failure on the
    // way leaves any earlier file of that name as it was and no partial file.
    std::optional<AtomicFile> file;
    try {
        file.emplace(path);
    } catch (const AppError &) {
        throw AppError(QStringLiteral("Cannot create file %1").arg(path));
    }
    TXMLStreamWriter w(&file->Device(), true, false);
    w.Reset();
    w.WriteDeclaration();
    w.WriteTag(QStringLiteral("PRENOS"), xtOpen);

    items.First();
    const store::TableUse suppliersUse(d.ffDodavatele, ix::ffDodavatele::KOD);
    store::Table &suppliers = d.ffDodavatele;
    const QString supplierCode = d.ffPodklHlavHLA_ODB.AsString();
    if (!suppliers.FindKey({supplierCode})) {
        prompter().ShowMessage(QStringLiteral("Dodavatel %1 dokladu %2 není v seznamu dodavatelů, soubor %3 nebyl vytvořen.")
                                   .arg(supplierCode, document, path));
        return false;
    }

    try {
        writeHeader(w, d);
        w.WriteTag(QStringLiteral("POLOZKY"), xtOpen);
        for (; !items.Eof(); items.Next()) {
            if (cards.FindKey({d.ffPodklPolPOP_KAV.AsString()}))
                writeItem(w, d);
        }
        w.WriteTag(QStringLiteral("POLOZKY"), xtClose);
        w.WriteTag(QStringLiteral("DOKLAD"), xtClose);
        w.WriteTag(QStringLiteral("PRENOS"), xtClose);
    } catch (const CodePageError &e) {
        throw CodePageError(QStringLiteral("Doklad %1 nelze uložit do XML, soubor %2 nebyl vytvořen: %3")
                                .arg(document, path, e.text()));
    }
    w.Flush();
    file->Commit();
    prompter().ShowMessage(QStringLiteral("Soubor dodávky ") + document + QStringLiteral(".xml vytvořen."));
    return true;
}
