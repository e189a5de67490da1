#pragma once
// The directory window: lists and edits the subscribers, the groups or the paging companies.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TfmRegistr : public TDialog
{
    Q_OBJECT
public:
    explicit TfmRegistr(QWidget* parent = nullptr);

    void ExitItemClick();

protected:
    bool escapePressed() override; // its menu item "Выход"
};

} // namespace zolbin
