// SPDX-License-Identifier: GPL-3.0-or-later
// Activation and minimising: the settings dialog forced while no e-mail address is set, and hiding in
// the notification area.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/Options.h"
#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "platform/ui/TrayIcon.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

class MainWindowActivation : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void TearDown() override { TrayIcon::setAvailabilityOverride(-1); }

    test::TempDataDir dir;
    test::PromptRecorder prompts;
    test::FixedClock clock;
};

// Counts how often a widget is shown.
class ShowCounter final : public QObject
{
public:
    explicit ShowCounter(QWidget* w) { w->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

TEST_F(MainWindowActivation, SettingsDialogReturnsAfterCancelUntilAnAddressIsSaved)
{
    test::Program program(dir.folder());
    Windows& windows = program.windows;
    ASSERT_FALSE(dir.exists("Zolbin.ini")) << "start-up itself writes no settings";
    TfmOptions* options = windows.fmOptions.get();
    ShowCounter counter(options);
    int handled = 0;
    test::EventLoopStep operatorAtWork([&] {
        if (!options->isVisible() || counter.shows == handled)
            return false;
        handled = counter.shows;
        if (handled == 1) {
            QTest::mouseClick(options->btnCancel, Qt::LeftButton);
            return false;
        }
        options->EditEMail->setText(QStringLiteral("op@example.com"));
        QTest::mouseClick(options->btnSave, Qt::LeftButton);
        return true;
    });

    windows.fmSend->show();
    windows.fmSend->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled == 2 && !options->isVisible(); }, 5000))
        << "dialog shown " << counter.shows << " times";
    QTest::qWait(200);
    EXPECT_EQ(counter.shows, 2);
    EXPECT_EQ(program.session.settings.EMail, "op@example.com");

    // A later activation with the address set leaves the dialog closed.
    windows.fmSend->FormActivate();
    QTest::qWait(100);
    EXPECT_EQ(counter.shows, 2);
}

TEST_F(MainWindowActivation, WithoutANotificationAreaMinimisingKeepsTheWindowOnTheTaskbar)
{
    dir.write("Zolbin.ini", test::settingsFile("Tray=1\r\n"));
    TrayIcon::setAvailabilityOverride(0);
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    ASSERT_TRUE(test::showActive(&w));
    w.showMinimized();
    QTest::qWait(100);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isMinimized());
    EXPECT_FALSE(w.trayIcon().shown());
}

TEST_F(MainWindowActivation, TrayOneHidesIntoTheIconAndADoubleClickRestores)
{
    dir.write("Zolbin.ini", test::settingsFile("Tray=1\r\n"));
    TrayIcon::setAvailabilityOverride(1);
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    ASSERT_TRUE(test::showActive(&w));
    w.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 2000));
    EXPECT_TRUE(w.trayIcon().shown());

    emit w.trayIcon().restoreRequested();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isMinimized());
    EXPECT_FALSE(w.trayIcon().shown());
}

TEST_F(MainWindowActivation, TrayIsReadAtMinimiseTimeAndOnlyOneCounts)
{
    dir.write("Zolbin.ini", test::settingsFile("Tray=2\r\n"));
    TrayIcon::setAvailabilityOverride(1);
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    ASSERT_TRUE(test::showActive(&w));
    w.showMinimized();
    QTest::qWait(100);
    EXPECT_TRUE(w.isVisible()) << "Tray=2 is not on";
    EXPECT_FALSE(w.trayIcon().shown());

    // A settings save (file written, settings reloaded) acts at the very next minimise.
    w.showNormal();
    ASSERT_TRUE(program.session.settingsFile.writeString(SectionSetting, "Tray", "1"));
    LoadSettings(program.session.settingsFile, program.session.settings);
    w.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isVisible(); }, 2000));
    EXPECT_TRUE(w.trayIcon().shown());
}

} // namespace
} // namespace zolbin
