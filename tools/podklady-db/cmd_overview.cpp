// podklady-db overview --from DD.MM.YYYY --to DD.MM.YYYY [--by-supplier] [--xlsx FILE]
// [--pdf FILE] [--ini PATH]: the deliveries overview of a period for scheduled jobs, made
// by the reports module exactly as the program makes it: "PrehledDodavek.txt" in the
// current directory, the workbook and the printout as a PDF when asked. The module's
// messages (where the workbook went, or why there is none) are printed.
// Exit codes: 0 written, 1 a file could not be written or the store failed, 2 a date that
// does not convert or a configuration that cannot be read, 64 arguments.

#include "commands.h"
#include "options.h"

#include "core/errors.h"
#include "core/prompter.h"
#include "core/textutil.h"
#include "reports/data_sestavy.h"
#include "reports/prehled_dodavek.h"
#include "store/tdata.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// The messages of the run, kept until it is known whether it did all it was asked.
class ToolPrompter final : public Prompter {
public:
    ToolPrompter() { setPrompter(this); }
    ~ToolPrompter() override { setPrompter(nullptr); }
    void ShowMessage(const QString &text) override { messages << text; }
    bool Confirm(const QString &text) override
    {
        messages << text;
        return false;
    }
    // Prints the messages, to the error output when the run failed.
    void print(bool failed) const
    {
        for (const QString &text : messages)
            failed ? printErr(text) : printOut(text);
    }
    QStringList messages;
};

// Takes "NAME VALUE" out of args; false when the name is there without a value.
bool takeValue(QStringList &args, const QString &name, QString &value)
{
    const int at = args.indexOf(name);
    if (at < 0)
        return true;
    if (at + 1 >= args.size())
        return false;
    value = args[at + 1];
    args.remove(at, 2);
    return true;
}

} // namespace

int runOverview(const QStringList &arguments)
{
    QStringList args = arguments;
    QString ini, from, to, xlsx, pdf;
    const bool bySupplier = args.removeAll(QStringLiteral("--by-supplier")) > 0;
    if (!takeIniOption(args, QStringLiteral("overview"), ini) || !takeValue(args, QStringLiteral("--from"), from) ||
        !takeValue(args, QStringLiteral("--to"), to) || !takeValue(args, QStringLiteral("--xlsx"), xlsx) ||
        !takeValue(args, QStringLiteral("--pdf"), pdf) || !args.isEmpty() || from.isEmpty() || to.isEmpty()) {
        printErr(QStringLiteral("usage: podklady-db overview --from DD.MM.YYYY --to DD.MM.YYYY [--by-supplier] "
                                "[--xlsx FILE] [--pdf FILE] [--ini PATH/Kramora.ini]"));
        return 64;
    }
    QDate dateFrom, dateTo;
    try {
        dateFrom = StrToDate(from);
        dateTo = StrToDate(to);
    } catch (const ConversionError &e) {
        printErr(e.text());
        return 2;
    }

    int exitCode = 0;
    const auto data = connectedData(ini, exitCode);
    if (!data)
        return exitCode;
    ToolPrompter messages;
    // Without --pdf the pages are still made by the same run, into a file that is dropped.
    QTemporaryDir scratch;
    try {
        TDataSestavy reports;
        TSestavy &engine = reports.Sestavy;
        engine.SystemSetups = 0;
        engine.DefaultDestination = TDestination::File;
        engine.OutputFileName = pdf.isEmpty() ? scratch.filePath(QStringLiteral("sestava.pdf")) : pdf;
        reports.ExcelExport = !xlsx.isEmpty();
        reports.WorkbookPath = xlsx;
        reports.DateFrom = dateFrom;
        reports.DateTo = dateTo;
        const int receipts = reports.SesPrehPRD(bySupplier ? BySupplier : ByReceipt, dateFrom, dateTo);
        const bool failed = reports.LastWorkbook == TDataSestavy::wbFailed;
        printOut(QStringLiteral("Zapsán soubor %1 (dokladů: %2)")
                     .arg(QDir::current().absoluteFilePath(kOverviewTextFile))
                     .arg(receipts));
        messages.print(failed);
        if (!pdf.isEmpty())
            printOut(QStringLiteral("Zapsán soubor %1").arg(QFileInfo(pdf).absoluteFilePath()));
        return failed ? 1 : 0;
    } catch (const AppError &e) {
        messages.print(true);
        printErr(e.text());
        return 1;
    }
}
