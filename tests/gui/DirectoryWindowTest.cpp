// SPDX-License-Identifier: GPL-3.0-or-later
// The directory window "Регистрация" among the other windows: the list by kind, the properties dialogs
// it opens, deletions with what they take along (groups, the archive, the companies of subscribers), and
// the main window's entry points around it.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "directory/ui/AbReg.h"
#include "directory/ui/Registr.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

using test::EventLoopStep;
using test::typeText;

QString u(const char* utf8Text)
{
    return QString::fromUtf8(utf8Text);
}

QStringList rows(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

QStringList rows(const TickList* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->lineText(row);
    return texts;
}

bool anyTicked(const TickList* list)
{
    return list->lines()->tickedCount() > 0;
}

class DirectoryWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }

    void SetUp() override
    {
        dir.write("Zolbin.ini", test::settingsFile("Company=Acme\r\n"));
        // "../Zolbin" would have its archive in the data folder itself: the journal "Zolbin.log".
        test::writeDirectory(
            dir.folder(),
            {test::subscriber("Ann", 5, 240, "Acme"), test::subscriber("Bob", 6, 240, "Acme"),
             test::subscriber("../Zolbin", 7, 240, ""), test::subscriber("Cid", 8, 240, "Other")},
            {{"Team", {0, 1}}, {"Pair", {1}}},
            {HomeProviderDefaults(), test::company("Acme", Gate::SMTP), test::company("Other", Gate::SMTP)});
        std::filesystem::create_directory(dir.file("Log"));
        dir.write("Log/Ann.log", "ann\r\n");
        dir.write("Log/Bob.log", "bob\r\n");
        program = std::make_unique<test::Program>(dir.folder());
        w = &program->main();
        lbAbonent = test::control<TickList>(w, "lbAbonent");
        lbGroup = test::control<TickList>(w, "lbGroup");
        r = program->windows.fmRegistr.get();
        ASSERT_TRUE(test::showActive(w));
    }

    // Runs the script once the directory window is open and active, then closes it if still open.
    std::unique_ptr<EventLoopStep> whileOpen(std::function<void()> script)
    {
        return std::make_unique<EventLoopStep>([this, script = std::move(script)] {
            if (!r->isVisible() || QApplication::activeWindow() != r)
                return false;
            script();
            if (r->isVisible())
                r->reject();
            return true;
        });
    }

    // Adds the subscriber "Dan" through the subscriber dialog once it opens; afterEnter runs before the
    // dialog is closed.
    EventLoopStep addDan(std::function<void()> afterEnter = {})
    {
        return EventLoopStep([this, afterEnter = std::move(afterEnter)] {
            TfmAbReg& d = *program->windows.fmAbReg;
            if (!d.isVisible())
                return false;
            typeText(d.EditName, u("Dan"));
            typeText(d.EditNumber, u("9"));
            QTest::keyClick(d.EditNumber, Qt::Key_Return);
            if (afterEnter)
                afterEnter();
            QTest::keyClick(d.EditName, Qt::Key_Escape);
            return true;
        });
    }

    void clickRow(int row)
    {
        QListWidget* list = r->ListBox;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    test::TempDataDir dir;
    test::PromptRecorder prompts;
    std::unique_ptr<test::Program> program;
    TfmSend* w = nullptr;
    TickList* lbAbonent = nullptr;
    TickList* lbGroup = nullptr;
    TfmRegistr* r = nullptr;
};

TEST_F(DirectoryWindowTest, DeletedSubscriberLeavesItsGroupsAndTakesOnlyItsOwnArchive)
{
    const auto step = whileOpen([&] {
        QTest::keyClick(r->ListBox, Qt::Key_Delete);
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Удаляемый объект не выбран."});
        prompts.clear();
        clickRow(1);
        QTest::keyClick(r->ListBox, Qt::Key_Delete);
        EXPECT_EQ(rows(r->ListBox), (QStringList{u("Ann"), u("../Zolbin"), u("Cid")}));
        EXPECT_TRUE(r->ListBox->selectedItems().isEmpty());
        EXPECT_FALSE(dir.exists("Log/Bob.log"));
        EXPECT_TRUE(dir.exists("Log/Ann.log"));

        // A name that would lead the archive out of "Log" deletes nothing outside it.
        EXPECT_TRUE(dir.exists("Zolbin.log"));
        clickRow(1);
        QTest::keyClick(r->ListBox, Qt::Key_Delete);
        EXPECT_EQ(rows(r->ListBox), (QStringList{u("Ann"), u("Cid")}));
        EXPECT_TRUE(dir.exists("Zolbin.log"));
    });
    QTest::mouseClick(test::control<QToolButton>(w, "btnAbonent"), Qt::LeftButton);
    EXPECT_TRUE(prompts.requests().empty());
    TGroupList groups;
    ASSERT_TRUE(groups.LoadFromFile(dir.file(GroupFileName)));
    EXPECT_EQ(groups[0]->Members.Names(), std::vector<std::string>{"Ann"});
}

TEST_F(DirectoryWindowTest, EntryPointsDropTheRecipientAndRefillTheMainListsAfterwards)
{
    test::toggleTick(lbAbonent, 0);
    ASSERT_FALSE(test::control<QLabel>(w, "Label1")->text().isEmpty());

    bool tickedInside = true;
    QString counter;
    QString menu;
    QString said; // under the directory window's list, once the subscriber is added
    EventLoopStep add = addDan([&] { said = r->lblStatus->text(); });
    auto step = whileOpen([&] {
        tickedInside = anyTicked(lbAbonent) || anyTicked(lbGroup);
        counter = test::control<QLabel>(w, "pnlCount")->text();
        menu = r->UserItem->title();
        QTest::keyClick(r->ListBox, Qt::Key_Insert);
    });
    QTest::mouseClick(test::control<QToolButton>(w, "btnAbonent"), Qt::LeftButton);

    EXPECT_FALSE(tickedInside);
    EXPECT_EQ(counter, u("0:0"));
    EXPECT_EQ(menu, u("&Абонент"));
    EXPECT_EQ(said, u("Добавлен абонент «Dan»"));
    EXPECT_TRUE(test::control<QLabel>(w, "Label1")->text().isEmpty());
    EXPECT_TRUE(test::control<MessageEditor>(w, "RichEdit")->isReadOnly());
    EXPECT_EQ(rows(lbAbonent),
              (QStringList{u("Ann -- 5"), u("Bob -- 6"), u("../Zolbin -- 7"), u("Cid -- 8"), u("Dan -- 9")}));
    EXPECT_FALSE(anyTicked(lbAbonent));
}

// The home provider is refused with a plain message; a company its subscribers work through is deleted
// only after a "&Да" to the question box.
TEST_F(DirectoryWindowTest, CompanyDeletionIsRefusedOrAskedWithTheirBoxes)
{
    QStringList shown;
    const auto step = whileOpen([&] {
        clickRow(0);
        QTest::keyClick(r->ListBox, Qt::Key_Delete);
        clickRow(1); // "Acme": Ann and Bob page through it; the recorder answers "&Нет"
        QTest::keyClick(r->ListBox, Qt::Key_Delete);
        shown = rows(r->ListBox);
    });
    QTest::mouseClick(test::control<QToolButton>(w, "btnProvider"), Qt::LeftButton);

    ASSERT_EQ(prompts.requests().size(), 2u);
    const PromptRequest& refusal = prompts.requests()[0];
    EXPECT_EQ(refusal.kind, PromptKind::Message);
    EXPECT_EQ(refusal.icon, PromptIcon::None);
    EXPECT_EQ(refusal.text.toStdString(), "Нельзя удалить родную пейдж. компанию");
    const PromptRequest& question = prompts.requests()[1];
    EXPECT_EQ(question.kind, PromptKind::YesNo);
    EXPECT_EQ(question.icon, PromptIcon::Question);
    EXPECT_EQ(question.caption.toStdString(), "Подтверждение");
    EXPECT_EQ(question.text.toStdString(),
              "Есть абоненты, работающие через данную пейдж. компанию. Удалять?");
    EXPECT_EQ(shown, (QStringList{toQString(HomeProviderName()), u("Acme"), u("Other")}));
}

// Another program (a script, a restored backup) adds a subscriber while the window is open: the next
// save does not drop it, the windows show what the files hold, and the operator is told.
TEST_F(DirectoryWindowTest, ASaveOverAFileChangedBehindTheWindowIsRefusedAndTheListsReloaded)
{
    const std::string theirs = dir.read(AbonentFileName) + test::subscriber("Eve", 10, 240, "").encode();

    QStringList shownAfterRefusal;
    EventLoopStep add = addDan([&] { shownAfterRefusal = rows(r->ListBox); });
    // (Changed before the window opens, the file would be read again as it opens.)
    auto step = whileOpen([&] {
        dir.write(AbonentFileName, theirs);
        QTest::keyClick(r->ListBox, Qt::Key_Insert);
    });
    QTest::mouseClick(test::control<QToolButton>(w, "btnAbonent"), Qt::LeftButton);

    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Файл Abonent.lst был изменён другой программой. "
                                                        "Список загружен заново, повторите изменение."});
    EXPECT_EQ(dir.read(AbonentFileName), theirs);
    EXPECT_EQ(shownAfterRefusal, (QStringList{u("Ann"), u("Bob"), u("../Zolbin"), u("Cid"), u("Eve")}));
    EXPECT_EQ(rows(lbAbonent), (QStringList{u("Ann -- 5"), u("Bob -- 6"), u("../Zolbin -- 7"), u("Cid -- 8"),
                                            u("Eve -- 10")}));
}

// The same from the main window's ordering: the sort is refused once, then works on the reloaded list.
TEST_F(DirectoryWindowTest, ASortOverAGroupFileChangedBehindTheWindowWorksOnTheReloadedGroups)
{
    TGroupList theirs;
    for (const char* name : {"Zed", "Alpha"}) {
        auto group = std::make_shared<TGroup>();
        group->Name = cp(name);
        theirs.Add(group);
    }
    ASSERT_TRUE(theirs.SaveToFile(dir.file(GroupFileName)));
    const std::string theirBytes = dir.read(GroupFileName);
    test::control<QTabWidget>(w, "TabbedNotebook1")->setCurrentIndex(1);

    QTest::mouseClick(test::control<QToolButton>(w, "btnNameSort"), Qt::LeftButton);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Файл Group.lst был изменён другой программой. "
                                                        "Список загружен заново, повторите изменение."});
    EXPECT_EQ(dir.read(GroupFileName), theirBytes);
    EXPECT_EQ(rows(lbGroup), (QStringList{u("Zed"), u("Alpha")}));

    prompts.clear();
    QTest::mouseClick(test::control<QToolButton>(w, "btnNameSort"), Qt::LeftButton);
    EXPECT_TRUE(prompts.texts().empty());
    EXPECT_EQ(rows(lbGroup), (QStringList{u("Alpha"), u("Zed")}));
    TGroupList stored;
    ASSERT_TRUE(stored.LoadFromFile(dir.file(GroupFileName)));
    EXPECT_EQ(stored.Names(), (std::vector<std::string>{"Alpha", "Zed"}));
}

} // namespace
} // namespace zolbin
