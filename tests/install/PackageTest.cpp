// SPDX-License-Identifier: GPL-3.0-or-later
// `cpack -G DEB` on the build folder, then the package as dpkg sees it: its control fields, its files
// under /usr with the right modes, its licence, the program unpacked from it running from its new place;
// and Debian's package checker, lintian, on it.

#include "tests/install/ProcessRun.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace fs = std::filesystem;

namespace zolbin {
namespace {

QString q(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

std::string field(const fs::path& deb, const char* name)
{
    const test::ProcessResult run = test::runProcess(
        QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), q(deb), QString::fromLatin1(name)});
    EXPECT_TRUE(run.succeeded()) << run.describe();
    std::string value = run.out;
    while (!value.empty() && value.back() == '\n')
        value.pop_back();
    return value;
}

// Builds the package into out; the .deb, or an empty path after a failure has been reported.
fs::path buildPackage(const fs::path& out)
{
    const test::ProcessResult pack = test::runProcess(
        QStringLiteral(ZOLBIN_CPACK),
        {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
         QStringLiteral(ZOLBIN_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), q(out)},
        400000);
    if (!pack.succeeded()) {
        ADD_FAILURE() << pack.describe();
        return {};
    }
    fs::path deb;
    for (const auto& entry : fs::directory_iterator(out))
        if (entry.path().extension() == ".deb")
            deb = entry.path();
    if (deb.empty())
        ADD_FAILURE() << "cpack wrote no .deb: " << pack.out;
    return deb;
}

TEST(DebianPackage, HoldsTheProgramUnderUsrAndNamesItsLibrariesAndFonts)
{
    if (!test::haveProgram(QStringLiteral("dpkg-deb")))
        GTEST_SKIP() << "dpkg-deb is not installed";
    test::TempDataDir root;
    const fs::path deb = buildPackage(fs::path(root.path()) / "package");
    ASSERT_FALSE(deb.empty());
    EXPECT_TRUE(deb.filename().string().starts_with("zolbin-sender_2.0.1_")) << deb;

    EXPECT_EQ(field(deb, "Package"), "zolbin-sender");
    EXPECT_EQ(field(deb, "Version"), "2.0.1");
    EXPECT_EQ(field(deb, "Maintainer"), "Zolbin Team <team@zolbin.example>");
    EXPECT_EQ(field(deb, "Section"), "net");
    // The summary line, then the long description (not the summary again).
    EXPECT_TRUE(
        field(deb, "Description")
            .starts_with("send short messages to pagers over SNPP or e-mail gateways\n Zolbin Sender is"))
        << field(deb, "Description");
    // The Qt libraries (found by dpkg-shlibdeps) and a font that has Cyrillic letters.
    const std::string depends = field(deb, "Depends");
    for (const char* package : {"libqt6widgets6", "libqt6gui6", "libqt6core6", "libc6", "fonts-dejavu-core",
                                "qt6-translations-l10n"})
        EXPECT_NE(depends.find(package), std::string::npos) << package << " not in: " << depends;

    const test::ProcessResult listing =
        test::runProcess(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), q(deb)});
    ASSERT_TRUE(listing.succeeded()) << listing.describe();
    // Lines: "-rwxr-xr-x root/root  12345 2024-01-01 00:00 ./usr/bin/zolbin".
    for (const char* file :
         {"usr/bin/zolbin", "usr/share/zolbin/1251-koi.cod", "usr/share/zolbin/1251-866.cod",
          "usr/share/zolbin/zolbin.hlp", "usr/share/applications/zolbin.desktop",
          "usr/share/icons/hicolor/scalable/apps/zolbin.svg", "usr/share/icons/hicolor/48x48/apps/zolbin.png",
          "usr/share/metainfo/example.zolbin.sender.metainfo.xml", "usr/share/man/man1/zolbin.1.gz",
          "usr/share/doc/zolbin-sender/copyright", "usr/share/doc/zolbin-sender/changelog.gz"}) {
        const std::string mode = std::string(file).starts_with("usr/bin/") ? "-rwxr-xr-x" : "-rw-r--r--";
        const std::regex line("(^|\n)" + mode + " root/root +[0-9]+ [-0-9]+ [:0-9]+ \\./" + file + "\n");
        EXPECT_TRUE(std::regex_search(listing.out, line)) << file << " (" << mode << ")";
    }
#ifdef ZOLBIN_HAVE_SEND
    EXPECT_NE(listing.out.find(" ./usr/bin/zolbin-send\n"), std::string::npos);
    EXPECT_NE(listing.out.find(" ./usr/share/man/man1/zolbin-send.1.gz\n"), std::string::npos);
#endif
    EXPECT_FALSE(std::regex_search(listing.out, std::regex(" \\./(?!usr/)[^\n]"))) << listing.out;

    // Unpacked anywhere, the program runs and answers.
    const fs::path unpacked = fs::path(root.path()) / "unpacked";
    const test::ProcessResult extract =
        test::runProcess(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), q(deb), q(unpacked)});
    ASSERT_TRUE(extract.succeeded()) << extract.describe();
    const test::ProcessResult version =
        test::runProcess(q(unpacked / "usr/bin/zolbin"), {QStringLiteral("--version")}, 20000);
    EXPECT_TRUE(version.succeeded()) << version.describe();
    EXPECT_EQ(version.out, "Zolbin Sender 2.0.1\n");

    // The licence in Debian's machine-readable copyright format, pointing to the system's copy of the GPL.
    QFile copyright(q(unpacked / "usr/share/doc/zolbin-sender/copyright"));
    ASSERT_TRUE(copyright.open(QIODevice::ReadOnly));
    const std::string notice = copyright.readAll().toStdString();
    EXPECT_TRUE(
        notice.starts_with("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"))
        << notice;
    for (const char* text :
         {"\nFiles: *\n", "\nLicense: GPL-3.0-or-later\n", "/usr/share/common-licenses/GPL-3"})
        EXPECT_NE(notice.find(text), std::string::npos) << text;
}

// Debian's package checker finds no error in the package (its warnings are listed, each with its reason,
// in the README's packaging section).
TEST(DebianPackage, HasNoLintianErrors)
{
    if (!test::haveProgram(QStringLiteral("dpkg-deb")))
        GTEST_SKIP() << "dpkg-deb is not installed";
    if (!test::haveProgram(QStringLiteral("lintian")))
        GTEST_SKIP() << "lintian is not installed (scripts/setup.sh installs it)";
    test::TempDataDir root;
    const fs::path deb = buildPackage(fs::path(root.path()) / "package");
    ASSERT_FALSE(deb.empty());

    // Exit status 0: lintian ran to its end and found no tag of the level "error".
    const test::ProcessResult lint = test::runProcess(
        QStringLiteral("lintian"), {QStringLiteral("--fail-on"), QStringLiteral("error"), q(deb)}, 150000);
    EXPECT_TRUE(lint.succeeded()) << lint.describe();
    EXPECT_FALSE(std::regex_search(lint.out, std::regex("(^|\n)E: "))) << lint.out;
}

} // namespace
} // namespace zolbin
