#include "dialogs/Unlisted.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmUnlisted::TfmUnlisted(TSendParams& params, std::int16_t& curGroup, const TProviderList& providers,
                         const TSettings& settings, QWidget* parent)
    : TDialog(parent), params_(params), curGroup_(curGroup), providers_(providers), settings_(settings)
{
    setWindowTitle(toQString(cp("Незарегистрированный абонент")));
    resize(300, 140);
    fixSize();
}

void TfmUnlisted::FormActivate() {}
void TfmUnlisted::EditNumChange() {}
void TfmUnlisted::cmbProviderChange() {}
void TfmUnlisted::btnLaterClick() {}
void TfmUnlisted::btnOKClick() {}

void TfmUnlisted::btnCancelClick()
{
    reject();
}

bool TfmUnlisted::escapePressed()
{
    btnCancelClick();
    return true;
}

bool TfmUnlisted::enterPressed()
{
    return false;
}

void TfmUnlisted::showEvent(QShowEvent* event)
{
    TDialog::showEvent(event);
}

} // namespace zolbin
