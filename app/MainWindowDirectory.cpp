// SPDX-License-Identifier: GPL-3.0-or-later
// The directory windows: subscribers, groups and paging companies.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "directory/ui/Registr.h"
#include "platform/ui/CommandGuard.h"

#include <QAction>
#include <QToolButton>
#include <cstring>

namespace zolbin {

void TfmSend::connectDirectoryCommands()
{
    onCommand(btnAbonent, [this] { btnAbonentClick(); });
    onCommand(AbItem, [this] { AbItemClick(); });
    onCommand(btnGroup, [this] { btnGroupClick(); });
    onCommand(GrItem, [this] { GrItemClick(); });
    onCommand(btnProvider, [this] { btnProviderClick(); });
    onCommand(PrvItem, [this] { PrvItemClick(); });
}

void TfmSend::btnAbonentClick()
{
    openDirectory(TfmRegistr::KindAbonent);
}

void TfmSend::btnGroupClick()
{
    openDirectory(TfmRegistr::KindGroup);
}

void TfmSend::btnProviderClick()
{
    openDirectory(TfmRegistr::KindProvider);
}

// The directory may change under the recipient, so the recipient is dropped first.
void TfmSend::openDirectory(const char* kind)
{
    DropRecipient();
    TfmRegistr& registr = *windows_.fmRegistr;
    registr.SetKind(kind);
    registr.showModal();
    // Companies are not listed in the main window; subscribers and groups are shown afresh, unticked.
    if (std::strcmp(kind, TfmRegistr::KindProvider) != 0)
        RefillRecipientLists();
}

} // namespace zolbin
