// SPDX-License-Identifier: GPL-3.0-or-later
// The send command's part for companies that page by SMS through a GSM modem.
#include "dispatch/SendCommand.h"
#include "dispatch/SendHost.h"
#include "dispatch/Sms.h"
#include "platform/Codepage.h"

namespace zolbin {

SendCommand::Served SendCommand::serveSms(const TProvider& company)
{
    // A modem sends at once and knows no hold time: a deferral or repeats (left by a group whose other
    // members allow them) fail this subscriber rather than page at another time than asked.
    if (!savedDeferDate_.empty() || params_.RepeatCount > 0) {
        ReportError(host_, cp("Модем GSM не принимает отложенные и повторные сообщения"));
        host_.Journal().AppendEmptyLine();
        return failSubscriber({}, {}, false);
    }
    if (journalFailed())
        return stopCommand(journalFailure());
    const SmsOutcome outcome =
        SmsSending(host_, modems_ != nullptr ? *modems_ : ownModems_, company, params_, lines_);
    if (outcome.state == SmsOutcome::State::Accepted) {
        archivePage();
        reportOutcome(cp("Сообщение успешно отправлено"));
        return Served::Sent;
    }
    // Whether the page may wait for a retry or has failed for good.
    host_.LastFailure = outcome.kind;
    host_.Journal().AppendEmptyLine();
    return outcome.state == SmsOutcome::State::NoConnection ? notConnected() : notAccepted();
}

} // namespace zolbin
