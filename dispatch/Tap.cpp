// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Tap.h"

#include "dispatch/DialogueChannel.h"
#include "dispatch/SendHost.h"
#include "dispatch/Snpp.h"
#include "dispatch/TapLink.h"
#include "dispatch/TapProtocol.h"
#include "platform/Codepage.h"
#include "platform/Deadline.h"

#include <algorithm>
#include <array>
#include <chrono>

namespace zolbin {

namespace {

using net::MsLeft;
using net::SteadyClock;

constexpr int LogonTries = 3;
constexpr int BlockTries = 3;

enum class Verdict
{
    Ack,
    Nak,
    Refused, // RS
    Ended,   // ESC EOT
    GoAhead, // ESC [p
    Silent,  // the deadline passed
    Gone     // the line broke (already reported)
};

// The exchange of one session: what is sent and what arrives, each shown and journaled readably.
class TapChannel
{
public:
    TapChannel(SendHost& host, TapLink& link) : host_(host), link_(link) {}

    bool send(const std::string& wire, const std::string& shown)
    {
        if (!accepted_ && host_.Journal().Failure() != 0)
            return false; // nothing more goes out unjournaled
        const bool sent = link_.Send(wire);
        ReportStatus(host_, cp("Посылка: ") + shown);
        if (!sent)
            fail(link_.ErrorText());
        return sent;
    }

    void fail(const std::string& text) { ReportError(host_, text); }

    // Waits for "ID=" anywhere in what arrives.
    bool waitForId(int waitMs)
    {
        const auto deadline = SteadyClock::now() + std::chrono::milliseconds(waitMs);
        for (;;) {
            if (const std::size_t at = buffer_.find("ID="); at != std::string::npos) {
                buffer_.erase(0, at + 3);
                ReportStatus(host_, cp("Ответ: ID="));
                return true;
            }
            if (!fill(deadline))
                return false;
        }
    }

    // Reads lines until one decides: informational lines are shown and passed over.
    Verdict verdict(int waitMs)
    {
        const auto deadline = SteadyClock::now() + std::chrono::milliseconds(waitMs);
        for (;;) {
            const std::size_t end = buffer_.find(tap::CR);
            if (end == std::string::npos) {
                if (!fill(deadline))
                    return gone_ ? Verdict::Gone : Verdict::Silent;
                continue;
            }
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            std::erase(line, '\n');
            if (line.empty())
                continue;
            lastLine_ = tap::Readable(line);
            ReportStatus(host_, cp("Ответ: ") + lastLine_);
            if (line == "NO CARRIER") { // the modem lost the terminal's carrier
                gone_ = true;
                fail(cp("Связь с терминалом TAP прервалась (NO CARRIER)"));
                return Verdict::Gone;
            }
            if (line[0] == tap::ACK)
                return Verdict::Ack;
            if (line[0] == tap::NAK)
                return Verdict::Nak;
            if (line[0] == tap::RS)
                return Verdict::Refused;
            if (line.rfind(std::string{tap::ESC, tap::EOT}, 0) == 0)
                return Verdict::Ended;
            if (line.rfind(std::string{tap::ESC, '[', 'p'}, 0) == 0)
                return Verdict::GoAhead;
        }
    }

    const std::string& lastLine() const { return lastLine_; }
    void pageAccepted() { accepted_ = true; }

private:
    bool fill(SteadyClock::time_point deadline)
    {
        std::array<char, 256> chunk{};
        const int n = link_.Receive(chunk.data(), static_cast<int>(chunk.size()), MsLeft(deadline));
        if (n > 0) {
            buffer_.append(chunk.data(), static_cast<std::size_t>(n));
            return true;
        }
        if (n < 0) {
            gone_ = true;
            fail(link_.ErrorText());
        }
        return false;
    }

    SendHost& host_;
    TapLink& link_;
    std::string buffer_;
    std::string lastLine_;
    bool accepted_ = false;
    bool gone_ = false;
};

// The end of the session: EOT, then the terminal's ESC EOT.
void endSession(TapChannel& channel)
{
    if (!channel.send(std::string{tap::EOT, tap::CR}, "<EOT><CR>"))
        return;
    for (;;) {
        const Verdict v = channel.verdict(CurrentTapDeadlines().replyMs);
        if (v == Verdict::Ended || v == Verdict::Gone)
            return;
        if (v == Verdict::Silent) {
            channel.fail(cp("Терминал TAP не завершил сеанс"));
            return;
        }
    }
}

// What a verdict that ends the dialogue is reported as; empty for one already reported.
std::string failureText(Verdict v, const std::string& silence, const std::string& line)
{
    switch (v) {
    case Verdict::Silent:
        return silence;
    case Verdict::Ended:
        return cp("Терминал TAP прервал сеанс (") + line + ")";
    case Verdict::Gone:
        return {};
    default:
        return cp("Неожиданный ответ терминала TAP: ") + line;
    }
}

bool failWith(TapChannel& channel, Verdict v, const std::string& silence)
{
    if (const std::string text = failureText(v, silence, channel.lastLine()); !text.empty())
        channel.fail(text);
    return false;
}

bool wake(TapChannel& channel)
{
    const TapDeadlines& times = CurrentTapDeadlines();
    for (int i = 0; i < times.wakeTries; ++i) {
        if (!channel.send(std::string(1, tap::CR), "<CR>"))
            return false;
        if (channel.waitForId(times.wakeMs))
            return true;
    }
    channel.fail(cp("Терминал TAP не отвечает (нет «ID=»)"));
    return false;
}

bool logOn(TapChannel& channel, const std::string& password)
{
    if (std::any_of(password.begin(), password.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        channel.fail(cp("Пароль TAP содержит управляющие символы"));
        return false;
    }
    const std::string wire = std::string{tap::ESC} + "PG1" + password + tap::CR;
    const std::string shown = std::string("<ESC>PG1") + (password.empty() ? "" : "***") + "<CR>";
    for (int attempt = 1; attempt <= LogonTries; ++attempt) {
        if (!channel.send(wire, shown))
            return false;
        const Verdict v = channel.verdict(CurrentTapDeadlines().replyMs);
        if (v == Verdict::Ack)
            break;
        if (v == Verdict::Nak && attempt < LogonTries)
            continue;
        if (v == Verdict::Nak)
            channel.fail(cp("Терминал TAP не принял вход (<NAK>)"));
        else if (v == Verdict::Ended)
            channel.fail(cp("Терминал TAP отказал во входе (<ESC><EOT>)"));
        else
            failWith(channel, v, cp("Терминал TAP не ответил на вход"));
        return false;
    }
    const Verdict go = channel.verdict(CurrentTapDeadlines().replyMs);
    if (go == Verdict::GoAhead)
        return true;
    return failWith(channel, go, cp("Терминал TAP не пригласил к передаче (нет <ESC>[p)"));
}

// Sends one block until the terminal takes it. RS: the pager is refused, the session ended politely.
bool sendBlock(SendHost& host, TapChannel& channel, const tap::Block& block)
{
    for (int attempt = 1; attempt <= BlockTries; ++attempt) {
        if (!channel.send(block.wire, block.shown))
            return false;
        const Verdict v = channel.verdict(CurrentTapDeadlines().replyMs);
        if (v == Verdict::Ack)
            return true;
        if (v == Verdict::Nak && attempt < BlockTries)
            continue;
        if (v == Verdict::Nak) {
            channel.fail(cp("Терминал TAP трижды не принял блок (<NAK>)"));
        } else if (v == Verdict::Refused) {
            // The same report as an SNPP server's refusal of the pager.
            ReportNegativeReply(host, channel.lastLine() + "\r\n", cp("Абонент не доступен!"));
            endSession(channel);
        } else {
            failWith(channel, v, cp("Терминал TAP не ответил на блок"));
        }
        return false;
    }
    return false;
}

} // namespace

Result<std::string> TapMessageText(const std::vector<std::string>& lines, const std::string& signature,
                                   bool eightBit)
{
    Result<std::string> text = SnppMessageText(lines, signature, "KOI8-R");
    if (!text)
        return text.failure();
    std::string out = std::move(text).value();
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    if (!eightBit) {
        for (char& c : out)
            c = static_cast<char>(static_cast<unsigned char>(c) & 0x7Fu);
    }
    return out;
}

Result<bool> TapDialogue(SendHost& host, TapLink& link, const TSendParams& params,
                         const std::vector<std::string>& lines, const std::string& password)
{
    const TSendParams p = params;
    TapChannel channel(host, link);
    if (!wake(channel) || !logOn(channel, password))
        return false;

    const bool signed_ = p.CurDigital == 0 && !host.SignatureBlocked();
    const Result<std::string> text =
        TapMessageText(lines, signed_ ? host.Settings().ShortName : std::string(), link.EightBit());
    if (!text)
        return text.failure();
    for (const tap::Block& block : tap::Blocks(std::to_string(p.CurNumber), text.value())) {
        if (!sendBlock(host, channel, block))
            return false;
    }
    channel.pageAccepted();
    endSession(channel);
    return true;
}

Result<TapResult> TapSending(SendHost& host, const TProvider& company, const TSendParams& params,
                             const std::vector<std::string>& lines)
{
    std::unique_ptr<TapLink> link = OpenTapLink(host, host.Settings(), company.TapPhone.str());
    if (!link) {
        host.Journal().AppendEmptyLine();
        return TapResult::NoConnection;
    }
    const Result<bool> accepted = TapDialogue(host, *link, params, lines, company.TapPswd.str());
    link.reset(); // hung up, shown and journaled, before the outcome
    if (!accepted)
        return accepted.failure();
    if (!accepted.value()) {
        host.Journal().AppendEmptyLine();
        return TapResult::Failed;
    }
    return TapResult::Accepted;
}

} // namespace zolbin
