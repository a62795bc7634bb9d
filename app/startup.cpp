#include "startup.h"

#include "app/core/general_error.h"
#include "app/login.h"
#include "app/core/prompter.h"
#include "store/connection.h"
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
    } catch (const std::exception &) {
        // What counts is whether the connection is open afterwards.
    }
    if (!data.Database.IsConnected()) {
        prompter().ShowMessage(ServerUnreachableText(data));
        return false;
    }
    return Login(data, dialog, env.logOnName) != LoginOutcome::Terminate;
}
