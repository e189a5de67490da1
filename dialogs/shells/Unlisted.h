#pragma once
// Sends a page to a pager that is not in the directory.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TfmUnlisted : public TDialog
{
    Q_OBJECT
public:
    explicit TfmUnlisted(QWidget* parent = nullptr);

    void btnCancelClick();

protected:
    bool escapePressed() override; // Cancel
};

} // namespace zolbin
