#include "directory/ui/Registr.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmRegistr::TfmRegistr(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(toQString(cp("Регистрация")));
    resize(238, 215);
    fixSize();
}

void TfmRegistr::ExitItemClick()
{
    reject();
}

bool TfmRegistr::escapePressed()
{
    ExitItemClick();
    return true;
}

} // namespace zolbin
