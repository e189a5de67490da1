// SPDX-License-Identifier: GPL-3.0-or-later
// The WCTP gate of the paging company dialog: its panel, its checks, and where the record keeps its fields.

#include "directory/ui/WctpPanel.h"

#include "directory/Lists.h"
#include "directory/ui/PrvReg.h"
#include "platform/Codepage.h"
#include "records/Session.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

class WctpCompanyDialog : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::dialogTestApp(); }
    WctpCompanyDialog() { providers.AddHomeProvider(); }

    void fill(const char* url, const char* sender, const char* pattern)
    {
        dialog.EditName->setText(QString::fromUtf8("Больница"));
        dialog.rbWCTP->click();
        dialog.PanelWCTP->EditWctpUrl->setText(QString::fromUtf8(url));
        dialog.PanelWCTP->EditWctpSender->setText(QString::fromUtf8(sender));
        dialog.PanelWCTP->EditWctpCode->setText(QStringLiteral("s3cr3t"));
        dialog.PanelWCTP->EditWctpPattern->setText(QString::fromUtf8(pattern));
    }

    test::TempDataDir dir;
    test::PromptRecorder boxes;
    Session session{dir.folder()};
    TProviderList& providers = session.providers;
    TfmPrvReg dialog{session};
};

TEST_F(WctpCompanyDialog, BadUrlOrEmptyRecipientIsRefusedAndAGoodCompanyKeepsItsFieldsWhereTheRecordHasThem)
{
    dialog.SetAddMode();
    dialog.show();
    struct Case
    {
        const char* url;
        const char* sender;
        const char* pattern;
        const char* named; // the empty field the refusal names, if one is empty
    };
    for (const Case c :
         {Case{"ftp://pager.example.net/", "desk", "#######", ""},
          Case{"pager.example.net", "desk", "###", ""}, Case{"", "desk", "###", "«WCTP - URL»"},
          Case{"https://pager.example.net/wctp", "", "###", "«Отправитель»"},
          Case{"https://pager.example.net/wctp", "desk", "   ", "«Получатель (#)»"}}) {
        boxes.clear();
        fill(c.url, c.sender, c.pattern);
        dialog.btnOk->click();
        ASSERT_EQ(boxes.requests().size(), 1u) << c.url << c.pattern;
        EXPECT_NE(boxes.texts()[0].find(c.named), std::string::npos) << boxes.texts()[0];
    }
    boxes.clear();
    dialog.EditName->clear();
    dialog.btnOk->click();
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find("«Имя пейдж. компании»"), std::string::npos) << boxes.texts()[0];
    EXPECT_EQ(providers.Count(), 1);

    boxes.clear();
    fill("https://pager.example.net/wctp", "desk", "#######");
    EXPECT_FALSE(dialog.PanelSNPP->isEnabled());
    EXPECT_TRUE(dialog.PanelWCTP->isEnabled());
    dialog.btnOk->click();
    EXPECT_TRUE(boxes.requests().empty());
    TProviderList reread;
    ASSERT_TRUE(reread.LoadFromFile(dir.file(CompanyFileName)));
    ASSERT_EQ(reread.Count(), 2);
    const TProvider& wctp = *reread.Items(1);
    EXPECT_EQ(wctp.Gate, Gate::WCTP);
    EXPECT_EQ(wctp.SNPPSrv.str(), "https://pager.example.net/wctp");
    EXPECT_EQ(wctp.SMTPEMail.str(), "desk");
    EXPECT_EQ(wctp.SnppPswd.str(), "s3cr3t");
    EXPECT_EQ(wctp.TapPhone.str(), "#######");

    // Opened again, the values are in the WCTP panel only.
    dialog.SetChangeMode(1);
    EXPECT_EQ(dialog.ChosenGate(), Gate::WCTP);
    EXPECT_EQ(dialog.PanelWCTP->EditWctpUrl->text(), QStringLiteral("https://pager.example.net/wctp"));
    EXPECT_EQ(dialog.PanelWCTP->EditWctpCode->text(), QStringLiteral("s3cr3t"));
    EXPECT_TRUE(dialog.EditSnppPswd->text().isEmpty());
}

} // namespace
} // namespace zolbin
