// podklady-db isdoc FILE [--ini PATH] [--new-supplier] [--skip-unmatched] [--yes]: a
// supplier's e-invoice (ISDOC) made into a source document without windows, for a job
// that collects invoices from a mailbox folder. It writes the document as the program's
// review window does, prints its number and one line per item, and exits 0. It writes
// nothing and exits 1 when the file is refused, the document is not an invoice, the
// supplier is not in the register (unless --new-supplier), a line has no card (unless
// --skip-unmatched) or the supplier's document with the same number exists (unless --yes).
// Exit codes: 0 written, 1 refused or failed, 2 configuration, 64 arguments.

#include "commands.h"
#include "options.h"

#include "core/errors.h"
#include "core/general_error.h"
#include "isdoc/isdoc_document.h"
#include "isdoc/isdoc_invoice.h"
#include "store/tdata.h"

namespace {

QString lineText(const IsdocItem &item)
{
    return QStringLiteral("%1\t%2\t%3").arg(item.line.id, item.identifications(), item.line.description);
}

int runIsdoc(const QStringList &arguments)
{
    const ToolArgs args = commandArgs(arguments, "isdoc");
    if (const int wrong = checkArguments(args, "isdoc", 1))
        return wrong;
    if (args.positional().isEmpty())
        return wrongArguments("isdoc", QStringLiteral("chybí soubor faktury"));
    const bool newSupplier = args.flag(QStringLiteral("--new-supplier"));
    const bool skipUnmatched = args.flag(QStringLiteral("--skip-unmatched"));
    const bool yes = args.flag(QStringLiteral("--yes"));

    IsdocInvoice invoice;
    try {
        invoice = ReadIsdocFile(args.positional().first());
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }

    int exitCode = 0;
    const auto data = connectedData(args.value(QStringLiteral("--ini")), exitCode);
    if (!data)
        return exitCode;
    try {
        IsdocDocument doc = PlanIsdocDocument(*data, invoice);
        if (const QString refusal = doc.refusal(); !refusal.isEmpty()) {
            printErr(refusal);
            return 1;
        }
        const QString party = QStringLiteral("%1 (IČO %2)").arg(invoice.supplier.name, invoice.supplier.ico);
        if (doc.supplierCode.isEmpty() && !newSupplier) {
            printErr(QStringLiteral("Dodavatel %1 není v adresáři dodavatelů; založí ho volba --new-supplier").arg(party));
            return 1;
        }
        for (const IsdocItem &item : doc.items)
            if (!item.writable())
                printErr(QStringLiteral("nezapsáno\t%1\t%2").arg(lineText(item), item.reason));
        if (doc.unmatchedCount() > 0 && !skipUnmatched) {
            printErr(QStringLiteral("%1 z %2 řádků faktury nelze zapsat; zapsat ostatní dovolí volba --skip-unmatched")
                         .arg(doc.unmatchedCount())
                         .arg(doc.items.size()));
            return 1;
        }
        if (doc.writableCount() == 0) {
            printErr(QStringLiteral("Žádný řádek faktury nemá kartu sortimentu, doklad se nezapisuje"));
            return 1;
        }
        if (!doc.supplierCode.isEmpty() && IsdocDocumentExists(*data, doc.supplierCode, doc.invoiceNumber) && !yes) {
            printErr(QStringLiteral("Doklad dodavatele %1 s číslem faktury %2 už existuje; znovu ho zapíše volba --yes")
                         .arg(doc.supplierCode, doc.invoiceNumber));
            return 1;
        }
        if (!doc.shortenedWarning().isEmpty())
            printErr(doc.shortenedWarning());
        if (doc.supplierCode.isEmpty()) {
            QStringList warnings;
            CreateIsdocSupplier(*data, doc, warnings);
            for (const QString &w : warnings)
                printErr(w);
            printOut(QStringLiteral("Dodavatel %1\t%2\tzaložen").arg(doc.supplierCode, doc.supplierName));
        }
        const QString number = WriteIsdocDocument(*data, doc);
        printOut(QStringLiteral("Doklad %1\tdodavatel %2\tfaktura %3\t%4 %5")
                     .arg(number, doc.supplierCode, doc.invoiceNumber, formatNumber(doc.invoiced), doc.currency));
        for (const IsdocItem &item : doc.items)
            if (item.writable())
                printOut(QStringLiteral("%1\t%2\t%3\t%4").arg(item.card, item.cardName, formatNumber(item.quantity),
                                                              formatNumber(item.price)));
    } catch (const std::exception &e) {
        printErr(ErrorText(e));
        return 1;
    }
    return 0;
}

} // namespace

extern const DbCommand kIsdocCommand = {
    "isdoc", "SOUBOR [--ini CESTA] [--new-supplier] [--skip-unmatched] [--yes]  načte fakturu dodavatele ISDOC jako nový doklad",
    "Načte fakturu dodavatele ve formátu ISDOC (.isdoc, nebo .isdocx s manifestem) a zapíše ji\n"
    "jako nový doklad podkladů, tak jak by ho pořídil uživatel: dodavatel podle IČO, karta každého\n"
    "řádku podle čísla karty odběratele, kódu EAN a kódu dodavatele (vyřazené karty se nepočítají).\n"
    "Vypíše číslo dokladu a jeden řádek za každou položku. Hlavička i položky se zapisují v jedné\n"
    "transakci; když se doklad zapsat nedá, nezapíše se nic. Načíst lze fakturu (typ 1)\n"
    "a zjednodušený daňový doklad (typ 7); dobropis, vrubopis, zálohy a jiné doklady se odmítnou.\n"
    "  --new-supplier    dodavatele, který v adresáři není, založí z údajů faktury\n"
    "  --skip-unmatched  zapíše řádky s kartou a vypíše ty, které kartu nemají\n"
    "  --yes             zapíše doklad i tehdy, když doklad dodavatele s týmž číslem faktury už je\n",
    "  0 doklad zapsán, 1 soubor odmítnut, doklad nelze zapsat nebo selhala databáze,\n"
    "  2 chybí nebo je chybná konfigurace, 64 chybné argumenty\n",
    runIsdoc, false, "--ini= --new-supplier --skip-unmatched --yes"};
