#pragma once
// The paging company dialog: adds a company or changes one.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TfmPrvReg : public TDialog
{
    Q_OBJECT
public:
    explicit TfmPrvReg(QWidget* parent = nullptr);

    void btnCancelClick();

protected:
    bool escapePressed() override; // Exit
};

} // namespace zolbin
