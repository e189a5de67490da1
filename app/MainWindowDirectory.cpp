// SPDX-License-Identifier: GPL-3.0-or-later
// The directory windows: subscribers, groups and paging companies.

#include "app/DirectoryLoad.h"
#include "app/MainWindow.h"
#include "app/RecipientChoice.h"
#include "app/RoomDirectoryLink.h"
#include "app/Windows.h"
#include "directory/ui/AbReg.h"
#include "directory/ui/GrReg.h"
#include "directory/ui/PrvReg.h"
#include "directory/ui/Registr.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"

#include <QAction>
#include <QToolButton>
#include <cstring>

namespace zolbin {

// The directory may change under the recipient, so the recipient is dropped first.
void TfmSend::openDirectory(const char* kind)
{
    recipients_->DropRecipient();
    (void)ReloadChangedLists(false); // the window shows what the files hold
    TfmRegistr& registr = *windows_.fmRegistr;
    registr.SetKind(kind);
    registr.setRoomStatus(room_ != nullptr ? room_->statusText() : QString());
    registr.showModal();
    // Companies are not listed in the main window; subscribers and groups are shown afresh, unticked.
    if (std::strcmp(kind, TfmRegistr::KindProvider) != 0)
        recipients_->RefillRecipientLists();
}

void TfmSend::joinRoomDirectory()
{
    room_ = new RoomDirectoryLink(session_, this);
    room_->busy = [this] {
        return windows_.fmAbReg->isVisible() || windows_.fmGrReg->isVisible() ||
               windows_.fmPrvReg->isVisible();
    };
    // The ticked recipient stays ticked and the typed text stays, when the entry is still there.
    room_->reload = [this] {
        const auto ticked = recipients_->TickedName();
        ReloadDirectory();
        recipients_->TickByName(ticked);
        if (windows_.fmRegistr->isVisible())
            windows_.fmRegistr->showRoomChange(room_->statusText());
    };
    room_->statusShown = [this](const QString& status) {
        if (windows_.fmRegistr->isVisible())
            windows_.fmRegistr->showRoomStatus(status);
    };
    // The directory's commands wait for the join; a desk without a room has nothing to wait for.
    connect(room_, &RoomDirectoryLink::joinEnded, this, [this] {
        state_.directoryReady = true;
        updateCommands();
    });
    room_->start();
    state_.directoryReady = room_->joined();
    updateCommands();
}

// The check a save makes (is the file still the one last read or written?), made before a send and
// before a directory window opens. A changed company list is read again alone: the recipient, which
// names its company, stays, and a send goes on with the new gateway. A changed subscriber or group list
// reloads the whole directory, as after a refused save, which drops the recipient: the operator chooses
// again. Either way the operator is told.
bool TfmSend::ReloadChangedLists(bool beforeSend)
{
    const bool recipients = abonents_.FileChanged(folder_.path(AbonentFileName)) ||
                            groups_.FileChanged(folder_.path(GroupFileName));
    if (recipients) {
        ReloadDirectory();
        Prompts::message(beforeSend ? tr("Справочник изменён вне программы и загружен заново. Сообщение "
                                         "не отправлено: выберите получателя ещё раз.")
                                    : tr("Справочник изменён вне программы и загружен заново."),
                         PromptIcon::Information);
        return false;
    }
    if (!providers_.FileChanged(folder_.path(CompanyFileName)))
        return true;
    providers_.Clear();
    DirectoryLoad load(folder_);
    runCommand([&] { (void)succeeded(load.loadProviders(providers_)); });
    if (!load.damaged().empty())
        Prompts::message(load.damageReport(), PromptIcon::Warning);
    Prompts::message(tr("Список пейджинговых компаний изменён вне программы и загружен заново."),
                     PromptIcon::Information);
    return true;
}

} // namespace zolbin
