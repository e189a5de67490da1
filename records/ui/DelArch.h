#pragma once
// Deletes the archives of the chosen subscribers.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TfmDelArch : public TDialog
{
    Q_OBJECT
public:
    explicit TfmDelArch(QWidget* parent = nullptr);

    void btnCancelClick();

protected:
    bool escapePressed() override; // Exit
};

} // namespace zolbin
