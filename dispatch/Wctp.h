// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The WCTP exchange of one page: the submit request posted to the company's URL over HTTP(S), and the
// carrier's confirmation. Every step is shown and journaled; the security code and the text never are.

#include "directory/Records.h"
#include "directory/SendParams.h"
#include "dispatch/RetryPolicy.h"

#include <string>
#include <vector>

namespace zolbin {

class SendHost;

struct WctpOutcome
{
    enum class State
    {
        Accepted,    // the carrier confirmed the page
        NotAccepted, // the carrier refused it, or the answer was no confirmation
        NoConnection // no answer at all: refused, unreachable, a deadline, the TLS handshake
    };
    State state = State::NotAccepted;
    // For a page not accepted: whether trying again later may help (a busy carrier, HTTP 5xx, no
    // connection, a deadline) or not (bad sender, security code or recipient, an untrusted certificate).
    FailureKind kind = FailureKind::Final;
};

// Posts the page for the subscriber of params (CurNumber, CurDigital, CurProvider) to the company; the
// hold time is params.DeferDate ("dd.mm.yy hh:mm", empty = at once).
WctpOutcome WctpSending(SendHost& host, const TProvider& company, const TSendParams& params,
                        const std::vector<std::string>& lines);

} // namespace zolbin
