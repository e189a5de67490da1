// The editing commands, help, the journal and the archive windows.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "platform/Codepage.h"
#include "platform/IoError.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/HelpViewer.h"
#include "records/ui/ArchiveView.h"
#include "records/ui/DelArch.h"
#include "records/ui/LogView.h"
#include "records/ui/RecordFiles.h"

#include <QAction>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QTextDocument>
#include <QToolButton>

namespace zolbin {

// The editor's undo has one level: an undo takes back the last edit and the next one takes back that
// undo, again and again, until the text is edited anew. The editor's own undo and redo keys do the
// same, so no way leads further back than the last edit.
class TfmSend::EditorUndo : public QObject
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

    connect(btnClear, &QToolButton::clicked, this, guarded([this] { btnClearClick(); }));
    connect(N1, &QAction::triggered, this, guarded([this] { N1Click(); }));
    connect(btnCopy, &QToolButton::clicked, this, guarded([this] { btnCopyClick(); }));
    connect(N7, &QAction::triggered, this, guarded([this] { N7Click(); }));
    connect(btnCut, &QToolButton::clicked, this, guarded([this] { btnCutClick(); }));
    connect(N8, &QAction::triggered, this, guarded([this] { N8Click(); }));
    connect(btnPaste, &QToolButton::clicked, this, guarded([this] { btnPasteClick(); }));
    connect(PasteItem, &QAction::triggered, this, guarded([this] { PasteItemClick(); }));
    connect(btnUndo, &QToolButton::clicked, this, guarded([this] { btnUndoClick(); }));
    connect(UndoItem, &QAction::triggered, this, guarded([this] { UndoItemClick(); }));
    connect(BigFontItem, &QAction::triggered, this, guarded([this] { BigFontItemClick(); }));
    connect(SmallFontItem, &QAction::triggered, this, guarded([this] { SmallFontItemClick(); }));
    connect(DefFontItem, &QAction::triggered, this, guarded([this] { DefFontItemClick(); }));
    connect(btnHelp, &QToolButton::clicked, this, guarded([this] { btnHelpClick(); }));
    connect(CntItem, &QAction::triggered, this, guarded([this] { CntItemClick(); }));
    connect(btnArchive, &QToolButton::clicked, this, guarded([this] { btnArchiveClick(); }));
    connect(N12, &QAction::triggered, this, guarded([this] { N12Click(); }));
    connect(btnDelArch, &QToolButton::clicked, this, guarded([this] { btnDelArchClick(); }));
    connect(N13, &QAction::triggered, this, guarded([this] { N13Click(); }));
    connect(N15, &QAction::triggered, this, guarded([this] { N15Click(); }));
    connect(N5, &QAction::triggered, this, guarded([this] { N5Click(); }));
}

void TfmSend::setPasteAvailable(bool available)
{
    setCommandEnabled(btnPaste, available);
    setCommandEnabled(PasteItem, available);
}

// The counter shows "0:0" until the text next changes.
void TfmSend::btnClearClick()
{
    if (sending())
        return;
    RichEdit->clear();
    pnlCount->setText(CounterText(0, 0));
}

void TfmSend::btnCopyClick()
{
    if (!RichEdit->textCursor().hasSelection()) {
        Prompts::message(cp("Блок не найден."));
        return;
    }
    RichEdit->copy();
    setPasteAvailable(true);
}

// A field that cannot be edited gives its block to the clipboard but keeps it.
void TfmSend::btnCutClick()
{
    if (sending())
        return;
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
void TfmSend::btnPasteClick()
{
    if (sending())
        return;
    if (!RichEdit->isReadOnly())
        RichEdit->paste();
    setPasteAvailable(false);
}

void TfmSend::btnUndoClick()
{
    if (sending())
        return;
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

void TfmSend::BigFontItemClick()
{
    if (const int points = editorFontSize(); points < 20)
        changeEditorFont(points + 2);
}

void TfmSend::SmallFontItemClick()
{
    if (const int points = editorFontSize(); points >= 8)
        changeEditorFont(points - 2);
}

// Applied at the next start; nothing else changes now.
void TfmSend::DefFontItemClick()
{
    (void)succeeded(settingsFile().writeString(SectionSetting, "FontSize", std::to_string(editorFontSize())));
}

void TfmSend::btnHelpClick()
{
    auto* viewer = findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
    if (viewer == nullptr)
        viewer = new HelpViewer(this);
    viewer->showContents();
}

void TfmSend::btnArchiveClick()
{
    if (!AnyAbonentTicked()) {
        Prompts::message(cp("Необходимо выбрать абонента"));
        return;
    }
    if (AnyGroupTicked()) {
        Prompts::message(cp("Невозможно посмотреть архив для группы абонентов"));
        return;
    }
    if (windows_ == nullptr)
        return;
    windows_->fmArchive->SetArchiveName(SendParams.CurName);
    // Closed through "Вы&бор": the chosen block is on the clipboard, ready for one paste.
    if (windows_->fmArchive->showModal() == 1)
        setPasteAvailable(true);
}

void TfmSend::btnDelArchClick()
{
    if (sending() || windows_ == nullptr)
        return;
    windows_->fmDelArch->showModal();
}

void TfmSend::N15Click()
{
    if (windows_ != nullptr)
        windows_->fmLogView->showModal();
}

// The next start or Send creates the journal again, empty. A journal that could not be removed is said
// so: the operator was asked and answered, and must not believe it gone.
void TfmSend::N5Click()
{
    if (sending())
        return;
    if (!Prompts::ask(cp("Подтверждение"), cp("Вы, действительно, хотите удалить журнал работы?"),
                      PromptIcon::Stop))
        return;
    if (const int err = DeleteJournal(journal_.fileName()); err != 0)
        Prompts::message(cp("Не удалось удалить журнал работы: ") + ioErrorText(ioCodeFromErrno(err)),
                         PromptIcon::Warning);
}

} // namespace zolbin
