// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Smtp.h"

#include "directory/TextChecks.h"
#include "dispatch/CodeTables.h"
#include "dispatch/DialogueChannel.h"
#include "dispatch/MessageText.h"
#include "dispatch/SendHost.h"
#include "platform/Codepage.h"
#include "platform/Net.h"

#include <QByteArray>
#include <algorithm>
#include <sstream>

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

std::string base64(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toBase64().toStdString();
}

bool offers(const std::vector<std::string>& extensions, const std::string& keyword)
{
    return std::find(extensions.begin(), extensions.end(), keyword) != extensions.end();
}

// The AUTH mechanisms offered ("AUTH PLAIN LOGIN" -> PLAIN, LOGIN).
std::vector<std::string> authMechanisms(const std::vector<std::string>& extensions)
{
    std::vector<std::string> mechanisms;
    for (const std::string& line : extensions) {
        if (line.rfind("AUTH ", 0) != 0)
            continue;
        std::istringstream words(line.substr(5));
        for (std::string word; words >> word;)
            mechanisms.push_back(word);
    }
    return mechanisms;
}

// EHLO, its reply's extensions in `extensions`. False when it failed (reported).
bool ehlo(DialogueChannel& channel, const std::string& hostArgument, std::vector<std::string>& extensions)
{
    const std::string line = "EHLO " + hostArgument;
    std::string reply;
    if (channel.SendLine(line, cp("Посылка: ") + line) < 0 ||
        channel.ReadReply({}, channel.Deadlines().replyMs, reply) < 0)
        return false;
    extensions = SmtpExtensions(reply);
    return true;
}

// The secure opening and the login, up to the point where MAIL FROM may follow. False when it failed.
bool secureOpening(SendHost& host, DialogueChannel& channel, net::TlsSession* tls)
{
    const TSettings& settings = host.Settings();
    const int deadline = host.Deadlines.net.replyMs;
    const std::string sent = cp("Посылка: ");
    std::vector<std::string> extensions;
    if (!ehlo(channel, settings.SMTPServer, extensions))
        return false;
    if (settings.SMTPSecurity == 1) {
        if (tls == nullptr || !offers(extensions, "STARTTLS")) {
            channel.ReportFailure(cp("сервер не предлагает STARTTLS"));
            return false;
        }
        if (channel.SendLine("STARTTLS", sent + "STARTTLS") < 0 || channel.ReadReply({}, deadline) < 0)
            return false;
        if (const Status handshake = tls->Handshake(channel.Socket(), settings.SMTPServer,
                                                    settings.SMTPCAFile, host.Deadlines.net.connectMs);
            !handshake) {
            channel.ReportTlsFailure(handshake.failure(), tls->Error());
            return false;
        }
        if (!ehlo(channel, settings.SMTPServer, extensions))
            return false;
    } else if (settings.SMTPSecurity != 2 || tls == nullptr || !tls->Active()) {
        // Security 0 (or an unknown value) with a login: the password is not sent in clear.
        channel.ReportFailure(cp("вход на почтовый сервер без TLS не выполняется"));
        return false;
    }
    if (settings.SMTPUser.empty())
        return true;

    const std::string password = host.SmtpPassword();
    if (password.empty()) {
        channel.ReportFailure(cp("не задан пароль для почтового сервера"));
        return false;
    }
    // A login is complete only on 235; a challenge is answered only where the mechanism asks for one.
    const std::vector<std::string> mechanisms = authMechanisms(extensions);
    if (offers(mechanisms, "PLAIN")) {
        const std::string token =
            base64(std::string(1, '\0') + settings.SMTPUser + std::string(1, '\0') + password);
        return channel.SendLine("AUTH PLAIN " + token, sent + "AUTH PLAIN ***") >= 0 &&
               channel.ReadReplyOf("235", deadline) >= 0;
    }
    if (offers(mechanisms, "LOGIN")) {
        return channel.SendLine("AUTH LOGIN", sent + "AUTH LOGIN ***") >= 0 &&
               channel.ReadReplyOf("334", deadline) >= 0 &&
               channel.SendLine(base64(settings.SMTPUser), sent + "***") >= 0 &&
               channel.ReadReplyOf("334", deadline) >= 0 &&
               channel.SendLine(base64(password), sent + "***") >= 0 &&
               channel.ReadReplyOf("235", deadline) >= 0;
    }
    channel.ReportFailure(cp("сервер не предлагает вход AUTH PLAIN или AUTH LOGIN"));
    return false;
}

} // namespace

std::vector<std::string> SmtpExtensions(const std::string& ehloReply)
{
    std::vector<std::string> extensions;
    std::size_t from = ehloReply.find("\r\n");
    while (from != std::string::npos && from + 2 < ehloReply.size()) {
        from += 2;
        const std::size_t end = ehloReply.find("\r\n", from);
        std::string line = ehloReply.substr(from, end == std::string::npos ? std::string::npos : end - from);
        if (line.size() > 4) {
            line = UpperCaseText(std::string_view(line).substr(4));
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            extensions.push_back(line);
        }
        from = end;
    }
    return extensions;
}

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

Result<std::vector<std::string>> SmtpBodyLines(const DataFolder& folder, std::vector<std::string> lines,
                                               const std::string& signature, const std::string& charset)
{
    AppendSignature(lines, signature);
    std::vector<std::string> body;
    for (std::string& line : lines) {
        if (line.empty())
            continue;
        if (line[0] == '.')
            line.insert(line.begin(), '.');
        if (const Status converted = ConvertForCharset(folder, charset, line); !converted)
            return converted.failure();
        body.push_back(line);
    }
    return body;
}

Result<bool> SmtpDialogue(SendHost& host, int& socket, const TSendParams& params,
                          const std::vector<std::string>& lines, net::TlsSession* tls)
{
    const TSendParams p = params;
    const TSettings& settings = host.Settings();
    DialogueChannel channel(host, socket, tls);
    const int deadline = host.Deadlines.net.replyMs;
    const std::string sent = cp("Посылка: ");
    const std::string recipient = SmtpRecipient(p);

    // The envelope: each command shown, journaled and answered.
    const bool plain = settings.SMTPSecurity == 0 && settings.SMTPUser.empty();
    if (!plain && !secureOpening(host, channel, tls))
        return false;
    std::vector<std::string> envelope = {"MAIL FROM: " + settings.EMail, "RCPT TO: " + recipient, "DATA"};
    if (plain)
        envelope.insert(envelope.begin(), "HELO " + settings.SMTPServer);
    for (const std::string& line : envelope) {
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
        if (const Status converted = ConvertForCharset(host.Folder(), p.CurSMTPEnc, name); !converted)
            return converted.failure();
        data.push_back("From: \"" + name + "\" <" + settings.EMail + ">");
    }
    data.push_back("To: " + recipient);
    data.emplace_back();
    const bool signed_ = p.CurDigital == 0 && !host.SignatureBlocked();
    Result<std::vector<std::string>> body =
        SmtpBodyLines(host.Folder(), lines, signed_ ? settings.ShortName : std::string(), p.CurSMTPEnc);
    if (!body)
        return body.failure();
    for (std::string& line : body.value())
        data.push_back(std::move(line));
    for (const std::string& line : data)
        if (channel.SendLine(line, {}) < 0)
            return false;

    // Only a completion reply takes the mail: any other, a 3xx one included, leaves it refused.
    // Once the "." has left, a reply lost leaves the mail's fate unknown.
    if (channel.SendLine(".", {}) < 0)
        return false;
    channel.FinalStepSent();
    if (channel.ReadReplyOf("2", EndOfDataDeadlineMs) < 0)
        return false;
    // The relay has taken the mail: QUIT is journaled, but whatever it gives cannot take the mail back.
    channel.PageAccepted();
    if (channel.SendLine("QUIT", sent + "QUIT") >= 0)
        (void)channel.ReadReply({}, deadline);
    return true;
}

} // namespace zolbin
