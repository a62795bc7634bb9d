// Lock records: a station marks a source document ("POD") or a stock card ("SOR") as
// being worked on in the shared table SYS0001, and other stations are refused until it
// removes its record again.
//
// The look-up and the append run in one short transaction serialized on the locked
// thing, so of any number of stations asking for the same thing at the same moment
// exactly one gets it; the others find its record and are refused with its holder.

#include "store/tdata.h"
#include "store/table_use.h"
#include "store/transaction.h"

#include "app/core/prompter.h"
#include "app/core/textutil.h"
#include "app/core/errors.h"

#include <QDateTime>

QString TData::LockRefusalText(const QString &holder, const QDateTime &since)
{
    return QStringLiteral("Položka blokována uživatelem ") + TrimControl(holder) + QStringLiteral(" od  ")
        + since.toString(QStringLiteral("dd.MM.yyyy hh.mm"));
}

bool TData::LockRecord(const QString &code, const QString &key, bool *taken)
{
    store::TableUse locks(ffSemafor, QStringLiteral("KOD"));
    struct Outcome {
        bool held;
        bool written;
        QString holder;
        QDateTime since;
    };
    const Outcome outcome = [&] {
        store::Transaction transaction(Database, QStringLiteral("SYS0001 ") + code.toUpper() + QLatin1Char(' ') + key.toUpper(),
                                       store::Transaction::Caller::MayHaveOne);
        if (ffSemafor.FindKey({code, key})) {
            const Outcome found = ffSemaforSYS_IDU.AsString() == LocalAddress
                ? Outcome{true, false, {}, {}}
                : Outcome{false, false, ffSemaforSYS_USR.AsString(),
                          ffSemaforSYS_DAT.AsDateTime()};
            transaction.commit();
            return found;
        }
        ffSemafor.Append();
        try {
            ffSemaforSYS_TAB.SetAsString(code);
            ffSemaforSYS_KLI.SetAsString(key);
            ffSemaforSYS_IDU.SetAsString(LocalAddress);
            ffSemaforSYS_USR.SetAsString(UserFullName);
            ffSemaforSYS_DAT.SetAsDateTime(QDateTime::currentDateTime());
            ffSemafor.Post();
        } catch (...) {
            ffSemafor.Cancel();
            throw;
        }
        transaction.commit();
        return Outcome{true, true, {}, {}};
    }();
    if (taken)
        *taken = outcome.written;
    // The message is shown after the transaction has ended, so that no other station
    // waits on this one while the user reads it.
    if (!outcome.held)
        prompter().ShowMessage(LockRefusalText(outcome.holder, outcome.since));
    return outcome.held;
}

void TData::UnlockRecord(const QString &code, const QString &key)
{
    store::TableUse locks(ffSemafor, QStringLiteral("KOD"));
    if (ffSemafor.FindKey({code, key, LocalAddress}))
        ffSemafor.Delete();
}
