// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Connection.h"

#include "dispatch/SocketErrors.h"
#include "tests/unit/dispatch/NetTestSupport.h"

#include <fcntl.h>

using namespace zolbin;
using namespace zolbin::test;
using ::testing::ElementsAre;

using Connection = NetTest;

TEST_F(Connection, RefusedThreeTimesGivesSevenJournalLinesAndTheTwoPauses)
{
    const std::uint16_t port = ScriptedServer::closedPort();
    EXPECT_EQ(ConnectToServer(host, sockets, "127.0.0.1", port), -1);
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Соединение с сервером...", "Попытка 1...", "Ошибка: Соединение невозможно.",
                            "Попытка 2...", "Ошибка: Соединение невозможно.", "Попытка 3...",
                            "Ошибка: Соединение невозможно."));
    EXPECT_EQ(host.beeps, 3);
    EXPECT_EQ(sockets.Count(), 3u); // each attempt's socket stays open until the set closes it
    EXPECT_GE(host.pausedMs(), 4000u + 7 * 100u);
    EXPECT_EQ(std::count(host.pauses.begin(), host.pauses.end(), 2000u), 2);
}

TEST_F(Connection, UnknownHostThreeTimesEndsTheBlockWithAnEmptyLine)
{
    EXPECT_EQ(ConnectToServer(host, sockets, "no-such-host.invalid", 444), -1);
    const auto lines = JournalLines(dir.folder());
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Соединение с сервером...");
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(lines[1 + 2 * attempt], "Попытка " + std::to_string(attempt + 1) + "...");
        // Without a resolver the look-up may also answer "try again"; both texts name the host.
        EXPECT_EQ(lines[2 + 2 * attempt].rfind("Ошибка: Хост не найден.", 0), 0u) << lines[2 + 2 * attempt];
    }
    EXPECT_EQ(lines[7], "");
}

TEST_F(Connection, GreetingIsShownWholeAndJournaledWithoutItsLineEnd)
{
    ScriptedServer server({ScriptedSession{{"220 snpp ", "ready\r\n"}, {}}});
    const int s = ConnectToServer(host, sockets, "127.0.0.1", server.port());
    EXPECT_GE(s, 0);
    EXPECT_EQ(host.statuses.back(), "220 snpp ready\r\n");
    EXPECT_THAT(JournalLines(dir.folder()),
                ElementsAre("Соединение с сервером...", "Попытка 1...", "220 snpp ready"));
    EXPECT_EQ(host.LocalAddr, 0x7F000001u);
    EXPECT_EQ(host.beeps, 0);
    sockets.CloseAll();
    EXPECT_EQ(::fcntl(s, F_GETFD), -1);
}

TEST_F(Connection, OnlyThePortsLowSixteenBitsCount)
{
    ScriptedServer server({ScriptedSession{{"220 ok\r\n"}, {}}});
    EXPECT_GE(ConnectToServer(host, sockets, "127.0.0.1", 65536 + server.port()), 0);
    EXPECT_EQ(server.accepted(), 1);
}

TEST_F(Connection, SilentOrRefusedGreetingEndsTheConnectionAtOnceWithItsReason)
{
    ScriptedReply silent;
    silent.silent = true;
    const struct
    {
        ScriptedSession session;
        const char* journaled;
    } cases[] = {
        {{{}, {silent}}, "Ошибка: Время ожидания истекло."},
        {{{"421 too busy\r\n"}, {}}, "Ошибка: 421 too busy"},
        {{{"554 no ", "service\r\n"}, {}}, "Ошибка: 554 no service"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.journaled);
        TempDataDir caseDir;
        RecordingHost fresh{caseDir.folder()};
        fresh.Deadlines.net.replyMs = 300;
        ASSERT_TRUE(fresh.journal.EnsureExists());
        ScriptedServer server({c.session, c.session});
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(ConnectToServer(fresh, sockets, "127.0.0.1", server.port()), -1);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1500));
        EXPECT_EQ(server.accepted(), 1); // no second attempt
        EXPECT_THAT(JournalLines(caseDir.folder()),
                    ElementsAre("Соединение с сервером...", "Попытка 1...", c.journaled));
        EXPECT_EQ(utf8(fresh.statuses.back()).rfind(c.journaled, 0), 0u);
        EXPECT_EQ(fresh.beeps, 1);
    }
}

TEST_F(Connection, GreetingClosedWithoutAWordLeavesAnEmptyStatusAndLine)
{
    ScriptedServer server({ScriptedSession{{}, {}}}); // accepts, then closes at once
    EXPECT_GE(ConnectToServer(host, sockets, "127.0.0.1", server.port()), 0);
    EXPECT_EQ(host.statuses.back(), "");
    EXPECT_THAT(JournalLines(dir.folder()), ElementsAre("Соединение с сервером...", "Попытка 1...", ""));
}

TEST(DottedAddress, BroadcastAndMalformedTextsAreNotDottedAddresses)
{
    EXPECT_EQ(net::InetAddr("127.0.0.1"), 0x7F000001u);
    EXPECT_EQ(net::InetAddr("10.1.2.3"), 0x0A010203u);
    EXPECT_EQ(net::InetAddr("255.255.255.255"), net::InaddrNone);
    for (const char* text : {"", "localhost", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4 ", "1..2.3"})
        EXPECT_EQ(net::InetAddr(text), net::InaddrNone) << text;
    EXPECT_EQ(net::InetNtoa(0xC0A80001u), "192.168.0.1");
}

TEST(SocketErrorTexts, KnownAndUnknownNumbers)
{
    EXPECT_EQ(utf8(SocketErrorText(10061)), "Соединение невозможно.");
    EXPECT_EQ(utf8(SocketErrorText(10052)), "Истекло время ожидания соединения.");
    EXPECT_EQ(utf8(SocketErrorText(11004)), "Ошибка DNS.");
    EXPECT_EQ(utf8(SocketErrorText(10036)), utf8(SocketErrorText(10037)));
    for (int code : {0, 10043, 10044, 10059, 10062, 10063, 11003})
        EXPECT_EQ(utf8(SocketErrorText(code)), "Неизвестная ошибка.") << code;
}

// A connection's error, whichever way the socket layer gives it, is shown with the text of its number.
TEST(SocketErrorTexts, ErrorsOfTheSocketLayerKeepTheirNumbersAndTexts)
{
    const struct
    {
        std::error_code error;
        int number;
        const char* text;
    } cases[] = {
        {std::make_error_code(std::errc::connection_refused), 10061, "Соединение невозможно."},
        {{ECONNREFUSED, std::system_category()}, 10061, "Соединение невозможно."},
        {std::make_error_code(std::errc::timed_out), 10060, "Время ожидания истекло."},
        {{EPIPE, std::system_category()}, 10054, "Соединение закрыто удаленным хостом."},
        {std::make_error_code(std::errc::connection_reset), 10054, "Соединение закрыто удаленным хостом."},
        {std::make_error_code(std::errc::invalid_argument), 10022, "Неверный аргумент."},
        {std::make_error_code(std::errc::message_size), 10040, "Сообщение очень длинное."},
        {{EHOSTUNREACH, std::system_category()}, 10065, "Нет маршрута к хосту."},
        {net::LookUpError::HostNotFound, 11001, "Хост не найден."},
        {net::LookUpError::TryAgain, 11002, "Хост не найден. Попытайтесь в другой раз."},
        {net::LookUpError::NoRecovery, 11003, "Неизвестная ошибка."},
        {net::LookUpError::NoData, 11004, "Ошибка DNS."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SocketErrorNumber(c.error), c.number) << c.error.message();
        EXPECT_EQ(utf8(SocketErrorText(c.error)), c.text) << c.error.message();
    }
}
