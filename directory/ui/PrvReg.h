#pragma once
// The paging company dialog: adds a company or changes one, with the settings of its three gateways.

#include "platform/ui/Dialog.h"

namespace zolbin {

class TProviderList;

class TfmPrvReg : public TDialog
{
    Q_OBJECT
public:
    // Stores into the company list and rewrites "Company.lst".
    explicit TfmPrvReg(TProviderList& providers, QWidget* parent = nullptr);

    // Prepares the dialog for a new company: caption "Новая пейдж. компания", OK "До&бавить", the name
    // editable, only the SMTP panel enabled.
    void SetAddMode();
    // Prepares it for the company at the position: caption "Свойства", OK "Со&хранить", the name
    // read-only, every field from the record, the panels enabled by its gateway.
    void SetChangeMode(int index);

    int Mode() const { return mode_; } // 1 add, 2 change
    int EditIndex() const { return editIndex_; }

    void btnCancelClick();

protected:
    bool escapePressed() override; // Exit

private:
    TProviderList& providers_;
    int mode_ = 1;
    int editIndex_ = -1;
};

} // namespace zolbin
