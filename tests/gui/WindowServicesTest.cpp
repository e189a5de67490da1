// SPDX-License-Identifier: GPL-3.0-or-later
// The window services every window relies on: dialog keys, Caps Lock, the command boundary, text
// fields kept within cp1251, the message boxes and the notification-area icon.

#include "platform/Codepage.h"
#include "platform/ui/CapsLock.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/Cp1251Input.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/QtTranslations.h"
#include "platform/ui/UiText.h"
#include "platform/ui/WidgetPrompts.h"
#include "tests/gui/DialogTestSupport.h"
#include "tests/gui/EnglishTestSupport.h"
#include "tests/support/PromptRecorder.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <stdexcept>

namespace zolbin {
namespace {

using test::dialogTestApp;

// A dialog with a field and an auto-default button; Enter is taken only when asked to.
class ProbeDialog final : public TDialog
{
public:
    explicit ProbeDialog(bool takesEnter, bool tracksCaps = true)
        : takesEnter_(takesEnter), tracksCaps_(tracksCaps)
    {
        field = new QLineEdit;
        button = new QPushButton(QStringLiteral("Go"));
        button->setAutoDefault(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(field);
        layout->addWidget(button);
        fixSize();
    }
    QLineEdit* field;
    QPushButton* button;
    int enters = 0;

protected:
    bool enterPressed() override
    {
        if (!takesEnter_)
            return false;
        ++enters;
        return true;
    }
    bool tracksCapsLock() const override { return tracksCaps_; }

private:
    bool takesEnter_;
    bool tracksCaps_;
};

TEST(EnglishInterface, TheCataloguesSpeakEnglishWhileInstalledAndRussianComesBackWithout)
{
    test::dialogTestApp();
    {
        test::EnglishInterface english;
        ASSERT_GE(english.catalogues(), 1);
        HelpViewer viewer;
        EXPECT_EQ(test::russianTexts(&viewer), QStringList{});
        EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Help - Zolbin Sender"));
    }
    HelpViewer viewer;
    EXPECT_EQ(viewer.windowTitle(), uiText("Помощь - Zolbin Sender"));
    EXPECT_FALSE(test::russianTexts(&viewer).isEmpty());
}

TEST(DialogKeys, EnterGoesToTheDialogAndNeverToAFieldOrAButtonTheDialogDidNotName)
{
    dialogTestApp();
    for (const bool takesEnter : {true, false}) {
        ProbeDialog dialog(takesEnter);
        dialog.show();
        QSignalSpy fieldEnter(dialog.field, &QLineEdit::returnPressed);
        QSignalSpy clicked(dialog.button, &QPushButton::clicked);

        QTest::keyClick(dialog.field, Qt::Key_Return);
        QTest::keyClick(dialog.field, Qt::Key_Enter, Qt::KeypadModifier);

        EXPECT_EQ(dialog.enters, takesEnter ? 2 : 0);
        EXPECT_EQ(fieldEnter.count(), takesEnter ? 0 : 2);
        EXPECT_EQ(clicked.count(), 0);
        EXPECT_TRUE(dialog.isVisible());
    }
}

TEST(DialogKeys, EscRejectsAndTheDialogStopsSeeingKeysOnceHidden)
{
    dialogTestApp();
    ProbeDialog dialog(true);
    dialog.show();
    QTest::keyClick(dialog.field, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // Hidden, it no longer takes Enter from anywhere.
    QLineEdit elsewhere;
    elsewhere.show();
    QTest::keyClick(&elsewhere, Qt::Key_Return);
    EXPECT_EQ(dialog.enters, 0);
}

TEST(DialogKeys, CapsLockFlipsTheIndicatorOncePerPressUnlessTheDialogLeavesItAlone)
{
    dialogTestApp();
    CapsLock::instance().set(false);
    QSignalSpy changed(&CapsLock::instance(), &CapsLock::changed);

    ProbeDialog dialog(true);
    dialog.show();
    // Sent to the field, which ignores it: the key then travels up to the dialog and must not count twice.
    QTest::keyClick(dialog.field, Qt::Key_CapsLock);
    EXPECT_TRUE(CapsLock::instance().isOn());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(changed.at(0).at(0).toBool());
    QTest::keyClick(&dialog, Qt::Key_CapsLock);
    EXPECT_FALSE(CapsLock::instance().isOn());
    EXPECT_EQ(changed.count(), 2);
    dialog.hide();

    ProbeDialog quiet(true, false);
    quiet.show();
    QTest::keyClick(quiet.field, Qt::Key_CapsLock);
    EXPECT_FALSE(CapsLock::instance().isOn());
    EXPECT_EQ(changed.count(), 2);
}

// OK and Cancel given to the base; Cancel with a command of its own or the plain reject.
class OkCancelDialog final : public TDialog
{
public:
    OkCancelDialog(bool enterRunsOk, bool ownCancel)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(field);
        layout->addLayout(okCancelRow(ok, cancel));
        useOk(
            ok, [this] { ++oks; }, enterRunsOk ? EnterKey::RunsOk : EnterKey::Ignored);
        useCancel(cancel, ownCancel ? std::function<void()>([this] { ++cancels; }) : nullptr);
    }
    void FormActivate() override { ++activations; }
    QLineEdit* field = new QLineEdit;
    QPushButton* ok = new QPushButton(QStringLiteral("OK"));
    QPushButton* cancel = new QPushButton(QStringLiteral("Cancel"));
    int oks = 0, cancels = 0, activations = 0;
};

TEST(DialogKeys, OkAndCancelOfTheBaseTakeTheirClicksEnterAndEscAndEachShowingFillsTheDialog)
{
    dialogTestApp();
    for (const bool enterRunsOk : {true, false}) {
        OkCancelDialog dialog(enterRunsOk, true);
        EXPECT_EQ(dialog.ok->palette().color(QPalette::ButtonText), QColor(0, 128, 0));
        EXPECT_EQ(dialog.cancel->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
        dialog.show();
        dialog.hide();
        dialog.show();
        QTest::keyClick(dialog.field, Qt::Key_Return);
        dialog.ok->click();
        QTest::keyClick(dialog.field, Qt::Key_Escape);
        dialog.cancel->click();
        EXPECT_EQ(dialog.oks, enterRunsOk ? 2 : 1);
        EXPECT_EQ(dialog.cancels, 2);
        EXPECT_EQ(dialog.activations, 2);
        EXPECT_TRUE(dialog.isVisible());
    }
    OkCancelDialog plain(true, false);
    plain.show();
    QTest::keyClick(plain.field, Qt::Key_Escape);
    EXPECT_EQ(plain.result(), QDialog::Rejected);
    EXPECT_FALSE(plain.isVisible());
}

TEST(DialogFrame, SizeIsFixedAndTheDialogIsCentredOnTheScreen)
{
    dialogTestApp();
    ProbeDialog dialog(true);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.size(), dialog.minimumSize());
    dialog.show();
    const QPoint screenCentre = dialog.screen()->availableGeometry().center();
    EXPECT_LE((dialog.frameGeometry().center() - screenCentre).manhattanLength(), 2);
}

TEST(CommandBoundary, ErrorsBecomeAStopBoxWithTheirTextAndGoNoFurther)
{
    test::PromptRecorder boxes;
    EXPECT_NO_THROW(
        runCommand([] { throw std::invalid_argument(cp("'12x' неверное целочисленное значение")); }));
    EXPECT_NO_THROW(runCommand([] { throw std::runtime_error("Read beyond end of file"); }));
    EXPECT_NO_THROW(runCommand([] { throw 42; }));
    bool ran = false;
    runCommand([&] { ran = true; });

    EXPECT_TRUE(ran);
    ASSERT_EQ(boxes.requests().size(), 3u);
    EXPECT_EQ(boxes.texts()[0], "'12x' неверное целочисленное значение");
    EXPECT_EQ(boxes.texts()[1], "Read beyond end of file");
    for (const PromptRequest& r : boxes.requests())
        EXPECT_EQ(r.icon, PromptIcon::Stop);
}

TEST(Cp1251Fields, LineEditReplacesWhatCp1251CannotHoldAndKeepsTheCursor)
{
    dialogTestApp();
    QLineEdit edit;
    keepCp1251(&edit);
    edit.show();
    test::typeText(&edit, QString::fromUtf8("Ж€✓z"));
    EXPECT_EQ(edit.text(), QString::fromUtf8("Ж€?z"));
    EXPECT_EQ(edit.cursorPosition(), 4);

    // A pasted character outside the basic plane becomes one "?", the cursor after it.
    edit.setCursorPosition(1);
    edit.insert(QString::fromUtf8("😀"));
    EXPECT_EQ(edit.text(), QString::fromUtf8("Ж?€?z"));
    EXPECT_EQ(edit.cursorPosition(), 2);
}

TEST(Cp1251Fields, EditorKeepsLineBreaksAndOneUndoTakesThePasteBack)
{
    dialogTestApp();
    QPlainTextEdit editor;
    keepCp1251(&editor);
    editor.setPlainText(QStringLiteral("ab"));
    editor.moveCursor(QTextCursor::End);
    editor.insertPlainText(QString::fromUtf8("1\n😀✓ё\n2"));
    EXPECT_EQ(editor.toPlainText(), QString::fromUtf8("ab1\n??ё\n2"));
    editor.undo();
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("ab"));
}

TEST(MessageBoxes, QuestionShowsDaNetAsPlainTextAndAnswersByTheButton)
{
    dialogTestApp();
    installWidgetPrompts();
    QMessageBox* seen = nullptr;
    QStringList buttons;
    auto press = [&](const char* which) {
        return [&, which] {
            seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (seen == nullptr)
                return false;
            EXPECT_EQ(seen->windowTitle(), uiText("Подтверждение"));
            EXPECT_EQ(seen->icon(), QMessageBox::Critical);
            EXPECT_EQ(seen->textFormat(), Qt::PlainText);
            buttons.clear();
            for (QAbstractButton* b : seen->buttons())
                buttons << b->text();
            for (QAbstractButton* b : seen->buttons())
                if (b->text() == uiText(which))
                    b->click();
            return true;
        };
    };
    {
        test::EventLoopStep step(press("&Да"));
        EXPECT_TRUE(Prompts::ask(cp("Подтверждение"), cp("Удалить <b>Склад</b>?"), PromptIcon::Stop));
    }
    EXPECT_TRUE(buttons.contains(uiText("&Да")) && buttons.contains(uiText("&Нет")));
    {
        test::EventLoopStep step(press("&Нет"));
        EXPECT_FALSE(Prompts::ask(cp("Подтверждение"), cp("Ещё раз?"), PromptIcon::Stop));
    }
    Prompts::setResponder(nullptr);
}

// Qt's own texts (the standard buttons, the editors' menus, the file chooser) come in Russian. Last in
// this file: the catalogue stays loaded.
TEST(QtTranslationsTest, QtOwnTextsAreRussian)
{
    dialogTestApp();
    ASSERT_TRUE(installQtTranslations()) << "package qt6-translations-l10n";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("Отмена"));
    const QString undo = QCoreApplication::translate("QWidgetTextControl", "&Undo");
    EXPECT_NE(undo, QStringLiteral("&Undo"));
    const QString newFolder = QCoreApplication::translate("QFileDialog", "New Folder");
    EXPECT_NE(newFolder, QStringLiteral("New Folder"));
}

} // namespace
} // namespace zolbin
