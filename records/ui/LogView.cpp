#include "records/ui/LogView.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmLogView::TfmLogView(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(toQString(cp("Журнал работы")));
    resize(480, 320);
    fixSize();
}

void TfmLogView::btnCancelClick()
{
    reject();
}

bool TfmLogView::escapePressed()
{
    btnCancelClick();
    return true;
}

} // namespace zolbin
