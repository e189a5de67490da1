#include "directory/ui/PrvReg.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmPrvReg::TfmPrvReg(TProviderList& providers, QWidget* parent) : TDialog(parent), providers_(providers)
{
    setWindowTitle(toQString(cp("Новая пейдж. компания")));
    resize(325, 411);
    fixSize();
}

void TfmPrvReg::SetAddMode()
{
    mode_ = 1;
    editIndex_ = -1;
}

void TfmPrvReg::SetChangeMode(int index)
{
    mode_ = 2;
    editIndex_ = index;
}

void TfmPrvReg::btnCancelClick()
{
    reject();
}

bool TfmPrvReg::escapePressed()
{
    btnCancelClick();
    return true;
}

} // namespace zolbin
