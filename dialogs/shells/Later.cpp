#include "dialogs/shells/Later.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmLater::TfmLater(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(toQString(cp("Сервисные функции")));
    resize(330, 240);
    fixSize();
}

void TfmLater::btnCancelClick()
{
    reject();
}

bool TfmLater::escapePressed()
{
    btnCancelClick();
    return true;
}

} // namespace zolbin
