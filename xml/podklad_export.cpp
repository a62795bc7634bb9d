#include "podklad_export.h"

#include "core/atomic_file.h"
#include "core/codepage.h"
#include "core/errors.h"
#include "core/prompter.h"
#include "core/textutil.h"
#include "store/cursor.h"
#include "store/tables/column_names.h"
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

// The current header and its supplier (the record `suppliers` stands on).
void writeHeader(TXMLWriter &w, const TData &d, store::Table &suppliers)
{
    namespace sup = store::tables::column::ffDodavatele;
    w.WriteTag(QStringLiteral("DOKLAD TYP=\"Dod\"  VERZE=\"1.00\" "), xtOpen);
    w.WriteTag(QStringLiteral("HLAVICKA"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("DOKLAD"), text(d.ffPodklHlavHLA_DO1));
    w.WriteAttribute(QStringLiteral("VYSTAVENO"), date(d.ffPodklHlavHLA_DAT));
    w.WriteAttribute(QStringLiteral("DODAVATEL"), text(suppliers[sup::DOD_ICO]));
    w.WriteAttribute(QStringLiteral("FAKTURA"), text(d.ffPodklHlavHLA_DO2));
    w.WriteAttribute(QStringLiteral("FAKTCENA"), amount(d.ffPodklHlavHLA_FAC));
    w.WriteAttribute(QStringLiteral("MENA"), encoded(text(d.ffPodklHlavHLA_MEN)));
    w.WriteAttribute(QStringLiteral("KURZ"), encoded(number(d.ffPodklHlavHLA_KUR)));
    w.EndStartTag(xtOpen);

    w.WriteTag(QStringLiteral("DODAVATEL"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("KOD"), text(suppliers[sup::DOD_KOD]));
    w.WriteAttribute(QStringLiteral("ICO"), text(suppliers[sup::DOD_ICO]));
    w.WriteAttribute(QStringLiteral("DIC"), text(suppliers[sup::DOD_DIC]));
    w.WriteAttribute(QStringLiteral("NAZEV"), encoded(text(suppliers[sup::DOD_FIR])));
    w.WriteAttribute(QStringLiteral("ULICE"), encoded(text(suppliers[sup::DOD_ULI])));
    w.WriteAttribute(QStringLiteral("MESTO"), encoded(text(suppliers[sup::DOD_MES])));
    w.WriteAttribute(QStringLiteral("PSC"), text(suppliers[sup::DOD_PSC]));
    w.EndStartTag(xtOpen);
    w.WriteTag(QStringLiteral("DODAVATEL"), xtClose);
    w.WriteTag(QStringLiteral("HLAVICKA"), xtClose);
}

// The current item and its card (the records `items` and `cards` stand on).
void writeItem(TXMLWriter &w, store::Table &items, store::Table &cards)
{
    namespace pol = store::tables::column::ffPodklPol;
    namespace sor = store::tables::column::ffSortiment;
    w.WriteTag(QStringLiteral("POLOZKA"), xtOpen, true);
    w.WriteAttribute(QStringLiteral("KARTA"), text(items[pol::POP_KAV]));
    w.WriteAttribute(QStringLiteral("VARIANTA"), QStringLiteral("000"));
    w.WriteAttribute(QStringLiteral("NAZEV"), encoded(text(items[pol::POP_NAC])));
    w.WriteAttribute(QStringLiteral("NC1"), amount(items[pol::POP_NCS]));
    w.WriteAttribute(QStringLiteral("PC1"), amount(cards[sor::SOR_PC1]));
    w.WriteAttribute(QStringLiteral("DPH"), TrimBlanks(number(cards[sor::SOR_DAN])));
    w.WriteAttribute(QStringLiteral("KUSY"), TrimBlanks(number(items[pol::POP_KUS])));
    w.EndStartTag(xtOpen);
    w.WriteTag(QStringLiteral("POLOZKA"), xtClose);
}

} // namespace

bool ExportPodkladXml(TData &d, const SaveFileDialog &askFileName)
{
    store::Table &headers = d.ffPodklHlav;
    if (!headers.Active() || headers.IsEmpty())
        return false;

    // The items, the cards and the suppliers are read through cursors of the export's
    // own, so the windows' components keep their state, index, range and record.
    store::Cursor cards(d.ffSortiment, ix::ffSortiment::KAV);
    const QString document = d.ffPodklHlavHLA_DO1.AsString();
    store::Cursor items(d.ffPodklPol, ix::ffPodklPol::DO1);
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
    store::Cursor suppliers(d.ffDodavatele, ix::ffDodavatele::KOD);
    const QString supplierCode = d.ffPodklHlavHLA_ODB.AsString();
    if (!suppliers.FindKey({supplierCode})) {
        prompter().ShowMessage(QStringLiteral("Dodavatel %1 dokladu %2 není v seznamu dodavatelů, soubor %3 nebyl vytvořen.")
                                   .arg(supplierCode, document, path));
        return false;
    }

    try {
        writeHeader(w, d, suppliers);
        w.WriteTag(QStringLiteral("POLOZKY"), xtOpen);
        for (; !items.Eof(); items.Next()) {
            if (cards.FindKey({items[store::tables::column::ffPodklPol::POP_KAV].AsString()}))
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
    file->Commit();
    prompter().ShowMessage(QStringLiteral("Soubor dodávky ") + document + QStringLiteral(".xml vytvořen."));
    return true;
}
