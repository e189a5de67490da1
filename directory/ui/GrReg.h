#pragma once
// The group dialog: adds a group or changes one.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TfmGrReg : public TDialog
{
    Q_OBJECT
public:
    explicit TfmGrReg(QWidget* parent = nullptr);

    void btnCancelClick();

protected:
    bool escapePressed() override; // Exit
};

} // namespace zolbin
