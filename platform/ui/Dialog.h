// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of every dialog of the program. It follows the dialog conventions once for all:
// modal, centred on the screen, fixed at its design size, sees keys before its controls (Esc and Enter
// as the subclass says; Enter never reaches a field when the dialog handles it), Caps Lock updating
// the main window's indicator, the green / red / maroon button captions, the OK and Cancel buttons with
// their keys, and the filling of the fields at every showing.

#include <QDialog>
#include <functional>

class QHBoxLayout;
class QPushButton;
class QScrollArea;

namespace zolbin {

class TDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TDialog(QWidget* parent = nullptr);

    // Shows the dialog modally, centred on the screen; returns the modal result.
    int showModal();

    // Caption colours of the button bar.
    static void markOk(QPushButton* button);      // green
    static void markCancel(QPushButton* button);  // red
    static void markCommand(QPushButton* button); // maroon
    // The row of OK and Cancel at the right of the dialog's foot.
    static QHBoxLayout* okCancelRow(QPushButton* ok, QPushButton* cancel);

protected:
    // Runs at every showing, once the dialog is placed and sees its keys, through the command guard: the
    // dialog fills its fields and puts the focus where the operator starts. The default does nothing.
    virtual void FormActivate() {}

    enum class EnterKey
    {
        RunsOk,
        Ignored
    };
    // The dialog's OK, green: a click runs the command through the command guard, and so does Enter from
    // any field unless the dialog leaves Enter alone.
    void useOk(QPushButton* ok, std::function<void()> command, EnterKey enter = EnterKey::RunsOk);
    // The dialog's Cancel, red: a click and Esc run the command through the command guard; without one
    // they reject the dialog.
    void useCancel(QPushButton* cancel, std::function<void()> command = {});

    // Call at the end of the subclass constructor, once the layout is complete: the layout's size hint
    // (at least the minimum size set) becomes the minimum and the maximum size. On a screen too small for
    // it the dialog takes the room there is, and all but its rows of buttons scroll (checked again at
    // every showing). A dialog that never calls it is resizable: it is only kept within its screen.
    void fixSize();

    // Esc: return true when handled (the key is consumed). The default runs Cancel's command (useCancel),
    // or rejects the dialog.
    virtual bool escapePressed();
    // Enter (Return or keypad Enter): return true when handled. The default runs OK's command where Enter
    // runs it (useOk), and otherwise does nothing.
    virtual bool enterPressed();
    // False for the about box, which leaves the Caps Lock indicator alone.
    virtual bool tracksCapsLock() const { return true; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Esc and Enter that reach the dialog itself (its handlers declined them) do nothing: a field's
    // Enter never presses a button that the dialog did not name.
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool handleKey(QKeyEvent* key);
    void centreOnScreen();
    void fitDesignSize();

    std::function<void()> okCommand_;     // run by Enter; empty when Enter is left alone
    std::function<void()> cancelCommand_; // run by Esc; empty without useCancel: Esc rejects
    bool filtering_ = false;
    QSize designSize_;                // invalid until fixSize()
    QScrollArea* scrolled_ = nullptr; // the scrolled part, once the screen was too small
};

} // namespace zolbin
