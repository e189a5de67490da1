// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every window of the program, created once at start in a fixed order, the main window first, and
// freed together at the end, the others before the main window. Each window that reads or changes the
// data of the run is given the session, which is created before the windows and outlives them.

#include <memory>

namespace zolbin {

class SecretStore;
struct Session;
class TfmSend;
class TfmArchive;
class TfmUnlisted;
class TfmRegistr;
class TfmAbReg;
class TfmGrReg;
class TfmPrvReg;
class TfmAbout;
class TfmLater;
class TfmOptions;
class TfmDelArch;
class TfmLogView;
class TfmSmile;
class TfmQueue;

struct Windows final
{
    explicit Windows(Session& session);
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // The desktop's secret store (the SMTP login's password): made first, freed last.
    std::unique_ptr<SecretStore> secrets;
    // Declared in creation order; destroyed in the reverse order.
    std::unique_ptr<TfmSend> fmSend;
    std::unique_ptr<TfmArchive> fmArchive;
    std::unique_ptr<TfmUnlisted> fmUnlisted;
    std::unique_ptr<TfmRegistr> fmRegistr;
    std::unique_ptr<TfmAbReg> fmAbReg;
    std::unique_ptr<TfmGrReg> fmGrReg;
    std::unique_ptr<TfmPrvReg> fmPrvReg;
    std::unique_ptr<TfmAbout> fmAbout;
    std::unique_ptr<TfmLater> fmLater;
    std::unique_ptr<TfmOptions> fmOptions;
    std::unique_ptr<TfmDelArch> fmDelArch;
    std::unique_ptr<TfmLogView> fmLogView;
    std::unique_ptr<TfmSmile> fmSmile;
    std::unique_ptr<TfmQueue> fmQueue;
};

} // namespace zolbin
