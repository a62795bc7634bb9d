#pragma once

// A command-line program run by a test as a user would run it: a process of its own,
// waited for, with its exit code and both outputs.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

struct ToolRun {
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString out;
    QString err;
};

// Runs program with args in workingDir (the test's own directory when empty) and waits for
// it at most timeoutMs; a program that does not end in time, or ends by a signal (as a
// sanitizer's report ends it, with SIGABRT), fails the test. Its standard input is
// `input`, then closed.
inline ToolRun runProgram(const QString &program, const QStringList &args, int timeoutMs = 120000,
                          const QString &workingDir = {}, const QByteArray &input = {})
{
    QProcess p;
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(timeoutMs)) << program.toStdString();
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit)
        << program.toStdString() << " ended by signal " << p.exitCode() << ": " << p.readAllStandardError().toStdString();
    return {p.exitCode(), p.exitStatus(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The options of `podklady-db init` for a firm the program can open without the demo: its
// owner and the first user SPRAVCE, whose password "tajne" comes on standard input
// (kInitFirmInput).
inline QStringList InitFirmArguments()
{
    return {QStringLiteral("--owner-name"), QStringLiteral("Železářství U Mostu"), QStringLiteral("--owner-street"),
            QStringLiteral("Mostní 4"), QStringLiteral("--owner-town"), QStringLiteral("Písek"),
            QStringLiteral("--user"), QStringLiteral("spravce"), QStringLiteral("--initials"), QStringLiteral("SP"),
            QStringLiteral("--name"), QStringLiteral("Správce Karel"), QStringLiteral("--password-stdin")};
}
inline const QByteArray kInitFirmInput = "tajne\n";
