#include "dialogs/Later.h"

#include "directory/SendParams.h"
#include "platform/Codepage.h"

namespace zolbin {

TfmLater::TfmLater(TSendParams& params, QWidget* parent) : TDialog(parent), params_(params)
{
    setWindowTitle(toQString(cp("Сервисные функции")));
    resize(330, 240);
    fixSize();
}

void TfmLater::FormActivate() {}
void TfmLater::btnLaterClick() {}
void TfmLater::btnOKClick() {}

void TfmLater::btnCancelClick()
{
    reject();
}

bool TfmLater::escapePressed()
{
    btnCancelClick();
    return true;
}

bool TfmLater::enterPressed()
{
    return false;
}

void TfmLater::showEvent(QShowEvent* event)
{
    TDialog::showEvent(event);
}

} // namespace zolbin
