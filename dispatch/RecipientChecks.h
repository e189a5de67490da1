// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The checks a page passes before it is queued or sent, whoever hands it in (zolbin-send, a listener of
// pages taken in): a recipient that can be paged, a company that can be reached with the settings its
// gate needs, the digital pager's characters and the message limit. Each gives the reason a page cannot
// go, or an empty text when it can.

#include "directory/Lists.h"
#include "directory/Settings.h"
#include "platform/Text.h"

#include <cstdint>
#include <string>

namespace zolbin {

// Who a refusal names: "абонент «NAME»", "абонент «NAME» из группы «GROUP»", "абонент N" (cp1251 names).
Text SubscriberWho(const std::string& name);
Text MemberWho(const std::string& name, const std::string& group);
Text NumberWho(std::int32_t number);

// The company a recipient's pages go through, as the send will find it (its exact name): it exists, has a
// gate this program serves, and the settings that gate needs are there.
Text CompanyRefusal(const Text& who, const std::string& companyName, const TProviderList& providers,
                    const TSettings& settings);

// A digital pager takes only 0..9, blank, [, ], -, u, U, on one line.
Text DigitalRefusal(const Text& who, const std::string& text);

// A subscriber of the directory: his pager number, his company, his digital pager.
Text SubscriberRefusal(const TAbonent& abonent, const std::string& text, const TProviderList& providers,
                       const TSettings& settings);

// A group: at least one member, and each member's company and digital pager.
Text GroupRefusal(const TGroup& group, const std::string& text, const TProviderList& providers,
                  const TSettings& settings);

// The editor's limit (0 = none), a line break counting two.
Text LengthRefusal(std::int32_t length, std::int32_t limit);

} // namespace zolbin
