#include "records/ui/DelArch.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmDelArch::TfmDelArch(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(toQString(cp("Удаление архива")));
    resize(300, 300);
    fixSize();
}

void TfmDelArch::btnCancelClick()
{
    reject();
}

bool TfmDelArch::escapePressed()
{
    btnCancelClick();
    return true;
}

} // namespace zolbin
