#pragma once
// The service functions: deferred delivery and repeats of the page being prepared.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TfmLater : public TDialog
{
    Q_OBJECT
public:
    explicit TfmLater(QWidget* parent = nullptr);

    void btnCancelClick();

protected:
    bool escapePressed() override; // Cancel
};

} // namespace zolbin
