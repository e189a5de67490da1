// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The work journal viewer "Журнал работы": the journal as it stands when the window opens, read-only. Its
// controls carry their design names as object names.

#include "platform/ui/Dialog.h"

class QPushButton;

namespace zolbin {

class FileTextView;
class TJournal;
struct Session;

class TfmLogView final : public TDialog
{
    Q_OBJECT
public:
    // Shows the session's journal.
    explicit TfmLogView(const Session& session, QWidget* parent = nullptr);

    // On opening: the journal afresh, or "Журнал работы пока пуст" when there is none.
    void FormActivate() override;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    FileTextView* RichEdit = nullptr;
    QPushButton* btnCancel = nullptr; // "В&ыход"
    const TJournal& journal_;
};

} // namespace zolbin
