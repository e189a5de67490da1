// SPDX-License-Identifier: GPL-3.0-or-later
// The notification-area icon: which click restores on which kind of notification area, the icon's menu,
// a notification while the window is shown, and how the kind is told: a stand-in StatusNotifierWatcher on a
// private D-Bus session bus.

#include "platform/ui/TrayIcon.h"

#include "tests/gui/DialogTestSupport.h"

#include <QAction>
#include <QDBusConnection>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

using test::dialogTestApp;

TEST(TrayIconTest, NothingIsShownWithoutATray)
{
    dialogTestApp();
    TrayIcon::setAvailabilityOverride(0);
    TrayIcon tray;
    tray.add();
    EXPECT_FALSE(tray.shown());
    EXPECT_FALSE(tray.notify(QStringLiteral("Sent"))) << "the caller tells it otherwise";
    tray.remove();
    TrayIcon::setAvailabilityOverride(-1);
}

TEST(TrayIconTest, ANotificationShowsTheIconForItsTimeUnlessTheWindowGoesIntoIt)
{
    dialogTestApp();
    TrayIcon::setAvailabilityOverride(1);
    TrayIcon tray;
    EXPECT_TRUE(tray.notify(QStringLiteral("Failed"), true));
    EXPECT_TRUE(tray.shown());
    const auto* transient = tray.findChild<QTimer*>();
    ASSERT_NE(transient, nullptr);
    EXPECT_TRUE(transient->isActive()) << "it goes when the notification has been read";
    tray.add(); // the window minimised into the notification area
    EXPECT_FALSE(transient->isActive());
    EXPECT_TRUE(tray.notify(QStringLiteral("Sent")));
    EXPECT_FALSE(transient->isActive());
    TrayIcon::setAvailabilityOverride(-1);
}

// One table: the clicks of each kind of notification area and whether they bring the window back.
TEST(TrayIconTest, XEmbedRestoresOnTheDoubleClickAStatusNotifierOnItsActivation)
{
    dialogTestApp();
    struct Row
    {
        int protocol; // TrayIcon::setProtocolOverride
        QSystemTrayIcon::ActivationReason reason;
        bool restores;
    };
    const Row rows[] = {
        {0, QSystemTrayIcon::Trigger, false},     {0, QSystemTrayIcon::Context, false},
        {0, QSystemTrayIcon::MiddleClick, false}, {0, QSystemTrayIcon::DoubleClick, true},
        {1, QSystemTrayIcon::Trigger, true},      {1, QSystemTrayIcon::Context, false},
        {1, QSystemTrayIcon::MiddleClick, false}, {1, QSystemTrayIcon::DoubleClick, true},
    };
    for (const Row& row : rows) {
        TrayIcon::setProtocolOverride(row.protocol);
        TrayIcon tray;
        QSignalSpy restore(&tray, &TrayIcon::restoreRequested);
        tray.handleActivation(row.reason);
        EXPECT_EQ(restore.count(), row.restores ? 1 : 0) << row.protocol << " " << row.reason;
    }
    TrayIcon::setProtocolOverride(-1);
}

TEST(TrayIconTest, MenuRestoresAndExits)
{
    dialogTestApp();
    TrayIcon tray;
    ASSERT_NE(tray.menu(), nullptr);
    const QList<QAction*> items = tray.menu()->actions();
    ASSERT_EQ(items.size(), 3); // "Развернуть", a separator, "Выход"
    EXPECT_EQ(items[0]->text(), QString::fromUtf8("Развернуть"));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QString::fromUtf8("Выход"));
    QSignalSpy restore(&tray, &TrayIcon::restoreRequested);
    QSignalSpy quit(&tray, &TrayIcon::quitRequested);
    items[0]->trigger();
    EXPECT_EQ(restore.count(), 1);
    EXPECT_EQ(quit.count(), 0);
    items[2]->trigger();
    EXPECT_EQ(quit.count(), 1);
}

// What a panel's StatusNotifierWatcher says of itself: a host is registered.
class StandInWatcher final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
public:
    bool hostRegistered() const { return true; }
};

// A private session bus for the test, ended with it.
class PrivateBus
{
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        process_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address=1")});
        if (!process_.waitForStarted(5000))
            return;
        for (int i = 0; i < 100 && !process_.canReadLine(); ++i)
            process_.waitForReadyRead(100);
        address_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        process_.kill();
        process_.waitForFinished(2000);
    }
    const QString& address() const { return address_; }

private:
    QProcess process_;
    QString address_;
};

TEST(TrayIconTest, StatusNotifierIsToldByTheWatcherOnTheSessionBus)
{
    dialogTestApp();
    PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon (package dbus)";
    {
        QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("tray-client"));
        ASSERT_TRUE(client.isConnected());
        EXPECT_FALSE(TrayIcon::statusNotifierHostRegistered(client)) << "no watcher yet";

        // The watcher answers from a thread of its own, as a panel would from its process.
        QThread watcherThread;
        auto* watcher = new StandInWatcher;
        watcher->moveToThread(&watcherThread);
        watcherThread.start();
        QDBusConnection panel = QDBusConnection::connectToBus(bus.address(), QStringLiteral("tray-panel"));
        ASSERT_TRUE(panel.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
        ASSERT_TRUE(panel.registerObject(QStringLiteral("/StatusNotifierWatcher"), watcher,
                                         QDBusConnection::ExportAllProperties));
        EXPECT_TRUE(TrayIcon::statusNotifierHostRegistered(client));
        panel.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
        watcherThread.quit();
        watcherThread.wait();
        delete watcher;
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("tray-client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("tray-panel"));
}

} // namespace
} // namespace zolbin

#include "TrayIconTest.moc"
