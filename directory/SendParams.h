// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's current recipient and dispatch parameters. Texts are cp1251.

#include <cstdint>
#include <string>

namespace zolbin {

struct TSendParams
{
    std::string CurName;         // empty for an unregistered subscriber
    std::int32_t CurNumber = 0;  // 0 = no subscriber chosen
    std::uint8_t CurDigital = 0; // 1 = digital pager
    std::int32_t CurMaxLen = 0;
    std::string SendDate;  // "dd.mm.yyyy"
    std::string SendTime;  // "hh:mm"
    std::string DeferDate; // "dd.mm.yyyy" from the service dialog; empty = at once
    std::string DeferTime; // "hh:mm"
    std::uint8_t RepeatCount = 0;
    std::string RepeatInterval; // "hh:mm"
    std::string CurProvider;
    std::uint8_t CurGate = 0;
    std::string CurSNPPSrv;
    std::int32_t CurSNPPPort = 0;
    std::string CurSNPPEnc;
    std::string CurSnppPswd;
    std::string CurSMTPEMail;
    std::int32_t CurSMTPPort = 0;
    std::string CurSMTPEnc;
};

} // namespace zolbin
