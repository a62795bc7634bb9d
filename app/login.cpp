#include "login.h"

#include "core/general_error.h"
#include "core/prompter.h"
#include "core/textutil.h"
#include "store/cursor.h"
#include "store/tables/column_names.h"
#include "store/tdata.h"

namespace {

namespace col = store::tables::column::ffUzivatele;

// The user's identity from the record `users` stands on.
void takeIdentity(TData &data, store::Table &users)
{
    data.UserFullName = users[col::USR_NAC].AsString();
    data.UserInitials = users[col::USR_INI].AsString();
    data.UserCode = users[col::USR_KOD].AsString();
    data.UserGroup = users[col::USR_GRP].AsString();
}

LoginOutcome askInDialog(TData &data, LoginDialog &dialog)
{
    QString name, password;
    if (dialog.Show(name, password) != 1)
        return LoginOutcome::Terminate;
    name = UpperAZ(name);
    password = UpperAZ(password);

    store::Cursor users(data.ffUzivatele);
    if (!users.Locate(col::USR_LNA, name))
        return LoginOutcome::Terminate;
    const QString stored = UpperAZ(users[col::USR_PSW].AsString());
    if (TrimControl(stored) != TrimControl(password)) {
        prompter().ShowMessage(QStringLiteral("Neplatné heslo !!!"));
        return LoginOutcome::Terminate;
    }
    takeIdentity(data, users);
    return LoginOutcome::LoggedIn;
}

LoginOutcome loginByLogOnName(TData &data, LoginDialog &dialog, const QString &logOnName)
{
    QString name = TrimControl(logOnName);
    if (name.size() > 10)
        name.truncate(10);
    name = UpperLocale(name);

    {
        store::Cursor users(data.ffUzivatele);
        if (users.Locate(col::USR_LNA, name)) {
            takeIdentity(data, users);
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
