// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog "Почтовый сервер": the three keys it writes, the password kept only in the secret store.

#include "dialogs/MailServer.h"
#include "dialogs/Options.h"
#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "platform/ProfileFile.h"
#include "platform/SecretStore.h"
#include "records/Session.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <map>

namespace zolbin {
namespace {

// The secret store of a desktop, in memory; answers every write with `writeOutcome`.
class FakeStore final : public SecretStore
{
public:
    Answer read(const std::string& key) override
    {
        const auto found = secrets.find(key);
        return found == secrets.end() ? Answer{Outcome::NotFound, {}, {}}
                                      : Answer{Outcome::Done, found->second, {}};
    }
    Answer write(const std::string& key, const std::string& secret) override
    {
        if (writeOutcome != Outcome::Done)
            return {writeOutcome, {}, "отказано"};
        secrets[key] = secret;
        return {Outcome::Done, {}, {}};
    }
    std::map<std::string, std::string> secrets;
    Outcome writeOutcome = Outcome::Done;
};

struct MailServerDialogFixture : ::testing::Test
{
    MailServerDialogFixture()
    {
        test::dialogTestApp();
        dir.write(SettingsFileName, "[Sender]\r\nSMTPServer=smtp.example.test\r\nSMTPSecurity=2\r\n");
        LoadSettings(session.settingsFile, session.settings);
        session.settings.SMTPSecurity = 2;
        // Brought back from the file by the reload after OK.
        session.settings.ShortName = "stale";
    }

    void fill(TfmMailServer& dialog, int security, const char* user, const char* password, const char* caFile)
    {
        dialog.cmbSecurity->setCurrentIndex(security);
        for (auto [edit, text] : {std::pair{dialog.EditUser, user}, std::pair{dialog.EditPassword, password},
                                  std::pair{dialog.EditCAFile, caFile}}) {
            edit->clear();
            test::typeText(edit, QString::fromUtf8(text));
        }
    }

    test::TempDataDir dir;
    test::PromptRecorder boxes;
    Session session{dir.folder()};
    FakeStore store;
};

TEST_F(MailServerDialogFixture, OkWritesTheThreeKeysAndThePasswordOnlyIntoTheStore)
{
    TfmMailServer dialog(session, &store);
    dialog.show();
    EXPECT_EQ(dialog.cmbSecurity->currentIndex(), 2); // filled from memory
    EXPECT_EQ(dialog.EditPassword->echoMode(), QLineEdit::Password);
    fill(dialog, 1, "оператор", "Секрет-42", "/etc/ssl/ЦС.pem");
    QTest::keyClick(dialog.EditUser, Qt::Key_Return);

    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const std::string written = dir.read(SettingsFileName);
    EXPECT_EQ(written,
              cp("[Sender]\r\nSMTPServer=smtp.example.test\r\nSMTPSecurity=1\r\nSMTPUser=оператор\r\n"
                 "SMTPCAFile=/etc/ssl/ЦС.pem\r\n"));
    EXPECT_EQ(written.find(cp("Секрет")), std::string::npos);
    EXPECT_EQ(store.secrets, (std::map<std::string, std::string>{
                                 {SmtpSecretKey("smtp.example.test", cp("оператор")), "Секрет-42"}}));
    EXPECT_EQ(session.settings.ShortName, ""); // reloaded
    EXPECT_EQ(session.settings.SMTPServer, "smtp.example.test");
    EXPECT_EQ(session.settings.SMTPSecurity, 1);
    EXPECT_EQ(session.settings.SMTPUser, cp("оператор"));
    EXPECT_EQ(session.settings.SMTPCAFile, cp("/etc/ssl/ЦС.pem"));
}

TEST_F(MailServerDialogFixture, RefusalsKeepTheDialogOpenAndThePasswordOutOfTheFile)
{
    struct Case
    {
        const char* name;
        const char* user;
        SecretStore::Outcome store;
        const char* box;
        bool keysWritten;
    };
    const Case cases[] = {
        {"password without a login", "", SecretStore::Outcome::Done,
         "Пароль сохраняется только вместе с именем пользователя", false},
        {"store refuses", "u", SecretStore::Outcome::Failed, "Пароль не сохранён: отказано", true},
        {"no store", "u", SecretStore::Outcome::NoStore, "Пароль не сохранён: отказано", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(SettingsFileName, "");
        boxes.clear();
        store.writeOutcome = c.store;
        TfmMailServer dialog(session, &store);
        dialog.show();
        fill(dialog, 0, c.user, "pw", "");
        dialog.btnOK->click();
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(boxes.texts().size(), 1u);
        EXPECT_EQ(boxes.texts()[0], c.box);
        const std::string written = dir.read(SettingsFileName);
        EXPECT_EQ(written.find("pw"), std::string::npos);
        EXPECT_EQ(written.find("SMTPSecurity=0") != std::string::npos, c.keysWritten);
        EXPECT_TRUE(store.secrets.empty());
    }
}

TEST_F(MailServerDialogFixture, AnEmptyPasswordKeepsTheStoredOneAndTheSettingsDialogOpensThisOne)
{
    store.secrets[SmtpSecretKey("smtp.example.test", "u")] = "old";
    TfmOptions options(session, nullptr, &store);
    ASSERT_NE(options.btnMailServer, nullptr);
    TfmMailServer* opened = nullptr;
    test::EventLoopStep step([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<TfmMailServer*>(w); d != nullptr && d->isVisible()) {
                opened = d;
                fill(*d, 0, "u", "", "");
                d->btnOK->click();
                return true;
            }
        return false;
    });
    options.btnMailServer->click();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened, options.fmMailServer);
    EXPECT_EQ(store.secrets.at(SmtpSecretKey("smtp.example.test", "u")), "old");
    EXPECT_NE(dir.read(SettingsFileName).find("SMTPUser=u\r\n"), std::string::npos);
    EXPECT_EQ(session.settings.ShortName, ""); // reloaded
}

} // namespace
} // namespace zolbin
