// SPDX-License-Identifier: GPL-3.0-or-later
// zolbin-send in this process against the scripted server: the same pages, journal and archive as the
// window's send; what it prints; the exit statuses; and that it writes nothing but journal and archive.

#include "cli/ExitStatus.h"
#include "directory/Records.h"
#include "directory/Settings.h"
#include "dispatch/SendCommand.h"
#include "dispatch/TapLink.h"
#include "platform/Net.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TapTerminal.h"
#include "tests/support/TempDir.h"

#include <QRegularExpression>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

namespace {

ScriptedSession snppOk()
{
    return {{"220 SNPP ready\r\n"},
            {Reply("250 OK\r\n"), Reply("250 OK\r\n"), Reply("250 OK\r\n"), Reply("221 OK\r\n")}};
}

ScriptedSession relayOk()
{
    return {{"220 relay\r\n"},
            {Reply("250 hello\r\n"), Reply("250 sender\r\n"), Reply("250 rcpt\r\n"), DataReply("354 go\r\n"),
             Reply("250 queued\r\n"), Reply("221 bye\r\n")}};
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

class ZolbinSendTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        deadlines.net.connectMs = 3000;
        deadlines.net.replyMs = 3000;
        CopyCodeTables(cli.path());
        CopyCodeTables(window.path());
        WriteSettings(cli.path(), {{"ShortName", W("Дежурный")}, {"Name", W("Оператор")}});
    }

    // zolbin-send on the data folder cli, with the directory written first.
    CliRun run(std::vector<std::string> args, const std::string& input = {})
    {
        files.write(cli.path());
        args.insert(args.begin(), {"--data-dir", cli.path()});
        return RunInProcess(args, input, deadlines);
    }

    // The window's Send command in the folder window, with the settings the command line read.
    SendOutcome sendAsTheWindow(TSendParams params, std::int16_t group, const std::string& line, bool blocked)
    {
        RecordingHost host{window.folder()};
        host.Deadlines = deadlines;
        LoadSettings(ProfileFile(cli.path() + "/" + SettingsFileName), host.settings);
        host.lines = {line};
        host.signatureBlocked = blocked;
        PromptRecorder prompts;
        return SendCommand(host, params, group, files.groups, files.providers).Run();
    }

    std::string in(const std::string& name) const { return cli.path() + "/" + name; }

    TempDataDir cli;
    TempDataDir window; // the window's folder
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(9, 30))};
    DirectoryFiles files;
    SendDeadlines deadlines;
};

} // namespace

TEST_F(ZolbinSendTest, GroupAndUnregisteredNumberAreTheWindowsPages)
{
    ScriptedServer snpp({snppOk(), snppOk()});
    ScriptedServer relay({relayOk(), relayOk(), relayOk(), relayOk()});
    files.company("Beeper", Gate::SNPP, snpp.port());
    files.company("Mail", Gate::SMTP, relay.port(), "WIN-1251");
    files.group(W("Дежурные"),
                {files.subscriber(W("Аня"), 111, "Beeper"), files.subscriber(W("Боря"), 222, "Mail")});

    CliRun r = run({"--group", "Дежурные", "Авария", "на", "узле"});
    ASSERT_EQ(r.status, ExitStatus::Accepted) << r.err;
    EXPECT_THAT(r.err,
                HasSubstr("Инициализация...\nОтправка сообщения для абонента Аня\nСоединение с сервером...\n"
                          "Попытка 1...\n220 SNPP ready\nПосылка: PAGE 111\nОтвет: 250 OK\n"));
    r = run({"--number", "333", "--company", "Mail", "--no-signature", "Авария"});
    ASSERT_EQ(r.status, ExitStatus::Accepted) << r.err;

    TSendParams unlisted; // as the unregistered subscriber dialog leaves it
    unlisted.CurNumber = 333;
    unlisted.CurProvider = "Mail";
    unlisted.CurMaxLen = 240;
    EXPECT_EQ(sendAsTheWindow({}, 0, W("Авария на узле"), false), SendOutcome::Completed);
    EXPECT_EQ(sendAsTheWindow(unlisted, -1, W("Авария"), true), SendOutcome::Completed);

    // Per server the command line's sessions come first, then the window's, in the same order.
    const auto pages = snpp.received();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], pages[1]);
    const auto mails = relay.received();
    ASSERT_EQ(mails.size(), 4u);
    EXPECT_EQ(mails[0], mails[2]);
    EXPECT_EQ(mails[1], mails[3]);
    EXPECT_THAT(mails[0], HasSubstr(W("Авария на узле. Дежурный\r\n")));
    EXPECT_THAT(mails[1], HasSubstr(W("To: 333@gw.example\r\n\r\nАвария\r\n.\r\n")));

    EXPECT_EQ(Utf8Lines(cli.read(JournalFileName)), Utf8Lines(window.read(JournalFileName)));
    EXPECT_EQ(cli.read(JournalFileName), window.read(JournalFileName));
    for (const std::string& name : {W("Аня"), W("Боря")}) {
        const std::string archive = "Log/" + utf8(name) + ".log"; // file names are UTF-8
        EXPECT_EQ(cli.read(archive), window.read(archive)) << utf8(name);
        EXPECT_FALSE(cli.read(archive).empty()) << utf8(name);
    }
    EXPECT_EQ(filesIn(cli.path() + "/Log").size(), 2u); // none for the number outside the directory
}

TEST_F(ZolbinSendTest, RefusedPageIsNotAcceptedAndItsMessageIsShownEvenWhenQuiet)
{
    const ScriptedSession refused{{"220 SNPP ready\r\n"}, {Reply("550 Unknown pager\r\n")}};
    ScriptedServer server({refused, refused});
    files.company("Beeper", Gate::SNPP, server.port());
    files.subscriber("A", 1, "Beeper");

    CliRun r = run({"--to", "A", "Hello"});
    EXPECT_EQ(r.status, ExitStatus::NotAccepted);
    EXPECT_THAT(r.err, HasSubstr("Ошибка: 550 Unknown pager\nzolbin-send: Абонент не доступен!\n"));
    EXPECT_THAT(r.err, HasSubstr("Ошибка: Сообщение отправлено не было\n"));
    EXPECT_FALSE(fs::exists(in("Log/A.log")));

    r = run({"--to", "A", "--quiet", "Hello"});
    EXPECT_EQ(r.status, ExitStatus::NotAccepted);
    EXPECT_EQ(r.err, "zolbin-send: Абонент не доступен!\n");
}

// In English the operator is told in English; the journal stays the Russian record it always was.
TEST_F(ZolbinSendTest, InEnglishTheMessagesAreEnglishAndTheJournalStaysRussian)
{
    const ScriptedSession refused{{"220 SNPP ready\r\n"}, {Reply("550 Unknown pager\r\n")}};
    ScriptedServer server({refused});
    files.company("Beeper", Gate::SNPP, server.port());
    files.subscriber("A", 1, "Beeper");
    files.write(cli.path());

    qputenv("LANGUAGE", "en");
    const CliRun r = RunExecutable({"--data-dir", cli.path(), "--to", "A", "Hello"}, cli.path());
    const CliRun usage = RunExecutable({"--data-dir", cli.path(), "--to", "A", "--frobnicate"}, cli.path());
    qunsetenv("LANGUAGE");
    EXPECT_EQ(usage.status, ExitStatus::Usage);
    EXPECT_THAT(usage.err, HasSubstr("unknown option --frobnicate"));
    EXPECT_EQ(r.status, ExitStatus::NotAccepted);
    EXPECT_THAT(r.err, HasSubstr("zolbin-send: The subscriber cannot be reached!\n"));
    EXPECT_THAT(r.err, Not(HasSubstr("Абонент не доступен")));
    const std::vector<std::string> journal = Utf8Lines(cli.read(JournalFileName));
    EXPECT_NE(std::find(journal.begin(), journal.end(), "Ошибка: 550 Unknown pager"), journal.end());
    EXPECT_NE(std::find(journal.begin(), journal.end(), "Ошибка: Сообщение отправлено не было"),
              journal.end());
}

// In English the help, the refusals of the command line and of the recipient, and the worker's account
// are English through and through.
TEST_F(ZolbinSendTest, InEnglishHelpRefusalsAndTheWorkersAccountHaveNoRussianLeft)
{
    files.write(cli.path());
    const struct
    {
        std::vector<std::string> args;
        int status;
        const char* said;
    } cases[] = {
        {{"--help"}, ExitStatus::Accepted, "Usage:\n  zolbin-send [--data-dir FOLDER] (--to NAME"},
        {{"--directory-import", cli.path(), "Hello"},
         ExitStatus::Usage,
         "zolbin-send: --directory-import and --directory-export are given alone, without other actions\n"},
        {{"--to", "Nobody", "Hello"},
         ExitStatus::Usage,
         "zolbin-send: subscriber “Nobody” is not in the directory (list: zolbin-send --list subscribers)\n"},
        {{"--work-outbox"}, ExitStatus::Accepted, "zolbin-send: outbox worked: 0 sent, 0 not sent\n"},
    };
    const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    qputenv("LANGUAGE", "en");
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), {"--data-dir", cli.path()});
        const CliRun r = RunExecutable(args, cli.path());
        const std::string told = r.out + r.err;
        EXPECT_EQ(r.status, c.status) << c.args.front();
        EXPECT_THAT(told, HasSubstr(c.said));
        EXPECT_FALSE(QString::fromStdString(told).contains(cyrillic)) << told;
    }
    qunsetenv("LANGUAGE");
}

TEST_F(ZolbinSendTest, AcceptedPageWhoseRecordCannotBeWrittenIsAFileErrorNotAFailure)
{
    ScriptedServer server({snppOk(), {{"220 SNPP ready\r\n"}, {Reply("554 no\r\n")}}});
    files.company("Beeper", Gate::SNPP, server.port());
    files.subscriber("A", 1, "Beeper");
    fs::create_directories(in("Log/A.log")); // the archive cannot be written

    CliRun r = run({"--to", "A", "Hello"});
    EXPECT_EQ(r.status, ExitStatus::FileError);
    EXPECT_THAT(r.err, HasSubstr("Сообщение успешно отправлено\n"));
    EXPECT_THAT(r.err, HasSubstr("zolbin-send: File access denied\n"));

    // A page that is refused is the failure that counts, whatever else went wrong.
    r = run({"--to", "A", "Hello"});
    EXPECT_EQ(r.status, ExitStatus::NotAccepted);
}

TEST_F(ZolbinSendTest, UsageAndConfigurationErrorsSendAndWriteNothing)
{
    ScriptedServer server({snppOk()});
    files.company("Beeper", Gate::SNPP, server.port());
    files.subscriber("A", 1, "Beeper", 10);
    files.write(cli.path());
    const std::vector<std::string> before = filesIn(cli.path());
    window.write("pw", "s3cret\n");
    ::chmod((window.path() + "/pw").c_str(), 0644); // group and others may read it

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--to", "A", "--smtp-password-file", window.path() + "/pw", "Hello"},
             {"--to", "Nobody", "Hello"},
             {"--to", "A", "This text is too long"},
             {"--to", "A", "--defer", "31.02.2027 10:00", "Hello"},
             {"--to", "A", "Hello ☺"},
             {"--to", "A", "--frobnicate", "Hello"},
             {"--to", "A"}, // standard input is empty
         }) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, ExitStatus::Usage) << args.back();
        EXPECT_THAT(r.err, HasSubstr("zolbin-send: ")) << args.back();
    }
    // The same file named by the environment, without the option.
    ::setenv("ZOLBIN_SMTP_PASSWORD_FILE", (window.path() + "/pw").c_str(), 1);
    const CliRun fromEnvironment = run({"--to", "A", "Hello"});
    ::unsetenv("ZOLBIN_SMTP_PASSWORD_FILE");
    EXPECT_EQ(fromEnvironment.status, ExitStatus::Usage);
    EXPECT_THAT(fromEnvironment.err, HasSubstr("доступен не только владельцу"));
    EXPECT_EQ(server.accepted(), 0);
    EXPECT_EQ(filesIn(cli.path()), before); // not even the journal
}

TEST_F(ZolbinSendTest, UnreadableOrDamagedFilesAreFileErrorsAndNothingIsCopiedAside)
{
    ScriptedServer server({snppOk()});
    files.company("Beeper", Gate::SNPP, server.port());
    files.subscriber("A", 1, "Beeper");
    files.write(cli.path());
    const std::string abonents = cli.read(AbonentFileName);
    const std::vector<std::string> hello = {"--data-dir", cli.path(), "--to", "A", "Hello"};

    cli.write(AbonentFileName, abonents + "partial record");
    CliRun r = RunInProcess(hello);
    EXPECT_EQ(r.status, ExitStatus::FileError);
    EXPECT_THAT(r.err, HasSubstr("Abonent.lst: Read beyond end of file"));
    EXPECT_EQ(cli.read(AbonentFileName), abonents + "partial record"); // left as it was
    EXPECT_EQ(RunInProcess({"--data-dir", cli.path(), "--list", "groups"}).status, ExitStatus::FileError);

    cli.write(AbonentFileName, abonents);
    fs::remove(in(GroupFileName));
    fs::create_directory(in(GroupFileName)); // a list file that cannot be read
    r = RunInProcess(hello);
    EXPECT_EQ(r.status, ExitStatus::FileError);
    EXPECT_THAT(r.err, HasSubstr("Group.lst: "));
    fs::remove(in(GroupFileName));

    fs::create_directory(in(JournalFileName)); // a journal that cannot take lines
    r = RunInProcess(hello);
    EXPECT_EQ(r.status, ExitStatus::FileError);
    EXPECT_THAT(r.err, HasSubstr("Zolbin.log: "));
    EXPECT_EQ(server.accepted(), 0);

    r = RunInProcess({"--data-dir", in("missing"), "--list", "groups"});
    EXPECT_EQ(r.status, ExitStatus::FileError);
    EXPECT_FALSE(fs::exists(in("missing"))); // no data folder is created

    for (const std::string& name : filesIn(cli.path()))
        EXPECT_THAT(name, Not(HasSubstr(".bad")));
}

TEST_F(ZolbinSendTest, ListingShowsTheDirectoryOneEntryPerLine)
{
    // Without "Company.lst" the home provider is there, as in the window, but nothing is written.
    CliRun r = RunInProcess({"--data-dir", cli.path(), "--list", "companies"});
    EXPECT_EQ(r.status, ExitStatus::Accepted);
    EXPECT_THAT(r.out, HasSubstr("Ормид-Пейдж, г.Ворль\tSMTP\t"));
    EXPECT_FALSE(fs::exists(in(CompanyFileName)));

    files.company(HomeProviderName(), Gate::SMTP, 25);
    files.company("Beeper", Gate::SNPP, 444, "DOS");
    files.company("Tap", Gate::TAP, 0).TapPhone = "5551234";
    const AbonentPtr a = files.subscriber(W("Иванов"), 1234567, "Beeper", 160);
    const AbonentPtr b = files.subscriber("Digi\x1B[2J", 42, HomeProviderName(), 20, true);
    files.group(W("Дежурные"), {a, b});
    files.group("Empty", {});

    r = run({"--list", "subscribers"});
    EXPECT_EQ(r.status, ExitStatus::Accepted);
    EXPECT_EQ(r.out,
              "Иванов -- 1234567\tBeeper\t160\nDigi\\x1B[2J -- 42\tОрмид-Пейдж, г.Ворль\t20\tцифровой\n");
    EXPECT_EQ(run({"--list", "groups"}).out, "Дежурные\tИванов, Digi\\x1B[2J\nEmpty\t\n");
    EXPECT_EQ(run({"--list", "companies"}).out, "Ормид-Пейдж, г.Ворль\tSMTP\t@gw.example\t25\tKOI8-R\n"
                                                "Beeper\tSNPP\t127.0.0.1\t444\tDOS\n"
                                                "Tap\tTAP\t5551234\t\t\n");
}

TEST_F(ZolbinSendTest, TapCompanyIsPagedThroughTheModemOfTapDevice)
{
    deadlines.tap.guardMs = 10;
    TapTerminal terminal(TapBehaviour{}, ModemBehaviour{});
    files.company("Tap", Gate::TAP, 0).TapPhone = "5551234";
    files.subscriber("Tapper", 42, "Tap");
    const CliRun result =
        run({"--tap-device", terminal.slavePath(), "--no-signature", "--to", "Tapper", "Test"});
    EXPECT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(terminal.pages().size(), 1u);
    EXPECT_EQ(terminal.pages()[0].pager, "42");
    EXPECT_EQ(terminal.pages()[0].message, "Test");
    EXPECT_THAT(result.err, HasSubstr("Ответ: CONNECT 9600"));
}
