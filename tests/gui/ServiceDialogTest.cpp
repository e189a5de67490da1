// SPDX-License-Identifier: GPL-3.0-or-later
// The service functions dialog "Сервисные функции" and its spin fields: what the dialog shows, what its
// toggles refuse, and what OK and Cancel leave in the send parameters.

#include "dialogs/Later.h"
#include "directory/SendParams.h"
#include "platform/Codepage.h"
#include "platform/ui/SpinField.h"
#include "records/Session.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/FixedClock.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

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

// Replaces the field's text the way the operator does: select everything, type over it.
void retype(QLineEdit* edit, const char* utf8Text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    test::typeText(edit, u(utf8Text));
}

struct ServiceDialogTest : ::testing::Test
{
    Application app;
    void open() { dialog.show(); }

    test::FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(9, 5, 41))};
    test::PromptRecorder boxes;
    test::TempDataDir dir;
    Session session{dir.folder()};
    TSendParams& params = session.SendParams;
    TfmLater dialog{session};
};

TEST_F(ServiceDialogTest, ShowsThePresentMomentAndDefersToIt)
{
    open();
    EXPECT_EQ(dialog.focusWidget(), dialog.EditDay);
    const std::vector<QString> shown = {dialog.EditDay->text(),     dialog.cmbMonth->currentText(),
                                        dialog.EditYear->text(),    dialog.EditHour->text(),
                                        dialog.EditMin->text(),     dialog.EditRepCount->text(),
                                        dialog.EditRepHour->text(), dialog.EditRepMin->text()};
    EXPECT_EQ(shown,
              (std::vector<QString>{u("5"), u("Март"), u("2024"), u("9"), u("5"), u("1"), u("0"), u("0")}));
    EXPECT_FALSE(dialog.btnLater->isChecked() || dialog.btnRepeat->isChecked());

    QTest::mouseClick(dialog.btnLater, Qt::LeftButton);
    EXPECT_TRUE(dialog.btnLater->isChecked());
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(params.DeferDate, "05.03.2024");
    EXPECT_EQ(params.DeferTime, "09:05");
    EXPECT_EQ(params.RepeatCount, 0);
    EXPECT_EQ(utf8(dialog.ServiceSummary()), "Отложено на 05.03.2024 09:05");
}

TEST_F(ServiceDialogTest, TogglesCheckTheDateOnlyWhileDeferralIsOn)
{
    open();
    retype(dialog.EditDay, "31");
    dialog.cmbMonth->setCurrentIndex(1); // Февраль
    dialog.btnLater->click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Invalid argument to date encode"});
    EXPECT_FALSE(dialog.btnLater->isChecked());

    // A good date switched on, then spoilt: pressing the other toggle checks it again.
    retype(dialog.EditDay, "29");
    dialog.btnLater->click();
    EXPECT_TRUE(dialog.btnLater->isChecked());
    retype(dialog.EditYear, "2023");
    dialog.btnRepeat->click();
    EXPECT_EQ(boxes.texts().size(), 2u);
    EXPECT_FALSE(dialog.btnLater->isChecked());
    EXPECT_TRUE(dialog.btnRepeat->isChecked());

    // With deferral off the year must still be a number; the toggle keeps its new state.
    boxes.clear();
    dialog.EditYear->clear();
    dialog.btnRepeat->click();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"'' неверное целочисленное значение"});
    EXPECT_FALSE(dialog.btnRepeat->isChecked());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(params.DeferDate.empty());
}

TEST_F(ServiceDialogTest, OkTakesTheFieldsAsTheyStand)
{
    open();
    QLineEdit* month = dialog.cmbMonth->lineEdit();
    month->selectAll();
    QTest::keyClick(month, Qt::Key_Backspace);
    test::typeText(month, u("март"));
    retype(dialog.EditYear, "24");
    retype(dialog.EditRepHour, "1");
    retype(dialog.EditRepMin, "30");
    dialog.btnLater->click();
    dialog.btnRepeat->click();

    // A count that is no number: the error, the dialog open, the deferral set and no repeats.
    dialog.EditRepCount->setFocus();
    dialog.EditRepCount->clear();
    QTest::keyClick(dialog.EditRepCount, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"'' неверное целочисленное значение"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(params.DeferDate, "05.03.24");
    EXPECT_EQ(params.RepeatCount, 0);

    // Typed above the range and confirmed at once: taken as 2.
    test::typeText(dialog.EditRepCount, u("5"));
    QTest::keyClick(dialog.EditRepCount, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.EditRepCount->text(), u("5"));
    EXPECT_EQ(params.RepeatCount, 2);
    EXPECT_EQ(params.RepeatInterval, "01:30");
    EXPECT_EQ(utf8(dialog.ServiceSummary()), "Отложено на 05.03.24 09:05, повторы - 2*01:30");
}

TEST_F(ServiceDialogTest, CancelKeepsEarlierSettingsAndReopeningShowsThePresent)
{
    open();
    dialog.btnRepeat->click();
    dialog.btnOK->click();
    EXPECT_EQ(utf8(dialog.ServiceSummary()), "Повторы - 1*00:00");

    clock.setNow(QDateTime(QDate(2024, 12, 31), QTime(23, 59)));
    open();
    EXPECT_EQ(dialog.EditDay->text(), u("31"));
    EXPECT_EQ(dialog.cmbMonth->currentText(), u("Декабрь"));
    EXPECT_EQ(dialog.EditMin->text(), u("59"));
    EXPECT_FALSE(dialog.btnRepeat->isChecked());

    // Esc, the Cancel button and the close box change nothing, whatever was pressed meanwhile.
    dialog.btnLater->click();
    QTest::keyClick(dialog.EditDay, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    open();
    dialog.btnLater->click();
    dialog.btnCancel->click();
    open();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(utf8(dialog.ServiceSummary()), "Повторы - 1*00:00");
    EXPECT_TRUE(params.DeferDate.empty());
    EXPECT_EQ(params.RepeatCount, 1);

    // OK with both toggles released is the operator's reset.
    open();
    dialog.btnOK->click();
    EXPECT_TRUE(dialog.ServiceSummary().empty());
    EXPECT_EQ(params.RepeatCount, 0);
}

// --- The spin field ---------------------------------------------------------------------------------

struct SpinFieldTest : ::testing::Test
{
    Application app;
    SpinFieldTest()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(day);
        layout->addWidget(year);
    }

    QWidget window;
    SpinField* day = new SpinField(1, 31);
    SpinField* year = new SpinField(0, 0);
};

TEST_F(SpinFieldTest, TakesOnlyNumberCharactersAndStepsWithinTheRange)
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QSignalSpy refused(day, &SpinField::keyRefused);
    test::typeText(day, u("1a+Ж-2,. 3"));
    QTest::keyClick(day, Qt::Key_Backspace);
    EXPECT_EQ(day->text(), u("1+-2,"));
    EXPECT_EQ(refused.count(), 4);
    QLocale::setDefault(QLocale::system());

    day->setText(u("31"));
    QTest::keyClick(day, Qt::Key_Up);
    EXPECT_EQ(day->text(), u("31"));
    day->downButton()->click();
    QTest::keyClick(day, Qt::Key_Down);
    EXPECT_EQ(day->text(), u("29"));
    day->setText(u("1"));
    day->downButton()->click();
    EXPECT_EQ(day->text(), u("1"));
    day->setText(u("40"));
    day->upButton()->click();
    EXPECT_EQ(day->text(), u("31"));

    // No range: only the 32-bit limits.
    year->setText(u("2147483647"));
    year->upButton()->click();
    EXPECT_EQ(year->text(), u("2147483647"));
    year->setText(u("-1"));
    QTest::keyClick(year, Qt::Key_Up);
    EXPECT_EQ(year->text(), u("0"));
}

TEST_F(SpinFieldTest, LeavingTheFieldBringsAWholeNumberIntoTheRange)
{
    ASSERT_TRUE(test::showActive(&window));
    const auto leave = [this](SpinField* field, const char* typed) {
        field->setFocus();
        field->setText(u(typed));
        EXPECT_EQ(field->text(), u(typed)); // unclamped while typing
        (field == day ? year : day)->setFocus(Qt::TabFocusReason);
        return field->text();
    };
    EXPECT_EQ(leave(day, "40"), u("31"));
    EXPECT_EQ(leave(day, "0"), u("1"));
    EXPECT_EQ(leave(day, "17"), u("17"));
    EXPECT_EQ(leave(day, "4x"), u("4x"));
    EXPECT_EQ(leave(year, "-99999"), u("-99999"));
}

} // namespace
} // namespace zolbin
