// SPDX-License-Identifier: GPL-3.0-or-later
// zolbin-send with an SMS company: the page through a GSM modem of our own on a pseudo-terminal, the PIN
// from its file, and what is refused before anything is sent.

#include "cli/ExitStatus.h"
#include "dispatch/Sms.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/GsmModem.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class ZolbinSendSms : public ::testing::Test
{
protected:
    void SetUp() override
    {
        deadlines.gsm = {2000, 3000};
        WriteSettings(cli.path());
        files.company("Gsm", Gate::SMS, 0).TapPhone = "+7912#######";
        files.company("Broken", Gate::SMS, 0).TapPhone = "7912";
        files.subscriber("Smser", 42, "Gsm");
        files.subscriber("Lost", 43, "Broken");
        files.write(cli.path());
    }
    std::string pinFile(const std::string& pin, mode_t mode)
    {
        const std::string name = other.path() + "/pin" + std::to_string(mode) + pin;
        other.write("pin" + std::to_string(mode) + pin, pin + "\n");
        ::chmod(name.c_str(), mode);
        return name;
    }
    CliRun run(const GsmModem& modem, std::vector<std::string> args)
    {
        args.insert(args.begin(),
                    {"--data-dir", cli.path(), "--gsm-device", modem.slavePath(), "--no-signature"});
        return RunInProcess(args, {}, deadlines);
    }

    TempDataDir cli;
    TempDataDir other;
    DirectoryFiles files;
    SendDeadlines deadlines;
};

TEST_F(ZolbinSendSms, PageGoesThroughTheModemWithThePinFromItsFile)
{
    GsmBehaviour b;
    b.pin = "2468";
    GsmModem modem(b);
    const CliRun r = run(modem, {"--sim-pin-file", pinFile("2468", 0600), "--to", "Smser", "Привет"});
    ASSERT_EQ(r.status, ExitStatus::Accepted) << r.err;
    ASSERT_EQ(modem.messages().size(), 1u);
    EXPECT_EQ(modem.messages()[0].number, "+79120000042");
    EXPECT_EQ(modem.messages()[0].text, "Привет");
    EXPECT_THAT(r.err, HasSubstr("Посылка: AT+CPIN=***\nОтвет: OK\n"));
    EXPECT_THAT(r.err, Not(HasSubstr("2468")));
}

TEST_F(ZolbinSendSms, RefusedBeforeAnythingIsSent)
{
    GsmModem modem(GsmBehaviour{});
    const struct
    {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--sim-pin-file", pinFile("2468", 0644), "--to", "Smser", "x"}, "доступен не только владельцу"},
        {{"--sim-pin-file", pinFile("24x8", 0600), "--to", "Smser", "x"}, "PIN из 4-8 цифр"},
        {{"--to", "Lost", "x"}, "не даёт телефонного номера"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(modem, c.args);
        EXPECT_EQ(r.status, ExitStatus::Usage) << c.message;
        EXPECT_THAT(r.err, HasSubstr(c.message));
    }
    EXPECT_TRUE(modem.commands().empty());
    const CliRun empty = RunInProcess({"--data-dir", cli.path(), "--gsm-device", "", "--to", "Smser", "x"});
    EXPECT_EQ(empty.status, ExitStatus::Usage);
    EXPECT_THAT(empty.err, HasSubstr("--gsm-device: не указано устройство"));
}

} // namespace
