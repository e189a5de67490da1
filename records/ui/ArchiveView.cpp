#include "records/ui/ArchiveView.h"

#include "platform/Codepage.h"

namespace zolbin {

TfmArchive::TfmArchive(QWidget* parent) : TDialog(parent)
{
    setWindowTitle(toQString(cp("Архив")));
    resize(420, 300);
    fixSize();
}

void TfmArchive::btnCancelClick()
{
    reject();
}

bool TfmArchive::escapePressed()
{
    btnCancelClick();
    return true;
}

} // namespace zolbin
