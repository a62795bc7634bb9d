#pragma once
// What the commands of podklady-db share: output, the --ini option, and the data module
// connected as the program connects.

#include <QString>
#include <QStringList>
#include <memory>

class TData;

void printOut(const QString &text);
void printErr(const QString &text);
// A number as the commands print it: up to 15 significant digits, a decimal point.
QString formatNumber(double value);

// Takes "--ini PATH" out of args into ini. False, with the reason printed, when PATH is
// missing or does not name a file called Kramora.ini (the only name the program reads).
bool takeIniOption(QStringList &args, const QString &command, QString &ini);

// The program's directory as the configuration sees it: the directory of ini, or the
// directory of this tool when ini is empty.
QString exePathFor(const QString &ini);

// A data module that has read the configuration, named its tables for the firm and
// connected, as the program does at start-up. On failure prints the reason and returns
// nullptr with exitCode set: 2 for a missing or malformed configuration, 1 when the
// database cannot be reached.
std::unique_ptr<TData> connectedData(const QString &ini, int &exitCode);
