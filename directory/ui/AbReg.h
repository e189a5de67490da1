#pragma once
// The subscriber dialog: adds a subscriber or changes one.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TfmAbReg : public TDialog
{
    Q_OBJECT
public:
    explicit TfmAbReg(QWidget* parent = nullptr);

    void btnCancelClick();

protected:
    bool escapePressed() override; // Exit
};

} // namespace zolbin
