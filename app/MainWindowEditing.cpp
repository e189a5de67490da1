// SPDX-License-Identifier: GPL-3.0-or-later
// The editing commands, help, the journal, the archive and the queue windows.

#include "app/MainWindow.h"
#include "app/SearchKeys.h"
#include "app/Windows.h"
#include "platform/Codepage.h"
#include "platform/IoError.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/HelpViewer.h"
#include "records/ui/ArchiveView.h"
#include "records/ui/DelArch.h"
#include "records/ui/LogView.h"
#include "records/ui/QueueWindow.h"
#include "records/ui/RecordFiles.h"

#include <QAction>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>
#include <QToolButton>

namespace zolbin {

// The editor's undo has one level: an undo takes back the last edit and the next one takes back that
// undo, again and again, until the text is edited anew. The editor's own undo and redo keys do the
// same, so no way leads further back than the last edit.
class TfmSend::EditorUndo final : public QObject
{
public:
    explicit EditorUndo(QPlainTextEdit* editor) : QObject(editor), editor_(editor)
    {
        editor->installEventFilter(this);
        connect(editor->document(), &QTextDocument::contentsChanged, this, [this] {
            if (!applying_)
                undone_ = false;
        });
    }

    void toggle()
    {
        if (editor_->isReadOnly())
            return;
        QTextDocument* document = editor_->document();
        applying_ = true;
        if (undone_ && document->isRedoAvailable()) {
            editor_->redo();
            undone_ = false;
        } else if (document->isUndoAvailable()) {
            editor_->undo();
            undone_ = true;
        }
        applying_ = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == editor_ && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
                runCommand([this] { toggle(); });
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPlainTextEdit* editor_;
    bool undone_ = false;   // the last step was an undo that the next one takes back
    bool applying_ = false; // our own undo or redo is changing the text
};

void TfmSend::connectEditingCommands()
{
    editorUndo_ = new EditorUndo(RichEdit);
    // The field's own menu would offer a paste and an undo beside the rules of the commands.
    RichEdit->setContextMenuPolicy(Qt::NoContextMenu);

    onCommand(Command::ClearEditor, [this] { clearEditor(); });
    onCommand(Command::Copy, [this] { copyBlock(); });
    onCommand(Command::Cut, [this] { cutBlock(); });
    onCommand(Command::Paste, [this] { pasteBlock(); });
    onCommand(Command::Undo, [this] { undoEdit(); });
    onCommand(Command::LargerFont, [this] { enlargeFont(); });
    onCommand(Command::SmallerFont, [this] { shrinkFont(); });
    onCommand(Command::StoreFontSize, [this] { storeFontSize(); });
    onCommand(Command::Help, [this] { showHelp(); });
    onCommand(Command::Archive, [this] { showArchive(); });
    onCommand(Command::DeleteArchives, [this] { deleteArchives(); });
    onCommand(Command::Queue, [this] { showQueue(); });
    onCommand(Command::Journal, [this] { showJournal(); });
    onCommand(Command::DeleteJournal, [this] { deleteJournal(); });
}

// Read by the key's place on the keyboard, so that a Russian layout (which reports Cyrillic letters with
// Ctrl) edits as the US one does. The keys are the editor's own: they do not change which of the Edit
// menu's commands are available (the one paste after a copy belongs to the commands).
bool TfmSend::EditorKeyDown(QKeyEvent* key)
{
    if (key->modifiers() & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    const char position = SearchKeyOf(*key);
    switch (position) {
    case 'a':
        RichEdit->selectAll();
        break;
    case 'c':
        RichEdit->copy();
        break;
    case 'x':
        if (!RichEdit->isReadOnly())
            RichEdit->cut();
        break;
    case 'v':
        if (!RichEdit->isReadOnly())
            RichEdit->paste(); // through the editor's length limit
        break;
    case 'z':
    case 'y':
        editorUndo_->toggle(); // one level: undo and redo both take back the last step
        break;
    default:
        return false;
    }
    if (!Panel5->isHidden()) {
        Panel5->hide();
        EditFind->clear();
    }
    return true;
}

void TfmSend::setPasteAvailable(bool available)
{
    state_.pasteAllowed = available;
    updateCommands();
}

// The counter shows "0:0" until the text next changes.
void TfmSend::clearEditor()
{
    RichEdit->clear();
    pnlCount->setText(CounterText(0, 0));
}

void TfmSend::copyBlock()
{
    if (!RichEdit->textCursor().hasSelection()) {
        Prompts::message(cp("Блок не найден."));
        return;
    }
    RichEdit->copy();
    setPasteAvailable(true);
}

// A field that cannot be edited gives its block to the clipboard but keeps it.
void TfmSend::cutBlock()
{
    if (!RichEdit->textCursor().hasSelection()) {
        Prompts::message(cp("Блок не найден."));
        return;
    }
    if (RichEdit->isReadOnly())
        RichEdit->copy();
    else
        RichEdit->cut();
    setPasteAvailable(true);
}

// One paste per copy or cut. The editor keeps its limit and its character set for pasted text too.
void TfmSend::pasteBlock()
{
    if (!RichEdit->isReadOnly())
        RichEdit->paste();
    setPasteAvailable(false);
}

void TfmSend::undoEdit()
{
    editorUndo_->toggle();
}

int TfmSend::editorFontSize() const
{
    const int points = RichEdit->font().pointSize();
    return points > 0 ? points : QFontInfo(RichEdit->font()).pointSize();
}

void TfmSend::changeEditorFont(int points)
{
    QFont font = RichEdit->font();
    font.setPointSize(points);
    RichEdit->setFont(font);
    RichEdit->setFocus();
}

void TfmSend::enlargeFont()
{
    if (const int points = editorFontSize(); points < 20)
        changeEditorFont(points + 2);
}

void TfmSend::shrinkFont()
{
    if (const int points = editorFontSize(); points >= 8)
        changeEditorFont(points - 2);
}

// Applied at the next start; nothing else changes now.
void TfmSend::storeFontSize()
{
    (void)succeeded(settingsFile_.writeString(SectionSetting, "FontSize", std::to_string(editorFontSize())));
}

void TfmSend::showHelp()
{
    auto* viewer = findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
    if (viewer == nullptr)
        viewer = new HelpViewer(this);
    viewer->showContents(folder_);
}

void TfmSend::showArchive()
{
    if (!AnyAbonentTicked()) {
        Prompts::message(cp("Необходимо выбрать абонента"));
        return;
    }
    if (AnyGroupTicked()) {
        Prompts::message(cp("Невозможно посмотреть архив для группы абонентов"));
        return;
    }
    windows_.fmArchive->SetArchiveName(SendParams.CurName);
    // Closed through "Вы&бор": the chosen block is on the clipboard, ready for one paste.
    if (windows_.fmArchive->showModal() == 1)
        setPasteAvailable(true);
}

void TfmSend::deleteArchives()
{
    windows_.fmDelArch->showModal();
}

// The queue window is not modal: it stays open beside the main window.
void TfmSend::showQueue()
{
    TfmQueue& queue = *windows_.fmQueue;
    queue.setOutbox(outbox(false));
    queue.show();
    queue.raise();
    queue.activateWindow();
}

void TfmSend::showJournal()
{
    windows_.fmLogView->showModal();
}

// The next start or Send creates the journal again, empty. A journal that could not be removed is said
// so: the operator was asked and answered, and must not believe it gone.
void TfmSend::deleteJournal()
{
    if (!Prompts::ask(cp("Подтверждение"), cp("Вы, действительно, хотите удалить журнал работы?"),
                      PromptIcon::Stop))
        return;
    if (const int err = DeleteJournal(journal_.path()); err != 0)
        Prompts::message(cp("Не удалось удалить журнал работы: ") + ioErrorText(ioCodeFromErrno(err)),
                         PromptIcon::Warning);
}

} // namespace zolbin
