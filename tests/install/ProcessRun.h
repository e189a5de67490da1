// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a program to its end within a time limit and keeps what it printed: the tests of the installed
// program and of the package drive real tools (cmake, cpack, dpkg-deb, the installed executables).

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <string>

namespace zolbin::test {

struct ProcessResult
{
    bool finished = false; // false: did not start, or was killed at the time limit
    int exitCode = -1;
    std::string out;
    std::string err;

    bool succeeded() const { return finished && exitCode == 0; }
    // For failure messages: the exit code and both outputs.
    std::string describe() const;
};

// Runs in workingDirectory (empty: the test's current directory) with env (default: the test's own).
ProcessResult runProcess(const QString& program, const QStringList& arguments, int timeoutMs = 60000,
                         const QString& workingDirectory = {},
                         const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

// True when the program is found on PATH.
bool haveProgram(const QString& name);

// The environment of a program with windows that must not reach a display.
QProcessEnvironment offscreenEnvironment();

} // namespace zolbin::test
