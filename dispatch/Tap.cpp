// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Tap.h"

#include "dispatch/DialogueChannel.h"
#include "dispatch/SendHost.h"
#include "dispatch/Snpp.h"
#include "dispatch/TapChannel.h"
#include "dispatch/TapLink.h"
#include "dispatch/TapProtocol.h"
#include "platform/Codepage.h"
#include "platform/Deadline.h"

#include <algorithm>
#include <chrono>

namespace zolbin {

namespace {

using net::SteadyClock;

using tap::Channel;
using tap::Verdict;

constexpr int LogonTries = 3;
constexpr int BlockTries = 3;
// Answers to the closing EOT read before the session is given up as not ended.
constexpr int ClosingAnswers = 4;

SteadyClock::time_point after(int ms)
{
    return SteadyClock::now() + std::chrono::milliseconds(ms);
}

// The end of the session: EOT, then the terminal's ESC EOT. The closing has a deadline of its own and a
// bound on the answers it reads; the page, when accepted, stays accepted whatever it gives.
void endSession(Channel& channel)
{
    if (!channel.send(std::string{tap::EOT, tap::CR}, "<EOT><CR>"))
        return;
    const auto deadline = after(channel.deadlines().replyMs);
    for (int answer = 0; answer < ClosingAnswers; ++answer) {
        const Verdict v = channel.verdict(deadline);
        if (v == Verdict::Ended || v == Verdict::Gone)
            return;
        if (v == Verdict::Silent)
            break;
    }
    channel.fail(cp("Терминал TAP не завершил сеанс"));
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

bool failWith(Channel& channel, Verdict v, const std::string& silence)
{
    // A terminal that stays silent may answer later; one that ends the session or says something
    // unexpected is refusing.
    const FailureKind kind = v == Verdict::Silent ? FailureKind::Passing : FailureKind::Final;
    if (const std::string text = failureText(v, silence, channel.lastLine()); !text.empty())
        channel.fail(text, kind);
    return false;
}

bool wake(Channel& channel)
{
    const TapDeadlines& times = channel.deadlines();
    for (int i = 0; i < times.wakeTries; ++i) {
        if (!channel.send(std::string(1, tap::CR), "<CR>"))
            return false;
        if (channel.waitForId(after(times.wakeMs)))
            return true;
    }
    channel.fail(cp("Терминал TAP не отвечает (нет «ID=»)"), FailureKind::Passing);
    return false;
}

bool logOn(Channel& channel, const std::string& password)
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
        const Verdict v = channel.verdict(after(channel.deadlines().replyMs));
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
    const Verdict go = channel.verdict(after(channel.deadlines().replyMs));
    if (go == Verdict::GoAhead)
        return true;
    return failWith(channel, go, cp("Терминал TAP не пригласил к передаче (нет <ESC>[p)"));
}

// Sends one block until the terminal takes it. RS: the pager is refused, the session ended politely.
// Once the last block has left, a terminal that falls silent or a line that breaks leaves the page's fate
// unknown: it may have been taken.
bool sendBlock(SendHost& host, Channel& channel, const tap::Block& block, bool last)
{
    for (int attempt = 1; attempt <= BlockTries; ++attempt) {
        if (!channel.send(block.wire, block.shown))
            return false;
        const Verdict v = channel.verdict(after(channel.deadlines().replyMs));
        if (v == Verdict::Ack)
            return true;
        if (v == Verdict::Nak && attempt < BlockTries)
            continue;
        if (v == Verdict::Nak) {
            channel.fail(cp("Терминал TAP трижды не принял блок (<NAK>)"), FailureKind::Passing);
        } else if (v == Verdict::Refused) {
            // The same report as an SNPP server's refusal of the pager.
            ReportNegativeReply(host, channel.lastLine() + "\r\n", tx("Dialogue", "Абонент не доступен!"));
            endSession(channel);
        } else {
            failWith(channel, v, cp("Терминал TAP не ответил на блок"));
            if (last && (v == Verdict::Silent || v == Verdict::Gone))
                host.LastFailure = FailureKind::Unknown;
        }
        return false;
    }
    return false;
}

} // namespace

Result<std::string> TapMessageText(const DataFolder& folder, const std::vector<std::string>& lines,
                                   const std::string& signature, bool eightBit)
{
    Result<std::string> text = SnppMessageText(folder, lines, signature, "KOI8-R");
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
    Channel channel(host, link);
    if (!wake(channel) || !logOn(channel, password))
        return false;

    const bool signed_ = p.CurDigital == 0 && !host.SignatureBlocked();
    const Result<std::string> text = TapMessageText(
        host.Folder(), lines, signed_ ? host.Settings().ShortName : std::string(), link.EightBit());
    if (!text)
        return text.failure();
    const std::vector<tap::Block> blocks = tap::Blocks(std::to_string(p.CurNumber), text.value());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (!sendBlock(host, channel, blocks[i], i + 1 == blocks.size()))
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
