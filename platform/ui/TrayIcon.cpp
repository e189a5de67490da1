// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/TrayIcon.h"

#include "platform/ui/Pictures.h"

#include <QSystemTrayIcon>

namespace zolbin {

namespace {

int& availabilityOverride()
{
    static int value = -1;
    return value;
}

} // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

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
    if (!available())
        return;
    if (icon_ == nullptr) {
        icon_ = new QSystemTrayIcon(programIcon(), this);
        icon_->setToolTip(QStringLiteral("Zolbin Sender"));
        connect(icon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { handleActivation(reason); });
    }
    icon_->show();
}

void TrayIcon::remove()
{
    if (icon_ != nullptr)
        icon_->hide();
}

void TrayIcon::notify(const QString& text)
{
    if (shown())
        icon_->showMessage(QStringLiteral("Zolbin Sender"), text);
}

void TrayIcon::handleActivation(int reason)
{
    if (reason == QSystemTrayIcon::DoubleClick)
        emit restoreRequested();
}

void TrayIcon::setAvailabilityOverride(int value)
{
    availabilityOverride() = value;
}

} // namespace zolbin
