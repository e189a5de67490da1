#include "app/Windows.h"

#include "app/MainWindow.h"
#include "dialogs/About.h"
#include "dialogs/Later.h"
#include "dialogs/Options.h"
#include "dialogs/Unlisted.h"
#include "directory/ui/AbReg.h"
#include "directory/ui/GrReg.h"
#include "directory/ui/PrvReg.h"
#include "directory/ui/Registr.h"
#include "records/ui/ArchiveView.h"
#include "records/ui/DelArch.h"
#include "records/ui/LogView.h"

namespace zolbin {

Windows::Windows()
{
    fmSend = std::make_unique<TfmSend>();
    QWidget* main = fmSend.get();
    fmArchive = std::make_unique<TfmArchive>(main);
    fmUnlisted = std::make_unique<TfmUnlisted>(fmSend->SendParams, fmSend->CurGroup, fmSend->providers(),
                                               fmSend->settings(), main);
    fmRegistr = std::make_unique<TfmRegistr>(fmSend->abonents(), fmSend->groups(), fmSend->providers(),
                                             fmSend->settings(), fmSend->settingsFile(), main);
    fmAbReg = std::make_unique<TfmAbReg>(fmSend->abonents(), fmSend->groups(), fmSend->providers(),
                                         fmSend->settings(), main);
    fmGrReg = std::make_unique<TfmGrReg>(fmSend->abonents(), fmSend->groups(), main);
    fmPrvReg = std::make_unique<TfmPrvReg>(fmSend->providers(), main);
    fmRegistr->setDialogs(fmAbReg.get(), fmGrReg.get(), fmPrvReg.get());
    QObject::connect(fmRegistr.get(), &TfmRegistr::listFileChanged, fmSend.get(),
                     [send = fmSend.get()] { send->ReloadDirectory(); });
    fmAbout = std::make_unique<TfmAbout>(main);
    fmLater = std::make_unique<TfmLater>(fmSend->SendParams, main);
    fmUnlisted->setServiceDialog(fmLater.get());
    fmOptions =
        std::make_unique<TfmOptions>(fmSend->settingsFile(), fmSend->settings(), fmSend->providers(), main);
    fmDelArch = std::make_unique<TfmDelArch>(fmSend->abonents(), main);
    fmLogView = std::make_unique<TfmLogView>(fmSend->journal(), main);
    fmSmile = std::make_unique<TfmSmile>(main);
    fmSend->attachWindows(this);
}

Windows::~Windows()
{
    if (fmSend)
        fmSend->attachWindows(nullptr);
}

} // namespace zolbin
