// SPDX-License-Identifier: GPL-3.0-or-later
// Alt with a letter in every window: no key is marked twice in one window (counted by its place on the
// keyboard, so that a Latin and a Cyrillic letter on one key clash too), and a mnemonic answers its key
// also when the other keyboard layout types another letter with it.

#include "app/EditorCommands.h"
#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/Options.h"
#include "directory/ui/PrvReg.h"
#include "directory/ui/WctpPanel.h"
#include "platform/ui/KeyPositions.h"
#include "platform/ui/LayoutMnemonics.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace zolbin {
namespace {

// Every caption of the window's own controls with a letter marked by "&".
std::vector<QString> markedCaptions(const QWidget* window)
{
    std::vector<QString> captions;
    const auto take = [&](const QString& caption) {
        if (!MnemonicLetter(caption).isNull())
            captions.push_back(caption);
    };
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window)
            continue;
        if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            take(button->text());
        else if (const auto* label = qobject_cast<const QLabel*>(control); label && label->buddy())
            take(label->text());
        else if (const auto* box = qobject_cast<const QGroupBox*>(control))
            take(box->title());
        else if (const auto* tabs = qobject_cast<const QTabBar*>(control))
            for (int i = 0; i < tabs->count(); ++i)
                take(tabs->tabText(i));
        else if (const auto* bar = qobject_cast<const QMenuBar*>(control))
            for (const QAction* menu : bar->actions())
                take(menu->text());
    }
    return captions;
}

class Mnemonics : public ::testing::Test
{
protected:
    Mnemonics() { dir.write("Zolbin.ini", test::settingsFile("")); }

    struct Application
    {
        Application() { test::ensureApplication(); }
    } app;
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    test::Program program{dir.folder()};
    Windows& w = program.windows;
};

TEST_F(Mnemonics, NoKeyIsMarkedTwiceInOneWindow)
{
    // Every window the program made: the main window and its dialogs, those the dialogs open included.
    int marked = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const char* name = window->metaObject()->className();
        std::map<char, QString> keys;
        const std::vector<QString> captions = markedCaptions(window);
        marked += captions.empty() ? 0 : 1;
        for (const QString& caption : captions) {
            const char key = LetterPosition(MnemonicLetter(caption));
            const auto [first, fresh] = keys.emplace(key, caption);
            EXPECT_TRUE(fresh) << name << ": \"" << caption.toStdString() << "\" and \""
                               << first->second.toStdString() << "\" on one key";
        }
    }
    EXPECT_GE(marked, 16); // the main window and nearly all of its 16 dialogs
}

// Alt with a Cyrillic letter, as the Russian layout types it (QTest types Latin keys only).
void altCyrillic(QWidget* target, char16_t letter)
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, letter, Qt::AltModifier, QString(QChar(letter).toLower()));
        QApplication::sendEvent(target, &event);
    }
}

TEST_F(Mnemonics, AKeyTypedInTheOtherLayoutRunsTheMnemonicOnIt)
{
    // The main window: Alt+Х is Alt+[ (a larger font), Alt+R the menu "&Конфигурация".
    TfmSend& send = program.main();
    send.show();
    const int font = send.editing().fontSize();
    altCyrillic(&send, 0x425);
    EXPECT_EQ(send.editing().fontSize(), font + 2);
    QTest::keyClick(&send, Qt::Key_R, Qt::AltModifier);
    auto* config = test::control<QMenu>(&send, "ConfigMenu");
    EXPECT_EQ(send.menuBar()->activeAction(), config->menuAction());
    config->hide();

    // Alt+V in the Latin layout is the key of "От&мена": the settings dialog closes.
    w.fmOptions->show();
    QTest::keyClick(w.fmOptions->EditName, Qt::Key_V, Qt::AltModifier);
    EXPECT_FALSE(w.fmOptions->isVisible());

    // Alt+Г in the Russian layout is the key of "WCTP - &URL": its field takes the focus.
    w.fmPrvReg->SetAddMode();
    w.fmPrvReg->show();
    w.fmPrvReg->rbWCTP->click();
    altCyrillic(w.fmPrvReg->EditName, 0x413);
    EXPECT_EQ(w.fmPrvReg->focusWidget(), w.fmPrvReg->PanelWCTP->EditWctpUrl);
    w.fmPrvReg->hide();
}

} // namespace
} // namespace zolbin
