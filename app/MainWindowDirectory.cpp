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
    connect(btnAbonent, &QToolButton::clicked, this, guarded([this] { btnAbonentClick(); }));
    connect(AbItem, &QAction::triggered, this, guarded([this] { AbItemClick(); }));
    connect(btnGroup, &QToolButton::clicked, this, guarded([this] { btnGroupClick(); }));
    connect(GrItem, &QAction::triggered, this, guarded([this] { GrItemClick(); }));
    connect(btnProvider, &QToolButton::clicked, this, guarded([this] { btnProviderClick(); }));
    connect(PrvItem, &QAction::triggered, this, guarded([this] { PrvItemClick(); }));
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

// The directory may change under the recipient, so the recipient is dropped first. No change reaches
// the lists while a send reads them.
void TfmSend::openDirectory(const char* kind)
{
    if (sending())
        return;
    DropRecipient();
    TfmRegistr& registr = *windows_.fmRegistr;
    registr.SetKind(kind);
    registr.showModal();
    // Companies are not listed in the main window; subscribers and groups are shown afresh, unticked.
    if (std::strcmp(kind, TfmRegistr::KindProvider) != 0)
        RefillRecipientLists();
}

} // namespace zolbin
