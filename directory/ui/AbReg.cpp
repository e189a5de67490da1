#include "directory/ui/AbReg.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmAbReg::TfmAbReg(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(toQString(cp("Новый абонент")));
    resize(311, 161);
    fixSize();
}

void TfmAbReg::btnCancelClick()
{
    reject();
}

bool TfmAbReg::escapePressed()
{
    btnCancelClick();
    return true;
}

} // namespace zolbin
