#pragma once
// Questions to the person at the terminal: a line of text, and a password typed twice
// without echo.

#include <QString>
#include <optional>

// True when standard input is a terminal (someone can be asked).
bool stdinIsTerminal();
// True when standard error is a terminal (progress can be shown in place).
bool stderrIsTerminal();

// Prints the prompt on stderr and reads one line from stdin (UTF-8, without its line
// end); nullopt at the end of input.
std::optional<QString> askLine(const QString &prompt);

// The password of a user: with fromStdin the first line of standard input; else asked
// twice on the terminal without echo, the two must agree. nullopt, with the reason
// printed, when there is no terminal, input ends, or the two differ.
std::optional<QString> readPassword(bool fromStdin);
