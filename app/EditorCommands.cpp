// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EditorCommands.h"

#include "app/MainStatusBar.h"
#include "app/MessageEditor.h"
#include "app/SearchKeys.h"
#include "directory/Settings.h"
#include "platform/ProfileFile.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QTextDocument>

namespace zolbin {

// The editor's undo has one level: an undo takes back the last edit and the next one takes back that
// undo, again and again, until the text is edited anew. The editor's own undo and redo keys do the
// same, so no way leads further back than the last edit.
class EditorCommands::EditorUndo final : public QObject
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

EditorCommands::EditorCommands(MessageEditor* editor, ProfileFile& settingsFile, MainStatusBar& status,
                               WindowState& state, std::function<void()> stateChanged,
                               std::function<void()> hideSearch, QObject* parent)
    : QObject(parent), RichEdit(editor), settingsFile_(settingsFile), status_(status), state_(state),
      stateChanged_(std::move(stateChanged)), hideSearch_(std::move(hideSearch)),
      undo_(new EditorUndo(editor))
{
    // The field's own menu would offer a paste and an undo beside the rules of the commands.
    RichEdit->setContextMenuPolicy(Qt::NoContextMenu);
}

// Read by the key's place on the keyboard, so that a Russian layout (which reports Cyrillic letters with
// Ctrl) edits as the US one does. The keys are the editor's own: they do not change which of the Edit
// menu's commands are available (the one paste after a copy belongs to the commands).
bool EditorCommands::EditorKeyDown(QKeyEvent* key)
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
        undo_->toggle(); // one level: undo and redo both take back the last step
        break;
    default:
        return false;
    }
    hideSearch_();
    return true;
}

void EditorCommands::setPasteAvailable(bool available)
{
    state_.pasteAllowed = available;
    stateChanged_();
}

// The counter shows "0:0" until the text next changes.
void EditorCommands::clearEditor()
{
    RichEdit->clear();
    status_.setCount(0, 0);
}

void EditorCommands::copyBlock()
{
    if (!RichEdit->textCursor().hasSelection()) {
        Prompts::message(tr("Блок не найден."));
        return;
    }
    RichEdit->copy();
    setPasteAvailable(true);
}

// A field that cannot be edited gives its block to the clipboard but keeps it.
void EditorCommands::cutBlock()
{
    if (!RichEdit->textCursor().hasSelection()) {
        Prompts::message(tr("Блок не найден."));
        return;
    }
    if (RichEdit->isReadOnly())
        RichEdit->copy();
    else
        RichEdit->cut();
    setPasteAvailable(true);
}

// One paste per copy or cut. The editor keeps its limit and its character set for pasted text too.
void EditorCommands::pasteBlock()
{
    if (!RichEdit->isReadOnly())
        RichEdit->paste();
    setPasteAvailable(false);
}

void EditorCommands::undoEdit()
{
    undo_->toggle();
}

int EditorCommands::fontSize() const
{
    const int points = RichEdit->font().pointSize();
    return points > 0 ? points : QFontInfo(RichEdit->font()).pointSize();
}

void EditorCommands::changeEditorFont(int points)
{
    QFont font = RichEdit->font();
    font.setPointSize(points);
    RichEdit->setFont(font);
    RichEdit->setFocus();
}

void EditorCommands::enlargeFont()
{
    if (const int points = fontSize(); points < 20)
        changeEditorFont(points + 2);
}

void EditorCommands::shrinkFont()
{
    if (const int points = fontSize(); points >= 8)
        changeEditorFont(points - 2);
}

// Applied at the next start; nothing else changes now.
void EditorCommands::storeFontSize()
{
    (void)succeeded(settingsFile_.writeString(SectionSetting, "FontSize", std::to_string(fontSize())));
}

} // namespace zolbin
