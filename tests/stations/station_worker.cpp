// One station as a process of its own, for the tests of several stations on one database:
//   station_worker TARGET ADDRESS numbers COUNT OUTFILE
//       takes COUNT source-document numbers from the counter, trying again while another
//       station has the counter in editing; appends each number as a line to OUTFILE
//   station_worker TARGET ADDRESS suppliers COUNT OUTFILE
//       creates COUNT suppliers, each taking its code from the counter as the supplier
//       list's new entry does, trying again while another station has the counter in
//       editing; appends each code as a line to OUTFILE
//   station_worker TARGET ADDRESS post LINES CARD...
//       posts LINES receipts of 1 to 3 pieces onto variant "001" of the cards in turn
//   station_worker TARGET ADDRESS import IMPORTDIR NUMBER [once]
//       imports the prepared document NUMBER of IMPORTDIR/Pod0000.dbf into a new receipt
//       and writes it; prints "ready" before the import starts. It answers Yes when asked
//       to import a delivery again, No with "once"
//   station_worker TARGET ADDRESS commands SECONDS
//       runs one command every 50 ms for SECONDS: the connection restored when it was lost,
//       then one posting onto card 000001/001
// TARGET is sqlite:FILE or pg:HOST:PORT:DATABASE:USER; the firm is 0001. Every message the
// program would show is printed as "message: <text>"; the last line is a summary
// ("posted N refused M"). Exit 0 when the work ran to its end.

#include "station_module.h"

#include "core/prompter.h"
#include "import/batch_screens.h"
#include "import/data_import.h"
#include "import/form_podklady_import.h"
#include "import/stock_posting.h"
#include "store/counter.h"
#include "store/tdata.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

class PrintingPrompter final : public Prompter {
public:
    void ShowMessage(const QString &text) override
    {
        ++shown;
        std::printf("message: %s\n", text.toUtf8().constData());
        std::fflush(stdout);
    }
    bool Confirm(const QString &text) override
    {
        ShowMessage(text);
        return false;
    }
    // A station that imports the same prepared delivery again and again answers Yes to
    // "import again", so that every run posts its lines; one that imports each delivery
    // once answers No.
    bool AskYesNo(const QString &text) override
    {
        ShowMessage(text);
        return importAgain;
    }
    int shown = 0;
    bool importAgain = true;
};

// Runs take() until it has given `count` values, appending each to outFile as a line. A
// take that fails (another station has the counter in editing) is undone and tried again,
// as the user presses the key again. Prints "<what> COUNT busy FAILURES".
int takeRepeatedly(int count, const QString &outFile, const char *what, const std::function<QString()> &take,
                   const std::function<void()> &undo)
{
    QFile out(outFile);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return 2;
    const QDeadlineTimer deadline(120000);
    int busy = 0;
    for (int taken = 0; taken < count;) {
        if (deadline.hasExpired())
            return 3;
        try {
            out.write(take().toLatin1() + '\n');
            ++taken;
        } catch (const std::exception &) {
            undo();
            ++busy;
            QThread::usleep(100);
        }
    }
    std::printf("%s %d busy %d\n", what, count, busy);
    return 0;
}

int takeNumbers(TData &d, int count, const QString &outFile)
{
    const int result = takeRepeatedly(
        count, outFile, "taken",
        [&d] {
            d.ffCiselnik.Open();
            d.ffCiselnik.First();
            const QString number = TakeTextCounter(d.ffCiselnik, d.ffCiselnikCIS_POD);
            d.ffCiselnik.Post();
            return number;
        },
        [&d] { d.ffCiselnik.Cancel(); });
    d.ffCiselnik.Close();
    return result;
}

// New suppliers as the supplier list makes them: each takes its code as it is inserted.
int createSuppliers(TData &d, int count, const QString &outFile)
{
    d.ffDodavatele.Open();
    int created = 0;
    const int result = takeRepeatedly(
        count, outFile, "created",
        [&d, &created] {
            d.ffDodavatele.Append();
            d.ffDodavateleDOD_FIR.SetAsString(QStringLiteral("Dodavatel %1 %2").arg(d.LocalAddress).arg(++created));
            const QString code = d.ffDodavateleDOD_KOD.AsString();
            d.ffDodavatele.Post();
            return code;
        },
        [&d] { d.ffDodavatele.Cancel(); });
    d.ffDodavatele.Close();
    return result;
}

int post(TData &d, int lines, const QStringList &cards)
{
    std::mt19937 random(std::random_device{}());
    int posted = 0, refused = 0;
    for (int i = 0; i < lines; ++i) {
        const double quantity = double(1 + random() % 3);
        if (ZapisPohybuVar(d, cards[i % cards.size()], QStringLiteral("001"), QStringLiteral("0000000001"),
                             QStringLiteral("001"), 10.0f, 21.0f, quantity))
            ++posted;
        else
            ++refused;
    }
    std::printf("posted %d refused %d\n", posted, refused);
    return 0;
}

int import(TData &d, const QString &directory, const QString &number)
{
    const BatchImportScreens windows(number);
    d.ImportPath = directory + u'/';
    std::printf("ready\n");
    std::fflush(stdout);
    const QVector<ImportedLine> lines = TDataImport().ImportIntoReceipt({QStringLiteral("000001"), {}, {}, {}, 0});
    const auto posted = std::count_if(lines.begin(), lines.end(), [](const ImportedLine &l) { return l.posted; });
    std::printf("imported %lld of %lld\n", qint64(posted), qint64(lines.size()));
    return 0;
}

int commands(TData &d, int seconds)
{
    const QDeadlineTimer deadline(seconds * 1000);
    int posted = 0, refused = 0;
    while (!deadline.hasExpired()) {
        if (d.RestoreConnection()) {
            if (ZapisPohybuVar(d, QStringLiteral("000001"), QStringLiteral("001"), QStringLiteral("0000000001"),
                                 QStringLiteral("001"), 10.0f, 21.0f, 1.0))
                ++posted;
            else
                ++refused;
        }
        QThread::msleep(50);
    }
    std::printf("posted %d refused %d\n", posted, refused);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5)
        return 64;
    PrintingPrompter messages;
    setPrompter(&messages);
    try {
        auto data = StationDataModule(args[1], args[2]);
        data->PriceMode = 1;
        const QString mode = args[3];
        if (mode == QLatin1String("numbers") && args.size() == 6)
            return takeNumbers(*data, args[4].toInt(), args[5]);
        if (mode == QLatin1String("suppliers") && args.size() == 6)
            return createSuppliers(*data, args[4].toInt(), args[5]);
        if (mode == QLatin1String("post") && args.size() >= 6)
            return post(*data, args[4].toInt(), args.mid(5));
        if (mode == QLatin1String("import") && (args.size() == 6 || (args.size() == 7 && args[6] == QLatin1String("once")))) {
            messages.importAgain = args.size() == 6;
            return import(*data, args[4], args[5]);
        }
        if (mode == QLatin1String("commands") && args.size() == 5)
            return commands(*data, args[4].toInt());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "station_worker: %s\n", e.what());
        return 1;
    }
    return 64;
}
