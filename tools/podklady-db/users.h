#pragma once
// The users of the program (the shared table Usr0000) as the administrator keeps them.

#include <QString>
#include <QStringList>

class TData;

struct UserFields {
    QString login;
    QString initials;
    QString name;
    QString group;
    QString password;
};

// Brings the fields but the password into their stored form, the login name in capitals (locale) as the
// automatic login compares it. Returns why fields are refused (too long for their field,
// a login or initials missing); empty when none is. A full name longer than its field is
// cut, and `notes` say so, as they say when a login can be found only by the automatic
// login and by capitals typed in the dialog.
QStringList CheckUserFields(UserFields &u, QStringList &notes);

// The login name as it is stored and looked up: trimmed, in capitals (locale).
QString StoredLogin(const QString &login);
// Checks a password against its field: the reason it is refused, or empty.
QString CheckPassword(const QString &password);

// Adds a user checked by CheckUserFields with the next free code (one more than the
// largest, else the smallest free one), in one transaction serialized with every other
// addition. Returns the code. Throws AppError when the login exists or no code is free.
// Requires data connected; joins a transaction the caller has open.
QString AddUser(TData &data, const UserFields &u);

// True when the users table holds at least one user. Requires data connected.
bool HasUsers(TData &data);
