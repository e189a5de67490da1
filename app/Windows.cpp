// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Windows.h"

#include "app/MainWindow.h"
#include "dialogs/About.h"
#include "dialogs/GsmLine.h"
#include "dialogs/Later.h"
#include "dialogs/Options.h"
#include "dialogs/Unlisted.h"
#include "directory/ui/AbReg.h"
#include "directory/ui/GrReg.h"
#include "directory/ui/PrvReg.h"
#include "directory/ui/Registr.h"
#include "platform/keychain/KeychainStore.h"
#include "records/ui/ArchiveView.h"
#include "records/ui/DelArch.h"
#include "records/ui/LogView.h"
#include "records/ui/QueueWindow.h"

namespace zolbin {

Windows::Windows(Session& session)
{
    secrets = std::make_unique<KeychainStore>();
    fmSend = std::make_unique<TfmSend>(session, *this);
    QWidget* main = fmSend.get();
    fmArchive = std::make_unique<TfmArchive>(session.folder, main);
    fmUnlisted = std::make_unique<TfmUnlisted>(session, main);
    fmRegistr = std::make_unique<TfmRegistr>(session, main);
    fmAbReg = std::make_unique<TfmAbReg>(session, main);
    fmGrReg = std::make_unique<TfmGrReg>(session, main);
    fmPrvReg = std::make_unique<TfmPrvReg>(session, main);
    fmRegistr->setDialogs(fmAbReg.get(), fmGrReg.get(), fmPrvReg.get());
    QObject::connect(fmRegistr.get(), &TfmRegistr::listFileChanged, fmSend.get(),
                     [send = fmSend.get()] { send->ReloadDirectory(); });
    fmAbout = std::make_unique<TfmAbout>(main);
    fmLater = std::make_unique<TfmLater>(session, main);
    fmUnlisted->setServiceDialog(fmLater.get());
    fmOptions = std::make_unique<TfmOptions>(session, main, secrets.get());
    // The SMS company's button opens the one GSM line dialog of the settings, over the company dialog.
    QObject::connect(fmPrvReg.get(), &TfmPrvReg::gsmLineRequested, fmOptions->fmGsmLine,
                     [gsm = fmOptions->fmGsmLine] { gsm->showModal(); });
    fmDelArch = std::make_unique<TfmDelArch>(session, main);
    fmLogView = std::make_unique<TfmLogView>(session, main);
    fmSmile = std::make_unique<TfmSmile>(main);
    fmQueue = std::make_unique<TfmQueue>(main);
    // A page the operator made due (try now, resend) is looked at at once.
    QObject::connect(fmQueue.get(), &TfmQueue::pagesChanged, fmSend.get(),
                     [send = fmSend.get()] { send->sends().workOutbox(); });
}

Windows::~Windows() = default;

} // namespace zolbin
