// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SendRequest.h"

#include "cli/DirectoryReader.h"
#include "cli/ExitStatus.h"
#include "directory/Records.h"
#include "directory/WctpFields.h"
#include "records/Session.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::HasSubstr;

namespace {

class SendRequestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        files.company(HomeProviderName(), Gate::SMTP, 25);
        files.company("Beeper", Gate::SNPP, 444);
        files.company("Mail", Gate::SMTP, 25);
        files.company("Tap", Gate::TAP, 0);
        StoreWctpFields(files.company("Carrier", Gate::WCTP, 0),
                        {"https://wctp.example/wctp", "desk", "", "#"});
        StoreWctpFields(files.company("Ftp", Gate::WCTP, 0), {"ftp://wctp.example/", "desk", "", "#"});
        session.settings.SMTPServer = "relay.example";
        session.settings.EMail = "op@example.org";
    }

    SendRequest prepare(std::vector<std::string> args, const std::string& text = "Hello")
    {
        session.abonents = files.abonents;
        session.groups = files.groups;
        session.providers = files.providers;
        return PrepareSend(ParseArguments(args), session, MessageFromInput(text));
    }

    // The refusal's text; fails the test when the request was accepted or the status is not "usage".
    std::string refusal(std::vector<std::string> args, const std::string& text = "Hello")
    {
        try {
            prepare(std::move(args), text);
            ADD_FAILURE() << "accepted";
            return {};
        } catch (const CliError& e) {
            EXPECT_EQ(e.status(), ExitStatus::Usage);
            return e.what();
        }
    }

    DirectoryFiles files;
    TempDataDir dir; // nothing is written there
    Session session{dir.folder()};
};

} // namespace

TEST_F(SendRequestTest, SubscriberIsChosenAsTheWindowChoosesItWithTheEditorsLimits)
{
    files.subscriber(W("Иванов"), 1234567, "Beeper", 80);
    files.subscriber("Five", 1, "Beeper", 5);
    files.subscriber("Free", 2, "Beeper", 0);
    files.subscriber("Digi", 5, "Beeper", 240, true);

    const SendRequest r = prepare({"--to", "ИВАНОВ"}); // letter case is ignored when nothing matches exactly
    EXPECT_EQ(r.params.CurName, W("Иванов"));
    EXPECT_EQ(r.params.CurNumber, 1234567);
    EXPECT_EQ(r.params.CurProvider, "Beeper");
    EXPECT_EQ(r.params.CurMaxLen, 80);
    EXPECT_EQ(r.curGroup, -1);
    EXPECT_TRUE(r.params.DeferDate.empty());
    EXPECT_THAT(refusal({"--to", "Петров"}), HasSubstr("«Петров» не найден"));

    // A line break counts two; a limit of 0 is none; blanks are a text but nothing is not.
    EXPECT_NO_THROW(prepare({"--to", "Five"}, "ab\nc"));
    EXPECT_THAT(refusal({"--to", "Five"}, "ab\ncd"), HasSubstr("6 символов при пределе 5"));
    EXPECT_NO_THROW(prepare({"--to", "Free"}, std::string(1000, 'x')));
    EXPECT_THAT(refusal({"--to", "Free"}, "\n"), HasSubstr("Необходимо набрать текст сообщения"));

    EXPECT_NO_THROW(prepare({"--to", "Digi"}, "123-45 [6] u U"));
    EXPECT_THAT(refusal({"--to", "Digi"}, "call 123"), HasSubstr("цифровой пейджер"));
    EXPECT_THAT(refusal({"--to", "Digi"}, "123\n456"), HasSubstr("цифровой пейджер"));
}

TEST_F(SendRequestTest, CompaniesThatCannotCarryThePageAreRefusedBeforeAnyConnection)
{
    files.subscriber("NoCompany", 1, "");
    files.subscriber("Gone", 2, "Vanished");
    files.subscriber("Tapped", 3, "Tap");
    files.subscriber("Mailed", 4, "Mail");
    EXPECT_THAT(refusal({"--to", "NoCompany"}), HasSubstr("не указана пейдж. компания"));
    EXPECT_THAT(refusal({"--to", "Gone"}), HasSubstr("«Vanished» не найдена"));
    EXPECT_THAT(refusal({"--to", "Tapped"}), HasSubstr("«TapPhone»"));
    for (const auto& [phone, refused] : std::vector<std::pair<std::string, std::string>>{
             {"123;ATH", "не набрать модемом"}, {"5551234", "«Device»"}, {"[::1]:444", ""}}) {
        files.providers.Items(files.providers.IndexOfName("Tap"))->TapPhone = phone;
        session.settings.TapDevice = "";
        if (refused.empty())
            EXPECT_NO_THROW(prepare({"--to", "Tapped"}));
        else
            EXPECT_THAT(refusal({"--to", "Tapped"}), HasSubstr(refused)) << phone;
    }
    EXPECT_NO_THROW(prepare({"--to", "Mailed"}));
    session.settings.EMail.clear();
    EXPECT_THAT(refusal({"--to", "Mailed"}), HasSubstr("«EMail»"));
    session.settings.EMail = "op@example.org";
    session.settings.SMTPServer.clear();
    EXPECT_THAT(refusal({"--to", "Mailed"}), HasSubstr("«SMTPServer»"));
}

TEST_F(SendRequestTest, GroupTakesItsShortestLimitAndEveryMemberIsChecked)
{
    const AbonentPtr a = files.subscriber("A", 1, "Beeper", 240);
    const AbonentPtr b = files.subscriber("B", 2, "Mail", 20);
    const AbonentPtr d = files.subscriber("D", 3, "Beeper", 240, true);
    const AbonentPtr lost = files.subscriber("Lost", 4, "Vanished");
    files.group("Team", {a, b});
    files.group("WithDigital", {a, d});
    files.group("WithLost", {a, lost, b});
    files.group("Nobody", {});

    const SendRequest r = prepare({"--group", "team"});
    EXPECT_EQ(r.curGroup, 0);
    EXPECT_EQ(r.params.CurMaxLen, 20);
    EXPECT_EQ(r.params.CurNumber, 0); // the send fills the members in turn
    EXPECT_THAT(refusal({"--group", "Team"}, std::string(21, 'x')), HasSubstr("пределе 20"));
    EXPECT_THAT(refusal({"--group", "WithDigital"}), HasSubstr("«D» из группы «WithDigital»"));
    EXPECT_THAT(refusal({"--group", "WithLost"}), HasSubstr("«Lost» из группы «WithLost»"));
    EXPECT_THAT(refusal({"--group", "Nobody"}), HasSubstr("нет ни одного абонента"));
    EXPECT_THAT(refusal({"--group", "Others"}), HasSubstr("не найдена"));
}

TEST_F(SendRequestTest, UnregisteredNumberIsAsTheUnlistedDialogLeavesIt)
{
    const SendRequest r = prepare({"--number", "0012345", "--company", "beeper"}, std::string(240, 'x'));
    EXPECT_EQ(r.params.CurNumber, 12345);
    EXPECT_TRUE(r.params.CurName.empty()); // so no archive entry
    EXPECT_EQ(r.params.CurProvider, "Beeper");
    EXPECT_EQ(r.params.CurDigital, 0);
    EXPECT_EQ(r.params.CurMaxLen, 240);
    EXPECT_THAT(refusal({"--number", "12345", "--company", "Beeper"}, std::string(241, 'x')),
                HasSubstr("пределе 240"));
    EXPECT_THAT(refusal({"--number", "12a", "--company", "Beeper"}),
                HasSubstr("«12a» неверное целочисленное"));
    EXPECT_THAT(refusal({"--number", "99999999999", "--company", "Beeper"}), HasSubstr("неверное"));
    EXPECT_THAT(refusal({"--number", "0", "--company", "Beeper"}), HasSubstr("не может быть 0"));
    EXPECT_THAT(refusal({"--number", "1", "--company", "Nowhere"}), HasSubstr("«Nowhere» не найдена"));
}

TEST_F(SendRequestTest, DeferralAndRepeatsAreSetAsTheServiceDialogSetsThem)
{
    files.subscriber("A", 1, "Beeper");
    SendRequest r = prepare({"--to", "A", "--defer", "5.3.2027 9:05", "--repeat", "2", "--interval", "1:30"});
    EXPECT_EQ(r.params.DeferDate, "05.03.2027");
    EXPECT_EQ(r.params.DeferTime, "09:05");
    EXPECT_EQ(r.params.RepeatCount, 2);
    EXPECT_EQ(r.params.RepeatInterval, "01:30");
    EXPECT_EQ(utf8(r.serviceSummary.russian()), "Отложено на 05.03.2027 09:05, повторы - 2*01:30");

    r = prepare({"--to", "A", "--repeat", "1", "--interval", "00:15"});
    EXPECT_TRUE(r.params.DeferDate.empty());
    EXPECT_EQ(r.params.RepeatCount, 1);
    EXPECT_EQ(r.params.RepeatInterval, "00:15");

    for (const char* bad : {"29.02.2027 10:00", "32.01.2027 10:00", "01.13.2027 10:00", "01.01.2027 24:00",
                            "01.01.2027 10:60", "01.01.27 10:00", "2027-01-01 10:00", "01.01.2027"})
        EXPECT_THAT(refusal({"--to", "A", "--defer", bad}), HasSubstr("--defer")) << bad;
    EXPECT_NO_THROW(prepare({"--to", "A", "--defer", "29.02.2028 23:59"})); // a leap year
    EXPECT_THAT(refusal({"--to", "A", "--repeat", "3", "--interval", "00:10"}), HasSubstr("--repeat"));
    EXPECT_THAT(refusal({"--to", "A", "--repeat", "1", "--interval", "24:00"}), HasSubstr("--interval"));
    EXPECT_THAT(refusal({"--to", "A", "--repeat", "1", "--interval", "0:5"}), HasSubstr("--interval"));
}

TEST_F(SendRequestTest, ServiceFunctionsOnlyWhereTheWindowOffersThem)
{
    files.subscriber("Home", 1, HomeProviderName());
    files.group("Mixed", {files.subscriber("Paged", 3, "Beeper"), files.subscriber("Mailed", 4, "Mail")});
    const auto deferred = [](std::vector<std::string> args) {
        args.insert(args.end(), {"--defer", "01.01.2027 10:00"});
        return args;
    };
    EXPECT_NO_THROW(prepare(deferred({"--to", "Home"}))); // the home provider, whatever its gate
    EXPECT_NO_THROW(prepare(deferred({"--number", "7", "--company", "Beeper"})));
    EXPECT_NO_THROW(prepare(deferred({"--number", "7", "--company", "Carrier"})));
    EXPECT_THAT(refusal(deferred({"--to", "Mailed"})), HasSubstr("недоступны"));
    EXPECT_THAT(refusal(deferred({"--group", "Mixed"})), HasSubstr("недоступны"));
    EXPECT_THAT(refusal(deferred({"--number", "7", "--company", "Mail"})), HasSubstr("недоступны"));
}

TEST_F(SendRequestTest, WctpCompanyWithoutAnHttpUrlIsRefusedBeforeSending)
{
    EXPECT_THAT(refusal({"--number", "7", "--company", "Ftp"}), HasSubstr("http://"));
    EXPECT_NO_THROW(prepare({"--number", "7", "--company", "Carrier"}));
}

// The worker and the listeners read the folder again when it changed: the lists are the files', not what
// they held plus the files', and a damaged file leaves the lists read before.
TEST_F(SendRequestTest, DirectoryReadAgainHoldsTheFilesOnceAndSurvivesADamagedFile)
{
    files.group("Смена", {files.subscriber("Иванов", 1001, "Beeper")});
    files.write(dir.path());
    ReadDirectory(session);
    ReadDirectory(session);
    EXPECT_EQ(session.abonents.Count(), 1);
    EXPECT_EQ(session.groups.Count(), 1);
    EXPECT_EQ(session.providers.Count(), files.providers.Count());

    // Read again only when a file is not the one read last.
    DirectoryRefresh refresh;
    EXPECT_TRUE(refresh(session));
    EXPECT_FALSE(refresh(session));
    files.subscriber("Петров", 1002, "Beeper");
    files.write(dir.path());
    EXPECT_TRUE(refresh(session));
    EXPECT_EQ(session.abonents.Count(), 2);

    dir.write("Group.lst", std::string(7, 'x')); // shorter than a group's header
    EXPECT_THROW(ReadDirectory(session), CliError);
    EXPECT_EQ(session.groups.Count(), 1);
    EXPECT_EQ(session.abonents.Count(), 2);
}
