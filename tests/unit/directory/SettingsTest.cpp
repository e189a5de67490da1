// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Settings.h"

#include "directory/Records.h"
#include "platform/Codepage.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace zolbin {
namespace {

TSettings load(const std::string& path)
{
    TSettings s;
    LoadSettings(ProfileFile(path), s);
    return s;
}

TEST(Settings, MissingFileGivesEveryDefault)
{
    test::TempDataDir dir;
    const TSettings s = load(dir.path() + "/Zolbin.ini");
    EXPECT_EQ(s.Name, "");
    EXPECT_EQ(s.ShortName, "");
    EXPECT_EQ(s.EMail, "");
    EXPECT_EQ(s.SMTPServer, "");
    EXPECT_EQ(s.Company, HomeProviderName());
    EXPECT_EQ(s.HideFrom, 0);
    EXPECT_EQ(s.Clear, 0);
    EXPECT_EQ(s.NoSplash, 0);
    EXPECT_EQ(s.Tray, 0);
    EXPECT_EQ(s.Layout, 0);
    EXPECT_EQ(s.FontSize, 7);
    EXPECT_FALSE(dir.exists("Zolbin.ini"));
}

TEST(Settings, ReadsEveryKeyIgnoringCase)
{
    test::TempDataDir dir;
    dir.write("Zolbin.ini", "[sender]\r\nNAME=" + cp("Пётр Иванов") + "\r\nShortName=" + cp("Пётр") +
                                "\r\nemail=petr@example.org\r\nSMTPServer=mail.example.org\r\n"
                                "[SETTING]\r\nHideFrom=1\r\nCompany=" +
                                cp("Пейдж-Сервис") +
                                "\r\nClear=1\r\nNoSplash=5\r\nTray=2\r\nLayout=1\r\nFontSize=12\r\n");
    const TSettings s = load(dir.file("Zolbin.ini"));
    EXPECT_EQ(utf8(s.Name), "Пётр Иванов");
    EXPECT_EQ(utf8(s.ShortName), "Пётр");
    EXPECT_EQ(s.EMail, "petr@example.org");
    EXPECT_EQ(s.SMTPServer, "mail.example.org");
    EXPECT_EQ(utf8(s.Company), "Пейдж-Сервис");
    EXPECT_TRUE(s.hideFromOn());
    EXPECT_TRUE(s.clearOn());
    EXPECT_TRUE(s.splashOff()); // any value but 0
    EXPECT_FALSE(s.trayOn());   // only 1 turns it on
    EXPECT_TRUE(s.englishLayout());
    EXPECT_EQ(s.FontSize, 12);
}

TEST(Settings, MailServerKeysOfTheSenderSection)
{
    test::TempDataDir dir;
    // Absent: the plain dialogue without a login.
    const TSettings none = load(dir.path() + "/Zolbin.ini");
    EXPECT_EQ(none.SMTPSecurity, 0);
    EXPECT_EQ(none.SMTPUser, "");
    EXPECT_EQ(none.SMTPCAFile, "");
    dir.write("Zolbin.ini", "[Sender]\r\nSMTPSecurity=2\r\nSMTPUser=" + cp("Пётр") +
                                "\r\nSMTPCAFile=/etc/ca.pem\r\n[Setting]\r\nSMTPSecurity=1\r\n");
    const TSettings s = load(dir.file("Zolbin.ini"));
    EXPECT_EQ(s.SMTPSecurity, 2); // read from "Sender" only
    EXPECT_EQ(utf8(s.SMTPUser), "Пётр");
    EXPECT_EQ(s.SMTPCAFile, "/etc/ca.pem");
    dir.write("Zolbin.ini", "[Sender]\r\nSMTPSecurity=tls\r\n");
    EXPECT_EQ(load(dir.file("Zolbin.ini")).SMTPSecurity, 0);
}

TEST(Settings, ModemLineKeysOfTheTapSection)
{
    test::TempDataDir dir;
    const TSettings none = load(dir.path() + "/Zolbin.ini");
    EXPECT_EQ(none.TapDevice, "/dev/ttyS0");
    EXPECT_EQ(none.TapSpeed, 9600u);
    EXPECT_EQ(none.TapLineFormat, TapFormat::SevenE1);
    EXPECT_EQ(none.TapInit, "ATZ");
    EXPECT_EQ(none.TapDialPrefix, "ATDT");
    dir.write("Zolbin.ini", "[TAP]\r\nDevice=/dev/ttyUSB0\r\nSpeed=115200\r\nFormat=1\r\n"
                            "Init=AT&F E0\r\nDialPrefix=ATDP9,\r\n");
    const TSettings s = load(dir.file("Zolbin.ini"));
    EXPECT_EQ(s.TapDevice, "/dev/ttyUSB0");
    EXPECT_EQ(s.TapSpeed, 115200u);
    EXPECT_EQ(s.TapLineFormat, TapFormat::EightN1);
    EXPECT_EQ(s.TapInit, "AT&F E0");
    EXPECT_EQ(s.TapDialPrefix, "ATDP9,");
    dir.write("Zolbin.ini", "[TAP]\r\nSpeed=-300\r\nFormat=7\r\n");
    EXPECT_EQ(load(dir.file("Zolbin.ini")).TapSpeed, 9600u);
    EXPECT_EQ(load(dir.file("Zolbin.ini")).TapLineFormat, TapFormat::SevenE1);
}

TEST(Settings, OutboxKeysOfTheOutboxSection)
{
    test::TempDataDir dir;
    // Absent: the folder's own outbox, every gate, the host's name.
    const TSettings none = load(dir.path() + "/Zolbin.ini");
    EXPECT_EQ(none.OutboxDatabase, "");
    EXPECT_EQ(none.OutboxGates, AllGates);
    EXPECT_EQ(none.OutboxDesk, HostName());
    dir.write("Zolbin.ini", "[Outbox]\r\nDatabase=postgresql://pager@db/paging\r\nGates=snpp, SMTP,wctp\r\n"
                            "Desk=desk-3\r\n");
    const TSettings s = load(dir.file("Zolbin.ini"));
    EXPECT_EQ(s.OutboxDatabase, "postgresql://pager@db/paging");
    EXPECT_EQ(s.OutboxGates, 0b10011u);
    EXPECT_EQ(s.OutboxDesk, "desk-3");
    // A name not known sends nothing more: only the gates named rightly, none when no name is.
    dir.write("Zolbin.ini", "[Outbox]\r\nGates=sms,modem\r\n");
    EXPECT_EQ(load(dir.file("Zolbin.ini")).OutboxGates, 0b01000u);
    dir.write("Zolbin.ini", "[Outbox]\r\nGates=modem\r\n");
    EXPECT_EQ(load(dir.file("Zolbin.ini")).OutboxGates, 0u);
}

TEST(Settings, IntakeSection)
{
    test::TempDataDir dir;
    // Absent: nothing listens, ten pages a minute.
    const TSettings none = load(dir.path() + "/Zolbin.ini");
    EXPECT_EQ(none.IntakeSnpp, "");
    EXPECT_EQ(none.IntakeHttp, "");
    EXPECT_EQ(none.IntakeMaxPagesPerMinute, 10);
    dir.write("Zolbin.ini", "[Intake]\r\nSNPP=0.0.0.0:4444\r\nHTTP=127.0.0.1:8080\r\nTokenFile=/t\r\n"
                            "CertFile=/c\r\nKeyFile=/k\r\nSNPPUsersFile=/u\r\nMaxPagesPerMinute=3\r\n");
    const TSettings s = load(dir.file("Zolbin.ini"));
    EXPECT_EQ(s.IntakeSnpp + s.IntakeHttp + s.IntakeTokenFile + s.IntakeCertFile + s.IntakeKeyFile +
                  s.IntakeSnppUsersFile,
              "0.0.0.0:4444127.0.0.1:8080/t/c/k/u");
    EXPECT_EQ(s.IntakeMaxPagesPerMinute, 3);
}

TEST(Settings, NumbersKeepTheirLowByteAndNonNumbersTakeTheDefault)
{
    test::TempDataDir dir;
    dir.write("Zolbin.ini", "[Setting]\r\nFontSize=258\r\nTray=-1\r\nClear= +1 \r\nLayout=abc\r\n"
                            "NoSplash=\r\nHideFrom=99999999999\r\n");
    const TSettings s = load(dir.file("Zolbin.ini"));
    EXPECT_EQ(s.FontSize, 2);
    EXPECT_EQ(s.Tray, 255);
    EXPECT_EQ(s.Clear, 1);
    EXPECT_EQ(s.Layout, 0);
    EXPECT_EQ(s.NoSplash, 0);
    EXPECT_EQ(s.HideFrom, 0);

    dir.write("Zolbin.ini", "[Setting]\r\nFontSize=x9\r\n");
    EXPECT_EQ(load(dir.file("Zolbin.ini")).FontSize, 7);
}

TEST(Settings, ReloadSeesEveryWriteAtOnce)
{
    test::TempDataDir dir;
    ProfileFile ini(dir.file("Zolbin.ini"));
    ASSERT_TRUE(ini.writeString(SectionSetting, "Tray", "1"));
    EXPECT_TRUE(load(dir.file("Zolbin.ini")).trayOn());
    ASSERT_TRUE(ini.writeString(SectionSetting, "Tray", "0"));
    EXPECT_FALSE(load(dir.file("Zolbin.ini")).trayOn());
}

} // namespace
} // namespace zolbin
