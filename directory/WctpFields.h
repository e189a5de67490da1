// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a WCTP company keeps its settings in the 292 bytes of its record, and the checks of them. The
// record has no fields of its own for this gateway: the carrier's URL is kept in SNPPSrv, the sender ID in
// SMTPEMail, the security code in SnppPswd and the recipient pattern in TapPhone.

#include "directory/Records.h"
#include "platform/Text.h"

#include <cstdint>
#include <string>

namespace zolbin {

struct WctpFields
{
    std::string url;          // "http://…" or "https://…"
    std::string senderId;     // cp1251
    std::string securityCode; // cp1251, never shown nor journaled
    std::string pattern;      // the recipient ID; each run of '#' takes the subscriber's number
};

WctpFields WctpFieldsOf(const TProvider& company);
// Writes the four fields into the record, each cut to its field's size.
void StoreWctpFields(TProvider& company, const WctpFields& fields);

// True for an absolute http or https URL with a host.
bool IsWctpUrl(const std::string& url);

// The recipient ID from the pattern: each run of '#' becomes the number, zero-padded to the run's length
// (a longer number is kept whole); spaces around the result are dropped. Empty when nothing is left.
std::string WctpRecipientId(const std::string& pattern, std::int32_t number);

// The message that refuses the fields, or an empty text when they may be stored.
Text WctpFieldsProblem(const WctpFields& fields);

} // namespace zolbin
