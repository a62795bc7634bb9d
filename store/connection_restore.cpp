// Getting the connection back after the server went away: the next command reconnects
// before it touches a table.

#include "tdata.h"

#include "core/errors.h"
#include "core/prompter.h"

#include <utility>

QString TData::ConnectionRestoredText() const
{
    return QStringLiteral("Spojení s databázovým serverem ") + ServerName + QLatin1Char('@') + Host
        + QStringLiteral(" bylo obnoveno");
}

bool TData::RestoreConnection()
{
    if (!Database.ConnectionLost())
        return true;
    try {
        Database.Reconnect();
    } catch (const AppError &e) {
        prompter().ShowMessage(QStringLiteral("Databázový server ") + ServerName + QLatin1Char('@') + Host
                               + QStringLiteral(" není dostupný: ") + e.text());
        return false;
    }
    prompter().ShowMessage(ConnectionRestoredText());
    // The lock records that commands could not remove while the server was away.
    const QVector<QPair<QString, QString>> pending = std::exchange(m_pendingUnlocks, {});
    for (const auto &[code, key] : pending) {
        try {
            UnlockRecord(code, key);
        } catch (const StoreError &) {
            // Lost again: UnlockRecord has remembered it for the next restore.
        }
    }
    return true;
}
