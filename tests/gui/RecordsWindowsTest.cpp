// SPDX-License-Identifier: GPL-3.0-or-later
// The journal and archive windows from the main window: the archive command's refusals, the archive
// viewer with and without a file, picking a block for the editor, deleting exactly the ticked
// archives, deleting the journal after the question, a large journal shown in slices, and the queue window
// opened beside the main window.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "platform/Codepage.h"
#include "records/Archive.h"
#include "records/ui/ArchiveView.h"
#include "records/ui/DelArch.h"
#include "records/ui/FileTextView.h"
#include "records/ui/LogView.h"
#include "records/ui/QueueWindow.h"
#include "tests/gui/MainWindowTestSupport.h"
#include "tests/support/PromptRecorder.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace zolbin {
namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Subscribers: Анна and Борис; Иван and "Иван -- 7", whose line begins like Иван's; and one whose name
// would lead out of the archive folder to the journal.
class RecordsWindows : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication(); }
    void SetUp() override
    {
        dir.write("Zolbin.ini", test::settingsFile(""));
        std::vector<TAbonent> abonents;
        for (const char* name : {"Анна", "Борис", "Иван", "Иван -- 7", "../Zolbin"})
            abonents.push_back(
                test::subscriber(name, 101 + static_cast<int>(abonents.size()), 240, HomeProviderName()));
        test::writeDirectory(dir.folder(), abonents, {{"Все", {0, 1}}}, {HomeProviderDefaults()});
        std::filesystem::create_directory(dir.file(ArchiveFolder));
        program = std::make_unique<test::Program>(dir.folder());
        w = &program->main();
        lbAbonent = test::control<TickList>(w, "lbAbonent");
        ASSERT_TRUE(test::showActive(w));
    }

    std::string archive(const char* name) const { return ArchivePath(dir.folder(), cp(name)); }

    // Runs the command and, once the dialog is shown, the step; then closes the dialog if the step did
    // not. True when the dialog was seen.
    static bool whileShown(
        QDialog* dialog, const std::function<void()>& command, const std::function<void()>& step = [] {})
    {
        bool seen = false;
        test::EventLoopStep run([&] {
            if (!dialog->isVisible())
                return false;
            seen = true;
            step();
            if (dialog->isVisible())
                dialog->reject();
            return true;
        });
        command();
        return seen;
    }

    // The archive viewer's text while it is open ("-" when it never opened).
    QString archiveShown(const std::function<void()>& command)
    {
        QString shown = QStringLiteral("-");
        whileShown(program->windows.fmArchive.get(), command, [&] {
            shown = test::control<FileTextView>(program->windows.fmArchive.get(), "RichEdit")->toPlainText();
        });
        return shown;
    }

    test::TempDataDir dir;
    test::PromptRecorder prompts;
    std::unique_ptr<test::Program> program;
    TfmSend* w = nullptr;
    TickList* lbAbonent = nullptr;
};

TEST_F(RecordsWindows, ArchiveCommandWantsOneSubscriberAndNoGroup)
{
    auto archiveCommand = [&] { w->action(Command::Archive)->trigger(); };
    EXPECT_EQ(archiveShown(archiveCommand), QStringLiteral("-"));
    test::control<TickList>(w, "lbGroup")->setTicked(0, true);
    EXPECT_EQ(archiveShown(archiveCommand), QStringLiteral("-"));
    lbAbonent->setTicked(0, true);
    EXPECT_EQ(archiveShown(archiveCommand), QStringLiteral("-"));
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{"Необходимо выбрать абонента", "Необходимо выбрать абонента",
                                        "Невозможно посмотреть архив для группы абонентов"}));
}

TEST_F(RecordsWindows, ArchiveViewerShowsTheFileOrNamesTheSubscriberWithout)
{
    dir.write(archive("Анна"), cp("Ормид, 01.02.2026 10:00\r\nПривет\r\n\r\n"));
    dir.write("Zolbin.log", "journal\r\n");
    test::toggleTick(lbAbonent, 0);
    EXPECT_EQ(archiveShown([&] { QTest::keyClick(w, Qt::Key_F6); }),
              text("Ормид, 01.02.2026 10:00\nПривет\n\n"));
    EXPECT_TRUE(test::control<FileTextView>(program->windows.fmArchive.get(), "RichEdit")->isReadOnly());
    EXPECT_TRUE(prompts.texts().empty());

    test::toggleTick(lbAbonent, 1);
    EXPECT_EQ(
        archiveShown([&] { QTest::mouseClick(test::control<QToolButton>(w, "btnArchive"), Qt::LeftButton); }),
        QString());
    // A name that would lead out of the archive folder (here to the journal) reads nothing there.
    test::toggleTick(lbAbonent, 4);
    EXPECT_EQ(archiveShown([&] { w->action(Command::Archive)->trigger(); }), QString());
    EXPECT_EQ(prompts.texts(),
              (std::vector<std::string>{"Архив для абонента Борис не найден", "Неверное иимя файла"}));
}

// The queue window opens beside the main window, which stays usable: it is not modal.
TEST_F(RecordsWindows, QueueWindowOpensFromTheMenuAndTheToolBarWithoutHoldingTheMainWindow)
{
    TfmQueue* queue = program->windows.fmQueue.get();
    for (const std::function<void()>& open :
         {std::function<void()>([&] { w->action(Command::Queue)->trigger(); }),
          std::function<void()>([&] { test::control<QToolButton>(w, "btnQueue")->click(); })}) {
        open();
        EXPECT_TRUE(queue->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        queue->hide();
    }
}

TEST_F(RecordsWindows, ChoiceTakesTheSelectedBlockForOnePaste)
{
    QToolButton* btnPaste = test::control<QToolButton>(w, "btnPaste");
    dir.write(archive("Анна"), cp("Ормид, 01.02.2026 10:00\r\nВстреча в 12\r\nЗал 3\r\n\r\n"));
    test::toggleTick(lbAbonent, 0);
    TfmArchive* viewer = program->windows.fmArchive.get();

    // Without a selection the window says so and stays.
    bool stayed = false;
    whileShown(
        viewer, [&] { w->action(Command::Archive)->trigger(); },
        [&] {
            QTest::mouseClick(test::control<QPushButton>(viewer, "btnChoice"), Qt::LeftButton);
            stayed = viewer->isVisible();
        });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Блок не найден."}));
    EXPECT_FALSE(btnPaste->isEnabled());

    // A block of two lines: on the clipboard, the window closed, one paste available.
    whileShown(
        viewer, [&] { w->action(Command::Archive)->trigger(); },
        [&] {
            QTextCursor c(test::control<FileTextView>(viewer, "RichEdit")->document()->findBlockByNumber(1));
            c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
            c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            test::control<FileTextView>(viewer, "RichEdit")->setTextCursor(c);
            QTest::mouseClick(test::control<QPushButton>(viewer, "btnChoice"), Qt::LeftButton);
            EXPECT_FALSE(viewer->isVisible());
        });
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text("Встреча в 12\nЗал 3"));
    EXPECT_TRUE(btnPaste->isEnabled() && w->action(Command::Paste)->isEnabled());
    QTest::mouseClick(btnPaste, Qt::LeftButton);
    EXPECT_EQ(test::control<MessageEditor>(w, "RichEdit")->toPlainText(), text("Встреча в 12\nЗал 3"));
    EXPECT_FALSE(btnPaste->isEnabled());
}

TEST_F(RecordsWindows, DeletionRemovesExactlyTheTickedArchives)
{
    for (const char* name : {"Анна", "Борис", "Иван", "Иван -- 7"})
        dir.write(archive(name), "x\r\n");
    dir.write("Zolbin.log", "journal\r\n");
    TfmDelArch* dialog = program->windows.fmDelArch.get();
    auto ticks = [&] {
        std::string states;
        for (int i = 0; i < dialog->lbAbonent->count(); ++i)
            states += dialog->lbAbonent->item(i)->checkState() == Qt::Checked ? 'x' : '.';
        return states;
    };
    auto kept = [&] {
        std::string files;
        for (const char* name : {"Анна", "Борис", "Иван", "Иван -- 7"})
            files += dir.exists(archive(name)) ? 'f' : '-';
        return files;
    };

    whileShown(
        dialog, [&] { w->action(Command::DeleteArchives)->trigger(); },
        [&] {
            EXPECT_EQ(dialog->lbAbonent->item(3)->text(), text("Иван -- 7 -- 104"));
            EXPECT_EQ(ticks(), ".....");
            // The subscriber whose name holds " -- " loses its own archive and nobody else's; the name
            // leading out of the archive folder reaches nothing.
            for (int i : {0, 3, 4})
                test::toggleTick(dialog->lbAbonent, i);
            QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
            EXPECT_EQ(kept(), "-ff-");
            EXPECT_EQ(ticks(), ".....");

            // "Вс&е" ticks every line; deleting takes the rest, missing files included, and unticks all.
            QTest::mouseClick(dialog->cbxSelectAll, Qt::LeftButton);
            EXPECT_EQ(ticks(), "xxxxx");
            QTest::mouseClick(dialog->btnOK, Qt::LeftButton);
            EXPECT_EQ(kept(), "----");
            EXPECT_EQ(ticks(), ".....");
            EXPECT_FALSE(dialog->cbxSelectAll->isChecked());
            EXPECT_TRUE(dialog->isVisible());
            QTest::keyClick(dialog->lbAbonent, Qt::Key_Escape);
            EXPECT_FALSE(dialog->isVisible());
        });
    EXPECT_TRUE(prompts.texts().empty());
    EXPECT_EQ(dir.read("Zolbin.log"), "journal\r\n");
}

TEST_F(RecordsWindows, JournalIsDeletedOnlyAfterYes)
{
    dir.write("Zolbin.log", cp("Инициализация...\r\n\r\n"));
    prompts.answer(false);
    w->action(Command::DeleteJournal)->trigger();
    ASSERT_EQ(prompts.requests().size(), 1u);
    const PromptRequest& question = prompts.requests().front();
    EXPECT_EQ(question.kind, PromptKind::YesNo);
    EXPECT_EQ(question.icon, PromptIcon::Stop);
    EXPECT_EQ(question.caption.toStdString(), "Подтверждение");
    EXPECT_EQ(question.text.toStdString(), "Вы, действительно, хотите удалить журнал работы?");
    EXPECT_EQ(dir.read("Zolbin.log"), cp("Инициализация...\r\n\r\n"));

    prompts.answer(true);
    w->action(Command::DeleteJournal)->trigger();
    EXPECT_FALSE(dir.exists("Zolbin.log"));
    prompts.clear();
    TfmLogView* viewer = program->windows.fmLogView.get();
    QString shown = QStringLiteral("-");
    whileShown(
        viewer, [&] { w->action(Command::Journal)->trigger(); },
        [&] { shown = test::control<FileTextView>(viewer, "RichEdit")->toPlainText(); });
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{"Журнал работы пока пуст"}));
    EXPECT_EQ(shown, QString());
}

// A journal of many megabytes: the window keeps answering while it fills, and what it shows in the end
// is the whole journal, line for line, also where a CR LF falls between two reads.
TEST_F(RecordsWindows, LargeJournalIsShownWholeWithoutHoldingTheWindow)
{
    std::string journal(65535, 'x'); // its CR LF straddles the first 64 KiB read
    journal += "\r\n";
    int lines = 1;
    const std::string line = cp("Ответ: 250 Сообщение принято сервером пейджинговой компании");
    for (; journal.size() < 12u * 1024 * 1024; ++lines)
        journal += line + "\r\n";
    dir.write("Zolbin.log", journal);

    TfmLogView* viewer = program->windows.fmLogView.get();
    FileTextView* view = test::control<FileTextView>(viewer, "RichEdit");
    bool sawPartial = false;
    qint64 longestWait = 0;
    QElapsedTimer sinceLast;
    sinceLast.start();
    test::EventLoopStep watch(
        [&] {
            longestWait = std::max(longestWait, sinceLast.restart());
            if (!viewer->isVisible())
                return false;
            sawPartial = sawPartial || view->loading();
            if (view->loading())
                return false;
            EXPECT_EQ(view->document()->blockCount(), lines + 1); // and the empty line after the last
            EXPECT_EQ(view->document()->firstBlock().text(), QString(65535, u'x'));
            EXPECT_EQ(view->document()->lastBlock().previous().text(), toQString(line));
            viewer->reject();
            return true;
        },
        60000);
    w->action(Command::Journal)->trigger();
    EXPECT_TRUE(sawPartial);
    EXPECT_LT(longestWait, 1500);
    EXPECT_TRUE(prompts.texts().empty());
    EXPECT_EQ(view->document()->characterCount(), 1) << "nothing kept once the window is closed";
}

} // namespace
} // namespace zolbin
