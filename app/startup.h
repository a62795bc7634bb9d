#pragma once
// The creation of the data module: defaults, the station's address, the configuration,
// the table names for the firm, the connection to the table store and the login.

#include <QString>

class TData;
class LoginDialog;

// What start-up needs from outside the data module.
struct StartupEnvironment {
    QString exePath;        // the program's directory with a trailing "/"
    QString logOnName;      // the operating-system log-on name
    QString localAddress;   // this station's address for lock records, unless the server sees another
};

// Runs the creation handler of the data module. Returns false when the application has
// been asked to end: the configuration file is missing or malformed (its message has
// been shown), the store cannot be reached ("Aplikační server <ServerName>@<Host> není
// dostupný " shown once), the server refused the database, role or password (the store's
// own reason shown by the general error display), or the login failed. True: connected, and the user logged in
// (or running with the default identity after an error in the login).
bool DataCreate(TData &data, LoginDialog &dialog, const StartupEnvironment &env);

// The message shown when the table store cannot be reached.
QString ServerUnreachableText(const TData &data);
