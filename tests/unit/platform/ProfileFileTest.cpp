// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include "platform/Codepage.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

TEST(ProfileFile, MissingFileOrKeyReadsTheDefault)
{
    test::TempDataDir dir;
    ProfileFile ini(dir.path() + "/Zolbin.ini");
    EXPECT_EQ(ini.readString("Sender", "Name", "dflt"), "dflt");
    dir.write("Zolbin.ini", "[Sender]\r\nName=Ivan\r\n");
    EXPECT_EQ(ini.readString("Sender", "EMail", "none"), "none");
    EXPECT_EQ(ini.readString("Setting", "Name", "none"), "none"); // a key of another section
    EXPECT_FALSE(dir.exists("Zolbin.ini.bad"));                   // reading never writes
}

TEST(ProfileFile, SectionsAndKeysMatchIgnoringCaseAndValuesAreTrimmed)
{
    test::TempDataDir dir;
    dir.write("Zolbin.ini", "; comment\r\n[SENDER]\r\n  name  =  Ivan Petrov  \r\n[setting]\r\nclear=1\r\n"
                            "FontSize=\r\nQuoted=\"  a b \"\r\n");
    ProfileFile ini(dir.file("Zolbin.ini"));
    EXPECT_EQ(ini.readString("Sender", "Name", ""), "Ivan Petrov");
    EXPECT_EQ(ini.readString("Setting", "Clear", "0"), "1");
    EXPECT_EQ(ini.readString("Setting", "FontSize", "7"), ""); // present but empty: not the default
    EXPECT_EQ(ini.readString("Setting", "Quoted", ""), "  a b ");
}

TEST(ProfileFile, ReadsLfOnlyFilesAndCyrillicBytesAndCutsLongValues)
{
    test::TempDataDir dir;
    const std::string name = cp("Иванов Ёж");
    dir.write("Zolbin.ini", "[Sender]\nName=" + name + "\nLong=" + std::string(3000, 'x') + "\n");
    ProfileFile ini(dir.file("Zolbin.ini"));
    EXPECT_EQ(ini.readString("Sender", "Name", ""), name);
    EXPECT_EQ(ini.readString("Sender", "Long", "").size(), 2047u);
    EXPECT_EQ(ini.readString(cp("сендер"), "Name", "-"), "-");
}

TEST(ProfileFile, FirstWriteCreatesTheFileWithSection)
{
    test::TempDataDir dir;
    ProfileFile ini(dir.file("Zolbin.ini"));
    ASSERT_TRUE(ini.writeString("Sender", "EMail", "op@example.org"));
    EXPECT_EQ(dir.read("Zolbin.ini"), "[Sender]\r\nEMail=op@example.org\r\n");
    ASSERT_TRUE(ini.writeString("Setting", "Clear", "1"));
    EXPECT_EQ(dir.read("Zolbin.ini"), "[Sender]\r\nEMail=op@example.org\r\n\r\n[Setting]\r\nClear=1\r\n");
    EXPECT_EQ(ini.readString("setting", "clear", ""), "1");
}

TEST(ProfileFile, WriteReplacesTheKeyLineAndKeepsEveryOtherLine)
{
    test::TempDataDir dir;
    const std::string before =
        "; kept\r\n[Sender]\r\nName=Old\r\nShortName=" + cp("Петя") + "\r\n\r\n[Setting]\nclear=0\nTray=1\n";
    dir.write("Zolbin.ini", before);
    ProfileFile ini(dir.file("Zolbin.ini"));
    ASSERT_TRUE(ini.writeString("SENDER", "name", cp("Пётр Иванов")));
    EXPECT_EQ(dir.read("Zolbin.ini"), "; kept\r\n[Sender]\r\nname=" + cp("Пётр Иванов") + "\r\nShortName=" +
                                          cp("Петя") + "\r\n\r\n[Setting]\nclear=0\nTray=1\n");
    // A new key goes to the end of its section, before the blank line that separates the next one.
    ASSERT_TRUE(ini.writeString("Sender", "EMail", "a@b"));
    ASSERT_TRUE(ini.writeString("Setting", "Layout", "1"));
    EXPECT_EQ(dir.read("Zolbin.ini"),
              "; kept\r\n[Sender]\r\nname=" + cp("Пётр Иванов") + "\r\nShortName=" + cp("Петя") +
                  "\r\nEMail=a@b\r\n\r\n[Setting]\nclear=0\nTray=1\n" + "Layout=1\r\n");
    EXPECT_EQ(ini.readString("Setting", "Layout", ""), "1");
    EXPECT_EQ(ini.readString("Setting", "Tray", ""), "1");
}

TEST(ProfileFile, WriteToAFileWithoutFinalLineEnd)
{
    test::TempDataDir dir;
    dir.write("Zolbin.ini", "[Setting]\r\nTray=1");
    ProfileFile ini(dir.file("Zolbin.ini"));
    ASSERT_TRUE(ini.writeString("Setting", "Clear", "1"));
    EXPECT_EQ(dir.read("Zolbin.ini"), "[Setting]\r\nTray=1\r\nClear=1\r\n");
}

TEST(ProfileFile, ValueCannotBreakIntoNewLines)
{
    test::TempDataDir dir;
    ProfileFile ini(dir.file("Zolbin.ini"));
    ASSERT_TRUE(ini.writeString("Sender", "Name", "Ivan\r\n[Setting]\r\nTray=1"));
    EXPECT_EQ(ini.readString("Setting", "Tray", "0"), "0");
    EXPECT_EQ(ini.readString("Sender", "Name", ""), "Ivan  [Setting]  Tray=1");
}

TEST(ProfileFile, RefusedWriteFailsWithThePath)
{
    test::TempDataDir dir;
    dir.write("plain", "x");
    ProfileFile ini(dir.file("plain/Zolbin.ini"));
    const Status written = ini.writeString("Sender", "Name", "x");
    ASSERT_FALSE(written) << "write into a path below a plain file succeeded";
    EXPECT_EQ(written.failure().russian(), "Unable to write to " + dir.file("plain/Zolbin.ini"));
    ProfileFile folder(dir.path());
    EXPECT_FALSE(folder.writeString("Sender", "Name", "x"));
}

TEST(ProfileFile, WritingSeveralKeysAtOnceLeavesWhatOneByOneWould)
{
    test::TempDataDir dir;
    const std::string start = "; kept\r\n[Setting]\r\nClear=0\r\n\r\n[Other]\nX=1";
    const std::vector<ProfileFile::Entry> entries = {{"Sender", "Name", cp("Пётр")},
                                                     {"setting", "Tray", "1"},
                                                     {"Setting", "CLEAR", "1"},
                                                     {"Other", "Y", "2"}};
    dir.write("one.ini", start);
    dir.write("all.ini", start);
    ProfileFile one(dir.path() + "/one.ini");
    for (const auto& e : entries)
        ASSERT_TRUE(one.writeString(e.section, e.key, e.value));
    ASSERT_TRUE(ProfileFile(dir.path() + "/all.ini").writeStrings(entries));
    EXPECT_EQ(dir.read("all.ini"), dir.read("one.ini"));
}

} // namespace
} // namespace zolbin
