// SPDX-License-Identifier: GPL-3.0-or-later
// The unregistered subscriber dialog "Незарегистрированный абонент": the number it takes, the state of
// its service button, and the recipient it leaves behind.

#include "dialogs/Later.h"
#include "dialogs/Unlisted.h"
#include "directory/Lists.h"
#include "directory/SendParams.h"
#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "records/Session.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace zolbin {
namespace {

// The application object, before any widget member of a fixture.
struct Application
{
    Application() { test::dialogTestApp(); }
};

QString u(const char* utf8Text)
{
    return QString::fromUtf8(utf8Text);
}

struct UnlistedDialogTest : ::testing::Test
{
    Application app;
    UnlistedDialogTest()
    {
        providers.AddHomeProvider(); // its gate is SMTP
        addCompany("Почта-Пейдж", Gate::SMTP);
        addCompany("Тап-Связь", Gate::TAP);
        addCompany("Снпп-Связь", Gate::SNPP);
        settings.Company = cp("Почта-Пейдж");
        curGroup = 2;
        params.CurName = cp("Иванов");
        params.CurNumber = 777;
        params.CurDigital = 1;
        params.CurMaxLen = 80;
        params.CurProvider = cp("Снпп-Связь");
    }

    void addCompany(const char* name, std::uint8_t gate)
    {
        auto company = std::make_shared<TProvider>();
        company->Name = cp(name);
        company->Gate = gate;
        providers.Add(company);
    }

    void open() { dialog.show(); }

    // What Enter in the number field does with this text.
    void enter(const char* number)
    {
        dialog.EditNum->clear();
        test::typeText(dialog.EditNum, u(number));
        QTest::keyClick(dialog.EditNum, Qt::Key_Return);
    }

    // The operator's choice from the list: Up and Down move through it one name at a time.
    void choose(const char* company)
    {
        QComboBox* box = dialog.cmbProvider;
        const int wanted = box->findText(u(company));
        ASSERT_GE(wanted, 0) << company;
        if (wanted == box->currentIndex()) {
            QTest::keyClick(box, wanted > 0 ? Qt::Key_Up : Qt::Key_Down);
            QTest::keyClick(box, wanted > 0 ? Qt::Key_Down : Qt::Key_Up);
        }
        while (box->currentIndex() != wanted)
            QTest::keyClick(box, box->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
    }

    test::PromptRecorder boxes;
    test::TempDataDir dir;
    Session session{dir.folder()};
    TProviderList& providers = session.providers;
    TSettings& settings = session.settings;
    TSendParams& params = session.SendParams;
    std::int16_t& curGroup = session.CurGroup;
    TfmUnlisted dialog{session};
};

TEST_F(UnlistedDialogTest, OpensClearedAndItsServiceButtonOpensTheServiceDialog)
{
    open();
    EXPECT_EQ(dialog.focusWidget(), dialog.EditNum);
    EXPECT_EQ(dialog.cmbProvider->count(), 4);
    EXPECT_EQ(dialog.cmbProvider->currentText(), u("Почта-Пейдж"));
    EXPECT_FALSE(dialog.btnLater->isEnabled());

    // The default company is no choice of the operator's: a digit enables the button, which opens the
    // service dialog over this one. Coming back from it is no new showing.
    test::typeText(dialog.EditNum, u("5"));
    ASSERT_TRUE(dialog.btnLater->isEnabled());
    test::FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(9, 5))};
    TfmLater later(session);
    dialog.setServiceDialog(&later);
    test::EventLoopStep step([&] {
        if (!later.isVisible())
            return false;
        later.btnLater->click();
        later.btnOK->click();
        return true;
    });
    dialog.btnLater->click();
    EXPECT_EQ(params.DeferDate, "05.03.2024");
    EXPECT_EQ(dialog.EditNum->text(), u("5"));
    EXPECT_TRUE(dialog.btnLater->isEnabled());
    EXPECT_EQ(params.CurNumber, 777); // the recipient changes only with OK

    // Nothing is kept: the next showing starts empty again, with the list as it is now.
    dialog.btnCancel->click();
    addCompany("Новая", Gate::SNPP);
    settings.Company = cp("Нет такой");
    open();
    EXPECT_TRUE(dialog.EditNum->text().isEmpty());
    EXPECT_FALSE(dialog.btnLater->isEnabled());
    EXPECT_EQ(dialog.cmbProvider->count(), 5);
    EXPECT_EQ(dialog.cmbProvider->currentText(), u("Нет такой"));
}

TEST_F(UnlistedDialogTest, TheLaterChangeOfNumberOrCompanyDecidesTheServiceButton)
{
    open();
    test::typeText(dialog.EditNum, u("1"));
    ASSERT_TRUE(dialog.btnLater->isEnabled());
    choose("Почта-Пейдж");
    EXPECT_FALSE(dialog.btnLater->isEnabled());
    choose(utf8(HomeProviderName()).c_str());
    EXPECT_TRUE(dialog.btnLater->isEnabled());
    choose("Тап-Связь");
    EXPECT_FALSE(dialog.btnLater->isEnabled());
    test::typeText(dialog.EditNum, u("2"));
    EXPECT_TRUE(dialog.btnLater->isEnabled());
    choose("Снпп-Связь");
    EXPECT_TRUE(dialog.btnLater->isEnabled());

    // A name of no company, typed by the operator: disabled.
    QLineEdit* company = dialog.cmbProvider->lineEdit();
    company->clear();
    test::typeText(company, u("Ъ"));
    EXPECT_FALSE(dialog.btnLater->isEnabled());

    QTest::keyClick(dialog.EditNum, Qt::Key_Backspace);
    QTest::keyClick(dialog.EditNum, Qt::Key_Backspace);
    EXPECT_TRUE(dialog.EditNum->text().isEmpty());
    EXPECT_FALSE(dialog.btnLater->isEnabled());
}

TEST_F(UnlistedDialogTest, OkTakesOnlyAWholeNumberAndMakesItTheRecipient)
{
    open();
    for (const char* number : {"12a", "", "2147483648", "№5"}) {
        boxes.clear();
        enter(number);
        EXPECT_EQ(boxes.texts(),
                  std::vector<std::string>{"'" + std::string(number) + "' неверное целочисленное значение"});
        EXPECT_TRUE(dialog.isVisible()) << number;
    }
    EXPECT_EQ(params.CurNumber, 777);
    EXPECT_EQ(params.CurName, cp("Иванов"));
    EXPECT_EQ(curGroup, 2);

    choose(utf8(HomeProviderName()).c_str());
    enter("0012345");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(params.CurNumber, 12345);
    EXPECT_TRUE(params.CurName.empty());
    EXPECT_EQ(params.CurProvider, HomeProviderName());
    EXPECT_EQ(params.CurDigital, 0);
    EXPECT_EQ(params.CurMaxLen, 240);
    EXPECT_EQ(curGroup, -1);

    // A company named by no list entry is taken as typed; Esc changes nothing.
    open();
    dialog.cmbProvider->setEditText(u("Нет такой"));
    dialog.EditNum->setText(u("42"));
    dialog.btnOK->click();
    EXPECT_EQ(params.CurProvider, cp("Нет такой"));
    open();
    dialog.EditNum->setText(u("43"));
    QTest::keyClick(dialog.EditNum, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(params.CurNumber, 42);
}

} // namespace
} // namespace zolbin
