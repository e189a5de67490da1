// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A paging company whose SNPP server and SMTP relay port are on 127.0.0.1, and its subscribers, for tests
// that send.

#include "directory/Records.h"

#include <cstdint>
#include <string>

namespace zolbin::test {

// Both gateways on the given port, both character sets the same; the SMTP gateway address is
// `gateway` (written as "@domain", so the pager number joins it).
inline TProvider LoopbackCompany(const std::string& name, std::uint8_t gate, std::int32_t port,
                                 const std::string& charset = "WIN-1251",
                                 const std::string& gateway = "@gw.local")
{
    TProvider p = HomeProviderDefaults();
    p.Name = name;
    p.Gate = gate;
    p.SNPPSrv = "127.0.0.1";
    p.SNPPPort = port;
    p.SNPPEnc = charset;
    p.SMTPEMail = gateway;
    p.SMTPPort = port;
    p.SMTPEnc = charset;
    return p;
}

// A subscriber of the company (240 characters, alphanumeric pager), for tests that send.
inline AbonentPtr SubscriberOf(const std::string& company, const std::string& name, int number)
{
    auto a = std::make_shared<TAbonent>();
    a->Name = name;
    a->Number = number;
    a->MsgLen = 240;
    a->Provider = company;
    return a;
}

} // namespace zolbin::test
