#include "directory/ui/GrReg.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmGrReg::TfmGrReg(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(toQString(cp("Новая группа")));
    resize(290, 235);
    fixSize();
}

void TfmGrReg::btnCancelClick()
{
    reject();
}

bool TfmGrReg::escapePressed()
{
    btnCancelClick();
    return true;
}

} // namespace zolbin
