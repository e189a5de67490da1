// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog "Линия TAP": the devices it offers, the five keys it writes to section "TAP", what it refuses.

#include "dialogs/Options.h"
#include "dialogs/TapLine.h"
#include "directory/Settings.h"
#include "platform/Codepage.h"
#include "platform/ProfileFile.h"
#include "records/Session.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

const char* const SenderOnly = "[Sender]\r\nEMail=op@mail.test\r\n";

struct TapLineDialogFixture : ::testing::Test
{
    struct Application
    {
        Application() { test::dialogTestApp(); }
    } app;
    TapLineDialogFixture()
    {
        dir.write(SettingsFileName, SenderOnly);
        QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("dev"));
        for (const char* name : {"ttyS10", "ttyS2", "ttyUSB0", "ttyACM1", "ttyX", "console"})
            dir.write(std::string("dev/") + name, "");
        // Shown from memory; the reload after OK brings the file's values back.
        session.settings.ShortName = "stale";
        session.settings.TapDevice = "/dev/ttyUSB3";
        session.settings.TapSpeed = 19200;
        session.settings.TapLineFormat = TapFormat::EightN1;
    }
    void open(const char* device, const char* speed)
    {
        dialog.show();
        for (auto [box, text] : {std::pair{dialog.EditDevice, device}, std::pair{dialog.cmbSpeed, speed}}) {
            box->lineEdit()->clear();
            test::typeText(box->lineEdit(), QString::fromUtf8(text));
        }
    }

    test::TempDataDir dir;
    test::PromptRecorder boxes;
    Session session{dir.folder()};
    TfmTapLine dialog{session, nullptr, QString::fromStdString(dir.path() + "/dev")};
};

TEST_F(TapLineDialogFixture, FillsFromMemoryOffersTheDevicesPresentAndOkWritesTheFiveKeysThenReloads)
{
    dialog.show();
    QStringList offered;
    for (int i = 0; i < dialog.EditDevice->count(); ++i)
        offered << QFileInfo(dialog.EditDevice->itemText(i)).fileName();
    EXPECT_EQ(offered.join(QLatin1Char(' ')), QStringLiteral("ttyACM1 ttyS2 ttyS10 ttyUSB0"));
    EXPECT_EQ(dialog.EditDevice->currentText(), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(dialog.cmbSpeed->currentText(), QStringLiteral("19200"));
    EXPECT_EQ(dialog.cmbFormat->currentIndex(), 1);

    open(" /dev/модем0 ", "2400");
    dialog.cmbFormat->setCurrentIndex(0);
    dialog.EditDialPrefix->setText(QStringLiteral("ATDT9,"));
    QTest::keyClick(dialog.EditInit, Qt::Key_Return);
    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dir.read(SettingsFileName),
              cp(std::string(SenderOnly) + "\r\n[TAP]\r\nDevice=/dev/модем0\r\nSpeed=2400\r\nFormat=0\r\n"
                                           "Init=ATZ\r\nDialPrefix=ATDT9,\r\n"));
    EXPECT_EQ(session.settings.ShortName, "");
    EXPECT_EQ(session.settings.TapDevice, cp("/dev/модем0"));
    EXPECT_EQ(session.settings.TapSpeed, 2400u);
    EXPECT_EQ(session.settings.TapLineFormat, TapFormat::SevenE1);
}

TEST_F(TapLineDialogFixture, RefusalsAndAnUnwritableFileKeepTheDialogOpenAndMemoryAsItWas)
{
    const std::string noDevice = "Не указано устройство линии TAP";
    const std::string badSpeed = "Скорость линии должна быть целым положительным числом";
    const std::string folder = dir.path() + "/no such folder/";
    const struct
    {
        const char* device;
        const char* speed;
        std::string file;
        std::string box;
    } cases[] = {
        {"", "9600", dir.path() + "/", noDevice},
        {"   ", "9600", dir.path() + "/", noDevice},
        {"/dev/ttyS0", "", dir.path() + "/", badSpeed},
        {"/dev/ttyS0", "0", dir.path() + "/", badSpeed},
        {"/dev/ttyS0", "-300", dir.path() + "/", badSpeed},
        {"/dev/ttyS0", "96k", dir.path() + "/", badSpeed},
        {"/dev/ttyS0", "9600", folder, "Unable to write to " + folder + SettingsFileName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.device) + "|" + c.speed);
        boxes.clear();
        session.settingsFile = ProfileFile(c.file + SettingsFileName);
        open(c.device, c.speed);
        dialog.btnOK->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{c.box});
        EXPECT_EQ(dir.read(SettingsFileName), SenderOnly);
        EXPECT_EQ(session.settings.ShortName, "stale"); // not reloaded
    }
}

TEST_F(TapLineDialogFixture, TheSettingsDialogsButtonOpensItAndEscWritesNothing)
{
    TfmOptions options(session);
    auto* button = test::control<QPushButton>(&options, "btnTapLine");
    EXPECT_FALSE(button->autoDefault());
    bool opened = false;
    bool stayedOpen = false;
    test::EventLoopStep step([&] {
        opened = options.fmTapLine->isVisible();
        if (opened) {
            QTest::keyClick(options.fmTapLine->EditInit, Qt::Key_Escape);
            stayedOpen = options.fmTapLine->isVisible();
            options.fmTapLine->reject(); // the test never waits on a dialog Esc did not close
        }
        return opened;
    });
    button->click();
    EXPECT_TRUE(opened);
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(dir.read(SettingsFileName), SenderOnly);
}

} // namespace
} // namespace zolbin
