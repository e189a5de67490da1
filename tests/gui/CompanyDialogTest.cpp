// SPDX-License-Identifier: GPL-3.0-or-later
// The paging company dialog: the gateway panels, the TAP choice, the checks of OK with their
// messages, and what is stored and written to "Company.lst".

#include "directory/Lists.h"
#include "directory/ui/PrvReg.h"
#include "platform/Codepage.h"
#include "records/Session.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

using Texts = std::vector<std::string>;

QString u(const char* utf8Text)
{
    return QString::fromUtf8(utf8Text);
}

class CompanyDialog : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::dialogTestApp(); }
    CompanyDialog()
    {
        providers.AddHomeProvider();
        auto snpp = std::make_shared<TProvider>(HomeProviderDefaults());
        snpp->Name = cp("Снпп-Связь");
        snpp->Gate = Gate::SNPP;
        snpp->SNPPSrv = "snpp.example.net";
        snpp->SNPPPort = 7777;
        providers.Add(snpp);
    }

    void open(int changeIndex = -1)
    {
        if (changeIndex < 0)
            dialog.SetAddMode();
        else
            dialog.SetChangeMode(changeIndex);
        dialog.show();
    }
    // Exactly the panel of the gate is enabled, with every field and label inside it.
    void expectPanelOf(int gate)
    {
        for (auto [panel, own] : {std::pair{dialog.PanelSNPP, Gate::SNPP},
                                  {dialog.PanelSMTP, Gate::SMTP},
                                  {dialog.PanelTAP, Gate::TAP}})
            for (QWidget* w : panel->findChildren<QWidget*>()) {
                if (qobject_cast<QLineEdit*>(w) || qobject_cast<QLabel*>(w) || qobject_cast<QComboBox*>(w)) {
                    EXPECT_EQ(w->isEnabled(), gate == own) << w->objectName().toStdString();
                }
            }
    }
    void expectNewCompanyDefaults()
    {
        EXPECT_TRUE(dialog.EditName->text().isEmpty());
        EXPECT_EQ(dialog.ChosenGate(), Gate::SMTP);
        expectPanelOf(Gate::SMTP);
        EXPECT_EQ(dialog.EditSNPPPort->text(), QStringLiteral("444"));
        EXPECT_EQ(dialog.EditSMTPPort->text(), QStringLiteral("25"));
        EXPECT_EQ(dialog.cmbSNPPEnc->currentText(), QStringLiteral("KOI8-R"));
        EXPECT_EQ(dialog.cmbSMTPEnc->currentText(), QStringLiteral("KOI8-R"));
        EXPECT_TRUE(dialog.EditSnppPswd->text().isEmpty() && dialog.EditTapPswd->text().isEmpty());
    }

    test::TempDataDir dir;
    test::PromptRecorder boxes;
    Session session{dir.folder()};
    TProviderList& providers = session.providers;
    TfmPrvReg dialog{session};
};

TEST_F(CompanyDialog, OnePanelPerGateAndTapIsChosenAndStoredWithItsGate)
{
    open(1);
    expectPanelOf(Gate::SNPP);
    dialog.rbSMTP->click();
    expectPanelOf(Gate::SMTP);
    dialog.rbTAP->click();
    EXPECT_EQ(dialog.ChosenGate(), Gate::TAP);
    expectPanelOf(Gate::TAP);
    dialog.btnCancel->click();

    open();
    dialog.rbTAP->click();
    // Without a phone, or without a name, nothing is stored.
    const Texts missing{"Не заполнен один из параметров TAP-сервера"};
    for (auto [name, phone] : {std::pair{"Тап-Связь", ""}, std::pair{"", "5551234"}}) {
        boxes.clear();
        dialog.EditName->setText(u(name));
        dialog.EditTapPhone->setText(u(phone));
        dialog.btnOk->click();
        EXPECT_EQ(boxes.texts(), missing) << name << phone;
    }
    EXPECT_EQ(providers.Count(), 2);
    EXPECT_FALSE(dir.exists(CompanyFileName));

    // The phone cannot be typed longer than the record keeps; the password is cut as the record does.
    boxes.clear();
    dialog.EditName->setText(u("Тап-Связь"));
    dialog.EditTapPhone->clear();
    test::typeText(dialog.EditTapPhone, u("tap.example.net:9999-0123456789"));
    dialog.EditTapPswd->setText(u("abcdefghijklmnopqrstuvwxyz0123"));
    dialog.btnOk->click();
    EXPECT_TRUE(boxes.requests().empty());
    TProviderList reread;
    ASSERT_TRUE(reread.LoadFromFile(dir.file(CompanyFileName)));
    ASSERT_EQ(reread.Count(), 3);
    const TProvider& tap = *reread.Items(2);
    EXPECT_EQ(tap.Gate, Gate::TAP);
    EXPECT_EQ(tap.TapPhone.str(), "tap.example.net:9999-0123");
    EXPECT_EQ(tap.TapPswd.str(), "abcdefghijklmnopqrstuvwxy");
}

TEST_F(CompanyDialog, ChecksOfOkRefuseInTheirOrderAndStoreNothing)
{
    open();
    auto refusal = [&](const char* name, QRadioButton* gate, const char* server, const char* snppPort,
                       const char* address, const char* smtpPort) {
        boxes.clear();
        dialog.EditName->setText(u(name));
        gate->click();
        dialog.EditSNPPSrv->setText(u(server));
        dialog.EditSNPPPort->setText(u(snppPort));
        dialog.EditSMTPEMail->setText(u(address));
        dialog.EditSMTPPort->setText(u(smtpPort));
        dialog.btnOk->click();
        return boxes.texts().empty() ? std::string() : boxes.texts().back();
    };
    QRadioButton* snpp = dialog.rbSNPP;
    QRadioButton* smtp = dialog.rbSMTP;
    const std::string home = "Имя родного провайдера уникально и свято!";
    const std::string snppMissing = "Не заполнен один из параметров SNPP-сервера";
    const std::string smtpMissing = "Не заполнен один из параметров SMTP-сервера";
    const std::string badAddress = "Неверный E-Mail адрес";

    EXPECT_EQ(refusal("Ормид-Пейдж, г.Ворль", snpp, "", "", "", ""), home);
    EXPECT_EQ(refusal("", snpp, "h", "1", "", ""), snppMissing);
    EXPECT_EQ(refusal("П", snpp, "", "1", "", ""), snppMissing);
    EXPECT_EQ(refusal("П", snpp, "h", "", "", ""), snppMissing);
    EXPECT_EQ(refusal("", smtp, "", "", "@d", "25"), smtpMissing);
    EXPECT_EQ(refusal("П", smtp, "", "", "", "25"), smtpMissing);
    EXPECT_EQ(refusal("П", smtp, "", "", "@d", ""), smtpMissing);
    EXPECT_EQ(refusal("П", smtp, "", "", "a b@d", "25"), badAddress);
    EXPECT_EQ(refusal("П", smtp, "", "", "d.org", "25"), badAddress);
    EXPECT_EQ(refusal("П", smtp, "", "", "д@d", "25"), badAddress);
    // Both ports are converted whatever the gate: the greyed SNPP port too.
    EXPECT_EQ(refusal("П", smtp, "", "", "@d", "25"), "'' неверное целочисленное значение");
    EXPECT_EQ(refusal("П", smtp, "", "44x", "@d", "25"), "'44x' неверное целочисленное значение");
    EXPECT_EQ(refusal("П", snpp, "h", "1", "", "2147483648"), "'2147483648' неверное целочисленное значение");
    EXPECT_EQ(providers.Count(), 2);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.EditName->text(), u("П"));
    EXPECT_FALSE(dir.exists(CompanyFileName));

    // Only the exact home provider's name is refused.
    EXPECT_EQ(refusal("ормид-Пейдж, г.Ворль", smtp, "", "1", "@d", "25"), "");
    EXPECT_EQ(providers.Count(), 3);
}

TEST_F(CompanyDialog, AddModeStoresEachCompanyAndResetsForTheNext)
{
    QSignalSpy refills(&dialog, &TfmPrvReg::listChanged);
    open();
    expectNewCompanyDefaults();

    dialog.EditName->setText(u("Пейдж-Один"));
    dialog.rbSNPP->click();
    dialog.EditSNPPSrv->setText(QStringLiteral("snpp.one.example"));
    dialog.cmbSNPPEnc->setCurrentIndex(dialog.cmbSNPPEnc->findText(QStringLiteral("WIN-1251")));
    dialog.EditSnppPswd->setText(QStringLiteral("abcdefghijklmnopqrstuvwxyz0123"));
    dialog.btnOk->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.EditName);
    expectNewCompanyDefaults();

    // The next one through Enter: an address of an at sign and a domain is enough.
    test::typeText(dialog.EditName, u("Почта-Два"));
    dialog.EditSMTPEMail->setText(QStringLiteral("@two.example"));
    QTest::keyClick(dialog.EditSMTPEMail, Qt::Key_Return);
    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_EQ(refills.count(), 2);

    // "Company.lst" holds all four; "WIN-1251" reads back whole and the password is cut to 25.
    TProviderList reread;
    ASSERT_TRUE(reread.LoadFromFile(dir.file(CompanyFileName)));
    ASSERT_EQ(reread.Count(), 4);
    const TProvider& one = *reread.Items(2);
    EXPECT_EQ(one.Gate, Gate::SNPP);
    EXPECT_EQ(one.SNPPEnc.str(), "WIN-1251");
    EXPECT_EQ(one.SnppPswd.str(), "abcdefghijklmnopqrstuvwxy");
    EXPECT_EQ(one.SNPPPort, 444);
    const TProvider& two = *reread.Items(3);
    EXPECT_EQ(two.Name.str(), cp("Почта-Два"));
    EXPECT_EQ(two.Gate, Gate::SMTP);
    EXPECT_EQ(two.SMTPEMail.str(), "@two.example");

    QTest::keyClick(dialog.EditName, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(CompanyDialog, ChangeModeKeepsTheNameSkipsTheAddressFormAndCloses)
{
    open(0);
    EXPECT_TRUE(dialog.EditName->isReadOnly());
    EXPECT_EQ(dialog.EditName->text(), u("Ормид-Пейдж, г.Ворль"));
    dialog.EditSMTPEMail->setText(QStringLiteral("no-at-sign"));
    dialog.rbSNPP->click();
    dialog.EditSNPPSrv->setText(QStringLiteral("pager.home.example"));
    dialog.btnOk->click();
    EXPECT_TRUE(boxes.requests().empty());
    EXPECT_FALSE(dialog.isVisible());

    TProviderList reread;
    ASSERT_TRUE(reread.LoadFromFile(dir.file(CompanyFileName)));
    const TProvider& home = *reread.Items(0);
    EXPECT_EQ(home.Name.str(), HomeProviderName());
    EXPECT_EQ(home.Gate, Gate::SNPP);
    EXPECT_EQ(home.SNPPSrv.str(), "pager.home.example");
    EXPECT_EQ(home.SMTPEMail.str(), "no-at-sign");
    EXPECT_EQ(reread.Items(1)->SNPPPort, 7777);
}

} // namespace
} // namespace zolbin
