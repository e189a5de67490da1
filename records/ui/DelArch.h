// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Удаление архива": deletes the archive files of the ticked subscribers, without asking.

#include "platform/DataFolder.h"
#include "platform/ui/Dialog.h"

class QCheckBox;
class QListWidget;
class QPushButton;

namespace zolbin {

class TAbonentList;
struct Session;

class TfmDelArch final : public TDialog
{
    Q_OBJECT
public:
    // Lists the session's subscribers.
    explicit TfmDelArch(const Session& session, QWidget* parent = nullptr);

    QListWidget* lbAbonent = nullptr;  // "Name -- Number", one per subscriber, in directory order
    QCheckBox* cbxSelectAll = nullptr; // "Вс&е"
    QPushButton* btnOK = nullptr;      // "Уд&алить"
    QPushButton* btnCancel = nullptr;  // "В&ыход"

    // On opening: every subscriber, all unticked.
    void FormActivate() override;
    void cbxSelectAllClick(bool checked);
    void btnOKClick();

private:
    const TAbonentList& abonents_;
    DataFolder folder_;
};

} // namespace zolbin
