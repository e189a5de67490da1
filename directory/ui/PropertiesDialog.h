// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the properties dialogs of subscribers, groups and paging companies have in common. The directory
// window opens each in one of two modes: add (entries are added one after another, the list that shows
// them refilled after each) or change (the entry at EditIndex is changed and the dialog closes). A bar of
// OK and Exit buttons; Esc runs Exit and Enter runs OK, both as commands; the name of an existing entry
// cannot be changed, and a new name holds no control character. A save that finds its list file changed
// behind the program's back is announced (listFileChanged) before its refusal is shown.

#include "platform/Result.h"
#include "platform/ui/Dialog.h"

#include <QString>

class QHBoxLayout;
class QLineEdit;
class QPushButton;

namespace zolbin {

class TPropertiesDialog : public TDialog
{
    Q_OBJECT
public:
    static constexpr int AddMode = 1;
    static constexpr int ChangeMode = 2;

    // Add mode: the dialog's own caption for a new entry, OK "До&бавить", the name field editable on the
    // window colour; then the dialog's own preparation (prepareAdd).
    void SetAddMode();
    // Change mode for the entry at the position: caption "Свойства", OK "Со&хранить", the name field
    // read-only on the button-face colour; then the dialog shows the entry (prepareChange).
    void SetChangeMode(int index);

    int Mode() const { return mode_; }
    int EditIndex() const { return editIndex_; } // -1 in add mode

    // Created here, placed by the dialog: the name field in its layout, the buttons with buttonBar().
    QLineEdit* EditName = nullptr;    // at most 25 characters
    QPushButton* btnOk = nullptr;     // green; "До&бавить" or "Со&хранить"
    QPushButton* btnCancel = nullptr; // "В&ыход", red

    // Runs each time the dialog is shown.
    void FormActivate() override = 0;
    // Adds the entry (the dialog stays open for the next) or stores the change (the dialog closes).
    virtual void btnOkClick() = 0;
    // Closes the dialog; nothing is stored.
    virtual void btnCancelClick();

signals:
    // An entry was appended in add mode: the list that shows them is refilled.
    void listChanged();
    // OK was refused because a list file changed on disk: the host reloads the directory.
    void listFileChanged();

protected:
    // addCaption is the caption of add mode; the dialog opens in add mode.
    explicit TPropertiesDialog(QString addCaption, QWidget* parent = nullptr);

    // A new bar holding OK and Exit on its left.
    QHBoxLayout* buttonBar();
    bool adding() const { return mode_ == AddMode; }
    // The refusal of a new name holding a control character (a line break, Esc, ...), which would
    // reach the journal and the terminal as it is; empty when the name may be stored.
    QString newNameRefusal() const;
    // True when the list file was saved. Otherwise the failure is shown and OK goes no further; a file
    // changed behind the program's back is announced (listFileChanged) first.
    bool saved(const Status& save);

    virtual void prepareAdd() = 0;
    virtual void prepareChange(int index) = 0;

private:
    QString addCaption_;
    int mode_ = AddMode;
    int editIndex_ = -1;
};

} // namespace zolbin
