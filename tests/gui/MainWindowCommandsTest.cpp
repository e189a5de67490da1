// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's command surface: tool bar hints, menus and shortcuts, which commands work, the
// signature toggle, the "CAPS" panel, the dialogs of the help menu and closing the program.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/About.h"
#include "platform/Codepage.h"
#include "platform/ui/CapsLock.h"
#include "platform/ui/KeyboardSource.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace zolbin {
namespace {

class MainWindowCommands : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override { dir.write("Zolbin.ini", test::settingsFile("")); }

    test::TempDataDir dir;
    test::PromptRecorder prompts;
};

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST_F(MainWindowCommands, ToolButtonsCarryTheirHintsInClusterOrder)
{
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"btnSend", "Отправить сообщение"},
        {"btnUnlisted", "Незарегистрированный абонент"},
        {"btnLater", "Сервисные функции"},
        {"btnNoShort", "Временное блокирование подписи"},
        {"btnClear", "Очистить окно ввода сообщения"},
        {"btnCopy", "Копировать в буфер"},
        {"btnCut", "Вырезать в буфер"},
        {"btnPaste", "Вставить из буфера"},
        {"btnUndo", "Отменить последнее редактирование"},
        {"btnAbonent", "Абоненты"},
        {"btnGroup", "Группы"},
        {"btnProvider", "Провайдеры"},
        {"btnArchive", "Архив"},
        {"btnDelArch", "Удалить архив"},
        {"btnQueue", "Очередь сообщений"},
        {"btnNameSort", "Сортировка списка по имени абонента"},
        {"btnPrev", "На одну позицию вверх"},
        {"btnNext", "На одну позицию вниз"},
        {"btnNumberSort", "Сортировка списка по номеру пейджера"},
        {"btnHelp", "Помощь"},
        {"btnExit", "Завершить работу"},
    };
    w.show();
    int lastX = -1;
    for (const auto& [name, hint] : expected) {
        QToolButton* button = test::control<QToolButton>(&w, name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), text(hint)) << button->objectName().toStdString();
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
        EXPECT_GT(button->mapTo(&w, QPoint()).x(), lastX) << button->objectName().toStdString();
        lastX = button->mapTo(&w, QPoint()).x();
    }
    const auto button = [&w](const char* name) { return test::control<QToolButton>(&w, name); };
    EXPECT_TRUE(button("btnNoShort")->isCheckable());
    // Help and exit sit at the right end, further apart than the small gaps between the other clusters.
    const int clusterGap =
        button("btnNoShort")->x() - (button("btnLater")->x() + button("btnLater")->width());
    EXPECT_GT(clusterGap, 0);
    EXPECT_GT(button("btnHelp")->x() - (button("btnNumberSort")->x() + button("btnNumberSort")->width()),
              2 * clusterGap);
}

// A screen reader names every tool button (the hint's text: the pictures have none), the editor and
// the lists, in Russian.
TEST_F(MainWindowCommands, EveryToolButtonTheEditorAndTheListsHaveARussianAccessibleName)
{
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    const auto russian = [](const QString& name) {
        return std::any_of(name.begin(), name.end(),
                           [](QChar c) { return c.unicode() >= 0x410 && c.unicode() <= 0x44F; });
    };
    const QList<QToolButton*> buttons = w.findChildren<QToolButton*>();
    EXPECT_GE(buttons.size(), 20);
    for (const QToolButton* button : buttons) {
        EXPECT_TRUE(russian(button->accessibleName()))
            << button->objectName().toStdString() << " " << button->accessibleName().toStdString() << " "
            << button->toolTip().toStdString() << " " << button->parent()->metaObject()->className();
        if (!button->toolTip().isEmpty()) {
            EXPECT_EQ(button->accessibleName(), button->toolTip()) << button->objectName().toStdString();
        }
    }
    for (const char* name : {"RichEdit", "lbAbonent", "lbGroup", "RichEditDesc", "EditFind", "pnlCount"})
        EXPECT_TRUE(russian(test::control<QWidget>(&w, name)->accessibleName())) << name;
}

TEST_F(MainWindowCommands, MenusHoldTheirItemsSeparatorsAndShortcuts)
{
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    // One row per entry: the text ("-" for a separator) and the shortcut.
    const std::vector<std::pair<const char*, std::vector<std::pair<const char*, const char*>>>> menus = {
        {"&Сообщение",
         {{"Отправить", "F2"},
          {"Незарегистрированный абонент", "F3"},
          {"Сервис", "F4"},
          {"Временное блокирование подписи", "F5"},
          {"-", ""},
          {"Завершение работы", ""}}},
        {"&Редактирование",
         {{"Очистить окно ввода", ""},
          {"Копировать\tCtrl+C", ""},
          {"Вырезать\tCtrl+X", ""},
          {"Вставить\tCtrl+V", ""},
          {"Отменить последнее редакт-ие\tCtrl+Z", ""},
          {"-", ""},
          {"Увел. размер шрифта", "Alt+["},
          {"Уменьш. размер шрифта", "Alt+]"},
          {"Установить по умолчанию", ""}}},
        {"&Архив",
         {{"Архив", "F6"},
          {"Удалить архив", ""},
          {"Очередь сообщений", ""},
          {"-", ""},
          {"Журнал работы", ""},
          {"Удалить журнал работы", ""}}},
        {"&Конфигурация",
         {{"Абоненты...", ""},
          {"Группы...", ""},
          {"Пейдж. компания...", ""},
          {"-", ""},
          {"Сортировка по имени", ""},
          {"На позицию вверх", ""},
          {"На позицию вниз", ""},
          {"Сортировка по номеру ", ""},
          {"-", ""},
          {"Настройки...", ""}}},
        {"&Помощь", {{"Помощь", "F1"}, {"-", ""}, {"Зарегистрируйся!", ""}, {"О программе...", ""}}},
    };
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(menus.size()));
    for (std::size_t m = 0; m < menus.size(); ++m) {
        EXPECT_EQ(bar[m]->text(), text(menus[m].first));
        const QList<QAction*> items = bar[m]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(menus[m].second.size())) << menus[m].first;
        for (qsizetype i = 0; i < items.size(); ++i) {
            const auto& [itemText, key] = menus[m].second[static_cast<std::size_t>(i)];
            if (std::string(itemText) == "-") {
                EXPECT_TRUE(items[i]->isSeparator()) << menus[m].first << " " << i;
                continue;
            }
            EXPECT_EQ(items[i]->text(), text(itemText));
            EXPECT_EQ(items[i]->shortcut(), QKeySequence(QString::fromLatin1(key))) << itemText;
            EXPECT_FALSE(items[i]->icon().isNull()) << itemText;
        }
    }
    EXPECT_TRUE(w.action(Command::SignatureOff)->isCheckable());
}

// Each tool button is its menu item's action: the one object of the command, which it follows. At start
// every command is on but the service functions and the paste.
TEST_F(MainWindowCommands, EachToolButtonRunsItsMenuItemsActionAndAllButTwoAreOnAtStart)
{
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    std::set<const QAction*> menuItems;
    for (QAction* menu : w.menuBar()->actions())
        for (QAction* a : menu->menu()->actions())
            if (!a->isSeparator())
                menuItems.insert(a);
    ASSERT_EQ(menuItems.size(), CommandCount);
    for (Command command : AllCommands()) {
        const QAction* a = w.action(command);
        EXPECT_EQ(menuItems.count(a), 1u) << CommandName(command);
        EXPECT_EQ(a->isEnabled(), command != Command::Service && command != Command::Paste)
            << CommandName(command);
    }
    int buttons = 0;
    for (QToolButton* b : w.findChildren<QToolButton*>(QString(), Qt::FindChildrenRecursively)) {
        // The main window's own buttons; the other windows are its children too.
        if (test::owningWindow(b) != &w || !b->objectName().startsWith(QLatin1String("btn")))
            continue;
        ++buttons;
        ASSERT_EQ(menuItems.count(b->defaultAction()), 1u) << b->objectName().toStdString();
        EXPECT_EQ(b->isEnabled(), b->defaultAction()->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(b->isCheckable(), b->defaultAction()->isCheckable()) << b->objectName().toStdString();
    }
    EXPECT_EQ(buttons, 21);
}

TEST_F(MainWindowCommands, SignatureToggleAndMenuItemAlwaysAgree)
{
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    QAction* signatureOff = w.action(Command::SignatureOff);
    QToolButton* btnNoShort = test::control<QToolButton>(&w, "btnNoShort");
    ASSERT_TRUE(test::showActive(&w));
    EXPECT_FALSE(w.signatureBlocked());

    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_TRUE(signatureOff->isChecked());
    EXPECT_TRUE(btnNoShort->isChecked());
    EXPECT_TRUE(w.signatureBlocked());
    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_FALSE(signatureOff->isChecked());
    EXPECT_FALSE(btnNoShort->isChecked());

    // The tool toggle, then the menu shortcut: both released again.
    QTest::mouseClick(btnNoShort, Qt::LeftButton);
    EXPECT_TRUE(signatureOff->isChecked());
    EXPECT_TRUE(btnNoShort->isChecked());
    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_FALSE(signatureOff->isChecked());
    EXPECT_FALSE(btnNoShort->isChecked());
    EXPECT_FALSE(w.signatureBlocked());
}

TEST_F(MainWindowCommands, CapsPanelIsBlackWhileCapsLockIsOnAndSilverOtherwise)
{
    const QColor black(0, 0, 0);
    const QColor silver(192, 192, 192);
    auto colour = [](const TfmSend& w) {
        return test::control<QLabel>(&w, "pnlCaps")->palette().color(QPalette::WindowText);
    };

    CapsLock::instance().set(false);
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    EXPECT_EQ(test::control<QLabel>(&w, "pnlCaps")->text(), QStringLiteral("CAPS"));
    EXPECT_EQ(test::control<QLabel>(&w, "pnlCount")->text(), QStringLiteral("0:0"));
    EXPECT_EQ(colour(w), silver);
    CapsLock::instance().set(true);
    EXPECT_EQ(colour(w), black);
    CapsLock::instance().set(false);
    EXPECT_EQ(colour(w), silver);

    // The Caps Lock key pressed in the main window, wherever the focus is.
    ASSERT_TRUE(test::showActive(&w));
    test::control<TickList>(&w, "lbAbonent")->setFocus();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_CapsLock);
    EXPECT_TRUE(CapsLock::instance().isOn());
    EXPECT_EQ(colour(w), black);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_CapsLock);
    EXPECT_EQ(colour(w), silver);
    CapsLock::instance().set(false);
}

TEST_F(MainWindowCommands, HelpMenuShowsTheAboutBoxAndTheNoticeModally)
{
    test::Program program(dir.folder());
    Windows& windows = program.windows;
    for (auto [item, dialog] :
         {std::pair<QAction*, QDialog*>{windows.fmSend->action(Command::About), windows.fmAbout.get()},
          {windows.fmSend->action(Command::Notice), windows.fmSmile.get()}}) {
        bool seen = false;
        test::EventLoopStep close([&] {
            if (!dialog->isVisible())
                return false;
            seen = dialog->isModal();
            QTest::keyClick(dialog, Qt::Key_Escape);
            return true;
        });
        item->trigger();
        EXPECT_TRUE(seen) << item->objectName().toStdString();
        EXPECT_FALSE(dialog->isVisible());
    }
}

TEST_F(MainWindowCommands, ExitClosesTheMainWindowAndNothingIsWritten)
{
    auto listing = [] {
        std::map<std::string, std::uintmax_t> files;
        for (const auto& e : std::filesystem::directory_iterator("."))
            files[e.path().filename().string()] = e.is_regular_file() ? e.file_size() : 0;
        return files;
    };
    const std::string ini = dir.read("Zolbin.ini");
    {
        test::Program program(dir.folder());
        Windows& windows = program.windows;
        const auto afterStart = listing();
        const std::string company = dir.read("Company.lst");
        ASSERT_TRUE(test::showActive(windows.fmSend.get()));
        QTest::mouseClick(test::control<QToolButton>(windows.fmSend.get(), "btnExit"), Qt::LeftButton);
        EXPECT_FALSE(windows.fmSend->isVisible());
        EXPECT_EQ(listing(), afterStart);
        EXPECT_EQ(dir.read("Company.lst"), company);
    }
    EXPECT_EQ(dir.read("Zolbin.ini"), ini);
    EXPECT_EQ(dir.read("Zolbin.log"), "");
}

// A keyboard as a desktop would report it, for the start-up's layout and the Caps Lock indicator.
struct FakeKeyboard final : KeyboardSource
{
    std::vector<std::string> groupNames() const override { return groups; }
    int activeGroup() const override { return active; }
    bool lockGroup(int index) override
    {
        active = index;
        ++locks;
        return true;
    }
    std::optional<bool> capsLockOn() const override { return caps; }

    std::vector<std::string> groups;
    int active = 0;
    int locks = 0;
    std::optional<bool> caps;
};

TEST_F(MainWindowCommands, StartSwitchesToTheChosenGroupAndActivationReadsCapsLock)
{
    const struct
    {
        std::vector<std::string> groups;
        const char* layout; // the setting "Layout"
        int active;         // the group active afterwards
        int locks;
    } cases[] = {
        {{"English (US)", "Russian"}, "0", 1, 1}, {{"Russian", "English (US)"}, "1", 1, 1},
        {{"English (US)", "German"}, "0", 0, 0}, // no Russian group: the keyboard stays as it is
        {{"Russian", "English (UK)"}, "1", 0, 0}, {{}, "0", 0, 0}, // Wayland, or no X11 at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("Layout=") + c.layout);
        dir.write("Zolbin.ini", test::settingsFile(std::string("Layout=") + c.layout + "\r\n"));
        FakeKeyboard keyboard;
        keyboard.groups = c.groups;
        KeyboardSource* previous = setKeyboardSource(&keyboard);
        {
            test::Program program(dir.folder());
            EXPECT_EQ(keyboard.active, c.active);
            EXPECT_EQ(keyboard.locks, c.locks);
        }
        setKeyboardSource(previous);
    }

    // Caps Lock toggled in another program is seen when the operator comes back to the window.
    FakeKeyboard keyboard;
    KeyboardSource* previous = setKeyboardSource(&keyboard);
    CapsLock::instance().set(false);
    test::Program program(dir.folder());
    TfmSend& w = program.main();
    keyboard.caps = true;
    w.FormActivate();
    EXPECT_EQ(test::control<QLabel>(&w, "pnlCaps")->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    keyboard.caps = false;
    w.FormActivate();
    EXPECT_FALSE(CapsLock::instance().isOn());
    setKeyboardSource(previous);
}

} // namespace
} // namespace zolbin
