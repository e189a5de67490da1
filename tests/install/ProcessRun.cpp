// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/install/ProcessRun.h"

#include <QProcess>
#include <QStandardPaths>

namespace zolbin::test {

std::string ProcessResult::describe() const
{
    return (finished ? "exit code " + std::to_string(exitCode) : std::string("did not finish")) +
           "\n--- stdout\n" + out + "\n--- stderr\n" + err;
}

ProcessResult runProcess(const QString& program, const QStringList& arguments, int timeoutMs,
                         const QString& workingDirectory, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    ProcessResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
    } else {
        result.finished = process.exitStatus() == QProcess::NormalExit;
        result.exitCode = process.exitCode();
    }
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    if (process.error() == QProcess::FailedToStart)
        result.err += "failed to start " + program.toStdString();
    return result;
}

bool haveProgram(const QString& name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

QProcessEnvironment offscreenEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

} // namespace zolbin::test
