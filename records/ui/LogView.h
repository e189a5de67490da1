#pragma once
// The work journal viewer.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TfmLogView : public TDialog
{
    Q_OBJECT
public:
    explicit TfmLogView(QWidget* parent = nullptr);

    void btnCancelClick();

protected:
    bool escapePressed() override; // Exit
};

} // namespace zolbin
