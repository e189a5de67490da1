// SPDX-License-Identifier: GPL-3.0-or-later
// The about box, the freeware notice and the splash window.

#include "dialogs/About.h"
#include "dialogs/NameLine.h"
#include "dialogs/Splash.h"
#include "platform/ui/CapsLock.h"
#include "platform/ui/UiText.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/FixedClock.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

bool hasNoTitleBarButtons(const QWidget& w)
{
    const Qt::WindowFlags flags = w.windowFlags();
    return flags.testFlag(Qt::CustomizeWindowHint) && !flags.testFlag(Qt::WindowSystemMenuHint) &&
           !flags.testFlag(Qt::WindowCloseButtonHint);
}

TEST(AboutBox, EscAndEnterCloseWithOkAndCapsLockIsLeftAlone)
{
    test::dialogTestApp();
    TfmAbout about;
    EXPECT_EQ(about.windowTitle(), uiText("О программе..."));
    EXPECT_TRUE(hasNoTitleBarButtons(about));
    EXPECT_TRUE(about.btnOK->isDefault());

    about.show();
    CapsLock::instance().set(false);
    QTest::keyClick(about.btnOK, Qt::Key_CapsLock);
    EXPECT_FALSE(CapsLock::instance().isOn());
    QTest::keyClick(about.btnOK, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);

    about.show();
    about.setResult(QDialog::Rejected);
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(AboutBox, NameLineIsTwoPartsOfTheProductNameAndVersion)
{
    test::dialogTestApp();
    TfmAbout about;
    const auto* head = about.findChild<QLabel*>(QStringLiteral("nameHead"));
    const auto* tail = about.findChild<QLabel*>(QStringLiteral("nameTail"));
    ASSERT_TRUE(head && tail);
    EXPECT_EQ(head->text() + tail->text(), QStringLiteral("Zolbin Sender  2.0.1"));
    EXPECT_EQ(head->text(), QStringLiteral("Zol"));
}

TEST(FreewareNotice, HasNoCloseBoxAndEscOrOkCloseItWhileCapsLockIsTracked)
{
    test::dialogTestApp();
    TfmSmile notice;
    EXPECT_EQ(notice.windowTitle(), QStringLiteral(":-)))"));
    EXPECT_TRUE(hasNoTitleBarButtons(notice));

    notice.show();
    CapsLock::instance().set(false);
    QTest::keyClick(notice.btnOK, Qt::Key_CapsLock);
    EXPECT_TRUE(CapsLock::instance().isOn());
    QTest::keyClick(notice.btnOK, Qt::Key_Escape);
    EXPECT_FALSE(notice.isVisible());

    notice.show();
    notice.btnOK->click();
    EXPECT_FALSE(notice.isVisible());
    CapsLock::instance().set(false);
}

// A clock that looks, at every sleep, whether the splash is on the screen and whether a posted
// event has been delivered meanwhile.
class WatchingClock final : public test::FixedClock
{
public:
    void sleepMs(unsigned ms) const override
    {
        FixedClock::sleepMs(ms);
        if (++sleeps == 1 && onFirstSleep)
            onFirstSleep();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TfmSplash*>(w) != nullptr && w->isVisible())
                splashSeen = true;
    }
    std::function<void()> onFirstSleep;
    mutable int sleeps = 0;
    mutable bool splashSeen = false;
};

TEST(SplashWindow, StaysOneToTwoSecondsByTheTickCounterWithoutDispatchingAnything)
{
    test::dialogTestApp();
    for (std::uint64_t into : {0u, 999u}) {
        WatchingClock clock;
        clock.advance(into); // the tick counter starts at a whole second
        const std::uint64_t start = clock.tickCount();
        ShowSplash(clock);
        EXPECT_EQ(clock.tickCount(), start - into + 2000);
        EXPECT_TRUE(clock.splashSeen);
        for (QWidget* w : QApplication::topLevelWidgets())
            EXPECT_FALSE(qobject_cast<TfmSplash*>(w) != nullptr && w->isVisible());
    }

    // A timer that falls due during the wait fires only after the splash has gone.
    WatchingClock clock;
    int sleepsWhenFired = -1;
    clock.onFirstSleep = [&] { QTimer::singleShot(0, [&] { sleepsWhenFired = clock.sleeps; }); };
    ShowSplash(clock);
    QTest::qWait(50);
    EXPECT_EQ(sleepsWhenFired, clock.sleeps);
}

} // namespace
} // namespace zolbin
