// SPDX-License-Identifier: GPL-3.0-or-later
// The company dialog's SMS gateway: its panel, the number pattern's check, what is stored.

#include "directory/Lists.h"
#include "directory/ui/PrvReg.h"
#include "platform/Codepage.h"
#include "records/Session.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

class SmsCompanyDialog : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::dialogTestApp(); }
    SmsCompanyDialog() { providers.AddHomeProvider(); }

    test::TempDataDir dir;
    test::PromptRecorder boxes;
    Session session{dir.folder()};
    TProviderList& providers = session.providers;
    TfmPrvReg dialog{session};
};

TEST_F(SmsCompanyDialog, PatternCheckedThenStoredInThePhoneFieldAndShownAgain)
{
    dialog.SetAddMode();
    dialog.show();
    dialog.rbSMS->click();
    EXPECT_EQ(dialog.ChosenGate(), Gate::SMS);
    EXPECT_TRUE(dialog.PanelSMS->isEnabled());
    EXPECT_FALSE(dialog.PanelTAP->isEnabled());
    dialog.EditName->setText(QStringLiteral("Gsm"));
    for (const char* bad : {"", "89121234567", "+7 912 ###", "+7912############"}) {
        boxes.clear();
        dialog.EditSmsPattern->setText(QString::fromUtf8(bad));
        dialog.btnOk->click();
        ASSERT_EQ(boxes.texts().size(), 1u) << bad;
        EXPECT_NE(boxes.texts()[0].find(*bad ? "+7912#######" : "SMS"), std::string::npos) << bad;
    }
    EXPECT_EQ(providers.Count(), 1);

    boxes.clear();
    dialog.EditSmsPattern->setText(QStringLiteral("+7912#######"));
    dialog.btnOk->click();
    EXPECT_TRUE(boxes.requests().empty());
    TProviderList reread;
    ASSERT_TRUE(reread.LoadFromFile(dir.file(CompanyFileName)));
    ASSERT_EQ(reread.Count(), 2);
    EXPECT_EQ(reread.Items(1)->Gate, Gate::SMS);
    EXPECT_EQ(reread.Items(1)->TapPhone.str(), "+7912#######");
    EXPECT_EQ(reread.Items(1)->encode().size(), TProvider::RecordSize);

    dialog.SetChangeMode(1);
    dialog.show();
    EXPECT_EQ(dialog.ChosenGate(), Gate::SMS);
    EXPECT_EQ(dialog.EditSmsPattern->text(), QStringLiteral("+7912#######"));
}

TEST_F(SmsCompanyDialog, ThePageIsNamedForTheGateAndTheSmsPanelOpensTheGsmLine)
{
    dialog.SetAddMode();
    dialog.show();
    QSignalSpy asked(&dialog, &TfmPrvReg::gsmLineRequested);
    const struct
    {
        QRadioButton* gate;
        const char* page;
        bool gsmLine;
    } cases[] = {
        {dialog.rbSMS, "SMS - доступ", true},    {dialog.rbSNPP, "SNPP - доступ", false},
        {dialog.rbWCTP, "WCTP - доступ", false}, {dialog.rbTAP, "TAP - доступ", false},
        {dialog.rbSMTP, "SMTP - доступ", false},
    };
    for (const auto& c : cases) {
        c.gate->click();
        EXPECT_EQ(dialog.PageControl->tabText(0), QString::fromUtf8(c.page));
        EXPECT_EQ(dialog.btnGsmLine->isEnabled(), c.gsmLine) << c.page;
    }
    dialog.rbSMS->click();
    dialog.btnGsmLine->click();
    EXPECT_EQ(asked.count(), 1);
    EXPECT_TRUE(boxes.requests().empty());
}

} // namespace
} // namespace zolbin
