#include "directory/ui/PrvReg.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmPrvReg::TfmPrvReg(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(toQString(cp("Новая пейдж. компания")));
    resize(325, 411);
    fixSize();
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
