// SPDX-License-Identifier: GPL-3.0-or-later
// The subscriber dialog: subscribers added one after another, a subscriber changed, the refused input,
// the digital pager box, and the files written behind it.

#include "directory/Lists.h"
#include "directory/Settings.h"
#include "directory/ui/AbReg.h"
#include "records/Session.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

using test::typeText;

QString u(const char* utf8Text)
{
    return QString::fromUtf8(utf8Text);
}

struct Application
{
    Application() { test::ensureApplication(); }
};

struct SubscriberDialogTest : ::testing::Test
{
    SubscriberDialogTest()
    {
        providers.AddHomeProvider();
        auto other = std::make_shared<TProvider>(HomeProviderDefaults());
        other->Name = cp("Связь");
        providers.Add(other);
        settings.Company = cp("Связь");
    }
    ~SubscriberDialogTest() override { dialog.hide(); }

    void open() { ASSERT_TRUE(test::showActive(&dialog)); }

    // Fills the required page as the operator types.
    void fill(const char* name, const char* number)
    {
        dialog.EditName->clear();
        typeText(dialog.EditName, u(name));
        dialog.EditNumber->clear();
        typeText(dialog.EditNumber, u(number));
    }

    Application app;
    test::TempDataDir dir;
    test::PromptRecorder prompts;
    Session session{dir.folder()};
    TAbonentList& abonents = session.abonents;
    TGroupList& groups = session.groups;
    TProviderList& providers = session.providers;
    TSettings& settings = session.settings;
    TfmAbReg dialog{session};
};

TEST_F(SubscriberDialogTest, AddModeStoresSubscribersInARowAndEmptiesItselfForTheNext)
{
    // A group read from the file still holds its own copy of "Борис": storing a subscriber links it.
    auto group = std::make_shared<TGroup>();
    group->Name = cp("Группа");
    group->Members.Add(std::make_shared<TAbonent>(test::subscriber("Борис", 1, 240, "")));
    groups.Add(group);
    QSignalSpy listChanged(&dialog, &TfmAbReg::listChanged);

    dialog.SetAddMode();
    open();
    EXPECT_EQ(dialog.windowTitle(), u("Новый абонент"));
    EXPECT_EQ(dialog.focusWidget(), dialog.EditName);

    // The remarks hold 100 characters: the excess is taken off what was just typed, not off the text
    // already there. Enter in the remarks box stores the subscriber; no line break goes in.
    fill("Анна", "123");
    dialog.PageControl->setCurrentWidget(dialog.TabExtra);
    typeText(dialog.RichEdit, QString(95, QLatin1Char('a')));
    dialog.RichEdit->moveCursor(QTextCursor::Start);
    typeText(dialog.RichEdit, u("ЖЖЖЖЖЖЖЖЖЖ"));
    QTest::keyClick(dialog.RichEdit, Qt::Key_Return);
    ASSERT_EQ(abonents.Count(), 1);
    EXPECT_EQ(abonents[0]->Info.str(), cp("ЖЖЖЖЖ") + std::string(95, 'a'));
    EXPECT_EQ(dialog.PageControl->currentWidget(), dialog.TabRequired);

    // The next one: a digital pager, then a second "Анна" with a company typed that no list holds.
    ASSERT_TRUE(dialog.isVisible());
    for (QLineEdit* empty : {dialog.EditName, dialog.EditNumber})
        EXPECT_TRUE(empty->text().isEmpty());
    EXPECT_TRUE(dialog.RichEdit->toPlainText().isEmpty());
    EXPECT_EQ(dialog.EditMsgLen->text(), u("240"));
    EXPECT_EQ(dialog.focusWidget(), dialog.EditName);
    fill("Борис", "-7");
    dialog.chbNumeric->click();
    EXPECT_EQ(dialog.EditMsgLen->text(), u("20"));
    EXPECT_TRUE(dialog.EditMsgLen->isReadOnly());
    dialog.cmbProvider->setEditText(QString());
    dialog.btnOk->click();
    EXPECT_FALSE(dialog.chbNumeric->isChecked());
    EXPECT_EQ(dialog.cmbProvider->currentText(), u("Связь")) << "the default company comes back";
    fill("Анна", "0042");
    dialog.cmbProvider->setEditText(u("Нет такой"));
    dialog.btnOk->click();

    EXPECT_TRUE(prompts.requests().empty());
    EXPECT_EQ(listChanged.count(), 3);
    ASSERT_EQ(abonents.Count(), 3);
    const TAbonent& digital = *abonents[1];
    EXPECT_EQ(digital.Number, -7);
    EXPECT_EQ(digital.Numeric, 1);
    EXPECT_EQ(digital.MsgLen, 20);
    EXPECT_TRUE(digital.Provider.empty());
    EXPECT_EQ(abonents[2]->Number, 42);
    EXPECT_EQ(abonents[2]->Provider.str(), cp("Нет такой"));

    TAbonentList saved;
    ASSERT_TRUE(saved.LoadFromFile(dir.file(AbonentFileName)));
    ASSERT_EQ(saved.Count(), 3);
    EXPECT_EQ(saved[1]->encode(), digital.encode());
    EXPECT_EQ(group->Members[0], abonents[1]) << "the member is now the subscriber's own record";
    TGroupList savedGroups;
    ASSERT_TRUE(savedGroups.LoadFromFile(dir.file(GroupFileName)));
    ASSERT_EQ(savedGroups.Count(), 1);
    EXPECT_EQ(savedGroups[0]->Members[0]->Number, -7);
}

TEST_F(SubscriberDialogTest, RefusedInputIsReportedAndNothingIsAdded)
{
    dialog.SetAddMode();
    open();
    struct Case
    {
        const char* name;
        const char* number;
        const char* length;
        const char* message;
    };
    for (const Case& c : {
             Case{"", "x", "240", "Неверное значение имени."},
             Case{"Анна", "", "240", "'' неверное целочисленное значение"},
             Case{"Анна", "2147483648", "240", "'2147483648' неверное целочисленное значение"},
             Case{"Анна", "12", "", "'' неверное целочисленное значение"},
             Case{"Анна", "12", "2O", "'2O' неверное целочисленное значение"},
         }) {
        prompts.clear();
        fill(c.name, c.number);
        dialog.EditMsgLen->setText(u(c.length));
        dialog.PageControl->setCurrentWidget(dialog.TabExtra);
        dialog.btnOk->click();
        EXPECT_EQ(prompts.texts(), std::vector<std::string>{c.message}) << c.number;
        EXPECT_EQ(dialog.PageControl->currentWidget(), dialog.TabRequired);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.EditName->text(), u(c.name)) << "the input stays for correction";
    }
    EXPECT_EQ(abonents.Count(), 0);
    EXPECT_FALSE(dir.exists(AbonentFileName));

    QTest::keyClick(dialog.EditName, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(abonents.Count(), 0);
}

TEST_F(SubscriberDialogTest, ChangeModeShowsTheRecordStoresIntoItAndCloses)
{
    TAbonent stored = test::subscriber("Анна", 1, 30, cp("Связь"), "инфо");
    stored.Numeric = 1;
    abonents.Add(std::make_shared<TAbonent>(stored));
    auto group = std::make_shared<TGroup>();
    group->Name = cp("Группа");
    group->Members.Add(abonents[0]);
    groups.Add(group);

    dialog.SetChangeMode(0);
    open();
    EXPECT_TRUE(dialog.EditName->isReadOnly());
    EXPECT_EQ(dialog.EditName->text(), u("Анна"));
    EXPECT_EQ(dialog.focusWidget(), dialog.EditNumber);
    EXPECT_TRUE(dialog.chbNumeric->isChecked());
    EXPECT_EQ(dialog.EditMsgLen->text(), u("30")) << "the stored length, not 20";
    EXPECT_TRUE(dialog.EditMsgLen->isReadOnly());
    EXPECT_EQ(dialog.cmbProvider->currentText(), u("Связь"));
    EXPECT_EQ(dialog.RichEdit->toPlainText(), u("инфо"));

    // A number that does not convert changes nothing and keeps the dialog open.
    dialog.EditNumber->setText(u("1x"));
    QTest::keyClick(dialog.EditNumber, Qt::Key_Return);
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{"'1x' неверное целочисленное значение"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(abonents[0]->Number, 1);

    dialog.EditNumber->setText(u("77"));
    dialog.chbNumeric->click();
    EXPECT_EQ(dialog.EditMsgLen->text(), u("240"));
    EXPECT_FALSE(dialog.EditMsgLen->isReadOnly());
    dialog.btnOk->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(abonents[0]->Number, 77);
    EXPECT_EQ(abonents[0]->Numeric, 0);
    EXPECT_EQ(abonents[0]->MsgLen, 240);
    TGroupList savedGroups;
    ASSERT_TRUE(savedGroups.LoadFromFile(dir.file(GroupFileName)));
    EXPECT_EQ(savedGroups[0]->Members[0]->Number, 77) << "the member copy in the group file follows";
}

} // namespace
} // namespace zolbin
