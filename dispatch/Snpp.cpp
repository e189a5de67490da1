// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Snpp.h"

#include "directory/Records.h"
#include "dispatch/CodeTables.h"
#include "dispatch/DialogueChannel.h"
#include "dispatch/MessageText.h"
#include "dispatch/SendHost.h"
#include "platform/Codepage.h"
#include "platform/Net.h"

namespace zolbin {

namespace {

constexpr const char* HomeLogin = "Zolbin Sender " ZOLBIN_VERSION;

} // namespace

Result<std::string> SnppMessageText(const DataFolder& folder, std::vector<std::string> lines,
                                    const std::string& signature, const std::string& charset)
{
    AppendSignature(lines, signature);
    std::string text;
    for (std::string& line : lines) {
        if (line.empty())
            continue;
        if (line.back() != ' ')
            line += ' ';
        if (const Status converted = ConvertForCharset(folder, charset, line); !converted)
            return converted.failure();
        text += line;
    }
    return text;
}

Result<bool> SnppDialogue(SendHost& host, int& socket, const TSendParams& params,
                          const std::vector<std::string>& lines)
{
    const TSendParams p = params;
    DialogueChannel channel(host, socket);
    const int deadline = host.Deadlines.net.replyMs;
    const std::string sent = cp("Посылка: ");

    // Step 1: the login. The home provider's fixed login is shown as sent; a company password never is.
    const bool home = p.CurProvider == HomeProviderName();
    if (home || !p.CurSnppPswd.empty()) {
        const std::string line = std::string("LOGI ") + (home ? std::string(HomeLogin) : p.CurSnppPswd);
        const std::string shown = home ? sent + line : sent + "LOGI ***";
        if (channel.SendLine(line, shown) < 0 || channel.ReadReply({}, deadline) < 0)
            return false;
    }
    // Step 2: the hold time.
    if (!p.DeferDate.empty()) {
        const std::string line = "HOLD " + HoldArgument(p.DeferDate);
        if (channel.SendLine(line, sent + line) < 0 || channel.ReadReply({}, deadline) < 0)
            return false;
    }
    // Step 3: the pager; a refusal means the subscriber cannot be reached.
    {
        const std::string line = "PAGE " + std::to_string(p.CurNumber);
        if (channel.SendLine(line, sent + line) < 0 ||
            channel.ReadReply(tx("Dialogue", "Абонент не доступен!"), deadline) < 0)
            return false;
    }
    // Step 4: the message, never shown.
    {
        const bool signed_ = p.CurDigital == 0 && !host.SignatureBlocked();
        const std::string signature = signed_ ? host.Settings().ShortName : std::string();
        const Result<std::string> text = SnppMessageText(host.Folder(), lines, signature, p.CurSNPPEnc);
        if (!text)
            return text.failure();
        const std::string line = "MESS " + text.value();
        if (channel.SendLine(line, sent + "MESS ***") < 0 || channel.ReadReply({}, deadline) < 0)
            return false;
    }
    // Step 5: SEND. A positive reply means the company has the page; none at all, that nobody knows.
    if (channel.SendLine("SEND", sent + "SEND") < 0)
        return false;
    channel.FinalStepSent();
    if (channel.ReadReply({}, deadline) < 0)
        return false;
    channel.PageAccepted();
    // Step 6: QUIT, journaled; whatever it gives cannot take the page back.
    if (channel.SendLine("QUIT", sent + "QUIT") >= 0)
        (void)channel.ReadReply({}, deadline);
    return true;
}

} // namespace zolbin
