// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The deadlines of a send's waits, in milliseconds: on a socket, at a TAP terminal, at a GSM modem. They
// belong to the host that runs the send (SendHost::Deadlines); tests shorten them there.

#include "platform/Net.h"

namespace zolbin {

struct TapDeadlines
{
    int wakeMs = 2000;   // after each CR sent to wake the terminal, for its "ID="
    int wakeTries = 3;   // CRs sent before giving up
    int replyMs = 10000; // for the terminal's answer to the logon, to a block, to the end of the session
    int modemMs = 5000;  // for the modem's answer to a command
    int dialMs = 60000;  // for the modem's answer to the dial command
    int guardMs = 1000;  // silence around "+++" when hanging up
    int settleMs = 100;  // quiet awaited before a send once the terminal is awake (its burst ends)
};

struct GsmDeadlines
{
    int commandMs = 5000; // for the answer to a command, the PIN and the "> " prompt included
    int submitMs = 60000; // for "+CMGS:" after a part was sent: the network answers through the modem
};

struct SendDeadlines
{
    net::Deadlines net;
    TapDeadlines tap;
    GsmDeadlines gsm;
};

} // namespace zolbin
