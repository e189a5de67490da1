// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs, the directory's windows and the records' windows in English: no Russian word left in a
// caption, label, button, tool tip, menu, tab, column title, interface list item or message box. The
// directory's data (names in lists and tables) are not interface and are not looked at.

#include "dialogs/About.h"
#include "dialogs/GsmLine.h"
#include "dialogs/Later.h"
#include "dialogs/MailServer.h"
#include "dialogs/Options.h"
#include "dialogs/TapLine.h"
#include "dialogs/Unlisted.h"
#include "directory/Cascades.h"
#include "directory/SmsNumber.h"
#include "directory/WctpFields.h"
#include "directory/ui/AbReg.h"
#include "directory/ui/GrReg.h"
#include "directory/ui/PrvReg.h"
#include "directory/ui/Registr.h"
#include "intake/SnppUsers.h"
#include "platform/Clock.h"
#include "platform/Codepage.h"
#include "records/Session.h"
#include "records/SqlOutbox.h"
#include "records/ui/ArchiveView.h"
#include "records/ui/DelArch.h"
#include "records/ui/LogView.h"
#include "records/ui/QueueModel.h"
#include "records/ui/QueueWindow.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/gui/EnglishTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <functional>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// The application comes first: the catalogues are installed into it.
struct Application
{
    Application() { test::dialogTestApp(); }
};

struct English : Application
{

    // What is left in Russian: on the window as it is now, among the extra texts, in the boxes shown.
    QStringList russian(QWidget& window, const QStringList& extra = {}) const
    {
        QStringList found = test::russianTexts(&window);
        for (const QString& text : extra)
            if (test::hasCyrillic(text))
                found << text;
        for (const PromptRequest& box : prompts.requests())
            if (test::hasCyrillic(box.caption + box.text))
                found << box.text;
        return found;
    }

    test::TempDataDir dir;
    Session session{dir.folder()};
    test::PromptRecorder prompts;
    test::EnglishInterface english;
};

struct Window
{
    const char* name;
    std::size_t boxes; // the message boxes the check makes the window show
    std::function<QStringList(English&)> check;
};

const Window windows[] = {
    {"About", 0,
     [](English& e) {
         TfmAbout w;
         return e.russian(w);
     }},
    {"Smile", 0,
     [](English& e) {
         TfmSmile w;
         return e.russian(w);
     }},
    {"Options", 1,
     [](English& e) {
         TfmOptions w(e.session); // no sender's address: the reason for the dialog is shown
         w.show();
         w.btnSaveClick(); // refused: no address
         return e.russian(w);
     }},
    {"MailServer", 0,
     [](English& e) {
         TfmMailServer w(e.session, nullptr);
         return e.russian(w, items(w.cmbSecurity));
     }},
    {"TapLine", 1,
     [](English& e) {
         TfmTapLine w(e.session, nullptr, QString::fromStdString(e.dir.path()));
         w.show();
         w.EditDevice->setEditText(QString());
         w.btnOKClick(); // refused: no device
         return e.russian(w, items(w.cmbFormat));
     }},
    {"GsmLine", 1,
     [](English& e) {
         TfmGsmLine w(e.session, nullptr, nullptr, QString::fromStdString(e.dir.path()));
         w.show();
         w.btnOKClick(); // refused: no password store
         return e.russian(w);
     }},
    {"Later", 0,
     [](English& e) {
         TfmLater w(e.session);
         w.FormActivate(); // this month's name in the edit
         w.btnLater->setChecked(true);
         w.btnRepeat->setChecked(true);
         w.btnOKClick(); // the summary the main window shows
         return e.russian(w, items(w.cmbMonth) << w.ShownServiceSummary());
     }},
    {"Unlisted", 0,
     [](English& e) {
         TfmUnlisted w(e.session);
         return e.russian(w);
     }},
    {"AbReg", 1,
     [](English& e) {
         TfmAbReg w(e.session);
         w.show();
         w.btnOkClick(); // refused: no name
         QStringList found = e.russian(w);
         e.session.abonents.Add(std::make_shared<TAbonent>());
         w.SetChangeMode(0);
         return found + e.russian(w);
     }},
    {"GrReg", 1,
     [](English& e) {
         TfmGrReg w(e.session);
         w.show();
         w.btnOkClick(); // refused: no name
         return e.russian(w);
     }},
    {"PrvReg", 1,
     [](English& e) {
         TfmPrvReg w(e.session);
         w.show();
         w.btnOkClick(); // refused: SMTP without an address
         QStringList found;
         for (QRadioButton* gate : {w.rbSNPP, w.rbSMTP, w.rbTAP, w.rbSMS, w.rbWCTP}) {
             gate->click(); // the page is named for the gateway
             found += e.russian(w);
         }
         return found;
     }},
    {"Registr", 3,
     [](English& e) {
         TfmRegistr w(e.session);
         QStringList found;
         for (const char* kind : {TfmRegistr::KindAbonent, TfmRegistr::KindGroup, TfmRegistr::KindProvider}) {
             w.SetKind(kind);
             w.show();             // the menu is named for the list
             w.DelUserItemClick(); // refused: nothing chosen
             found += e.russian(w);
             w.hide();
         }
         return found;
     }},
    {"Archive", 2,
     [](English& e) {
         TfmArchive w(e.dir.folder());
         w.SetArchiveName(cp("Smith"));
         w.show();           // none yet: the name is said
         w.btnChoiceClick(); // refused: nothing chosen
         return e.russian(w);
     }},
    {"DelArch", 0,
     [](English& e) {
         TfmDelArch w(e.session);
         return e.russian(w);
     }},
    {"LogView", 1,
     [](English& e) {
         TfmLogView w(e.session);
         w.show(); // no journal yet
         return e.russian(w);
     }},
    {"Queue", 1,
     [](English& e) {
         auto box = SqlOutbox::Open(e.dir.path() + "/" + OutboxFileName).value();
         std::vector<OutboxPage> pages(1);
         const std::int64_t now = Clock::current().now().toMSecsSinceEpoch();
         pages[0].createdMs = pages[0].nextAttemptMs = now;
         pages[0].params.CurName = cp("Smith");
         pages[0].text = cp("Call the office");
         EXPECT_TRUE(box->Add(pages) && box->Claim(pages[0].id).value());
         EXPECT_EQ(box->MarkInterrupted(now).value(), 1); // outcome unknown: the question says so
         TfmQueue w;
         w.setOutbox(box.get());
         w.show();
         test::control<QTableView>(&w, "gridQueue")->selectRow(0);
         test::control<QPushButton>(&w, "btnResend")->click();
         QStringList extra = items(test::control<QComboBox>(&w, "cmbFilter"));
         const QAbstractItemModel* model = test::control<QTableView>(&w, "gridQueue")->model();
         for (int column = 0; column < QueueModel::ColumnCount; ++column)
             extra << model->headerData(column, Qt::Horizontal).toString();
         for (int state = 0; state <= static_cast<int>(PageState::Cancelled); ++state)
             extra << QueueModel::stateText(static_cast<PageState>(state));
         const QStringList found = e.russian(w, extra);
         w.setOutbox(nullptr);
         return found;
     }},
};

TEST(EnglishWindows, NoRussianIsLeftInAnyDialogOrWindowOfTheDirectoryOrTheRecords)
{
    for (const Window& window : windows) {
        SCOPED_TRACE(window.name);
        English english;
        ASSERT_GE(english.english.catalogues(), 3);
        EXPECT_EQ(window.check(english), QStringList{});
        EXPECT_EQ(english.prompts.requests().size(), window.boxes);
    }
}

// The logic's refusals and questions that the windows show, worded by the host.
TEST(EnglishWindows, TheLogicsTextsShownInTheWindowsAreWordedInEnglish)
{
    English english;
    const Text texts[] = {
        WctpFieldsProblem({"https://x.example/", "", "", "#"}),
        SmsPatternRefusal("7912#"),
        HomeProviderRefusal(),
        SnppUsers::load(english.dir.file("none")).failure().text,
    };
    for (const Text& text : texts) {
        EXPECT_TRUE(test::hasCyrillic(toQString(text.russian()))) << utf8(text.russian());
        EXPECT_FALSE(test::hasCyrillic(text.shown())) << text.shown().toStdString();
    }
}

} // namespace
} // namespace zolbin
