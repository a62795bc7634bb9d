// podklady-db locks [--ini PATH]: lists the lock records of the stations.
// podklady-db unlock CODE KEY [--station ADDRESS] [--ini PATH]: removes one, for example
// the lock a crashed station left behind. Without --station the lock is removed when
// exactly one station holds it.
// Exit codes: 0 done, 1 nothing to remove or a failure, 2 configuration, 64 arguments.

#include "commands.h"
#include "options.h"

#include "app/core/errors.h"
#include "store/tdata.h"

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
    t.SetIndexName(QStringLiteral("KOD"));
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

} // namespace

int runLocks(const QStringList &arguments)
{
    QStringList args = arguments;
    QString ini;
    if (!takeIniOption(args, QStringLiteral("locks"), ini) || !args.isEmpty()) {
        printErr(QStringLiteral("usage: podklady-db locks [--ini PATH/Kramora.ini]"));
        return 64;
    }
    int exitCode = 0;
    const auto data = connectedData(ini, exitCode);
    if (!data)
        return exitCode;
    try {
        for (const LockRow &r : lockRows(*data))
            printOut(rowText(r));
    } catch (const AppError &e) {
        printErr(e.text());
        return 1;
    }
    return 0;
}

int runUnlock(const QStringList &arguments)
{
    QStringList args = arguments;
    QString ini, station;
    bool stationGiven = false;
    const int at = args.indexOf(QStringLiteral("--station"));
    if (at >= 0 && at + 1 < args.size()) {
        station = args[at + 1];
        stationGiven = true;
        args.remove(at, 2);
    }
    if (!takeIniOption(args, QStringLiteral("unlock"), ini) || args.size() != 2 || args.contains(QStringLiteral("--station"))) {
        printErr(QStringLiteral("usage: podklady-db unlock CODE KEY [--station ADDRESS] [--ini PATH/Kramora.ini]"));
        return 64;
    }
    int exitCode = 0;
    const auto data = connectedData(ini, exitCode);
    if (!data)
        return exitCode;
    const QString code = args[0], key = args[1];
    try {
        const QVector<LockRow> rows = lockRows(*data, code, key);
        if (!stationGiven) {
            if (rows.size() > 1) {
                printErr(QStringLiteral("%1 %2 drží více stanic; zvolte jednu volbou --station:").arg(code, key));
                for (const LockRow &r : rows)
                    printErr(rowText(r));
                return 1;
            }
            if (!rows.isEmpty())
                station = rows.first().station;
        }
        const auto held = std::find_if(rows.cbegin(), rows.cend(), [&](const LockRow &r) { return r.station == station; });
        if (held == rows.cend()) {
            printErr(QStringLiteral("Zámek %1 %2 neexistuje").arg(code, key));
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
