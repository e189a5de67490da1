// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog "Линия GSM": the two keys it writes to section "GSM", the PIN kept only in the secret store,
// what it refuses, and the settings dialog's button that opens it.

#include "dialogs/GsmLine.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <map>

namespace zolbin {
namespace {

const char* const SenderOnly = "[Sender]\r\nEMail=op@mail.test\r\n";

class MemoryStore final : public SecretStore
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
        secrets[key] = secret;
        return {Outcome::Done, {}, {}};
    }
    std::map<std::string, std::string> secrets;
};

// A store that is there and answers, but keeps nothing.
class RefusingStore final : public SecretStore
{
public:
    Answer read(const std::string&) override { return {Outcome::NotFound, {}, {}}; }
    Answer write(const std::string&, const std::string&) override
    {
        return {Outcome::Failed, {}, "Хранилище паролей заперто."};
    }
};

struct GsmLineDialogFixture : ::testing::Test
{
    struct Application
    {
        Application() { test::dialogTestApp(); }
    } app;
    GsmLineDialogFixture() { dir.write(SettingsFileName, SenderOnly); }
    void fill(const char* device, const char* speed, const char* pin)
    {
        dialog.show();
        dialog.EditDevice->setEditText(QString::fromUtf8(device));
        dialog.cmbSpeed->setEditText(QString::fromUtf8(speed));
        dialog.EditPin->setText(QString::fromUtf8(pin));
    }

    test::TempDataDir dir;
    test::PromptRecorder boxes;
    MemoryStore store;
    Session session{dir.folder()};
    TfmGsmLine dialog{session, &store, nullptr, QString::fromStdString(dir.path())};
};

TEST_F(GsmLineDialogFixture, OkWritesDeviceAndSpeedAndThePinOnlyToTheStore)
{
    dialog.show();
    EXPECT_EQ(dialog.EditDevice->currentText(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(dialog.cmbSpeed->currentText(), QStringLiteral("115200"));
    fill("/dev/ttyACM2", "57600", "4321");
    dialog.btnOK->click();
    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dir.read(SettingsFileName),
              std::string(SenderOnly) + "\r\n[GSM]\r\nDevice=/dev/ttyACM2\r\nSpeed=57600\r\n");
    EXPECT_EQ(session.settings.GsmDevice, "/dev/ttyACM2");
    EXPECT_EQ(session.settings.GsmSpeed, 57600u);
    EXPECT_EQ(store.secrets, (std::map<std::string, std::string>{{"sim-pin:/dev/ttyACM2", "4321"}}));
}

TEST_F(GsmLineDialogFixture, RefusalsWriteNothing)
{
    const struct
    {
        const char* device;
        const char* speed;
        const char* pin;
        const char* box;
    } cases[] = {
        {"", "115200", "", "Не указано устройство линии GSM"},
        {"/dev/ttyUSB0", "fast", "", "Скорость линии должна быть целым положительным числом"},
        {"/dev/ttyUSB0", "115200", "12", "PIN SIM-карты — от 4 до 8 цифр"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        boxes.clear();
        fill(c.device, c.speed, c.pin);
        dialog.btnOK->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{c.box});
    }
    EXPECT_EQ(dir.read(SettingsFileName), SenderOnly);
    EXPECT_TRUE(store.secrets.empty());
    dialog.reject();
}

TEST_F(GsmLineDialogFixture, SaysWhetherThePinOfTheDeviceShownIsStored)
{
    store.secrets["sim-pin:/dev/ttyACM2"] = "4321";
    dialog.show();
    EXPECT_NE(dialog.lblPin->text().toStdString().find("не сохранён"), std::string::npos);
    dialog.EditDevice->setEditText(QStringLiteral("/dev/ttyACM2"));
    emit dialog.EditDevice->lineEdit()->editingFinished();
    EXPECT_NE(dialog.lblPin->text().toStdString().find("сохранён в хранилище паролей"), std::string::npos);
    EXPECT_TRUE(dialog.EditPin->isEnabled());
    dialog.reject();
}

// The line and the PIN go together or not at all: without a store, or with one that refuses the PIN,
// nothing is saved and the operator is told in a box.
TEST_F(GsmLineDialogFixture, WithoutAStoreOrWhenItRefusesNothingIsSaved)
{
    RefusingStore refusing;
    TfmGsmLine noStore{session, nullptr, nullptr, QString::fromStdString(dir.path())};
    TfmGsmLine refused{session, &refusing, nullptr, QString::fromStdString(dir.path())};
    const struct
    {
        TfmGsmLine* dialog;
        const char* pin;
        const char* box;
    } cases[] = {
        {&noStore, "", "Хранилище паролей рабочего стола недоступно"},
        {&refused, "4321", "PIN и линия GSM не сохранены: Хранилище паролей заперто."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        boxes.clear();
        c.dialog->show();
        EXPECT_EQ(c.dialog->EditPin->isEnabled(), c.dialog == &refused);
        c.dialog->EditDevice->setEditText(QStringLiteral("/dev/ttyACM2"));
        c.dialog->EditPin->setText(QString::fromUtf8(c.pin));
        c.dialog->btnOK->click();
        EXPECT_TRUE(c.dialog->isVisible());
        ASSERT_EQ(boxes.texts().size(), 1u);
        EXPECT_EQ(boxes.texts()[0].rfind(c.box, 0), 0u) << boxes.texts()[0];
        c.dialog->reject();
    }
    EXPECT_NE(noStore.lblPin->text().toStdString().find("недоступно"), std::string::npos);
    EXPECT_EQ(dir.read(SettingsFileName), SenderOnly);
}

TEST_F(GsmLineDialogFixture, TheSettingsDialogHasItsButton)
{
    TfmOptions options(session, nullptr, &store);
    auto* button = test::control<QPushButton>(&options, "btnGsmLine");
    EXPECT_FALSE(button->autoDefault());
    ASSERT_NE(options.fmGsmLine, nullptr);
    EXPECT_TRUE(options.fmGsmLine->EditPin->isEnabled());
}

} // namespace
} // namespace zolbin
