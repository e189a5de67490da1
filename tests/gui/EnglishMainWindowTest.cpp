// SPDX-License-Identifier: GPL-3.0-or-later
// The main window in English: built as the program builds it with the English catalogues installed, its
// menus, actions, tool buttons, labels, tabs and status panels hold no Russian text. The directory's data
// (the lists, the remark pane) is written in Latin letters, so that a recipient's line shows only the
// window's own words around it.

#include "app/MainStatusBar.h"
#include "app/MainWindow.h"
#include "app/Windows.h"
#include "tests/gui/EnglishTestSupport.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

TEST(EnglishMainWindow, NoRussianTextInAnyMenuButtonLabelOrTooltip)
{
    test::ensureApplication();
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    dir.write("Zolbin.ini", test::settingsFile(""));
    test::writeDirectory(dir.folder(), {test::subscriber("Ann", 5, 240, "Acme")}, {{"Team", {0}}},
                         {test::company("Acme", Gate::SNPP)});
    test::EnglishInterface english;
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    test::toggleTick(test::control<TickList>(&w, "lbAbonent"), 0);
    ASSERT_EQ(test::control<QLabel>(&w, "Label1")->text(), QStringLiteral("For subscriber - Ann"));

    // The other windows of the set are the main window's children and speak through catalogues of their
    // own: only the main window's parts are looked at.
    QStringList russian;
    for (const QWidget* part : std::initializer_list<const QWidget*>{
             w.menuBar(), w.findChild<QToolBar*>(QStringLiteral("ToolBar1")), w.centralWidget(),
             w.statusBar()})
        russian << test::russianTexts(part);
    EXPECT_EQ(russian, QStringList{});
    EXPECT_EQ(w.action(Command::Send)->toolTip(), QStringLiteral("Send the message"));
}

} // namespace
} // namespace zolbin
