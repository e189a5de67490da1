// SPDX-License-Identifier: GPL-3.0-or-later
// What the three properties dialogs of the directory share: the two modes with their captions, the name
// field that only a new entry may edit, and Exit on Esc from any field.

#include "directory/Lists.h"
#include "directory/Settings.h"
#include "directory/ui/AbReg.h"
#include "directory/ui/GrReg.h"
#include "directory/ui/PrvReg.h"
#include "records/Session.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

QString u(const char* utf8Text)
{
    return QString::fromUtf8(utf8Text);
}

struct DirectoryPropertiesDialogs : ::testing::Test
{
    static void SetUpTestSuite() { test::ensureApplication(); }
    DirectoryPropertiesDialogs()
    {
        providers.AddHomeProvider();
        abonents.Add(std::make_shared<TAbonent>(test::subscriber("Анна", 1, 240, "")));
        abonents.Add(std::make_shared<TAbonent>(test::subscriber("Борис", 2, 240, "")));
        auto group = std::make_shared<TGroup>();
        group->Name = cp("Отдел");
        group->Members.Add(abonents.Items(1));
        groups.Add(group);
        groups.Add(std::make_shared<TGroup>(*group));
    }

    // Each dialog with the caption of its add mode.
    std::vector<std::pair<TPropertiesDialog*, QString>> dialogs()
    {
        return {
            {&abReg, u("Новый абонент")}, {&grReg, u("Новая группа")}, {&prvReg, u("Новая пейдж. компания")}};
    }

    // The name field is painted in the standard colour of the role, active or not.
    static void expectNameOn(const TPropertiesDialog& d, QPalette::ColorRole standardRole)
    {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            EXPECT_EQ(d.EditName->palette().color(group, QPalette::Base),
                      QApplication::palette(d.EditName).color(group, standardRole));
    }

    test::TempDataDir dir;
    test::PromptRecorder prompts;
    Session session{dir.folder()};
    TAbonentList& abonents = session.abonents;
    TGroupList& groups = session.groups;
    TProviderList& providers = session.providers;
    TfmAbReg abReg{session};
    TfmGrReg grReg{session};
    TfmPrvReg prvReg{session};
};

TEST_F(DirectoryPropertiesDialogs, ChangeModeLocksTheNameAndAddModeFreesItAgain)
{
    for (auto [d, addCaption] : dialogs()) {
        SCOPED_TRACE(addCaption.toStdString());
        EXPECT_EQ(d->windowTitle(), addCaption) << "a new dialog opens for a new entry";
        EXPECT_EQ(d->btnCancel->text(), u("В&ыход"));

        d->SetChangeMode(0);
        EXPECT_EQ(d->windowTitle(), u("Свойства"));
        EXPECT_EQ(d->btnOk->text(), u("Со&хранить"));
        EXPECT_TRUE(d->EditName->isReadOnly());
        expectNameOn(*d, QPalette::Button);
        EXPECT_EQ(d->Mode(), TPropertiesDialog::ChangeMode);
        EXPECT_EQ(d->EditIndex(), 0);

        d->SetAddMode();
        EXPECT_EQ(d->windowTitle(), addCaption);
        EXPECT_EQ(d->btnOk->text(), u("До&бавить"));
        EXPECT_FALSE(d->EditName->isReadOnly());
        expectNameOn(*d, QPalette::Base);
        EXPECT_EQ(d->Mode(), TPropertiesDialog::AddMode);
        EXPECT_EQ(d->EditIndex(), -1);
        EXPECT_EQ(d->EditName->maxLength(), 25);
    }
}

TEST_F(DirectoryPropertiesDialogs, EscClosesEveryDialogWithNothingStored)
{
    for (auto [d, addCaption] : dialogs()) {
        SCOPED_TRACE(addCaption.toStdString());
        d->SetChangeMode(0);
        ASSERT_TRUE(test::showActive(d));
        QTest::keyClick(d->EditName, Qt::Key_Escape);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(d->result(), QDialog::Rejected);
    }
    EXPECT_TRUE(prompts.texts().empty());
    EXPECT_FALSE(dir.exists(AbonentFileName) || dir.exists(GroupFileName) || dir.exists(CompanyFileName));
}

// A stored name reaches the journal and the terminal: a new one holds no line break, Esc or the like.
TEST_F(DirectoryPropertiesDialogs, NewNamesWithControlCharactersAreRefused)
{
    // Each dialog with everything else that its new entry needs.
    const std::vector<std::pair<TPropertiesDialog*, std::function<void()>>> completed = {
        {&abReg, [&] { abReg.EditNumber->setText(u("1")); }},
        {&grReg, [&] { grReg.btnAllR->click(); }},
        {&prvReg, [&] { prvReg.EditSMTPEMail->setText(u("pager@example.com")); }},
    };
    for (const char* name : {"x\r\nFORGED LINE", "\x1b[2Jwiped", "tab\there", "del\x7f", "nul\x01"}) {
        for (const auto& [d, complete] : completed) {
            SCOPED_TRACE(std::string(d->metaObject()->className()) + " " + name);
            d->SetAddMode();
            ASSERT_TRUE(test::showActive(d));
            complete();
            d->EditName->setText(QString::fromLatin1(name));
            d->btnOk->click();
            EXPECT_EQ(prompts.texts(),
                      std::vector<std::string>{"Имя не должно содержать управляющих символов "
                                               "(перевод строки, табуляция, Esc)."});
            prompts.clear();
            d->reject();
        }
    }
    EXPECT_EQ(abonents.Count(), 2);
    EXPECT_EQ(groups.Count(), 2);
    EXPECT_EQ(providers.Count(), 1);
    EXPECT_FALSE(dir.exists(AbonentFileName) || dir.exists(GroupFileName) || dir.exists(CompanyFileName));
}

} // namespace
} // namespace zolbin
