// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's editing commands and help: copy, cut and the one paste each allows, the editor's
// one-level undo, the font size and its bounds, storing the size, the signature toggle from either
// side, and the help window.

#include "app/EditorCommands.h"
#include "app/MainWindow.h"
#include "app/Windows.h"
#include "platform/Codepage.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/KeyboardLayout.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

using test::typeText;

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

class EditingCommands : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override
    {
        ini = test::settingsFile("");
        dir.write("Zolbin.ini", ini);
        test::writeDirectory(dir.folder(), {test::subscriber("Анна", 101, 240, HomeProviderName())}, {},
                             {HomeProviderDefaults()});
    }

    // The main window with the subscriber ticked, so the editor takes text.
    TfmSend* open()
    {
        program = std::make_unique<test::Program>(dir.folder());
        TfmSend* w = &program->main();
        RichEdit = test::control<MessageEditor>(w, "RichEdit");
        btnUndo = test::control<QToolButton>(w, "btnUndo");
        EXPECT_TRUE(test::showActive(w));
        test::toggleTick(test::control<TickList>(w, "lbAbonent"), 0);
        EXPECT_FALSE(RichEdit->isReadOnly());
        RichEdit->setFocus();
        return w;
    }

    bool pasteAvailable() const
    {
        const TfmSend* w = &program->main();
        const bool button = test::control<QToolButton>(w, "btnPaste")->isEnabled();
        EXPECT_EQ(button, w->action(Command::Paste)->isEnabled());
        return button;
    }

    void select(int from, int to)
    {
        QTextCursor c = RichEdit->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        RichEdit->setTextCursor(c);
    }

    void caretTo(int position)
    {
        QTextCursor c = RichEdit->textCursor();
        c.setPosition(position);
        RichEdit->setTextCursor(c);
    }

    test::TempDataDir dir;
    test::PromptRecorder prompts;
    std::string ini;
    std::unique_ptr<test::Program> program;
    MessageEditor* RichEdit = nullptr;
    QToolButton* btnUndo = nullptr;
};

TEST_F(EditingCommands, CopyAndCutNeedABlockAndEachAllowsOnePaste)
{
    TfmSend* w = open();
    typeText(RichEdit, text("Привет мир"));
    ASSERT_FALSE(pasteAvailable());

    // Nothing selected: the message, and nothing else.
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::mouseClick(test::control<QToolButton>(w, "btnCopy"), Qt::LeftButton);
    w->action(Command::Cut)->trigger();
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Блок не найден.", "Блок не найден."}));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(RichEdit->toPlainText(), text("Привет мир"));
    EXPECT_FALSE(pasteAvailable());
    prompts.clear();

    // Copy, then exactly one paste.
    select(7, 10);
    w->action(Command::Copy)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text("мир"));
    EXPECT_TRUE(pasteAvailable());
    caretTo(0);
    QTest::mouseClick(test::control<QToolButton>(w, "btnPaste"), Qt::LeftButton);
    EXPECT_EQ(RichEdit->toPlainText(), text("мирПривет мир"));
    EXPECT_FALSE(pasteAvailable());

    // Cut takes the block out of the field; the menu twin pastes it once.
    select(0, 3);
    QTest::mouseClick(test::control<QToolButton>(w, "btnCut"), Qt::LeftButton);
    EXPECT_EQ(RichEdit->toPlainText(), text("Привет мир"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text("мир"));
    EXPECT_TRUE(pasteAvailable());
    caretTo(6);
    w->action(Command::Paste)->trigger();
    EXPECT_EQ(RichEdit->toPlainText(), text("Приветмир мир"));
    EXPECT_FALSE(pasteAvailable());
    EXPECT_TRUE(prompts.texts().empty());
}

TEST_F(EditingCommands, UndoHasOneLevelAndASecondUndoTakesBackTheUndo)
{
    TfmSend* w = open();
    typeText(RichEdit, QStringLiteral("abc"));
    caretTo(0);
    typeText(RichEdit, QStringLiteral("12"));
    ASSERT_EQ(RichEdit->toPlainText(), QStringLiteral("12abc"));

    QTest::mouseClick(btnUndo, Qt::LeftButton);
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("abc"));
    w->action(Command::Undo)->trigger();
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("12abc"));
    QTest::mouseClick(btnUndo, Qt::LeftButton);
    QTest::mouseClick(btnUndo, Qt::LeftButton);
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("12abc")) << "never further back than one edit";

    // After an undo, a new edit is what the next undo takes back.
    QTest::mouseClick(btnUndo, Qt::LeftButton);
    caretTo(3);
    typeText(RichEdit, QStringLiteral("Z"));
    ASSERT_EQ(RichEdit->toPlainText(), QStringLiteral("abcZ"));
    QTest::mouseClick(btnUndo, Qt::LeftButton);
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("abc"));
    QTest::mouseClick(btnUndo, Qt::LeftButton);
    EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("abcZ"));

    // Clearing leaves nothing to undo; the counter shows "0:0" until the text changes.
    QTest::mouseClick(test::control<QToolButton>(w, "btnClear"), Qt::LeftButton);
    QTest::mouseClick(btnUndo, Qt::LeftButton);
    EXPECT_EQ(RichEdit->toPlainText(), QString());
    EXPECT_EQ(test::control<QLabel>(w, "pnlCount")->text(), QStringLiteral("0:0"));
}

// One table of Ctrl keys: in the message editor they edit (in the Russian layout too, by the key's place)
// and leave the editor the focus; in a list the same keys are the incremental search.
TEST_F(EditingCommands, EditingKeysEditInTheEditorAndSearchInTheLists)
{
    KeyboardLayout::setIgnorePlatform(true);
    TfmSend* w = open();
    KeyboardLayout::activate(KeyboardLayout::English); // after the start, which takes the settings' layout
    auto* panel = test::control<QWidget>(w, "Panel5");
    auto* find = test::control<QLineEdit>(w, "EditFind");
    typeText(RichEdit, QStringLiteral("abc def"));
    select(0, 3);
    struct Row
    {
        int key;
        const char* text;      // the editor's text after the key
        const char* selected;  // its selection after the key
        const char* clipboard; // the clipboard after the key
    };
    const Row editor[] = {
        {Qt::Key_C, "abc def", "abc", "abc"},     // copy
        {Qt::Key_A, "abc def", "abc def", "abc"}, // select all
        {Qt::Key_X, "", "", "abc def"},           // cut
        {Qt::Key_V, "abc def", "", "abc def"},    // paste
        {Qt::Key_Z, "", "", "abc def"},           // undo (the paste)
        {Qt::Key_Z, "abc def", "", "abc def"},    // one level: the undo taken back
        {0x424, "abc def", "abc def", "abc def"}, // Ctrl+Ф, the key of A in a Russian layout
    };
    for (const Row& row : editor) {
        if (row.key < 0x100) {
            QTest::keyClick(RichEdit, static_cast<Qt::Key>(row.key), Qt::ControlModifier);
        } else { // QTest types Latin keys only
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent event(type, row.key, Qt::ControlModifier, QString(QChar(row.key)));
                QApplication::sendEvent(RichEdit, &event);
            }
        }
        EXPECT_EQ(RichEdit->toPlainText(), QString::fromLatin1(row.text)) << row.key;
        EXPECT_EQ(RichEdit->textCursor().selectedText(), QString::fromLatin1(row.selected)) << row.key;
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromLatin1(row.clipboard)) << row.key;
        EXPECT_TRUE(RichEdit->hasFocus()) << row.key;
        EXPECT_FALSE(panel->isVisible()) << row.key;
    }
    EXPECT_FALSE(pasteAvailable()) << "the editor's keys leave the commands' one paste alone";

    // In the list the same keys search, and the panel shows what was typed.
    auto* list = test::control<TickList>(w, "lbAbonent");
    for (const int key : {int(Qt::Key_A), int(Qt::Key_C), int(Qt::Key_V), int(Qt::Key_X), int(Qt::Key_Z)}) {
        list->setFocus();
        QTest::keyClick(list, static_cast<Qt::Key>(key), Qt::ControlModifier);
        EXPECT_TRUE(panel->isVisible()) << key;
        EXPECT_EQ(find->text(), QString(QChar(key).toLower())) << key;
        EXPECT_EQ(RichEdit->toPlainText(), QStringLiteral("abc def")) << key;
    }
    // A search panel left open closes at an editing key in the editor, which keeps the key.
    RichEdit->setFocus();
    QTest::keyClick(RichEdit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(RichEdit->hasFocus());
    EXPECT_EQ(RichEdit->textCursor().selectedText(), QStringLiteral("abc def"));
    KeyboardLayout::setIgnorePlatform(false);
}

TEST_F(EditingCommands, FontGrowsAndShrinksByTwoWithinItsBounds)
{
    TfmSend* w = open();
    ASSERT_EQ(w->editing().fontSize(), 7);
    std::vector<int> sizes;
    for (int i = 0; i < 8; ++i) {
        w->action(Command::LargerFont)->trigger();
        sizes.push_back(w->editing().fontSize());
    }
    EXPECT_EQ(sizes, (std::vector<int>{9, 11, 13, 15, 17, 19, 21, 21}));
    EXPECT_TRUE(RichEdit->hasFocus());
    sizes.clear();
    for (int i = 0; i < 8; ++i) {
        w->action(Command::SmallerFont)->trigger();
        sizes.push_back(w->editing().fontSize());
    }
    EXPECT_EQ(sizes, (std::vector<int>{19, 17, 15, 13, 11, 9, 7, 7}));

    // The shortcuts Alt+[ and Alt+].
    QTest::keyClick(w, Qt::Key_BracketLeft, Qt::AltModifier);
    EXPECT_EQ(w->editing().fontSize(), 9);
    QTest::keyClick(w, Qt::Key_BracketRight, Qt::AltModifier);
    EXPECT_EQ(w->editing().fontSize(), 7);

    // From a stored size of 8 the smaller font goes to 6 and no further.
    program.reset();
    dir.write("Zolbin.ini", test::settingsFile("FontSize=8\r\n"));
    w = open();
    ASSERT_EQ(w->editing().fontSize(), 8);
    w->action(Command::SmallerFont)->trigger();
    EXPECT_EQ(w->editing().fontSize(), 6);
    w->action(Command::SmallerFont)->trigger();
    EXPECT_EQ(w->editing().fontSize(), 6);
}

TEST_F(EditingCommands, FontSizeIsWrittenOnlyByItsCommandAndUsedAtTheNextStart)
{
    TfmSend* w = open();
    w->action(Command::LargerFont)->trigger();
    w->action(Command::LargerFont)->trigger();
    ASSERT_EQ(w->editing().fontSize(), 11);
    EXPECT_EQ(dir.read("Zolbin.ini"), ini);

    w->action(Command::StoreFontSize)->trigger();
    EXPECT_EQ(dir.read("Zolbin.ini"), ini + "FontSize=11\r\n");
    EXPECT_EQ(w->editing().fontSize(), 11);

    program.reset();
    w = open();
    EXPECT_EQ(w->editing().fontSize(), 11);
}

TEST_F(EditingCommands, SignatureToggleFollowsTheMenuItemAndBack)
{
    TfmSend* w = open();
    QTest::keyClick(w, Qt::Key_F5);
    QToolButton* btnNoShort = test::control<QToolButton>(w, "btnNoShort");
    ASSERT_TRUE(btnNoShort->isChecked());
    QTest::mouseClick(btnNoShort, Qt::LeftButton);
    EXPECT_FALSE(btnNoShort->isChecked());
    EXPECT_FALSE(w->action(Command::SignatureOff)->isChecked());
    EXPECT_FALSE(w->signatureBlocked());
}

TEST_F(EditingCommands, HelpOpensAtTheContentsAndFollowsItsLinks)
{
    std::filesystem::copy_file(std::filesystem::path(ZOLBIN_SOURCE_DIR) / "data" / HelpFileName,
                               dir.file(HelpFileName));
    TfmSend* w = open();
    QTest::keyClick(w, Qt::Key_F1);
    auto* viewer = w->findChild<HelpViewer*>();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer, 2000));
    QTextBrowser* browser = viewer->browser();
    EXPECT_TRUE(browser->toPlainText().contains(text("Содержание")));
    EXPECT_TRUE(browser->toPlainText().contains(text("Настройка пейджинговой компании для SNPP")));
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

    // The first link of the contents, reached with Tab and followed with Enter, leads into the page.
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("about"));
    ASSERT_GT(browser->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(viewer->btnBack->isEnabled());

    // Help again: the same window, back at the contents.
    QTest::mouseClick(test::control<QToolButton>(w, "btnHelp"), Qt::LeftButton);
    EXPECT_EQ(w->findChildren<HelpViewer*>().size(), 1);
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
    EXPECT_FALSE(viewer->btnBack->isEnabled());
}

TEST_F(EditingCommands, MissingHelpDocumentIsReported)
{
    TfmSend* w = open();
    w->action(Command::Help)->trigger();
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{"Не удалось открыть файл справки zolbin.hlp: Файл не найден"}));
    const auto* viewer = w->findChild<HelpViewer*>();
    EXPECT_TRUE(viewer == nullptr || !viewer->isVisible());
}

} // namespace
} // namespace zolbin
