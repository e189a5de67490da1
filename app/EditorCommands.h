// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message editor's commands: clear, copy and cut (one paste each), paste, the editor's one-level undo,
// the font two points larger or smaller and stored as "FontSize"; and the editor's own editing keys (Ctrl
// with the keys of A, C, V, X, Z, Y in any layout), which the window sees first and leaves to the editor.

#include "app/CommandAvailability.h"

#include <QObject>
#include <functional>

class QKeyEvent;

namespace zolbin {

class MainStatusBar;
class MessageEditor;
class ProfileFile;

class EditorCommands final : public QObject
{
    Q_OBJECT
public:
    // hideSearch: the lists' search panel closed, as for any key that is no search key.
    EditorCommands(MessageEditor* RichEdit, ProfileFile& settingsFile, MainStatusBar& status,
                   WindowState& state, std::function<void()> stateChanged, std::function<void()> hideSearch,
                   QObject* parent);

    void clearEditor();
    void copyBlock();
    void cutBlock();
    void pasteBlock();
    void undoEdit();
    // One paste is allowed after a copy, a cut or a block chosen from the archive.
    void setPasteAvailable(bool available);
    // The editor's font: 2 points up (below 20) or down (from 8), and stored as "FontSize".
    void enlargeFont();
    void shrinkFont();
    void storeFontSize();
    int fontSize() const;
    // Select all, copy, paste, cut, undo and redo in the editor, which keeps the focus; a search panel
    // still shown closes. True when the key was one of them.
    bool EditorKeyDown(QKeyEvent* key);

private:
    class EditorUndo;
    void changeEditorFont(int points);

    MessageEditor* RichEdit;
    ProfileFile& settingsFile_;
    MainStatusBar& status_;
    WindowState& state_;
    std::function<void()> stateChanged_;
    std::function<void()> hideSearch_;
    EditorUndo* undo_ = nullptr;
};

} // namespace zolbin
