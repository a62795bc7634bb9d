// podklady-db import --prepared NUMBER --supplier CODE [--invoice TEXT] [--invoiced AMOUNT]
// [--yes] [--ini PATH]: the import of a prepared delivery without windows, for a scheduled
// job. It creates the receipt as the source-document editor's F9 does, for the supplier
// and the supplier's document given, and prints one line per record of the prepared
// document: imported, or skipped with the reason. A prepared document already imported
// is imported again only with --yes. Messages of the import go to stderr. The station is
// named by the address of its end of the server connection, as the program names it; a
// connection lost during the import is restored as the program restores it, and the
// delivery run again.
// Exit codes: 0 every line of the delivery imported, 1 none (or the database failed), 3
// some lines skipped (the receipt holds the others), 2 configuration, 64 arguments.

#include "commands.h"
#include "options.h"

#include "core/errors.h"
#include "core/osinfo.h"
#include "core/prompter.h"
#include "core/textutil.h"
#include "import/batch_screens.h"
#include "import/data_import.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <QLocale>
#include <cmath>

namespace ix = store::tables::index;

namespace {

// Messages on stderr; the question of a repeated import answered by --yes.
class BatchPrompter final : public Prompter {
public:
    explicit BatchPrompter(bool yes) : m_yes(yes) { setPrompter(this); }
    ~BatchPrompter() override { setPrompter(nullptr); }

    void ShowMessage(const QString &text) override { printErr(text); }
    bool Confirm(const QString &text) override
    {
        printErr(text + QStringLiteral(" Ne"));
        return false;
    }
    bool AskYesNo(const QString &text) override
    {
        printErr(text + (m_yes ? QStringLiteral(" Ano (--yes)") : QStringLiteral(" Ne (bez --yes se znovu neimportuje)")));
        return m_yes;
    }

private:
    bool m_yes;
};

// Takes "--name VALUE" out of args; false, with the reason printed, when the value is missing.
bool takeValue(QStringList &args, const QString &name, QString &value)
{
    const int at = args.indexOf(name);
    if (at < 0)
        return true;
    if (at + 1 >= args.size()) {
        printErr(QStringLiteral("podklady-db import: %1 needs a value").arg(name));
        return false;
    }
    value = args[at + 1];
    args.remove(at, 2);
    return true;
}

// The largest amount taken: beyond it a double no longer holds the haléře of an amount.
constexpr double kLargestAmount = 1e15;

// An amount as typed: a decimal comma or point, no grouping, a finite number whose size
// stays below kLargestAmount. False for anything else.
bool parseAmount(const QString &text, double &amount)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    amount = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(amount) && std::abs(amount) < kLargestAmount;
}

int usageError()
{
    printErr(QStringLiteral("usage: podklady-db import --prepared NUMBER --supplier CODE [--invoice TEXT] "
                            "[--invoiced AMOUNT] [--yes] [--ini PATH/Kramora.ini]"));
    return 64;
}

} // namespace

int runImport(const QStringList &arguments)
{
    QStringList args = arguments;
    QString ini, prepared, supplier, invoice, invoicedText;
    if (!takeIniOption(args, QStringLiteral("import"), ini) || !takeValue(args, QStringLiteral("--prepared"), prepared)
        || !takeValue(args, QStringLiteral("--supplier"), supplier)
        || !takeValue(args, QStringLiteral("--invoice"), invoice)
        || !takeValue(args, QStringLiteral("--invoiced"), invoicedText))
        return usageError();
    const bool yes = args.removeAll(QStringLiteral("--yes")) > 0;
    if (!args.isEmpty() || TrimControl(prepared).isEmpty() || TrimControl(supplier).isEmpty())
        return usageError();
    ReceiptSource source;
    if (!invoicedText.isEmpty() && !parseAmount(invoicedText, source.invoiced)) {
        printErr(QStringLiteral("podklady-db import: --invoiced %1 is not an amount").arg(invoicedText));
        return 64;
    }

    int exitCode = 0;
    const auto data = connectedData(ini, exitCode);
    if (!data)
        return exitCode;
    // Stations are told apart by the address the server sees them at, as the program
    // tells them; a database on this computer's disk has none.
    const QString seen = data->Database.LocalAddress();
    data->LocalAddress = seen.isEmpty() ? GetLocalAddress() : seen;
    BatchImportScreens screens(prepared);
    BatchPrompter prompts(yes);
    try {
        store::Table &suppliers = data->ffDodavatele;
        suppliers.Open();
        suppliers.SetIndexName(ix::ffDodavatele::KOD);
        source.supplier = ZeroPad(supplier, 6);
        // A longer code is not a supplier's: the table would cut it and find another.
        if (source.supplier.size() > data->ffDodavateleDOD_KOD.def().size || !suppliers.FindKey({source.supplier})) {
            printErr(QStringLiteral("Dodavatel %1 není v adresáři dodavatelů").arg(source.supplier));
            return 1;
        }
        source.supplierName = data->ffDodavateleDOD_FIR.AsString();
        suppliers.Close();
        source.delivered = QDate::currentDate();
        source.invoice = invoice;

        const QVector<ImportedLine> lines = TDataImport().ImportIntoReceipt(source);
        int posted = 0;
        for (const ImportedLine &l : lines) {
            const QString what = QStringLiteral("%1/%2\t%3\t").arg(l.line.card, l.line.variant).arg(l.line.quantity);
            printOut(what + (l.posted ? QStringLiteral("importováno") : QStringLiteral("vynecháno: ") + l.reason));
            posted += l.posted ? 1 : 0;
        }
        if (posted == 0) {
            printErr(QStringLiteral("Nic nebylo importováno"));
            return 1;
        }
        data->DokladObsah.First();
        printOut(QStringLiteral("Příjemka %1: %2 z %3 řádků")
                     .arg(data->DokladObsahDOK_CIS.AsString())
                     .arg(posted)
                     .arg(lines.size()));
        if (posted < lines.size())
            return 3;
    } catch (const std::exception &e) {
        printErr(QString::fromUtf8(e.what()));
        return 1;
    }
    return 0;
}
