// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Smtp.h"

#include "dispatch/CodeTables.h"
#include "dispatch/DialogueChannel.h"
#include "dispatch/MessageText.h"
#include "dispatch/SendHost.h"
#include "platform/Codepage.h"
#include "platform/Net.h"

namespace zolbin {

namespace {

// How long the relay may take to accept the whole mail after its final ".".
constexpr int EndOfDataDeadlineMs = 120000;

int twoDigits(const std::string& text, std::size_t from)
{
    int value = 0;
    for (std::size_t i = from; i < from + 2 && i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::string SmtpRecipient(const TSendParams& params)
{
    if (!params.CurSMTPEMail.empty() && params.CurSMTPEMail[0] == '@')
        return std::to_string(params.CurNumber) + params.CurSMTPEMail;
    return params.CurSMTPEMail;
}

std::string SmtpSubject(const TSendParams& params, bool hideFrom)
{
    std::string subject;
    if (params.CurSMTPEMail.empty() || params.CurSMTPEMail[0] != '@')
        subject += std::to_string(params.CurNumber) + " ";
    if (!params.DeferDate.empty()) {
        std::string date = params.DeferDate;
        if (date.size() > 2)
            date[2] = '/';
        if (date.size() > 5)
            date[5] = '/';
        subject += date + " " + params.DeferTime + " ";
    }
    if (params.RepeatCount != 0) {
        const int minutes = twoDigits(params.RepeatInterval, 0) * 60 + twoDigits(params.RepeatInterval, 3);
        subject += std::to_string(params.RepeatCount) + "*" + std::to_string(minutes);
    }
    if (hideFrom)
        subject += " ^^^";
    return subject;
}

Result<std::vector<std::string>> SmtpBodyLines(std::vector<std::string> lines, const std::string& signature,
                                               const std::string& charset)
{
    AppendSignature(lines, signature);
    std::vector<std::string> body;
    for (std::string& line : lines) {
        if (line.empty())
            continue;
        if (line[0] == '.')
            line.insert(line.begin(), '.');
        if (const Status converted = ConvertForCharset(charset, line); !converted)
            return converted.failure();
        body.push_back(line);
    }
    return body;
}

Result<bool> SmtpDialogue(SendHost& host, int& socket, const TSendParams& params,
                          const std::vector<std::string>& lines)
{
    const TSendParams p = params;
    const TSettings& settings = host.Settings();
    DialogueChannel channel(host, socket);
    const int deadline = net::CurrentDeadlines().replyMs;
    const std::string sent = cp("Посылка: ");
    const std::string recipient = SmtpRecipient(p);

    // The envelope: each command shown, journaled and answered.
    for (const std::string& line : {"HELO " + settings.SMTPServer, "MAIL FROM: " + settings.EMail,
                                    "RCPT TO: " + recipient, std::string("DATA")}) {
        if (channel.SendLine(line, sent + line) < 0 || channel.ReadReply({}, deadline) < 0)
            return false;
    }

    // The header and the body go out silently, back to back.
    std::vector<std::string> data;
    data.push_back("X-Mailer: Zolbin Sender " ZOLBIN_VERSION " " + net::InetNtoa(host.LocalAddr));
    data.push_back("Content-Type: text/plain; charset=" + CharsetHeaderName(p.CurSMTPEnc));
    data.push_back("Subject: " + SmtpSubject(p, settings.hideFromOn()));
    if (!settings.Name.empty()) {
        std::string name = settings.Name;
        if (const Status converted = ConvertForCharset(p.CurSMTPEnc, name); !converted)
            return converted.failure();
        data.push_back("From: \"" + name + "\" <" + settings.EMail + ">");
    }
    data.push_back("To: " + recipient);
    data.emplace_back();
    const bool signed_ = p.CurDigital == 0 && !host.SignatureBlocked();
    Result<std::vector<std::string>> body =
        SmtpBodyLines(lines, signed_ ? settings.ShortName : std::string(), p.CurSMTPEnc);
    if (!body)
        return body.failure();
    for (std::string& line : body.value())
        data.push_back(std::move(line));
    for (const std::string& line : data)
        if (channel.SendLine(line, {}) < 0)
            return false;

    if (channel.SendLine(".", {}) < 0 || channel.ReadReply({}, EndOfDataDeadlineMs) < 0)
        return false;
    // The relay has taken the mail: QUIT is journaled, but whatever it gives cannot take the mail back.
    channel.PageAccepted();
    if (channel.SendLine("QUIT", sent + "QUIT") >= 0)
        (void)channel.ReadReply({}, deadline);
    return true;
}

} // namespace zolbin
