// SPDX-License-Identifier: GPL-3.0-or-later
// Every dialog at the screens where the operator meets it: 1366 x 768 at scale 1 and 1920 x 1080 at
// scale 2 (960 x 540 in the windows' units). Run once for each screen (ctest gives the offscreen
// platform's screen and the scale factor): each dialog takes its layout's size hint, fits on the screen,
// and each of its fields gets at least the height it asks for.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dialogs/About.h"
#include "dialogs/Later.h"
#include "dialogs/MailServer.h"
#include "dialogs/Options.h"
#include "dialogs/TapLine.h"
#include "dialogs/Unlisted.h"
#include "directory/ui/AbReg.h"
#include "directory/ui/GrReg.h"
#include "directory/ui/PrvReg.h"
#include "directory/ui/Registr.h"
#include "records/ui/ArchiveView.h"
#include "records/ui/DelArch.h"
#include "records/ui/LogView.h"
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
#include <QScreen>
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

void expectWhole(QDialog* dialog, const char* name)
{
    dialog->show();
    QApplication::processEvents();
    std::cout << name << " " << dialog->width() << "x" << dialog->height() << "\n";
    const QRect screen = dialog->screen()->availableGeometry();
    EXPECT_EQ(dialog->size(), dialog->sizeHint().expandedTo(dialog->minimumSize())) << name;
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << name << ": fixed in size";
    EXPECT_TRUE(screen.contains(dialog->frameGeometry()))
        << name << " " << dialog->frameGeometry().width() << "x" << dialog->frameGeometry().height() << " on "
        << screen.width() << "x" << screen.height();
    for (const QWidget* field : dialog->findChildren<QWidget*>()) {
        if (!field->isVisibleTo(dialog) || !isField(field) || field->window() != dialog)
            continue;
        if (qobject_cast<const QComboBox*>(field->parentWidget()) != nullptr ||
            qobject_cast<const QLineEdit*>(field->parentWidget()) != nullptr)
            continue; // a combo box's own line edit, a spin field's arrows
        EXPECT_GE(field->height(), askedHeight(field))
            << name << " " << field->metaObject()->className() << " " << field->objectName().toStdString();
    }
    dialog->hide();
}

TEST(DialogSizes, EveryDialogShowsEveryFieldWholeOnTheScreen)
{
    test::ensureApplication();
    test::TempDataDir dir;
    dir.write("Zolbin.ini", test::settingsFile(""));
    test::PromptRecorder prompts;
    test::Program program;
    Windows& w = program.windows;
    std::cout << "screen " << QGuiApplication::primaryScreen()->availableGeometry().width() << "x"
              << QGuiApplication::primaryScreen()->availableGeometry().height() << " scale "
              << QGuiApplication::primaryScreen()->devicePixelRatio() << "\n";

    w.fmRegistr->SetKind(TfmRegistr::KindProvider);
    const std::vector<std::pair<QDialog*, const char*>> dialogs = {
        {w.fmPrvReg.get(), "TfmPrvReg"},        {w.fmAbReg.get(), "TfmAbReg"},
        {w.fmGrReg.get(), "TfmGrReg"},          {w.fmRegistr.get(), "TfmRegistr"},
        {w.fmOptions.get(), "TfmOptions"},      {w.fmOptions->fmMailServer, "TfmMailServer"},
        {w.fmOptions->fmTapLine, "TfmTapLine"}, {w.fmLater.get(), "TfmLater"},
        {w.fmUnlisted.get(), "TfmUnlisted"},    {w.fmAbout.get(), "TfmAbout"},
        {w.fmSmile.get(), "TfmSmile"},          {w.fmArchive.get(), "TfmArchive"},
        {w.fmDelArch.get(), "TfmDelArch"},      {w.fmLogView.get(), "TfmLogView"},
    };
    for (const auto& [dialog, name] : dialogs)
        expectWhole(dialog, name);
}

} // namespace
} // namespace zolbin
