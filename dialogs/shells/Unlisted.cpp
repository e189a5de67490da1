#include "dialogs/shells/Unlisted.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmUnlisted::TfmUnlisted(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(toQString(cp("Незарегистрированный абонент")));
    resize(330, 200);
    fixSize();
}

void TfmUnlisted::btnCancelClick()
{
    reject();
}

bool TfmUnlisted::escapePressed()
{
    btnCancelClick();
    return true;
}

} // namespace zolbin
