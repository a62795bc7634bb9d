#include "startup.h"

#include "core/general_error.h"
#include "app/login.h"
#include "core/prompter.h"
#include "store/connection.h"
#include "store/unreachable.h"
#include "store/tdata.h"

QString ServerUnreachableText(const TData &data)
{
    return QStringLiteral("Aplikační server ") + data.ServerName + QLatin1Char('@') + data.Host
        + QStringLiteral(" není dostupný ");
}

bool DataCreate(TData &data, LoginDialog &dialog, const StartupEnvironment &env)
{
    data.VatRateHigh = 22;
    data.VatRateLow = 5;
    data.VatRateZero = 0;
    data.UserFullName = TData::kDefaultUserFullName;
    data.LocalAddress = env.localAddress;
    data.ExePath = env.exePath;

    // A missing file has shown its message; a malformed value shows the conversion
    // error. Either way the program cannot reach its data and ends.
    bool configured = false;
    if (!RunWithGeneralErrorDisplay([&] { configured = IniPrepare(data); }) || !configured)
        return false;

    data.SetTableNames();

    try {
        data.Database.Connect(ConnectionParamsFor(data));
    } catch (const ServerUnreachableError &) {
        prompter().ShowMessage(ServerUnreachableText(data));
        return false;
    } catch (const std::exception &e) {
        // The server answered and refused the session: its own reason tells a wrong
        // database name, role or password apart from a stopped server.
        ShowGeneralError(e);
        return false;
    }
    // Stations are told apart by the address the server sees them at: the host name of
    // many computers resolves to the same loopback address, which two stations must
    // never share. A database on this computer's disk has no such address.
    const QString seen = data.Database.LocalAddress();
    if (!seen.isEmpty())
        data.LocalAddress = seen;
    return Login(data, dialog, env.logOnName) != LoginOutcome::Terminate;
}
