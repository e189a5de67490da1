// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog "Настройки": what it shows, what it refuses, and exactly what it writes.

#include "dialogs/Options.h"
#include "directory/Lists.h"
#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "platform/ProfileFile.h"
#include "platform/ui/SpinField.h"
#include "records/Session.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TempDir.h"
#include "tests/unit/platform/FileSizeLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace zolbin {
namespace {

// The lines of a cp1251 file in UTF-8, without line ends and blank lines.
std::vector<std::string> nonEmptyLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < bytes.size()) {
        std::size_t end = bytes.find("\r\n", from);
        if (end == std::string::npos)
            end = bytes.size();
        if (end > from)
            lines.push_back(utf8(bytes.substr(from, end - from)));
        from = end + 2;
    }
    return lines;
}

// A data folder with a settings file and a company list, and the dialog over them.
struct SettingsDialogFixture : ::testing::Test
{
    SettingsDialogFixture()
    {
        test::dialogTestApp();
        providers.AddHomeProvider();
        auto other = std::make_shared<TProvider>();
        other->Name = cp("Пейджер-Тест");
        providers.Add(other);
        LoadSettings(file, settings);
    }

    void type(QLineEdit* edit, const char* utf8Text)
    {
        edit->clear();
        test::typeText(edit, QString::fromUtf8(utf8Text));
    }

    test::TempDataDir dir;
    test::PromptRecorder boxes;
    Session session{dir.folder()};
    ProfileFile& file = session.settingsFile;
    TSettings& settings = session.settings;
    TProviderList& providers = session.providers;
};

TEST_F(SettingsDialogFixture, RefusedAddressWritesNothingAndKeepsTheDialogAsTyped)
{
    TfmOptions dialog(session);
    dialog.show();
    type(dialog.EditName, "Иван");
    for (const char* address :
         {"oper@почта.рф", "oper @mail.test", " oper@mail.test", "", "oper.mail.test"}) {
        type(dialog.EditEMail, address);
        QTest::keyClick(dialog.EditName, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << address;
        EXPECT_EQ(dialog.EditEMail->text(), QString::fromUtf8(address));
    }
    dialog.btnSave->click();
    ASSERT_EQ(boxes.texts().size(), 6u);
    for (const std::string& text : boxes.texts())
        EXPECT_EQ(text, "Неверный E-Mail адрес");
    EXPECT_EQ(dialog.EditName->text(), QString::fromUtf8("Иван"));
    EXPECT_FALSE(dir.exists(SettingsFileName));
}

TEST_F(SettingsDialogFixture, SaveWritesTheTenKeysInOrderThenReloadsAndCloses)
{
    TfmOptions dialog(session);
    dialog.show();
    EXPECT_EQ(dialog.focusWidget(), dialog.EditName);
    ASSERT_EQ(dialog.cmbProvider->count(), 2);
    EXPECT_EQ(dialog.cmbProvider->itemText(1), QString::fromUtf8("Пейджер-Тест"));
    EXPECT_EQ(dialog.cmbProvider->currentText(), toQString(HomeProviderName()));

    type(dialog.EditName, "Пётр Иванов");
    type(dialog.EditShName, "Пётр");
    type(dialog.EditEMail, "p@x");
    type(dialog.EditSMTPSrv, "mail.local");
    dialog.cmbProvider->setEditText(QString::fromUtf8("Нет такой"));
    dialog.chbClear->setChecked(true);
    dialog.chbTray->setChecked(true);
    dialog.rbtnEng->setChecked(true);
    dialog.EditRetry->setText(QStringLiteral("90"));
    QTest::keyClick(dialog.EditSMTPSrv, Qt::Key_Enter, Qt::KeypadModifier);

    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const std::vector<std::string> expected = {
        "[Sender]",  "Name=Пётр Иванов",  "ShortName=Пётр", "EMail=p@x",  "SMTPServer=mail.local",
        "[Setting]", "Company=Нет такой", "Clear=1",        "NoSplash=0", "Tray=1",
        "Layout=1",  "RetryMinutes=90"};
    EXPECT_EQ(nonEmptyLines(dir.read(SettingsFileName)), expected);
    EXPECT_EQ(settings.RetryMinutes, 90);
    EXPECT_EQ(settings.Name, cp("Пётр Иванов"));
    EXPECT_EQ(settings.EMail, "p@x");
    EXPECT_EQ(settings.Company, cp("Нет такой"));
    EXPECT_TRUE(settings.clearOn());
    EXPECT_TRUE(settings.trayOn());
    EXPECT_TRUE(settings.englishLayout());
}

TEST_F(SettingsDialogFixture, EveryShowingFillsFromMemoryAndAnOddLayoutKeepsTheLastChoice)
{
    settings.Tray = 2; // ticked only when exactly 1
    settings.Clear = 1;
    settings.Layout = 1;
    TfmOptions dialog(session);
    dialog.show();
    EXPECT_FALSE(dialog.chbTray->isChecked());
    EXPECT_TRUE(dialog.chbClear->isChecked());
    EXPECT_TRUE(dialog.rbtnEng->isChecked());
    type(dialog.EditName, "brought back on the next showing");
    dialog.btnCancel->click();

    auto third = std::make_shared<TProvider>();
    third->Name = cp("Третья");
    providers.Add(third);
    settings.Layout = 2;
    settings.Name = cp("Анна");
    settings.EMail = "anna@mail.test";
    dialog.show();
    EXPECT_EQ(dialog.cmbProvider->count(), 3); // refilled, not appended to
    EXPECT_EQ(dialog.EditName->text(), QString::fromUtf8("Анна"));
    EXPECT_TRUE(dialog.rbtnEng->isChecked());
    dialog.btnSave->click();
    EXPECT_NE(dir.read(SettingsFileName).find("Layout=1\r\n"), std::string::npos);
    EXPECT_EQ(settings.Layout, 1);
}

TEST_F(SettingsDialogFixture, CancelAndEscWriteNothing)
{
    TfmOptions dialog(session);
    for (int way = 0; way < 2; ++way) {
        dialog.show();
        type(dialog.EditEMail, "new@mail.test");
        if (way == 0)
            dialog.btnCancel->click();
        else
            QTest::keyClick(dialog.EditEMail, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_FALSE(dir.exists(SettingsFileName));
    EXPECT_EQ(settings.EMail, "");
}

TEST_F(SettingsDialogFixture, UnwritableFileIsReportedAndTheDialogStaysOpen)
{
    file = ProfileFile(dir.path() + "/no such folder/Zolbin.ini");
    TfmOptions dialog(session);
    dialog.show();
    type(dialog.EditEMail, "op@mail.test");
    QTest::keyClick(dialog.EditEMail, Qt::Key_Return);

    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Unable to write to " + dir.path() + "/no such folder/Zolbin.ini");
    EXPECT_EQ(boxes.requests()[0].icon, PromptIcon::Stop);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(settings.EMail, ""); // not reloaded
}

TEST_F(SettingsDialogFixture, SaveThatCannotBeWrittenWholeWritesNoKey)
{
    ASSERT_TRUE(file.writeStrings({{"Sender", "Name", cp("Пётр")}, {"Sender", "EMail", "p@x"}}));
    LoadSettings(file, settings);
    const std::string before = dir.read(SettingsFileName);
    TfmOptions dialog(session);
    dialog.show();
    type(dialog.EditName, "Пётр Иванов");
    type(dialog.EditEMail, "operator.on.duty@mail.example.org");
    {
        // Room for the new name, not for the address as well: a full disk part way through.
        test::FileSizeLimit limit(before.size() + 16);
        ASSERT_TRUE(limit.active());
        QTest::keyClick(dialog.EditEMail, Qt::Key_Return);
    }
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_EQ(boxes.requests()[0].icon, PromptIcon::Stop);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dir.read(SettingsFileName), before);
    EXPECT_EQ(settings.Name, cp("Пётр"));
}

} // namespace
} // namespace zolbin

namespace zolbin {
namespace {

// Brought up by itself while no sender's address is saved, the dialog says why and which field it needs.
TEST_F(SettingsDialogFixture, SaysWhyItOpenedWhileTheAddressIsMissing)
{
    TfmOptions dialog(session);
    for (const char* email : {"", "op@mail.test"}) {
        settings.EMail = email;
        dialog.show();
        EXPECT_EQ(dialog.lblWhy->isVisible(), *email == '\0') << email;
        EXPECT_NE(dialog.lblWhy->text().indexOf(QStringLiteral("«E-Mail адрес»")), -1);
        dialog.hide();
    }
}

// The shared outbox's address: one with a password refused before anything is written; "Проверить" tells
// what it found without holding the window (here a server that is not there); a good one saved in its own
// section.
TEST_F(SettingsDialogFixture, SharedOutboxIsCheckedAndSavedWithoutAPassword)
{
    TfmOptions dialog(session);
    dialog.show();
    type(dialog.EditEMail, "p@x");
    type(dialog.EditOutbox, "postgresql://pager:secret@db/paging");
    dialog.btnSave->click();
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find("пароль в адресе не указывается"), std::string::npos) << boxes.texts()[0];
    EXPECT_FALSE(dir.exists(SettingsFileName));

    const std::string closed =
        "postgresql://pager@127.0.0.1:" + std::to_string(test::ScriptedServer::closedPort()) + "/paging";
    type(dialog.EditOutbox, closed.c_str());
    dialog.btnCheckOutbox->click();
    EXPECT_FALSE(dialog.btnCheckOutbox->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.btnCheckOutbox->isEnabled(); }, 15000));
    EXPECT_TRUE(dialog.lblOutbox->text().startsWith(QString::fromUtf8("Общая очередь недоступна")))
        << dialog.lblOutbox->text().toStdString();
    dialog.btnSave->click();
    EXPECT_EQ(settings.OutboxDatabase, closed);
    const std::vector<std::string> lines = nonEmptyLines(dir.read(SettingsFileName));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
              (std::vector<std::string>{"[Outbox]", "Database=" + closed}));
}

} // namespace
} // namespace zolbin
