// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Records.h"
#include "platform/Codepage.h"
#include "tests/unit/directory/Bytes.h"

#include <gtest/gtest.h>

namespace zolbin {
namespace {

using test::Bytes;

TEST(AbonentRecord, EncodesEveryFieldAtItsOffset)
{
    TAbonent a;
    a.Name = cp("Склад");
    a.Number = 0x01020304;
    a.Numeric = 1;
    a.MsgLen = 20;
    a.Provider = cp("Пейдж-Сервис");
    a.Info = "night shift";
    const std::string expected = Bytes(220)
                                     .text(0, cp("Склад"))
                                     .int32(28, 0x01020304)
                                     .byte(32, 1)
                                     .int32(36, 20)
                                     .text(40, cp("Пейдж-Сервис"))
                                     .text(120, "night shift");
    EXPECT_EQ(a.encode(), expected);
}

TEST(AbonentRecord, FullWidthFieldsHaveNoTerminatorAndLongerTextsAreCut)
{
    TAbonent a;
    const std::string name25 = cp("Иванов-Петров Александр И"); // exactly 25 characters
    ASSERT_EQ(name25.size(), 25u);
    a.Name = name25 + "XYZ";
    a.Number = -1;
    a.Info = std::string(100, 'i');
    const std::string bytes = a.encode();
    EXPECT_EQ(bytes.substr(0, 25), name25);
    EXPECT_EQ(bytes.substr(25, 3), std::string(3, '\0')); // reserved bytes stay zero
    EXPECT_EQ(bytes.substr(28, 4), "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(bytes.substr(120, 100), std::string(100, 'i'));
    const TAbonent back = TAbonent::decode(bytes);
    EXPECT_EQ(back.Name.str(), name25);
    EXPECT_EQ(back.Number, -1);
    EXPECT_EQ(back.Info.str(), std::string(100, 'i'));
}

TEST(AbonentRecord, ReadersStopAtTheTerminatorAndIgnoreReservedBytes)
{
    std::string bytes = test::abonentBytes("Bob", 77, "Prov", 0, 240, "x");
    bytes.replace(4, 10, "GARBAGE123");   // after the name's NUL
    bytes.replace(25, 3, "\x01\x02\x03"); // reserved
    bytes.replace(33, 3, "\x04\x05\x06"); // reserved
    const TAbonent a = TAbonent::decode(bytes);
    EXPECT_EQ(a.Name.str(), "Bob");
    EXPECT_EQ(a.Number, 77);
    EXPECT_EQ(a.Numeric, 0);
    EXPECT_EQ(a.MsgLen, 240);
    EXPECT_EQ(a.Provider.str(), "Prov");
    EXPECT_EQ(a.Info.str(), "x");
}

TEST(ProviderRecord, EncodesEveryFieldAtItsOffset)
{
    TProvider p;
    p.Name = "Alpha";
    p.Gate = Gate::SNPP;
    p.SNPPSrv = "snpp.example.org";
    p.SNPPPort = 65536 + 444;
    p.SNPPEnc = "DOS";
    p.SnppPswd = "secret";
    p.SMTPEMail = "@pager.example.org";
    p.SMTPPort = 2525;
    p.SMTPEnc = "KOI8-R";
    p.TapPhone = "+7 000 000";
    p.TapPswd = "tap";
    const std::string expected = Bytes(292)
                                     .text(0, "Alpha")
                                     .byte(25, 0)
                                     .text(26, "snpp.example.org")
                                     .int32(108, 65536 + 444)
                                     .text(112, "DOS")
                                     .text(120, "secret")
                                     .text(145, "@pager.example.org")
                                     .int32(228, 2525)
                                     .text(232, "KOI8-R")
                                     .text(240, "+7 000 000")
                                     .text(265, "tap");
    EXPECT_EQ(p.encode(), expected);
    const TProvider back = TProvider::decode(expected);
    EXPECT_EQ(back.encode(), expected);
    EXPECT_EQ(back.SNPPPort, 65536 + 444);
    EXPECT_EQ(back.TapPswd.str(), "tap");
}

TEST(ProviderRecord, EightCharacterCharsetDoesNotRunIntoThePassword)
{
    const std::string bytes = Bytes(292)
                                  .text(0, "WinCo")
                                  .text(112, "WIN-1251")
                                  .text(120, "pass")
                                  .text(145, "@win.example")
                                  .text(232, "WIN-1251")
                                  .text(240, "phone");
    const TProvider p = TProvider::decode(bytes);
    EXPECT_EQ(p.SNPPEnc.str(), "WIN-1251");
    EXPECT_EQ(p.SnppPswd.str(), "pass");
    EXPECT_EQ(p.SMTPEnc.str(), "WIN-1251");
    EXPECT_EQ(p.TapPhone.str(), "phone");
    EXPECT_EQ(p.encode(), bytes);
}

TEST(ProviderRecord, HomeProviderDefaults)
{
    const TProvider home = HomeProviderDefaults();
    EXPECT_EQ(utf8(home.Name.str()), "Ормид-Пейдж, г.Ворль");
    EXPECT_EQ(home.Name.str(), HomeProviderName());
    EXPECT_EQ(home.Gate, Gate::SMTP);
    EXPECT_EQ(home.SNPPPort, 444);
    EXPECT_EQ(home.SMTPPort, 25);
    EXPECT_EQ(home.SNPPEnc.str(), "KOI8-R");
    EXPECT_EQ(home.SMTPEnc.str(), "KOI8-R");
    EXPECT_EQ(home.SMTPEMail.str().front(), '@');
    EXPECT_TRUE(home.SnppPswd.empty());
    EXPECT_TRUE(home.TapPhone.empty());
    EXPECT_TRUE(home.TapPswd.empty());
}

} // namespace
} // namespace zolbin
