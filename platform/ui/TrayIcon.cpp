// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/TrayIcon.h"

#include "platform/ui/Pictures.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace zolbin {

namespace {

int& availabilityOverride()
{
    static int value = -1;
    return value;
}

int& protocolOverride()
{
    static int value = -1;
    return value;
}

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString WatcherPath = QStringLiteral("/StatusNotifierWatcher");
constexpr int WatcherTimeoutMs = 1000; // a watcher that does not answer counts as none
constexpr int NotificationMs = 10000;  // how long a notification asks to stay

} // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), menu_(std::make_unique<QMenu>())
{
    menu_->setObjectName(QStringLiteral("TrayMenu"));
    QAction* restore = menu_->addAction(tr("Развернуть"));
    restore->setObjectName(QStringLiteral("TrayRestoreItem"));
    menu_->setDefaultAction(restore);
    menu_->addSeparator();
    QAction* exit = menu_->addAction(tr("Выход"));
    exit->setObjectName(QStringLiteral("TrayExitItem"));
    connect(restore, &QAction::triggered, this, &TrayIcon::restoreRequested);
    connect(exit, &QAction::triggered, this, &TrayIcon::quitRequested);
    transient_ = new QTimer(this);
    transient_->setSingleShot(true);
    transient_->setInterval(NotificationMs + 1000);
    connect(transient_, &QTimer::timeout, this, [this] {
        if (icon_ != nullptr)
            icon_->hide();
    });
}

TrayIcon::~TrayIcon()
{
    remove();
}

bool TrayIcon::available() const
{
    if (availabilityOverride() >= 0)
        return availabilityOverride() != 0;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayIcon::shown() const
{
    return icon_ != nullptr && icon_->isVisible();
}

void TrayIcon::add()
{
    transient_->stop();
    if (!available())
        return;
    if (icon_ == nullptr) {
        (void)protocol(); // asked as Qt asks when it makes the icon
        icon_ = new QSystemTrayIcon(programIcon(), this);
        icon_->setToolTip(QStringLiteral("Zolbin Sender"));
        icon_->setContextMenu(menu_.get());
        connect(icon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { handleActivation(reason); });
    }
    icon_->show();
}

void TrayIcon::remove()
{
    transient_->stop();
    if (icon_ != nullptr)
        icon_->hide();
}

bool TrayIcon::notify(const QString& text, bool failed)
{
    if (!shown()) {
        add();
        if (!shown())
            return false;
        transient_->start();
    }
    icon_->showMessage(QStringLiteral("Zolbin Sender"), text,
                       failed ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information, NotificationMs);
    if (transient_->isActive())
        transient_->start(); // the icon stays as long as the latest notification
    return true;
}

TrayIcon::Protocol TrayIcon::protocol() const
{
    if (protocolOverride() >= 0)
        return protocolOverride() != 0 ? Protocol::StatusNotifier : Protocol::XEmbed;
    if (protocol_ < 0)
        protocol_ = statusNotifierHostRegistered(QDBusConnection::sessionBus())
                        ? static_cast<int>(Protocol::StatusNotifier)
                        : static_cast<int>(Protocol::XEmbed);
    return static_cast<Protocol>(protocol_);
}

bool TrayIcon::statusNotifierHostRegistered(const QDBusConnection& bus)
{
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(WatcherService))
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(WatcherService, WatcherPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << WatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, WatcherTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

void TrayIcon::handleActivation(int reason)
{
    if (reason == QSystemTrayIcon::DoubleClick ||
        (reason == QSystemTrayIcon::Trigger && protocol() == Protocol::StatusNotifier))
        emit restoreRequested();
}

void TrayIcon::setAvailabilityOverride(int value)
{
    availabilityOverride() = value;
}

void TrayIcon::setProtocolOverride(int value)
{
    protocolOverride() = value;
}

} // namespace zolbin
