// podklady-db print --doc NUMBER --pdf FILE [--ini PATH]: writes the printout of one
// source document as a PDF, drawn by the program's own print handler, for scheduled jobs.
// Exit codes: 0 written, 1 the document does not exist or the printout failed (no file
// is left behind in either case), 2 configuration, 64 arguments.

#include "commands.h"
#include "options.h"

#include "core/errors.h"
#include "core/textutil.h"
#include "reports/data_sestavy.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

#include <QFileInfo>

namespace ix = store::tables::index;

namespace {

// Takes "NAME VALUE" out of args into value; false when the name is missing or has no value.
bool takeValue(QStringList &args, const QString &name, QString &value)
{
    const int at = args.indexOf(name);
    if (at < 0 || at + 1 >= args.size())
        return false;
    value = args[at + 1];
    args.remove(at, 2);
    return true;
}

// Prints the document on the header table's current record with its items to the PDF.
void printDocument(TData &data, TDataSestavy &reports, const QString &number, const QString &pdf)
{
    store::Table &items = data.ffPodklPol;
    items.Open();
    items.SetIndexName(ix::ffPodklPol::DO1);
    items.SetRange({number}, {number});
    items.First();
    TSestavy &engine = reports.Sestavy;
    engine.SystemSetups = 0;
    engine.DefaultDestination = TDestination::File;
    engine.OutputFileName = pdf;
    reports.PrintPodklad(data);
    items.Close();
}

} // namespace

int runPrint(const QStringList &arguments)
{
    QStringList args = arguments;
    QString ini, doc, pdf;
    if (!takeIniOption(args, QStringLiteral("print"), ini) || !takeValue(args, QStringLiteral("--doc"), doc) ||
        !takeValue(args, QStringLiteral("--pdf"), pdf) || !args.isEmpty() || doc.trimmed().isEmpty() ||
        pdf.isEmpty()) {
        printErr(QStringLiteral("usage: podklady-db print --doc NUMBER --pdf FILE [--ini PATH/Kramora.ini]"));
        return 64;
    }
    int exitCode = 0;
    const auto data = connectedData(ini, exitCode);
    if (!data)
        return exitCode;
    TDataSestavy reports;
    const QString number = ZeroPad(doc, 10);
    try {
        store::Table &headers = data->ffPodklHlav;
        headers.Open();
        headers.SetIndexName(ix::ffPodklHlav::DO1);
        if (!headers.FindKey({number})) {
            printErr(QStringLiteral("Doklad %1 neexistuje (tabulka %2); PDF nebylo vytvořeno").arg(number, headers.TableName()));
            return 1;
        }
        printDocument(*data, reports, number, pdf);
        headers.Close();
    } catch (const AppError &e) {
        printErr(QStringLiteral("Doklad %1 nebyl vytištěn: %2").arg(number, e.text()));
        return 1;
    }
    printOut(QStringLiteral("Doklad %1: %2").arg(number, QFileInfo(pdf).absoluteFilePath()));
    return 0;
}
