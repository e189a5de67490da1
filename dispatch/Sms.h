// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SMS through a GSM modem on the serial line of the settings, one session per subscriber: the modem
// woken, the SIM's PIN given when asked (once: a refused PIN is never given again by itself), PDU mode,
// then the page as SMS-SUBMIT messages, one AT+CMGS per part.

#include "directory/Records.h"
#include "directory/SendParams.h"
#include "dispatch/RetryPolicy.h"
#include "dispatch/SmsPdu.h"
#include "platform/Result.h"

#include <string>
#include <vector>

namespace zolbin {

class ModemMemory;
class SendHost;
class SerialLine;

// How one subscriber's SMS ended. A failure says whether it may pass (a later try may get through:
// no network, congestion, a modem that did not answer) or is final (a refused number or PIN, a bad PDU,
// parts already gone).
struct SmsOutcome
{
    enum class State
    {
        NoConnection, // the line could not be opened (reported)
        Failed,       // the dialogue failed (reported)
        Accepted      // every part got "+CMGS"
    };
    State state = State::Failed;
    FailureKind kind = FailureKind::Final;
    int partsSent = 0;
    int partsTotal = 0;
};

// The page's text as it goes: the lines joined as for the other gateways (signature rule included) and
// made Unicode from the program's code page.
std::u16string SmsMessageText(const std::vector<std::string>& lines, const std::string& signature);

// The Russian text of a "+CMS ERROR" code, and whether it passes.
std::string CmsErrorText(int code);
FailureKind CmsErrorKind(int code);

// The dialogue on the open line of the device, with the page already encoded. What it learns of the
// modem (a refused PIN, a reset or a cancel due) goes into `memory`, and what is there is heeded.
SmsOutcome SmsDialogue(SendHost& host, ModemMemory& memory, SerialLine& line, const std::string& device,
                       const sms::Submission& page);

// One subscriber's sending through the company's pattern: the number made, the text encoded, the line
// opened, the dialogue, the line closed.
SmsOutcome SmsSending(SendHost& host, ModemMemory& memory, const TProvider& company,
                      const TSendParams& params, const std::vector<std::string>& lines);

} // namespace zolbin
