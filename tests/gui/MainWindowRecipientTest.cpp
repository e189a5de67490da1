// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing the recipient in the main window: the tick rules of the two lists, what the window shows
// for each choice, the service functions by company, the length counter, the editor's limit, the
// number sort by notebook page and the editor's lines as the send reads them.

#include "app/MainWindow.h"
#include "app/RecipientChoice.h"
#include "app/Windows.h"
#include "dialogs/Later.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

using test::toggleTick;
using test::typeText;

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Companies: the home provider (here with the SMTP gate: the home provider has the service functions
// whatever its gate), an SMTP company and an SNPP company. Subscribers of each, one whose company does
// not exist and one without a company. Groups: two mixing the gates, one without members.
class MainWindowRecipients : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override
    {
        dir.write("Zolbin.ini", test::settingsFile(""));
        TProvider home = HomeProviderDefaults();
        home.Gate = Gate::SMTP;
        test::writeDirectory(dir.folder(),
                             {test::subscriber("Анна", 101, 240, cp("Пейдж"), "Отдел снабжения"),
                              test::subscriber("Борис", 102, 160, cp("Почта")),
                              test::subscriber("Вера", 103, 20, HomeProviderName()),
                              test::subscriber("Глеб", 104, 5, cp("Нет такой")),
                              test::subscriber("Дина", 105, 100, "")},
                             {{"Все", {0, 1, 2}}, {"Смена", {1, 0, 2}}, {"Пустая", {}}},
                             {home, test::company("Почта", Gate::SMTP), test::company("Пейдж", Gate::SNPP)});
        program = std::make_unique<test::Program>(dir.folder());
        w = &program->main();
        RichEdit = test::control<MessageEditor>(w, "RichEdit");
        lbAbonent = test::control<TickList>(w, "lbAbonent");
        lbGroup = test::control<TickList>(w, "lbGroup");
        pnlCount = test::control<QLabel>(w, "pnlCount");
        Label1 = test::control<QLabel>(w, "Label1");
        ASSERT_TRUE(test::showActive(w));
    }

    bool serviceEnabled() const
    {
        const bool button = test::control<QToolButton>(w, "btnLater")->isEnabled();
        EXPECT_EQ(button, w->action(Command::Service)->isEnabled());
        return button;
    }
    QString editorText() const { return RichEdit->toPlainText(); }

    test::TempDataDir dir;
    test::PromptRecorder prompts;
    std::unique_ptr<test::Program> program;
    TfmSend* w = nullptr;
    MessageEditor* RichEdit = nullptr;
    TickList* lbAbonent = nullptr;
    TickList* lbGroup = nullptr;
    QLabel* pnlCount = nullptr;
    QLabel* Label1 = nullptr;
};

TEST_F(MainWindowRecipients, OneTickAtATimeAcrossBothListsAndRemovingItChoosesNothing)
{
    // Service settings of an earlier choice: every new choice drops them.
    program->session.SendParams.DeferDate = "01.01.2027";
    program->session.SendParams.RepeatCount = 1;
    program->windows.fmLater->SetServiceSummary(cp("Отложено на 01.01.2027 10:00"));
    test::control<QLabel>(w, "Label2")->setText(text("Отложено на 01.01.2027 10:00"));

    // The first tick by mouse on the check box, the others by keyboard.
    const QRect line = lbAbonent->lineRect(0);
    QTest::mouseClick(lbAbonent->viewport(), Qt::LeftButton, {}, QPoint(line.left() + 9, line.center().y()));
    ASSERT_TRUE(lbAbonent->ticked(0));
    EXPECT_EQ(Label1->text(), text("Для абонента - Анна"));
    EXPECT_EQ(test::control<QLabel>(w, "Label2")->text(), QString());
    EXPECT_EQ(test::control<QPlainTextEdit>(w, "RichEditDesc")->toPlainText(), text("Отдел снабжения"));
    EXPECT_FALSE(RichEdit->isReadOnly());
    EXPECT_TRUE(RichEdit->hasFocus());
    EXPECT_EQ(pnlCount->text(), QStringLiteral("0:240"));
    EXPECT_EQ(program->session.SendParams.CurNumber, 101);
    EXPECT_EQ(program->session.SendParams.CurProvider, cp("Пейдж"));
    EXPECT_EQ(program->session.SendParams.DeferDate, "");
    EXPECT_EQ(program->session.SendParams.RepeatCount, 0);
    EXPECT_EQ(program->windows.fmLater->ServiceSummary(), "");

    toggleTick(lbAbonent, 1);
    EXPECT_FALSE(lbAbonent->ticked(0));
    EXPECT_TRUE(lbAbonent->ticked(1));
    EXPECT_EQ(Label1->text(), text("Для абонента - Борис"));
    EXPECT_EQ(test::control<QPlainTextEdit>(w, "RichEditDesc")->toPlainText(), QString());
    EXPECT_EQ(program->session.CurGroup, -1);

    // A group takes the tick away from the subscriber and becomes the recipient.
    toggleTick(lbGroup, 1);
    EXPECT_FALSE(w->recipients().AnyAbonentTicked());
    EXPECT_TRUE(w->recipients().AnyGroupTicked());
    EXPECT_EQ(program->session.CurGroup, 1);
    EXPECT_EQ(Label1->text(), text("Для группы абонентов - Смена"));
    toggleTick(lbGroup, 0);
    EXPECT_FALSE(lbGroup->ticked(1));
    EXPECT_EQ(program->session.CurGroup, 0);

    // Removing the only tick: nothing chosen, and Send asks for a recipient.
    typeText(RichEdit, QStringLiteral("hi"));
    toggleTick(lbGroup, 0);
    EXPECT_FALSE(w->recipients().AnyGroupTicked());
    EXPECT_EQ(program->session.CurGroup, -1);
    EXPECT_EQ(program->session.SendParams.CurNumber, 0);
    EXPECT_TRUE(RichEdit->isReadOnly());
    EXPECT_EQ(editorText(), QStringLiteral("hi")) << "a change of recipient never touches the text";
    EXPECT_EQ(pnlCount->text(), QStringLiteral("0:0"));
    EXPECT_FALSE(serviceEnabled());
    EXPECT_EQ(Label1->text(), QString());
    QTest::mouseClick(test::control<QToolButton>(w, "btnSend"), Qt::LeftButton);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Необходимо выбрать абонента или группу абонентов"});

    // Ticks set by the program are not the operator's choice.
    lbAbonent->setTicked(2, true);
    EXPECT_EQ(Label1->text(), QString());
    EXPECT_TRUE(RichEdit->isReadOnly());
}

TEST_F(MainWindowRecipients, ServiceFunctionsFollowTheCompanyAndTheGroupLimitIsTheShortest)
{
    // SNPP company, SMTP company, home provider (SMTP gate here), a company that does not exist, none.
    const bool expected[] = {true, false, true, false, false};
    for (int row = 0; row < 5; ++row) {
        toggleTick(lbAbonent, row);
        EXPECT_EQ(serviceEnabled(), expected[row]) << "subscriber " << row;
    }

    // 240, 160 and 20 characters: the editor takes 20. The last member outside the home provider
    // decides: the SMTP one in "Все", the SNPP one in "Смена".
    toggleTick(lbGroup, 0);
    EXPECT_EQ(RichEdit->maxLength(), 20);
    EXPECT_EQ(pnlCount->text(), QStringLiteral("0:20"));
    EXPECT_FALSE(serviceEnabled());
    toggleTick(lbGroup, 1);
    EXPECT_TRUE(serviceEnabled());

    // A group without members is named but is no recipient.
    toggleTick(lbGroup, 2);
    EXPECT_TRUE(lbGroup->ticked(2));
    EXPECT_EQ(Label1->text(), text("Для группы абонентов - Пустая"));
    EXPECT_TRUE(RichEdit->isReadOnly());
    EXPECT_EQ(pnlCount->text(), QStringLiteral("0:0"));
    EXPECT_FALSE(serviceEnabled());
    EXPECT_EQ(program->session.CurGroup, -1);
    QTest::mouseClick(test::control<QToolButton>(w, "btnSend"), Qt::LeftButton);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Необходимо выбрать абонента или группу абонентов"});
}

TEST_F(MainWindowRecipients, CounterCountsLineBreaksAsTwoAndShowsANewLimitUntilTheNextChange)
{
    toggleTick(lbAbonent, 0);
    typeText(RichEdit, QStringLiteral("ab"));
    QTest::keyClick(RichEdit, Qt::Key_Return);
    typeText(RichEdit, QStringLiteral("c"));
    EXPECT_EQ(pnlCount->text(), QStringLiteral("5:240"));

    RichEdit->selectAll();
    QTest::keyClick(RichEdit, Qt::Key_Delete);
    typeText(RichEdit, text("двенадцать12"));
    EXPECT_EQ(pnlCount->text(), QStringLiteral("12:240"));
    toggleTick(lbAbonent, 1);
    EXPECT_EQ(pnlCount->text(), QStringLiteral("0:160"));
    typeText(RichEdit, QStringLiteral("x"));
    EXPECT_EQ(pnlCount->text(), QStringLiteral("13:160"));
}

TEST_F(MainWindowRecipients, LimitHoldsTypingAndPastingButNeverCutsTextAlreadyThere)
{
    toggleTick(lbAbonent, 3); // 5 characters
    typeText(RichEdit, QStringLiteral("abcdefg"));
    EXPECT_EQ(editorText(), QStringLiteral("abcde"));
    EXPECT_EQ(pnlCount->text(), QStringLiteral("5:5"));
    QTest::keyClick(RichEdit, Qt::Key_Backspace);
    QTest::keyClick(RichEdit, Qt::Key_Return); // a line break needs two
    EXPECT_EQ(editorText(), QStringLiteral("abcd"));
    typeText(RichEdit, QStringLiteral("z"));
    EXPECT_EQ(editorText(), QStringLiteral("abcdz"));

    // A paste is cut to the room left; its CR LF is one line break of two characters.
    RichEdit->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("12\r\n345678"));
    RichEdit->paste();
    EXPECT_EQ(editorText(), QStringLiteral("12\n3"));
    EXPECT_EQ(pnlCount->text(), QStringLiteral("5:5"));

    // 12 characters typed for a longer limit stay when the limit becomes 5; nothing more goes in, but
    // typing over a selection does.
    toggleTick(lbAbonent, 0);
    RichEdit->selectAll();
    typeText(RichEdit, QStringLiteral("twelve chars"));
    toggleTick(lbAbonent, 3);
    EXPECT_EQ(editorText(), QStringLiteral("twelve chars"));
    typeText(RichEdit, QStringLiteral("q"));
    RichEdit->paste();
    EXPECT_EQ(editorText(), QStringLiteral("twelve chars"));
    RichEdit->selectAll();
    typeText(RichEdit, QStringLiteral("w"));
    EXPECT_EQ(editorText(), QStringLiteral("w"));
    EXPECT_EQ(pnlCount->text(), QStringLiteral("1:5"));
}

TEST_F(MainWindowRecipients, NumberSortIsOffOnTheGroupsPage)
{
    // The rule holds from the start: the subscribers page shown, the number sort is on.
    EXPECT_TRUE(test::control<QToolButton>(w, "btnNumberSort")->isEnabled());
    test::control<QTabWidget>(w, "TabbedNotebook1")->setCurrentIndex(1);
    EXPECT_FALSE(test::control<QToolButton>(w, "btnNumberSort")->isEnabled());
    EXPECT_FALSE(w->action(Command::SortByNumber)->isEnabled());
    test::control<QTabWidget>(w, "TabbedNotebook1")->setCurrentIndex(0);
    EXPECT_TRUE(test::control<QToolButton>(w, "btnNumberSort")->isEnabled());
    EXPECT_TRUE(w->action(Command::SortByNumber)->isEnabled());
}

TEST_F(MainWindowRecipients, EditorLinesAreTheDisplayedLinesAndTheTextJoinsThemWithCrLf)
{
    toggleTick(lbAbonent, 0);
    std::string words;
    for (int i = 0; i < 20; ++i)
        words += "слово ";
    typeText(RichEdit, QString::fromStdString(words));
    const std::vector<std::string> wrapped = RichEdit->displayedLines();
    ASSERT_GT(wrapped.size(), 1u) << "the long line is wrapped";
    std::string joined;
    for (const std::string& line : wrapped) {
        EXPECT_FALSE(line.empty());
        joined += line;
    }
    EXPECT_EQ(joined, cp(words));

    // Hard line breaks: an empty line in the middle counts, the empty line after the last break not.
    RichEdit->selectAll();
    for (const char* piece : {"a", "\n", "\n", "b", "\n"}) {
        if (*piece == '\n')
            QTest::keyClick(RichEdit, Qt::Key_Return);
        else
            typeText(RichEdit, QString::fromLatin1(piece));
    }
    EXPECT_EQ(RichEdit->displayedLines(), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(RichEdit->wholeText(), "a\r\n\r\nb\r\n");
    EXPECT_EQ(pnlCount->text(), QStringLiteral("8:240"));
}

} // namespace
} // namespace zolbin
