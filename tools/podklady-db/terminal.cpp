#include "terminal.h"

#include "options.h"

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

std::optional<QString> readStdinLine()
{
    std::string line;
    int c;
    while ((c = std::getchar()) != EOF && c != '\n')
        line.push_back(char(c));
    if (c == EOF && line.empty())
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromUtf8(line.data(), qsizetype(line.size()));
}

// Reads a line with the terminal's echo off, restored afterwards.
std::optional<QString> askHidden(const QString &prompt)
{
    std::fprintf(stderr, "%s", prompt.toUtf8().constData());
    std::fflush(stderr);
    termios saved = {};
    const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const std::optional<QString> line = readStdinLine();
    if (terminal)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fprintf(stderr, "\n");
    return line;
}

} // namespace

bool stdinIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

bool stderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

std::optional<QString> askLine(const QString &prompt)
{
    std::fprintf(stderr, "%s", prompt.toUtf8().constData());
    std::fflush(stderr);
    return readStdinLine();
}

std::optional<QString> readPassword(bool fromStdin)
{
    if (fromStdin) {
        const std::optional<QString> line = readStdinLine();
        if (!line)
            printErr(QStringLiteral("Na standardním vstupu není heslo"));
        return line;
    }
    if (!stdinIsTerminal()) {
        printErr(QStringLiteral("Heslo se zadává na terminálu; bez něj ho dejte na standardní vstup "
                                "s volbou --password-stdin"));
        return std::nullopt;
    }
    const std::optional<QString> first = askHidden(QStringLiteral("Heslo: "));
    if (!first)
        return std::nullopt;
    const std::optional<QString> second = askHidden(QStringLiteral("Heslo znovu: "));
    if (!second || *second != *first) {
        printErr(QStringLiteral("Hesla se neshodují; nic nebylo změněno"));
        return std::nullopt;
    }
    return first;
}
