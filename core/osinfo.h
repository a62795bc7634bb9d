#pragma once
// Facts about this computer and the person logged on to it.

#include <QString>

// The log-on name of the user running the program (the effective user); empty when it
// cannot be read.
QString GetWindowsUserName();

// This computer's host name resolved to its first IPv4 address, in dotted form.
// "127.0.0.1" when the name resolves but carries no IPv4 address; empty when the host
// name cannot be read or does not resolve. It identifies the station in lock records.
QString GetLocalAddress();
