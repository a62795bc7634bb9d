#pragma once
// Who works with the program: recognised by the log-on name, or asked for a login name
// and a password that are checked against the shared users table. A failed login ends
// the program; there is no second attempt.

#include <QString>

class TData;

// The login dialog TLoginForm, as the login needs it. Widgets implement it; tests
// script it.
class LoginDialog {
public:
    virtual ~LoginDialog() = default;
    // Shows the dialog modally. Returns 1 for OK and 2 for "Storno" (also when it was
    // closed otherwise); name and password are the two edit texts after it closed.
    virtual int Show(QString &name, QString &password) = 0;
};

enum class LoginOutcome {
    LoggedIn,   // the user's members of TData are filled
    Skipped,    // an error stopped the login; the program runs with the default identity
    Terminate,  // cancelled, unknown name or wrong password: the program must end
};

// Logs the user in on data's open connection. With LoginForm set the dialog is always
// shown, and an error of the store is shown through the general error display; without
// it the log-on name (trimmed, its first 10 characters, in capitals by locale rules) is
// looked up first, the dialog is shown only when it is not found, and an error is
// dropped. The dialog's name and password are put into capitals a–z only.
LoginOutcome Login(TData &data, LoginDialog &dialog, const QString &logOnName);
