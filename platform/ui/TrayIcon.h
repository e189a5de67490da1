// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification-area icon (tip "Zolbin Sender"). Where the desktop has no notification area the
// icon cannot be shown and available() is false: the main window then minimises normally instead of
// hiding where nothing could restore it.

#include <QObject>

class QSystemTrayIcon;

namespace zolbin {

class TrayIcon final : public QObject
{
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    bool available() const;
    bool shown() const;
    void add();    // failures are swallowed
    void remove(); // safe whether shown or not
    // A desktop notification from the icon while it is shown; nothing otherwise.
    void notify(const QString& text);

    // Tests and platforms without a tray: force the answer of available().
    static void setAvailabilityOverride(int value); // -1 = ask the platform, 0 = no, 1 = yes

    // What the icon does with a click (a QSystemTrayIcon::ActivationReason); public for tests.
    void handleActivation(int reason);

signals:
    // A left double-click on the icon; every other click is ignored.
    void restoreRequested();

private:
    QSystemTrayIcon* icon_ = nullptr;
};

} // namespace zolbin
