// SPDX-License-Identifier: GPL-3.0-or-later
// The send command's part for a WCTP company.
#include "dispatch/SendCommand.h"
#include "dispatch/SendHost.h"
#include "dispatch/Wctp.h"
#include "platform/Codepage.h"

namespace zolbin {

// As for SNPP: one request per sending, each with its hold time; the page is archived once, with the
// first. The outcome's FailureKind says whether the carrier's refusal passes.
SendCommand::Served SendCommand::serveWctp(const TProvider& company, const std::array<std::string, 3>& holds)
{
    params_.CurGate = company.Gate;
    for (int i = 0; i <= params_.RepeatCount; ++i) {
        params_.DeferDate = holds[static_cast<std::size_t>(i)];
        if (journalFailed())
            return stopCommand(journalFailure());
        const WctpOutcome outcome = WctpSending(host_, company, params_, lines_);
        host_.LastFailure = outcome.kind;
        if (outcome.state == WctpOutcome::State::NoConnection)
            return notConnected();
        if (outcome.state == WctpOutcome::State::NotAccepted)
            return notAccepted();
        if (i == 0)
            archivePage();
        reportOutcome(cp("Сообщение успешно отправлено"));
    }
    params_.DeferDate = savedDeferDate_;
    return Served::Sent;
}

} // namespace zolbin
