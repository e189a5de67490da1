// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SMTP dialogue: one mail through the operator's relay to a company's mail-to-pager gateway.

#include "directory/SendParams.h"
#include "directory/Settings.h"
#include "platform/DataFolder.h"
#include "platform/Result.h"
#include "platform/Tls.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zolbin {

class SendHost;

// The recipient: the number joined to a gateway address written as "@domain", else the address itself.
std::string SmtpRecipient(const TSendParams& params);

// The subject text: the number (for a full gateway address), the deferral "dd/mm/yyyy hh:mm ", the repeats
// "count*minutes" and " ^^^" when the sender is hidden.
std::string SmtpSubject(const TSendParams& params, bool hideFrom);

// The body lines as they are sent: signature rule, empty lines dropped, a leading "." doubled, converted.
// A code table that cannot be read fails.
Result<std::vector<std::string>> SmtpBodyLines(const DataFolder& folder, std::vector<std::string> lines,
                                               const std::string& signature, const std::string& charset);

// True when the relay accepted the mail (its reply to the final "." was positive, whatever QUIT then
// gave), false at the first failure before that (reported and journaled). A failure that must end the
// whole send command (a code table that cannot be read) is returned as such.
//
// With "SMTPSecurity" 0 and no "SMTPUser" the dialogue is the plain HELO one. Otherwise it opens with
// EHLO; security 1 asks for STARTTLS (a server that does not offer it or refuses it ends the dialogue),
// shakes hands on `tls` and says EHLO again; security 2 expects `tls` to be active already (the
// handshake came before the greeting). With "SMTPUser" set the login follows: AUTH PLAIN, or AUTH LOGIN
// when only that is offered, journaled with "***" for the credentials. A login is never sent without TLS.
Result<bool> SmtpDialogue(SendHost& host, int& socket, const TSendParams& params,
                          const std::vector<std::string>& lines, net::TlsSession* tls = nullptr);

// The SMTP extension keywords of an EHLO reply's lines after the first (upper-cased), e.g. "STARTTLS",
// "AUTH PLAIN LOGIN".
std::vector<std::string> SmtpExtensions(const std::string& ehloReply);

} // namespace zolbin
