// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification-area icon (tip "Zolbin Sender") with its menu ("Развернуть", "Выход"). Where the
// desktop has no notification area the icon cannot be shown and available() is false: the main window
// then minimises normally instead of hiding where nothing could restore it.
//
// Two kinds of notification area exist. The XEmbed tray of X11 reports clicks as they come, and there
// the designed left double-click restores the window. Panels that speak the StatusNotifierItem protocol
// over D-Bus (KDE Plasma, GNOME with its AppIndicator extension, most panels today) send one "activate"
// for a click and never a double-click: there that activation restores. Qt uses the second kind whenever
// a StatusNotifierWatcher with a registered host is on the session bus, and so does this icon's rule.

#include <QObject>
#include <memory>

class QAction;
class QDBusConnection;
class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace zolbin {

class TrayIcon final : public QObject
{
    Q_OBJECT
public:
    enum class Protocol
    {
        XEmbed,
        StatusNotifier
    };

    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    bool available() const;
    bool shown() const;
    void add();    // failures are swallowed
    void remove(); // safe whether shown or not
    // A desktop notification from the icon (failed: with the error icon). Where there is a notification
    // area and the icon is not shown, it shows for the notification's time only. False when nothing could
    // be shown.
    bool notify(const QString& text, bool failed = false);

    // The kind of notification area the icon lives in (decided when it is first shown).
    Protocol protocol() const;
    // The icon's menu: "Развернуть" (TrayRestoreItem) and "Выход" (TrayExitItem).
    QMenu* menu() const { return menu_.get(); }

    // Tests and platforms without a tray: force the answer of available().
    static void setAvailabilityOverride(int value); // -1 = ask the platform, 0 = no, 1 = yes
    // Tests: force protocol(). -1 = ask the session bus, 0 = XEmbed, 1 = StatusNotifierItem.
    static void setProtocolOverride(int value);
    // Whether the bus has a StatusNotifierWatcher with a registered host, as Qt asks before it uses one.
    static bool statusNotifierHostRegistered(const QDBusConnection& bus);

    // What the icon does with a click (a QSystemTrayIcon::ActivationReason); public for tests.
    void handleActivation(int reason);

signals:
    // The window is to come back: a left double-click on an XEmbed icon, the activation of a
    // StatusNotifierItem, or the menu's "Развернуть".
    void restoreRequested();
    // The menu's "Выход".
    void quitRequested();

private:
    QSystemTrayIcon* icon_ = nullptr;
    QTimer* transient_ = nullptr; // running while the icon is shown for a notification alone
    std::unique_ptr<QMenu> menu_;
    mutable int protocol_ = -1; // Protocol once asked
};

} // namespace zolbin
