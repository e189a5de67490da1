// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures of the main window's commands: the desktop's icon theme draws those it has scalable, the
// program's own drawings the rest and always the two sorts, and every picture is drawn sharp at a scale
// factor of 2.

#include "app/MainWindow.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QColor>
#include <QDirIterator>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace zolbin {
namespace {

const QColor ThemeRed(0xFF, 0x00, 0x00);

// A desktop icon theme "red" in the test's folder "themes": scalable red squares for "edit-copy",
// "view-sort-ascending" and the two sort names, and only raster ones (as GNOME's Adwaita has for most
// actions) for "edit-paste" and "mail-send".
void writeRedTheme(const test::TempDataDir& dir)
{
    const fs::path root = fs::path(dir.path()) / "themes" / "red";
    fs::create_directories(root / "16x16" / "actions");
    fs::create_directories(root / "scalable" / "actions");
    dir.write("themes/red/index.theme",
              "[Icon Theme]\nName=Red\nDirectories=16x16/actions,scalable/actions\n\n"
              "[16x16/actions]\nSize=16\nType=Fixed\n\n"
              "[scalable/actions]\nSize=16\nMinSize=8\nMaxSize=512\nType=Scalable\n");
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(ThemeRed);
    for (const char* name : {"edit-paste.png", "mail-send.png"})
        ASSERT_TRUE(red.save(QString::fromStdString((root / "16x16" / "actions" / name).string())));
    const std::string square = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
                               "<rect width=\"16\" height=\"16\" fill=\"#ff0000\"/></svg>";
    for (const char* name :
         {"edit-copy", "view-sort-ascending", "view-sort-ascending-name", "view-sort-ascending-number"})
        dir.write(std::string("themes/red/scalable/actions/") + name + ".svg", square);
}

class CommandIcons : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override { dir.write("Zolbin.ini", test::settingsFile("")); }
    void TearDown() override
    {
        QIcon::setThemeSearchPaths(searchPaths_);
        QIcon::setFallbackThemeName(fallback_);
        QIcon::setThemeName(theme_);
    }

    // The desktop's theme for the icons made from now on: the named one from the test's own folder, and
    // no other (no fallback theme either).
    void useTheme(const char* name)
    {
        QIcon::setThemeSearchPaths({QString::fromStdString((fs::path(dir.path()) / "themes").string())});
        QIcon::setFallbackThemeName(QStringLiteral("none"));
        QIcon::setThemeName(QString::fromLatin1(name));
    }

    test::TempDataDir dir;

private:
    const QStringList searchPaths_ = QIcon::themeSearchPaths();
    const QString fallback_ = QIcon::fallbackThemeName();
    const QString theme_ = QIcon::themeName();
};

// Every command of the main window that has a picture: the tool buttons and the menu items.
std::vector<std::pair<std::string, QIcon>> commandPictures(TfmSend& w)
{
    std::vector<std::pair<std::string, QIcon>> pictures;
    for (QToolButton* b : w.findChildren<QToolButton*>())
        if (test::owningWindow(b) == &w && b->objectName().startsWith(QLatin1String("btn")))
            pictures.emplace_back(b->objectName().toStdString(), b->icon());
    for (QAction* menu : w.menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator())
                pictures.emplace_back(item->objectName().toStdString(), item->icon());
    return pictures;
}

// The picture at 16 x 16 on a screen of scale factor 2: drawn at 32 x 32 device pixels, with something on
// them (a drawing that fails to load gives an empty picture of the right size).
void expectSharpAtScale2(const QIcon& icon, const std::string& what)
{
    const QPixmap pixmap = icon.pixmap(QSize(16, 16), 2.0);
    ASSERT_FALSE(pixmap.isNull()) << what;
    EXPECT_EQ(pixmap.size(), QSize(32, 32)) << what;
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    EXPECT_GT(opaque, 32 * 32 / 8) << what;
}

QColor centre(const QIcon& icon)
{
    return icon.pixmap(QSize(16, 16), 1.0).toImage().pixelColor(8, 8);
}

TEST_F(CommandIcons, WithoutAThemeEveryCommandShowsTheProgramsOwnDrawingSharpAtScale2)
{
    useTheme("absent");
    test::Program program(dir.folder());
    const auto pictures = commandPictures(program.main());
    // 21 tool buttons, 29 menu items.
    ASSERT_EQ(pictures.size(), 50u);
    for (const auto& [name, icon] : pictures)
        expectSharpAtScale2(icon, name);

    // Every drawing the program carries, also those no command uses yet.
    int drawings = 0;
    for (QDirIterator it(QStringLiteral(":/zolbin/actions")); it.hasNext(); ++drawings) {
        const QString path = it.next();
        expectSharpAtScale2(QIcon(path), path.toStdString());
    }
    EXPECT_GT(drawings, 0);
}

TEST_F(CommandIcons, TheThemeDrawsOnlyWhatItHasScalableAndNeverTheTwoSorts)
{
    writeRedTheme(dir);
    useTheme("red");
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    const auto picture = [&w](const char* name) { return test::control<QToolButton>(&w, name)->icon(); };
    EXPECT_EQ(centre(picture("btnCopy")), ThemeRed);
    EXPECT_EQ(centre(w.action(Command::Copy)->icon()), ThemeRed);
    // The sorts would look alike in a theme: the program's own drawings, which differ.
    EXPECT_NE(centre(picture("btnNameSort")), ThemeRed);
    EXPECT_NE(centre(picture("btnNumberSort")), ThemeRed);
    EXPECT_NE(picture("btnNameSort").pixmap(QSize(16, 16)).toImage(),
              picture("btnNumberSort").pixmap(QSize(16, 16)).toImage());
    // Raster only in the theme ("edit-paste", "mail-send"), or not there at all: the own drawings.
    for (const char* own : {"btnPaste", "btnSend", "btnHelp", "btnExit"}) {
        EXPECT_NE(centre(picture(own)), ThemeRed) << own;
        expectSharpAtScale2(picture(own), own);
    }
}

} // namespace
} // namespace zolbin
