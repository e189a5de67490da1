// SPDX-License-Identifier: GPL-3.0-or-later
// Every window of the program at the screens where the operator meets it: 1366 x 768 at scale 1 and 2
// (683 x 384 in the windows' units) and 1920 x 1080 at scale 2. Run once for each screen (ctest gives the
// offscreen platform's screen and the scale factor): each window lies within the screen's available area
// with every button whole inside it and outside any scrolled part; a dialog is fixed in size, takes its
// layout's size hint where the screen has room for it, and each of its fields gets at least the height it
// asks for (in the scrolled part where the screen is too small).

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/About.h"
#include "dialogs/GsmLine.h"
#include "dialogs/Later.h"
#include "dialogs/MailServer.h"
#include "dialogs/Options.h"
#include "dialogs/Splash.h"
#include "dialogs/TapLine.h"
#include "dialogs/Unlisted.h"
#include "directory/ui/AbReg.h"
#include "directory/ui/GrReg.h"
#include "directory/ui/PrvReg.h"
#include "directory/ui/Registr.h"
#include "platform/ui/HelpViewer.h"
#include "records/ui/ArchiveView.h"
#include "records/ui/DelArch.h"
#include "records/ui/LogView.h"
#include "records/ui/QueueWindow.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <gtest/gtest.h>
#include <iostream>
#include <utility>
#include <vector>

namespace zolbin {
namespace {

// The height a field asks for: its size hint; a scrolled field (a list, an editor) its minimum, since
// it scrolls what does not fit.
int askedHeight(const QWidget* field)
{
    if (qobject_cast<const QAbstractScrollArea*>(field) != nullptr)
        return field->minimumSizeHint().height();
    if (field->hasHeightForWidth()) // a word-wrapped text: its lines at the width it got
        return field->heightForWidth(field->width());
    return field->sizeHint().height();
}

bool isField(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) != nullptr || qobject_cast<const QComboBox*>(w) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(w) != nullptr ||
           qobject_cast<const QAbstractButton*>(w) != nullptr ||
           qobject_cast<const QAbstractScrollArea*>(w) != nullptr ||
           (qobject_cast<const QLabel*>(w) != nullptr && !qobject_cast<const QLabel*>(w)->text().isEmpty());
}

// The part of a dialog that scrolls because the screen is too small for it (none where it has room).
const QScrollArea* scrolledPart(const QWidget* window)
{
    for (const QScrollArea* part : window->findChildren<QScrollArea*>(QStringLiteral("ScrollBody")))
        if (part->window() == window)
            return part;
    return nullptr;
}

void expectFieldsWhole(QWidget* dialog, const char* name)
{
    const QScrollArea* scrolled = scrolledPart(dialog);
    for (const QWidget* field : dialog->findChildren<QWidget*>()) {
        if (!field->isVisibleTo(dialog) || !isField(field) || field->window() != dialog || field == scrolled)
            continue;
        if (qobject_cast<const QComboBox*>(field->parentWidget()) != nullptr ||
            qobject_cast<const QLineEdit*>(field->parentWidget()) != nullptr)
            continue; // a combo box's own line edit, a spin field's arrows
        EXPECT_GE(field->height(), askedHeight(field))
            << name << " " << field->metaObject()->className() << " " << field->objectName().toStdString();
    }
}

// Every button can be pressed: wholly inside the window and not in a part that scrolls away.
void expectButtonsInReach(QWidget* window, const char* name)
{
    const QScrollArea* scrolled = scrolledPart(window);
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(window) || button->window() != window ||
            qobject_cast<const QPushButton*>(button) == nullptr)
            continue;
        if (scrolled != nullptr && scrolled->isAncestorOf(button))
            continue; // a command among the fields, not one of the window's buttons
        const QRect where(button->mapTo(window, QPoint(0, 0)), button->size());
        EXPECT_TRUE(window->rect().contains(where)) << name << " " << button->objectName().toStdString();
    }
}

void expectInReach(QWidget* window, const char* name)
{
    window->show();
    QApplication::processEvents();
    std::cout << name << " " << window->width() << "x" << window->height()
              << (scrolledPart(window) != nullptr ? " scrolled" : "") << "\n";
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry()))
        << name << " " << window->frameGeometry().width() << "x" << window->frameGeometry().height() << " on "
        << screen.width() << "x" << screen.height();
    expectButtonsInReach(window, name);
    if (auto* dialog = qobject_cast<QDialog*>(window);
        dialog != nullptr && !dialog->isSizeGripEnabled() && dialog->minimumSize() == dialog->maximumSize()) {
        if (scrolledPart(dialog) == nullptr) {
            EXPECT_EQ(dialog->size(), dialog->sizeHint().expandedTo(dialog->minimumSize())) << name;
        }
        expectFieldsWhole(dialog, name);
    } else {
        EXPECT_LE(window->minimumSize().height(), screen.height()) << name;
    }
    window->hide();
}

TEST(DialogSizes, EveryWindowLiesOnTheScreenWithItsButtonsInReach)
{
    test::ensureApplication();
    test::TempDataDir dir;
    dir.write("Zolbin.ini", test::settingsFile(""));
    test::PromptRecorder prompts;
    test::Program program(dir.folder());
    Windows& w = program.windows;
    std::cout << "screen " << QGuiApplication::primaryScreen()->availableGeometry().width() << "x"
              << QGuiApplication::primaryScreen()->availableGeometry().height() << " scale "
              << QGuiApplication::primaryScreen()->devicePixelRatio() << "\n";

    w.fmRegistr->SetKind(TfmRegistr::KindProvider);
    HelpViewer help;
    TfmSplash splash;
    const std::vector<std::pair<QWidget*, const char*>> windows = {
        {w.fmPrvReg.get(), "TfmPrvReg"},
        {w.fmAbReg.get(), "TfmAbReg"},
        {w.fmGrReg.get(), "TfmGrReg"},
        {w.fmRegistr.get(), "TfmRegistr"},
        {w.fmOptions.get(), "TfmOptions"},
        {w.fmOptions->fmMailServer, "TfmMailServer"},
        {w.fmOptions->fmTapLine, "TfmTapLine"},
        {w.fmOptions->fmGsmLine, "TfmGsmLine"},
        {w.fmLater.get(), "TfmLater"},
        {w.fmUnlisted.get(), "TfmUnlisted"},
        {w.fmAbout.get(), "TfmAbout"},
        {w.fmSmile.get(), "TfmSmile"},
        {w.fmArchive.get(), "TfmArchive"},
        {w.fmDelArch.get(), "TfmDelArch"},
        {w.fmLogView.get(), "TfmLogView"},
        {w.fmQueue.get(), "TfmQueue"},
        {w.fmSend.get(), "TfmSend"},
        {&help, "HelpViewer"},
        {&splash, "TfmSplash"},
    };
    for (const auto& [window, name] : windows)
        expectInReach(window, name);
}

} // namespace
} // namespace zolbin
