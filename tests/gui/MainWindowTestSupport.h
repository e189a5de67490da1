// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the main window tests: the application object, the program as main() builds it, a prepared
// settings file and showing the main window as the active window.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "directory/Lists.h"
#include "platform/Codepage.h"
#include "records/Session.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/Companies.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace zolbin::test {

inline void ensureApplication()
{
    dialogTestApp();
    // Closing the main window in one test must not end the event loops of the next.
    QApplication::setQuitOnLastWindowClosed(false);
}

// The program as main() builds it on the test's data folder: the session, then every window, the main
// window first.
struct Program final
{
    explicit Program(const DataFolder& folder) : session(folder), windows(session) {}

    Session session;
    Windows windows;

    TfmSend& main() { return *windows.fmSend; }
};

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

// Waits until the window's send jobs are over, the pages waiting for them included; false at the limit.
// (A template, so that tests of the dialogs alone, which include this file without the main window's
// library, never emit it.)
template <typename MainWindow> bool waitForSends(const MainWindow* window, int limitMs = 15000)
{
    return QTest::qWaitFor([window] { return !window->sends().sending(); }, limitMs);
}

inline bool showActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, 2000);
}

// A subscriber record; names and texts are UTF-8 and stored as cp1251.
inline TAbonent subscriber(const char* name, std::int32_t number, std::int32_t msgLen,
                           const std::string& company, const char* info = "")
{
    TAbonent a;
    a.Name = cp(name);
    a.Number = number;
    a.MsgLen = msgLen;
    a.Provider = company;
    a.Info = cp(info);
    return a;
}

// A paging company on 127.0.0.1 with the given gate; the name is UTF-8.
inline TProvider company(const char* name, std::uint8_t gate, std::int32_t port = 444)
{
    return LoopbackCompany(cp(name), gate, port);
}

// Writes "Abonent.lst", "Group.lst" (each group: its name and the indexes of its members among the
// subscribers) and "Company.lst" in the (test's) data folder.
inline void writeDirectory(const DataFolder& folder, const std::vector<TAbonent>& abonents,
                           const std::vector<std::pair<const char*, std::vector<int>>>& groups,
                           const std::vector<TProvider>& companies)
{
    TAbonentList abonentList;
    for (const TAbonent& a : abonents)
        abonentList.Add(std::make_shared<TAbonent>(a));
    ASSERT_TRUE(abonentList.SaveToFile(folder.path(AbonentFileName)));
    TGroupList groupList;
    for (const auto& [name, members] : groups) {
        auto g = std::make_shared<TGroup>();
        g->Name = cp(name);
        for (int m : members)
            g->Members.Add(abonentList.Items(m));
        groupList.Add(g);
    }
    ASSERT_TRUE(groupList.SaveToFile(folder.path(GroupFileName)));
    TProviderList companyList;
    for (const TProvider& c : companies)
        companyList.Add(std::make_shared<TProvider>(c));
    ASSERT_TRUE(companyList.SaveToFile(folder.path(CompanyFileName)));
}

// Ticks or unticks a line as the operator does with the keyboard: the line made current, then Space.
inline void toggleTick(QListWidget* list, int row)
{
    list->setCurrentRow(row);
    QTest::keyClick(list, Qt::Key_Space);
}
inline void toggleTick(TickList* list, int row)
{
    list->setCurrentRow(row);
    QTest::keyClick(list, Qt::Key_Space);
}

} // namespace zolbin::test
