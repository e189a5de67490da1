#pragma once
// Shared by the main window tests: the application object, a prepared settings file and showing the
// main window as the active window.

#include "platform/Codepage.h"
#include "tests/gui/DialogTestSupport.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <string>

namespace zolbin::test {

inline void ensureApplication()
{
    dialogTestApp();
    // Closing the main window in one test must not end the event loops of the next.
    QApplication::setQuitOnLastWindowClosed(false);
}

// A settings file in the test's data folder: sender e-mail set (so the settings dialog stays away),
// no splash, plus the given "Setting" lines ("Tray=1\r\n..."). Texts are UTF-8 and stored as cp1251.
inline std::string settingsFile(const std::string& settingLines, const std::string& email = "op@example.com")
{
    std::string ini = "[Sender]\r\n";
    if (!email.empty())
        ini += "EMail=" + email + "\r\n";
    ini += "[Setting]\r\nNoSplash=1\r\n" + settingLines;
    return cp(ini);
}

inline bool showActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 2000);
}

} // namespace zolbin::test
