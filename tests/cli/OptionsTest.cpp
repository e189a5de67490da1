// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include "cli/ExitStatus.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace zolbin;
using ::testing::ElementsAre;

TEST(SendOptions, OptionsAndMessageWordsMayBeMixedAndDoubleDashEndsTheOptions)
{
    const SendOptions o = ParseArguments({"--to", "Иванов", "Disk", "--defer=31.12.2026 23:59", "full",
                                          "--quiet", "--", "--stop-on-error", "-5"});
    EXPECT_EQ(o.action, SendOptions::Action::Send);
    EXPECT_EQ(o.to, "Иванов");
    EXPECT_EQ(o.defer, "31.12.2026 23:59");
    EXPECT_TRUE(o.quiet);
    EXPECT_FALSE(o.stopOnError);
    EXPECT_THAT(o.message, ElementsAre("Disk", "full", "--stop-on-error", "-5"));

    // A value is the next argument whatever it looks like: a negative pager number.
    const SendOptions n = ParseArguments({"--number", "-5", "--company", "X"});
    EXPECT_EQ(n.number, "-5");
    EXPECT_TRUE(n.message.empty());

    EXPECT_EQ(ParseArguments({"--to", "a", "--smtp-password-file", "/run/pw"}).smtpPasswordFile, "/run/pw");
}

TEST(SendOptions, HelpNeedsNoRecipientAndListTakesItsKind)
{
    EXPECT_EQ(ParseArguments({"--to", "x", "--help"}).action, SendOptions::Action::Help);
    const SendOptions l = ParseArguments({"--data-dir", "/tmp", "--list", "companies"});
    EXPECT_EQ(l.action, SendOptions::Action::List);
    EXPECT_EQ(l.listing, SendOptions::Listing::Companies);
    EXPECT_EQ(l.dataDir, "/tmp");
    const SendOptions o = ParseArguments({"--outbox", "service=room", "--list", "outbox", "--all"});
    EXPECT_EQ(o.listing, SendOptions::Listing::Outbox);
    EXPECT_TRUE(o.all);
    EXPECT_EQ(o.outbox, "service=room");
    // The gates as bits of their numbers: SNPP 0, SMTP 1, TAP 2, SMS 3, WCTP 4.
    EXPECT_EQ(ParseArguments({"--work-outbox", "--gates", "SMS, tap"}).gates, 0b01100u);
    EXPECT_EQ(ParseArguments({"--work-outbox", "--gates", "none"}).gates, 0u);
    EXPECT_EQ(ParseArguments({"--work-outbox", "--follow", "--listen-snpp", "[::1]:4444"}).listenSnpp,
              "[::1]:4444");
    EXPECT_EQ(ParseArguments({"--work-outbox", "--follow", "--listen-http", "0.0.0.0:8080"}).listenHttp,
              "0.0.0.0:8080");
}

TEST(SendOptions, EveryMalformedCommandLineIsAUsageError)
{
    const std::vector<std::vector<std::string>> bad = {
        {},                                                          // no recipient
        {"hello"},                                                   // still no recipient
        {"--to", "a", "--group", "b"},                               // two recipients
        {"--number", "5"},                                           // a number needs its company
        {"--to", "a", "--company", "X"},                             // a company only with a number
        {"--to", "a", "--repeat", "1"},                              // repeats need an interval
        {"--to", "a", "--interval", "00:10"},                        // an interval needs repeats
        {"--to"},                                                    // no value
        {"--to", "a", "--to", "b"},                                  // given twice
        {"--to", "a", "--bogus"},                                    // unknown
        {"--to", "a", "--quiet=1"},                                  // a flag takes no value
        {"--data-dir=", "--to", "a"},                                // an empty folder name
        {"--to", "a", "--smtp-password-file="},                      // an empty password file name
        {"--list", "people"},                                        // unknown listing
        {"--list", "groups", "--to", "a"},                           // a listing sends nothing
        {"--list", "groups", "text"},                                // ... and takes no text
        {"--follow"},                                                // follows nothing without --work-outbox
        {"--follow", "--to", "a", "text"},                           // ... and never sends a page
        {"--work-outbox", "--gates", "fax"},                         // no such gate
        {"--work-outbox", "--gates", ""},                            // no gate at all
        {"--work-outbox", "--gates", "none,sms"},                    // none is alone
        {"--list", "groups", "--all"},                               // --all lists the outbox only
        {"--outbox=", "--list", "outbox"},                           // an empty address
        {"--work-outbox", "--listen-snpp", "127.0.0.1:4444"},        // listens only following
        {"--to", "a", "--listen-snpp", "127.0.0.1:4444", "text"},    // ... never for one page
        {"--work-outbox", "--follow", "--listen-snpp", "127.0.0.1"}, // no port
        {"--work-outbox", "--follow", "--listen-snpp", "::1:4444"},  // IPv6 without brackets
        {"--work-outbox", "--follow", "--listen-snpp", "127.0.0.1:70000"}, // no such port
        {"--work-outbox", "--listen-http", "127.0.0.1:8080"},              // the same for HTTP
        {"--queue", "--to", "a", "--listen-http", "127.0.0.1:8080", "text"},
        {"--list", "outbox", "--listen-http", "127.0.0.1:8080"},
        {"--work-outbox", "--follow", "--listen-http", "localhost:"},
    };
    for (const auto& args : bad) {
        std::string shown;
        for (const auto& a : args)
            shown += a + " ";
        try {
            ParseArguments(args);
            ADD_FAILURE() << "accepted: " << shown;
        } catch (const CliError& e) {
            EXPECT_EQ(e.status(), ExitStatus::Usage) << shown;
            EXPECT_STRNE(e.what(), "") << shown;
            if (!args.empty() && args.front() == "--follow") {
                EXPECT_NE(std::string(e.what()).find("--work-outbox"), std::string::npos) << e.what();
            }
        }
    }
}
