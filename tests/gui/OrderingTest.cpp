// SPDX-License-Identifier: GPL-3.0-or-later
// Ordering the recipient lists in the main window (sort by name and by number, move up and down, each
// rewriting its list file at once) and the incremental search typed with Ctrl held down.

#include "app/MainWindow.h"
#include "app/SearchKeys.h"
#include "platform/IoError.h"
#include "platform/ui/KeyboardLayout.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>
#include <cerrno>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

using Texts = std::vector<std::string>;

Texts lines(const TickList* list)
{
    Texts result;
    for (int i = 0; i < list->count(); ++i)
        result.push_back(list->lineText(i).toStdString());
    return result;
}

template <typename List> Texts namesInFile(const std::string& path)
{
    List list;
    EXPECT_TRUE(list.LoadFromFile(path));
    Texts names;
    for (const std::string& n : list.Names())
        names.push_back(utf8(n));
    return names;
}

class MainWindowOrdering : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }

    void start(std::vector<TAbonent> subscribers)
    {
        dir.write("Zolbin.ini", test::settingsFile(""));
        test::writeDirectory(dir.folder(), subscribers,
                             {{"Ночная", {0, 1}}, {"Дневная", {2}}, {"Альфа", {3}}},
                             {HomeProviderDefaults()});
        program = std::make_unique<test::Program>(dir.folder());
        w = &program->main();
        lbAbonent = test::control<TickList>(w, "lbAbonent");
        TabbedNotebook1 = test::control<QTabWidget>(w, "TabbedNotebook1");
        ASSERT_TRUE(test::showActive(w));
    }
    void startWithSortExample()
    {
        start({test::subscriber("Яков", 5, 240, ""), test::subscriber("антон", 3, 240, ""),
               test::subscriber("Антон", 1, 240, ""), test::subscriber("Zeta", 40, 240, ""),
               test::subscriber("zeta", -2, 240, ""), test::subscriber("ёлка", 7, 240, "")});
    }
    // Every command first drops the recipient: here one is chosen, to be dropped.
    void chooseSubscriber(int row)
    {
        test::toggleTick(lbAbonent, row);
        ASSERT_FALSE(test::control<QLabel>(w, "Label1")->text().isEmpty());
    }
    void expectNoRecipient() const
    {
        EXPECT_TRUE(test::control<QLabel>(w, "Label1")->text().isEmpty());
        EXPECT_EQ(program->session.SendParams.CurNumber, 0);
        EXPECT_TRUE(test::control<MessageEditor>(w, "RichEdit")->isReadOnly());
        EXPECT_FALSE(test::control<QToolButton>(w, "btnLater")->isEnabled());
    }

    test::TempDataDir dir;
    test::PromptRecorder boxes;
    std::unique_ptr<test::Program> program;
    TfmSend* w = nullptr;
    TickList* lbAbonent = nullptr;
    QTabWidget* TabbedNotebook1 = nullptr;
};

TEST_F(MainWindowOrdering, SortsFollowTheCodePageOrTheNumberOnThePageShown)
{
    startWithSortExample();
    const std::string groupFile = dir.read(GroupFileName);
    chooseSubscriber(0);
    test::control<QToolButton>(w, "btnNameSort")->click();
    expectNoRecipient();
    EXPECT_EQ(lines(lbAbonent),
              (Texts{"Zeta -- 40", "zeta -- -2", "ёлка -- 7", "Антон -- 1", "Яков -- 5", "антон -- 3"}));
    EXPECT_EQ(namesInFile<TAbonentList>(dir.file(AbonentFileName)),
              (Texts{"Zeta", "zeta", "ёлка", "Антон", "Яков", "антон"}));
    EXPECT_EQ(dir.read(GroupFileName), groupFile);

    chooseSubscriber(3);
    w->action(Command::SortByNumber)->trigger();
    expectNoRecipient();
    EXPECT_EQ(namesInFile<TAbonentList>(dir.file(AbonentFileName)),
              (Texts{"zeta", "Антон", "антон", "Яков", "ёлка", "Zeta"}));

    // The groups page sorts the groups only, and offers no sort by number.
    const std::string subscriberFile = dir.read(AbonentFileName);
    TabbedNotebook1->setCurrentIndex(1);
    EXPECT_FALSE(test::control<QToolButton>(w, "btnNumberSort")->isEnabled() ||
                 w->action(Command::SortByNumber)->isEnabled());
    w->action(Command::SortByName)->trigger();
    EXPECT_EQ(lines(test::control<TickList>(w, "lbGroup")), (Texts{"Альфа", "Дневная", "Ночная"}));
    EXPECT_EQ(namesInFile<TGroupList>(dir.file(GroupFileName)), (Texts{"Альфа", "Дневная", "Ночная"}));
    EXPECT_EQ(program->session.groups.Items(2)->Members.Count(), 2);
    EXPECT_EQ(dir.read(AbonentFileName), subscriberFile);
    TabbedNotebook1->setCurrentIndex(0);
    EXPECT_TRUE(test::control<QToolButton>(w, "btnNumberSort")->isEnabled() &&
                w->action(Command::SortByNumber)->isEnabled());
    EXPECT_TRUE(boxes.requests().empty());
}

TEST_F(MainWindowOrdering, MovesStopAtBothEndsAndKeepTheMovedEntryHighlighted)
{
    startWithSortExample();
    const std::string before = dir.read(AbonentFileName);
    test::control<QToolButton>(w, "btnPrev")->click(); // nothing highlighted after the start
    chooseSubscriber(0);
    w->action(Command::MoveUp)->trigger();
    expectNoRecipient();
    lbAbonent->setCurrentRow(5);
    w->action(Command::MoveDown)->trigger();
    EXPECT_EQ(boxes.texts(), (Texts{"Элемент списка не выбран", "Начало списка уже достигнуто",
                                    "Конец списка уже достигнут"}));
    EXPECT_EQ(dir.read(AbonentFileName), before);

    // The third line goes down one; the file holds the new order at once.
    lbAbonent->setCurrentRow(2);
    test::control<QToolButton>(w, "btnNext")->click();
    EXPECT_EQ(namesInFile<TAbonentList>(dir.file(AbonentFileName)),
              (Texts{"Яков", "антон", "Zeta", "Антон", "zeta", "ёлка"}));
    EXPECT_EQ(lbAbonent->currentRow(), 3);
    EXPECT_EQ(lbAbonent->highlightedRow(), 3);
    EXPECT_EQ(lbAbonent->lineText(3).toStdString(), "Антон -- 1");

    TabbedNotebook1->setCurrentIndex(1);
    test::control<TickList>(w, "lbGroup")->setCurrentRow(2);
    test::control<QToolButton>(w, "btnPrev")->click();
    EXPECT_EQ(namesInFile<TGroupList>(dir.file(GroupFileName)), (Texts{"Ночная", "Альфа", "Дневная"}));
    EXPECT_EQ(test::control<TickList>(w, "lbGroup")->currentRow(), 1);
}

// A line ticked by a click on its box becomes the current line, as a click on its name makes it: the
// move commands take it without a click on the name first.
TEST_F(MainWindowOrdering, LineTickedByItsBoxIsTheOneMoved)
{
    startWithSortExample();
    const QRect line = lbAbonent->lineRect(2);
    QTest::mouseClick(lbAbonent->viewport(), Qt::LeftButton, {}, QPoint(line.left() + 9, line.center().y()));
    ASSERT_TRUE(lbAbonent->ticked(2));
    EXPECT_EQ(lbAbonent->currentRow(), 2);
    test::control<QToolButton>(w, "btnNext")->click();
    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_EQ(namesInFile<TAbonentList>(dir.file(AbonentFileName)),
              (Texts{"Яков", "антон", "Zeta", "Антон", "zeta", "ёлка"}));
    EXPECT_EQ(lbAbonent->currentRow(), 3);
}

TEST_F(MainWindowOrdering, FailedRewriteShowsTheErrorAndTheListAsMemoryHoldsIt)
{
    startWithSortExample();
    const std::string before = dir.read(AbonentFileName);
    {
        // "Abonent.lst" cannot be written whole: no file may grow beyond a few bytes. (A folder put in its
        // place would be a change made behind the window's back, which is never overwritten.)
        test::FileSizeLimit limit(16);
        ASSERT_TRUE(limit.active());
        test::control<QToolButton>(w, "btnNameSort")->click();
    }
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_EQ(boxes.requests()[0].text, toQString(ioErrorText(ioCodeFromErrno(EFBIG)).russian()));
    EXPECT_EQ(dir.read(AbonentFileName), before);
    Texts memory;
    for (const std::string& line : program->session.abonents.DisplayLines())
        memory.push_back(utf8(line));
    EXPECT_EQ(memory.front(), "Zeta -- 40");
    EXPECT_EQ(lines(lbAbonent), memory);
}

// --- The search ---------------------------------------------------------------------------------------

class MainWindowSearch : public MainWindowOrdering
{
protected:
    void SetUp() override { KeyboardLayout::setIgnorePlatform(true); }
    void TearDown() override
    {
        KeyboardLayout::activate(KeyboardLayout::English);
        KeyboardLayout::setIgnorePlatform(false);
    }

    // A key pressed and released where the focus is, Ctrl held down all along by default. (A test click
    // would press Ctrl anew before each key, which ends the search.)
    void press(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier, bool repeat = false)
    {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, mods, QString(), repeat);
            QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : w, &event);
        }
    }
    std::string searchText() const { return test::control<QLineEdit>(w, "EditFind")->text().toStdString(); }
    bool panelShown() const { return test::control<QWidget>(w, "Panel5")->isVisible(); }
};

TEST_F(MainWindowSearch, RussianLayoutTypesTheCyrillicLetterOfEachKey)
{
    start({test::subscriber("Анна", 1, 240, ""), test::subscriber("Иванов", 2, 240, ""),
           test::subscriber("иАРос", 3, 240, ""), test::subscriber("ИАРТ", 4, 240, "")});
    KeyboardLayout::activate(KeyboardLayout::Russian);

    // The keys marked B, F, H: each narrows the look-up, in any letter case; nothing is ticked.
    press(Qt::Key_B);
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(QApplication::focusWidget(), test::control<QLineEdit>(w, "EditFind"));
    EXPECT_EQ(lbAbonent->currentRow(), 1);
    press(Qt::Key_F);
    press(Qt::Key_H);
    EXPECT_EQ(searchText(), "иар");
    EXPECT_EQ(lbAbonent->currentRow(), 2);
    EXPECT_FALSE(lbAbonent->ticked(2));
    EXPECT_EQ(program->session.SendParams.CurNumber, 0);

    // A desktop in the Russian layout reports the Cyrillic letters of the same keys. Digits stay digits,
    // punctuation keys give their letters; a text that finds nothing leaves the highlight.
    press(Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_FALSE(panelShown());
    for (int key :
         {0x418, 0x430, 0x420, int(Qt::Key_7), int(Qt::Key_Semicolon), int(Qt::Key_BracketRight)}) // И а Р
        press(key);
    EXPECT_EQ(searchText(), "иар7жъ");
    EXPECT_EQ(lbAbonent->currentRow(), 2);

    // The look-up is on the subscribers whichever page is shown.
    TabbedNotebook1->setCurrentIndex(1);
    press(Qt::Key_Left, Qt::NoModifier);
    press(Qt::Key_F);
    EXPECT_EQ(lbAbonent->currentRow(), 0);
}

TEST_F(MainWindowSearch, UsLayoutTheCapAndTheKeysThatCloseThePanel)
{
    start({test::subscriber("Борис", 1, 240, ""), test::subscriber("ANTON", 2, 240, ""),
           test::subscriber("Anna", 3, 240, ""), test::subscriber(std::string(25, 'A').c_str(), 4, 240, "")});
    KeyboardLayout::activate(KeyboardLayout::English);
    lbAbonent->setFocus(); // in the message editor Ctrl+A would select its text
    EXPECT_EQ(QApplication::focusWidget(), lbAbonent);
    press(Qt::Key_A);
    press(Qt::Key_N);
    press(Qt::Key_Semicolon); // no character under the US layout
    EXPECT_EQ(searchText(), "an");
    EXPECT_EQ(lbAbonent->currentRow(), 1);

    // Ctrl repeating while held keeps the panel; a new press of Ctrl closes and empties it.
    press(Qt::Key_Control, Qt::ControlModifier, true);
    EXPECT_TRUE(panelShown());
    press(Qt::Key_Control);
    EXPECT_FALSE(panelShown());
    EXPECT_TRUE(test::control<QLineEdit>(w, "EditFind")->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), lbAbonent);
    press(Qt::Key_1);
    EXPECT_EQ(searchText(), "1");
    press(Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_FALSE(panelShown());

    // 25 characters at most; the look-up still runs.
    for (int i = 0; i < 26; ++i)
        press(Qt::Key_A);
    EXPECT_EQ(searchText(), std::string(25, 'a'));
    EXPECT_EQ(lbAbonent->currentRow(), 3);

    // A key without Ctrl closes the panel and ends there; with the panel closed keys go on as usual.
    press(Qt::Key_Up, Qt::NoModifier);
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(lbAbonent->currentRow(), 3);
    press(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(lbAbonent->currentRow(), 2);
}

// Where the platform names keys by xkb keycode, the keycode decides: the key on which a Russian layout
// types "." is no search key, whatever character it reports.
TEST(SearchKeys, KeycodeDecidesWhereKnownElseTheLatinOrCyrillicKeyCode)
{
    EXPECT_EQ(KeyPosition(Qt::Key_Period, 61), 0); // the / key
    EXPECT_EQ(KeyPosition(0x418, 56), 'b');
    EXPECT_EQ(KeyPosition(Qt::Key_unknown, 19), '0');
    EXPECT_EQ(KeyPosition(Qt::Key_unknown, 48), '\'');
    EXPECT_EQ(KeyPosition(Qt::Key_1, 87), 0); // keypad 1
    EXPECT_EQ(KeyPosition(0x439, 0), 'q');    // й
    EXPECT_EQ(KeyPosition(0x42D, 0), '\'');   // Э
    EXPECT_EQ(KeyPosition(0x401, 0), 0);      // Ё
    EXPECT_EQ(KeyPosition(Qt::Key_Slash, 0), 0);
}

} // namespace
} // namespace zolbin
