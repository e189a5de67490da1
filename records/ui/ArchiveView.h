#pragma once
// The archive viewer: the pages sent to one subscriber.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TfmArchive : public TDialog
{
    Q_OBJECT
public:
    explicit TfmArchive(QWidget* parent = nullptr);

    void btnCancelClick();

protected:
    bool escapePressed() override; // Exit
};

} // namespace zolbin
