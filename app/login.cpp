#include "login.h"

#include "app/core/general_error.h"
#include "app/core/prompter.h"
#include "app/core/textutil.h"
#include "store/table_use.h"
#include "store/tdata.h"

namespace {

void takeIdentity(TData &data)
{
    data.UserFullName = data.ffUzivateleUSR_NAC.AsString();
    data.UserInitials = data.ffUzivateleUSR_INI.AsString();
    data.UserCode = data.ffUzivateleUSR_KOD.AsString();
    data.UserGroup = data.ffUzivateleUSR_GRP.AsString();
}

LoginOutcome askInDialog(TData &data, LoginDialog &dialog)
{
    QString name, password;
    if (dialog.Show(name, password) != 1)
        return LoginOutcome::Terminate;
    name = UpperAZ(name);
    password = UpperAZ(password);

    store::TableUse users(data.ffUzivatele);
    if (!data.ffUzivatele.Locate(data.ffUzivateleUSR_LNA, name))
        return LoginOutcome::Terminate;
    const QString stored = UpperAZ(data.ffUzivateleUSR_PSW.AsString());
    if (TrimControl(stored) != TrimControl(password)) {
        prompter().ShowMessage(QStringLiteral("Neplatné heslo !!!"));
        return LoginOutcome::Terminate;
    }
    takeIdentity(data);
    return LoginOutcome::LoggedIn;
}

LoginOutcome loginByLogOnName(TData &data, LoginDialog &dialog, const QString &logOnName)
{
    QString name = TrimControl(logOnName);
    if (name.size() > 10)
        name.truncate(10);
    name = UpperLocale(name);

    {
        store::TableUse users(data.ffUzivatele);
        if (data.ffUzivatele.Locate(data.ffUzivateleUSR_LNA, name)) {
            takeIdentity(data);
            return LoginOutcome::LoggedIn;
        }
    }
    return askInDialog(data, dialog);
}

} // namespace

LoginOutcome Login(TData &data, LoginDialog &dialog, const QString &logOnName)
{
    if (data.LoginForm) {
        try {
            return askInDialog(data, dialog);
        } catch (const std::exception &e) {
            ShowGeneralError(e);
            return LoginOutcome::Skipped;
        }
    }
    try {
        return loginByLogOnName(data, dialog, logOnName);
    } catch (const std::exception &) {
        // The automatic login never stops the program: it runs with the default identity.
        data.Index();
        return LoginOutcome::Skipped;
    }
}
