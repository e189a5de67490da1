// SPDX-License-Identifier: GPL-3.0-or-later
// The group dialog: the four arrow buttons with their enabling and focus rules, the members it stores
// (the subscribers' own records), and both modes.

#include "directory/Lists.h"
#include "directory/ui/GrReg.h"
#include "records/Session.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

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

struct Application
{
    Application() { test::ensureApplication(); }
};

struct GroupDialogTest : ::testing::Test
{
    ~GroupDialogTest() override { dialog.hide(); }

    void addSubscribers(std::initializer_list<const char*> names)
    {
        int number = 1;
        for (const char* name : names)
            abonents.Add(std::make_shared<TAbonent>(test::subscriber(name, number++, 240, "")));
    }

    void openForNew()
    {
        dialog.SetAddMode();
        ASSERT_TRUE(test::showActive(&dialog));
    }

    // The operator clicks a row: the list takes the focus and the row is selected.
    void clickRow(QListWidget* list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // Which arrows can be pressed: ">>", ">", "<", "<<".
    std::vector<bool> arrows() const
    {
        return {dialog.btnAllR->isEnabled(), dialog.btnOneR->isEnabled(), dialog.btnOneL->isEnabled(),
                dialog.btnAllL->isEnabled()};
    }

    Application app;
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    Session session{dir.folder()};
    TAbonentList& abonents = session.abonents;
    TGroupList& groups = session.groups;
    TfmGrReg dialog{session};
};

const std::vector<bool> AllOn{true, true, true, true};
const std::vector<bool> RightOnly{true, true, false, false};
const std::vector<bool> LeftOnly{false, false, true, true};

TEST_F(GroupDialogTest, WithoutSubscribersTheArrowsAreOffAndAGroupNeedsANameAndAMember)
{
    openForNew();
    EXPECT_EQ(dialog.focusWidget(), dialog.EditName);
    EXPECT_EQ(arrows(), std::vector<bool>(4, false));

    dialog.btnOk->click();
    test::typeText(dialog.EditName, u("Пустая"));
    QTest::keyClick(dialog.EditName, Qt::Key_Return);
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{"Неверное значение имени.",
                                        "В группе должен присутствовать хотя бы один абонент."}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(groups.Count(), 0);
    EXPECT_FALSE(dir.exists(GroupFileName));
}

TEST_F(GroupDialogTest, ArrowsAddEachSubscriberOnceAndFollowTheListWithTheFocus)
{
    addSubscribers({"Анна", "АННА", "Борис"});
    openForNew();
    EXPECT_EQ(arrows(), AllOn);
    dialog.btnOneR->click(); // nothing selected on the left
    EXPECT_EQ(dialog.lbGroup->count(), 0);
    dialog.btnAllR->click();
    dialog.btnAllR->click();
    EXPECT_EQ(rows(dialog.lbGroup), (QStringList{u("Анна"), u("Борис")}))
        << "letter case makes no new member";

    clickRow(dialog.lbAbonent, 1);
    EXPECT_EQ(arrows(), RightOnly);
    dialog.btnOneR->click();
    EXPECT_EQ(dialog.lbGroup->count(), 2);
    EXPECT_TRUE(dialog.lbAbonent->hasFocus()) << "the arrows never take the focus";

    clickRow(dialog.lbGroup, 1);
    EXPECT_EQ(arrows(), LeftOnly);
    dialog.btnOneL->click();
    EXPECT_EQ(rows(dialog.lbGroup), QStringList{u("Анна")});
    dialog.btnAllL->click();
    EXPECT_EQ(dialog.lbGroup->count(), 0);
    EXPECT_TRUE(dialog.lbAbonent->hasFocus());
    EXPECT_EQ(arrows(), RightOnly);
    EXPECT_TRUE(prompts.requests().empty());

    // A row selected on the right but the focus elsewhere: nothing is removed and the list gets the
    // focus, so that the next press removes the row.
    dialog.btnAllR->click();
    clickRow(dialog.lbGroup, 0);
    dialog.EditName->setFocus();
    dialog.btnOneL->click();
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Удаляемый объект не выбран."});
    EXPECT_TRUE(dialog.lbGroup->hasFocus());
    dialog.btnOneL->click();
    EXPECT_EQ(rows(dialog.lbGroup), QStringList{u("Борис")});
}

// The arrows take no focus; their keys work on the lists: Right or Insert in the list of all
// subscribers adds the highlighted one, Ctrl+Right all; Left or Delete in the members' list takes the
// highlighted one out, Ctrl+Left all. Each arrow names itself to a screen reader.
TEST_F(GroupDialogTest, MembersMoveWithTheKeyboard)
{
    addSubscribers({"Анна", "Борис", "Вера"});
    openForNew();
    for (QPushButton* arrow : {dialog.btnAllR, dialog.btnOneR, dialog.btnOneL, dialog.btnAllL})
        EXPECT_FALSE(arrow->accessibleName().isEmpty()) << arrow->text().toStdString();
    dialog.lbAbonent->setFocus();
    dialog.lbAbonent->setCurrentRow(1);
    QTest::keyClick(dialog.lbAbonent, Qt::Key_Right);
    EXPECT_EQ(rows(dialog.lbGroup), QStringList{u("Борис")});
    dialog.lbAbonent->setCurrentRow(2);
    QTest::keyClick(dialog.lbAbonent, Qt::Key_Insert);
    EXPECT_EQ(rows(dialog.lbGroup), (QStringList{u("Борис"), u("Вера")}));
    QTest::keyClick(dialog.lbAbonent, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(rows(dialog.lbGroup), (QStringList{u("Борис"), u("Вера"), u("Анна")}));

    dialog.lbGroup->setFocus();
    dialog.lbGroup->setCurrentRow(0);
    QTest::keyClick(dialog.lbGroup, Qt::Key_Left);
    EXPECT_EQ(rows(dialog.lbGroup), (QStringList{u("Вера"), u("Анна")}));
    dialog.lbGroup->setCurrentRow(1);
    QTest::keyClick(dialog.lbGroup, Qt::Key_Delete);
    EXPECT_EQ(rows(dialog.lbGroup), QStringList{u("Вера")});
    QTest::keyClick(dialog.lbGroup, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_TRUE(rows(dialog.lbGroup).isEmpty());
    EXPECT_TRUE(prompts.requests().empty());
}

TEST_F(GroupDialogTest, AddModeStoresTheSubscribersOwnRecordsAndStaysOpenForTheNextGroup)
{
    addSubscribers({"Анна", "Борис"});
    QSignalSpy listChanged(&dialog, &TfmGrReg::listChanged);
    openForNew();
    test::typeText(dialog.EditName, u("Все"));
    dialog.btnAllR->click();
    dialog.btnOk->click();

    ASSERT_EQ(groups.Count(), 1);
    ASSERT_EQ(groups[0]->Members.Count(), 2);
    EXPECT_EQ(groups[0]->Members[0], abonents[0]);
    EXPECT_EQ(groups[0]->Members[1], abonents[1]);
    EXPECT_EQ(listChanged.count(), 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.lbGroup->count(), 0);
    EXPECT_EQ(dialog.focusWidget(), dialog.EditName);
    EXPECT_EQ(dir.read(GroupFileName).size(), 29 + 2 * TAbonent::RecordSize);
}

TEST_F(GroupDialogTest, ChangeModeDropsNamesWithoutASubscriberAndCloses)
{
    addSubscribers({"Анна", "Борис"});
    auto group = std::make_shared<TGroup>();
    group->Name = cp("Старая");
    group->Members.Add(std::make_shared<TAbonent>(test::subscriber("Ушедший", 5, 240, "")));
    group->Members.Add(std::make_shared<TAbonent>(test::subscriber("Борис", 2, 240, ""))); // a copy
    groups.Add(group);

    dialog.SetChangeMode(0);
    ASSERT_TRUE(test::showActive(&dialog));
    EXPECT_TRUE(dialog.EditName->isReadOnly());
    EXPECT_EQ(dialog.EditName->text(), u("Старая"));
    EXPECT_EQ(rows(dialog.lbGroup), (QStringList{u("Ушедший"), u("Борис")}));
    EXPECT_TRUE(dialog.lbAbonent->hasFocus());
    EXPECT_EQ(arrows(), RightOnly);

    // No member at all: refused, the group keeps its members.
    dialog.lbGroup->setFocus();
    dialog.btnAllL->click();
    QTest::keyClick(dialog.lbAbonent, Qt::Key_Return);
    EXPECT_EQ(prompts.texts(),
              std::vector<std::string>{"В группе должен присутствовать хотя бы один абонент."});
    EXPECT_EQ(group->Members.Count(), 2);
    EXPECT_TRUE(dialog.isVisible());

    dialog.lbGroup->addItems({u("Ушедший"), u("Борис")});
    dialog.btnOk->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(group->Members.Count(), 1);
    EXPECT_EQ(group->Members[0], abonents[1]);
    EXPECT_EQ(dir.read(GroupFileName).size(), 29 + TAbonent::RecordSize);
}

} // namespace
} // namespace zolbin
