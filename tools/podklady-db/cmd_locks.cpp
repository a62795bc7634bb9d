// podklady-db locks [--ini PATH]: lists the lock records of the stations.
// podklady-db unlock CODE KEY [--station ADDRESS] [--ini PATH]: removes one, for example
// the lock a crashed station left behind. A document number (POD) is padded with zeros to
// 10 characters and a card number (SOR) to 6, as the program stores them. Without
// --station the lock is removed when exactly one station holds it.
// Exit codes: 0 done, 1 nothing to remove or a failure, 2 configuration, 64 arguments.

#include "commands.h"
#include "options.h"

#include "core/errors.h"
#include "core/textutil.h"
#include "store/tdata.h"
#include "store/tables/index_names.h"

namespace ix = store::tables::index;

namespace {

struct LockRow {
    QString code, key, user, station;
    QDateTime since;
};

// The lock records, in index order; only those of one thing when code is given.
QVector<LockRow> lockRows(TData &data, const QString &code = {}, const QString &key = {})
{
    store::Table &t = data.ffSemafor;
    t.Open();
    t.SetIndexName(ix::ffSemafor::KOD);
    if (!code.isEmpty())
        t.SetRange({code, key}, {code, key});
    QVector<LockRow> rows;
    for (t.First(); !t.Eof(); t.Next())
        rows.append({data.ffSemaforSYS_TAB.AsString(), data.ffSemaforSYS_KLI.AsString(),
                     data.ffSemaforSYS_USR.AsString(), data.ffSemaforSYS_IDU.AsString(),
                     data.ffSemaforSYS_DAT.AsDateTime()});
    t.Close();
    return rows;
}

QString rowText(const LockRow &r)
{
    return QStringList{r.code, r.key, r.user.trimmed(), r.since.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")),
                       r.station}
        .join(u'\t');
}

// The key as the program stores it for the code: a document number of 10 characters, a
// card number of 6, with leading zeros; any other code's key as given.
QString storedKey(const QString &code, const QString &key)
{
    if (code == QLatin1String("POD"))
        return ZeroPad(key, 10);
    if (code == QLatin1String("SOR"))
        return ZeroPad(key, 6);
    return key;
}

} // namespace

int runLocks(const QStringList &arguments)
{
    const ToolArgs args = commandArgs(arguments, "locks");
    int exitCode = 0;
    const auto data = commandData(args, "locks", 0, exitCode);
    if (!data)
        return exitCode;
    try {
        const QVector<LockRow> rows = lockRows(*data);
        for (const LockRow &r : rows)
            printOut(rowText(r));
        if (rows.isEmpty())
            printOut(QStringLiteral("Žádné zámky: žádná stanice nic nedrží"));
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }
    return 0;
}

int runUnlock(const QStringList &arguments)
{
    const ToolArgs args = commandArgs(arguments, "unlock");
    if (args.positional().size() < 2)
        return wrongArguments("unlock", QStringLiteral("potřebuje KÓD a KLÍČ"));
    const bool stationGiven = args.flag(QStringLiteral("--station"));
    QString station = args.value(QStringLiteral("--station"));
    int exitCode = 0;
    const auto data = commandData(args, "unlock", 2, exitCode);
    if (!data)
        return exitCode;
    const QString code = args.positional()[0].trimmed().toUpper();
    const QString key = storedKey(code, args.positional()[1]);
    try {
        const QVector<LockRow> rows = lockRows(*data, code, key);
        if (rows.isEmpty()) {
            printErr(QStringLiteral("Zámek %1 %2 neexistuje").arg(code, key));
            return 1;
        }
        if (!stationGiven) {
            if (rows.size() > 1) {
                printErr(QStringLiteral("%1 %2 drží více stanic; zvolte jednu volbou --station:").arg(code, key));
                for (const LockRow &r : rows)
                    printErr(rowText(r));
                return 1;
            }
            station = rows.first().station;
        }
        const auto held = std::find_if(rows.cbegin(), rows.cend(), [&](const LockRow &r) { return r.station == station; });
        if (held == rows.cend()) {
            QStringList holders;
            for (const LockRow &r : rows)
                holders << r.station;
            printErr(QStringLiteral("Zámek %1 %2 drží stanice %3, ne %4; nic nebylo odstraněno")
                         .arg(code, key, holders.join(QStringLiteral(", ")), station));
            return 1;
        }
        data->LocalAddress = station;
        data->UnlockRecord(code, key);
        printOut(QStringLiteral("Odstraněn zámek ") + rowText(*held));
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }
    return 0;
}
