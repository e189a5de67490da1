// SPDX-License-Identifier: GPL-3.0-or-later
// SNPP dialogues heard from the server's side: each line's reply code, and the pages the sink was given.
#include "intake/SnppSession.h"

#include "platform/Codepage.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace zolbin;

namespace {

struct RecordingSink : PageSink
{
    SinkAnswer answer;
    std::vector<IncomingPage> pages;
    SinkAnswer store(const IncomingPage& page) override
    {
        if (answer.kind == SinkAnswer::Kind::Stored)
            pages.push_back(page);
        return answer;
    }
};

struct Directory
{
    TAbonentList subscribers;
    TGroupList groups;
    Directory()
    {
        auto add = [this](const char* name, std::int32_t number, std::int32_t limit, std::uint8_t numeric) {
            auto a = std::make_shared<TAbonent>();
            a->Name = name;
            a->Number = number;
            a->MsgLen = limit;
            a->Numeric = numeric;
            subscribers.Add(a);
            return a;
        };
        auto ivanov = add("Ivanov", 1001, 20, 0);
        add("Digi", 2002, 0, 1);
        auto duty = std::make_shared<TGroup>();
        duty->Name = "Duty";
        duty->Members.Add(ivanov);
        groups.Add(duty);
        auto night = std::make_shared<TGroup>();
        night->Name = "Night shift";
        night->Members.Add(ivanov);
        groups.Add(night);
    }
};

struct Case
{
    const char* name;
    std::string script;                   // "line=code|line=code": each line and the code its reply ends with
    std::vector<std::string> storedTexts; // cp1251, of the pages the sink stored
    std::string recipient = {};           // of the first page stored
    bool loopback = true;
    SinkAnswer::Kind sink = SinkAnswer::Kind::Stored;
    bool finished = false;
};

const std::string Cyrillic = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"; // "Привет" in UTF-8
const std::string Cp1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";                           // "Привет" in cp1251

const std::vector<Case> Cases = {
    {"ByNumber", "PAGE 1001=250|MESS pump 3 stopped=250|SEND=250", {"pump 3 stopped"}, "Ivanov"},
    {"GroupByNameAnyCase", "PAGEr duty=250|PAGE Duty=250|MESSage x=250|SEND=250", {"x"}, "Duty"},
    {"NameWithBlanksOrIdWithPassword",
     "PAGE night SHIFT=250|MESS x=250|SEND=250|PAGE 1001 4321=250|MESS y=250|SEND=250",
     {"x", "y"},
     "Night shift"},
    {"UnknownIdQueuesNothing", "PAGE 9999=550|PAGE=550|MESS hi=250|SEND=503", {}},
    {"TooLongForTheLimit", "PAGE ivanov=250|MESS 123456789012345678901=550|SEND=503", {}},
    {"TooLongForAPagerNamedAfterTheText", "MESS 123456789012345678901=250|PAGE 1001=550|SEND=503", {}},
    {"DigitalPagerTakesDigitsOnly",
     "PAGE 2002=250|MESS call back=550|MESS 123-45=250|SEND=250",
     {"123-45"},
     "Digi"},
    {"BadSequences", "SEND=503|MESS a=250|MESS b=503|DATA=503|XYZZY=500|=500", {}},
    {"DataBlock",
     "PAGE Duty=250|DATA=354|line one=0|..dotted=0|.=250|SEND=250",
     {"line one\r\n.dotted"},
     "Duty"},
    {"EmptyText", "PAGE 1001=250|DATA=354|.=550", {}},
    {"ResetForgetsThePage",
     "PAGE 1001=250|MESS a=250|RESE=250|SEND=503|PAGE 1001=250|MESS b=250|SUBJ pump=250|SEND=250",
     {"b"},
     "Ivanov"},
    {"HoldUntil",
     "HOLD 271399000000=550|HOLD 270101120000 +0300=250|PAGE 1001=250|MESS a=250|SEND=250",
     {"a"},
     "Ivanov"},
    {"Utf8AndCp1251",
     "PAGE 1001=250|MESS " + Cyrillic + "=250|SEND=250|PAGE 1001=250|MESS " + Cp1251 +
         "=250|SEND=250|PAGE 1001=250|MESS \xE2\x82\xAC\xF0\x9F\x98\x80=550",
     {Cp1251, Cp1251},
     "Ivanov"},
    {"RemoteNeedsLogin",
     "PAGE 1001=550|LOGI bob wrong=550|LOGIn bob s3cret=250|PAGE 1001=250|MESS a=250|SEND=250",
     {"a"},
     "Ivanov",
     false},
    {"SinkRefuses",
     "PAGE 1001=250|MESS a=250|SEND=554|QUIT=221",
     {},
     "",
     true,
     SinkAnswer::Kind::Refused,
     true},
    {"SinkUnreachable", "PAGE 1001=250|MESS a=250|SEND=421", {}, "", true, SinkAnswer::Kind::TryLater, true},
    {"HelpAndQuit", "HELP=250|QUIT=221", {}, "", true, SinkAnswer::Kind::Stored, true},
    {"TooManyErrors",
     "A=500|B=500|C=500|D=500|E=500|F=500|G=500|H=500|I=500|J=421",
     {},
     "",
     true,
     SinkAnswer::Kind::Stored,
     true},
};

TEST(SnppSession, Dialogues)
{
    const Directory directory;
    const ListPagerDirectory pagers(directory.subscribers, directory.groups);
    const SnppUsers users = SnppUsers::of({{"bob", "s3cret"}});
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        sink.answer.kind = c.sink;
        SnppSession session(pagers, sink, SnppClient{"10.0.0.5", c.loopback}, &users);
        EXPECT_EQ(session.greeting().substr(0, 4), "220 ");
        for (const QString& step : QString::fromLatin1(c.script).split(QLatin1Char('|'))) {
            const qsizetype at = step.lastIndexOf(QLatin1Char('='));
            const std::string line = step.left(at).toLatin1().toStdString();
            const int code = step.mid(at + 1).toInt();
            const std::vector<std::string> replies = session.feed(line);
            const int got = replies.empty() ? 0 : std::stoi(replies.back().substr(0, 3));
            EXPECT_EQ(got, code) << line << " -> " << (replies.empty() ? "" : replies.back());
        }
        EXPECT_EQ(session.finished(), c.finished);
        std::vector<std::string> texts;
        for (const IncomingPage& page : sink.pages)
            texts.push_back(page.text);
        EXPECT_EQ(texts, c.storedTexts);
        if (!sink.pages.empty()) {
            ASSERT_EQ(sink.pages[0].recipients.size(), 1u);
            EXPECT_EQ(sink.pages[0].recipients[0].name, c.recipient);
            EXPECT_EQ(sink.pages[0].from, "10.0.0.5");
        }
        if (std::string(c.name) == "HoldUntil") {
            EXPECT_EQ(sink.pages.at(0).holdUntil,
                      QDateTime(QDate(2027, 1, 1), QTime(9, 0), QTimeZone::utc()));
        }
        if (std::string(c.name) == "ResetForgetsThePage") {
            EXPECT_EQ(sink.pages.at(0).subject, "pump");
        }
    }
}

} // namespace
