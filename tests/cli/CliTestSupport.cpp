// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/cli/CliTestSupport.h"

#include "cli/ZolbinSend.h"
#include "directory/Settings.h"
#include "platform/ProfileFile.h"
#include "records/Session.h"
#include "tests/support/Companies.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace zolbin::test {

namespace {

std::string in(const std::string& folder, const char* name)
{
    return folder + "/" + name;
}

} // namespace

TProvider& DirectoryFiles::company(const std::string& name, std::uint8_t gate, std::uint16_t port,
                                   const std::string& charset)
{
    auto p = std::make_shared<TProvider>(test::LoopbackCompany(name, gate, port, charset, "@gw.example"));
    providers.Add(p);
    return *p;
}

AbonentPtr DirectoryFiles::subscriber(const std::string& name, std::int32_t number,
                                      const std::string& company, std::int32_t msgLen, bool digital)
{
    auto a = std::make_shared<TAbonent>();
    a->Name = name;
    a->Number = number;
    a->MsgLen = msgLen;
    a->Numeric = digital ? 1 : 0;
    a->Provider = company;
    abonents.Add(a);
    return a;
}

void DirectoryFiles::group(const std::string& name, const std::vector<AbonentPtr>& members)
{
    auto g = std::make_shared<TGroup>();
    g->Name = name;
    for (const AbonentPtr& m : members)
        g->Members.Add(m);
    groups.Add(g);
}

void DirectoryFiles::write(const std::string& folder) const
{
    ASSERT_TRUE(abonents.SaveToFile(in(folder, AbonentFileName)));
    ASSERT_TRUE(groups.SaveToFile(in(folder, GroupFileName)));
    ASSERT_TRUE(providers.SaveToFile(in(folder, CompanyFileName)));
}

void WriteSettings(const std::string& folder, const std::map<std::string, std::string>& sender)
{
    ProfileFile file(in(folder, SettingsFileName));
    std::map<std::string, std::string> keys = {{"SMTPServer", "127.0.0.1"}, {"EMail", "op@example.org"}};
    for (const auto& [key, value] : sender)
        keys[key] = value;
    for (const auto& [key, value] : keys)
        ASSERT_TRUE(file.writeString(SectionSender, key, value));
}

void CopyCodeTables(const std::string& folder)
{
    for (const char* name : {"1251-koi.cod", "1251-866.cod"})
        fs::copy_file(fs::path(ZOLBIN_SOURCE_DIR) / "data" / name, fs::path(folder) / name,
                      fs::copy_options::overwrite_existing);
}

CliRun RunInProcess(const std::vector<std::string>& arguments, const std::string& input,
                    const SendDeadlines& deadlines)
{
    // As in zolbin-send's main(): the outbox's worker runs in the application's event loop.
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "zolbin-send";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }
    std::istringstream stdinStream(input);
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    Session session(DataFolder::Current()); // as in main(), until --data-dir names the folder
    ZolbinSend program(session, stdinStream, out, err);
    program.SetDeadlines(deadlines);
    run.status = program.Run(arguments);
    run.out = out.str();
    run.err = err.str();
    return run;
}

namespace {

CliRun runProcess(const QString& program, const QStringList& args, const std::string& folder,
                  const std::string& input, int timeoutMs)
{
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(folder));
    process.start(program, args);
    CliRun run;
    if (!process.waitForStarted(10000))
        return run;
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        run.err = "timed out";
        return run;
    }
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

QStringList toQStrings(const std::vector<std::string>& arguments)
{
    QStringList args;
    for (const std::string& a : arguments)
        args << QString::fromStdString(a);
    return args;
}

} // namespace

CliRun RunExecutable(const std::vector<std::string>& arguments, const std::string& folder,
                     const std::string& input, int timeoutMs)
{
    return runProcess(QStringLiteral(ZOLBIN_SEND_EXECUTABLE), toQStrings(arguments), folder, input,
                      timeoutMs);
}

CliRun RunExecutableIntoClosedPipe(const std::vector<std::string>& arguments, const std::string& folder)
{
    const QStringList args =
        QStringList{QStringLiteral("-c"),
                    QStringLiteral("set -o pipefail; \"$0\" \"$@\" 2>&1 >/dev/null | head -c 1"),
                    QStringLiteral(ZOLBIN_SEND_EXECUTABLE)} +
        toQStrings(arguments);
    return runProcess(QStringLiteral("/bin/bash"), args, folder, {}, 60000);
}

std::vector<std::string> Utf8Lines(const std::string& cp1251Bytes)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < cp1251Bytes.size()) {
        const std::size_t end = cp1251Bytes.find("\r\n", from);
        if (end == std::string::npos) {
            lines.push_back(utf8(cp1251Bytes.substr(from)));
            break;
        }
        lines.push_back(utf8(cp1251Bytes.substr(from, end - from)));
        from = end + 2;
    }
    return lines;
}

} // namespace zolbin::test
