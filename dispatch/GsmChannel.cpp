// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/GsmChannel.h"

#include "directory/TextChecks.h"
#include "dispatch/SendHost.h"
#include "platform/Codepage.h"
#include "platform/Deadline.h"
#include "platform/SerialLine.h"

#include <algorithm>
#include <array>
#include <chrono>

namespace zolbin::gsm {

namespace {

using net::MsLeft;
using net::SteadyClock;

// How long a ">" waits for the space of its prompt before it is taken as the prompt alone.
constexpr int PromptSpaceMs = 50;

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::string Answer::after(const std::string& prefix) const
{
    for (const std::string& line : lines) {
        if (startsWith(line, prefix))
            return line.substr(prefix.size());
    }
    return {};
}

int ErrorCode(const std::string& final)
{
    for (const char* prefix : {"+CMS ERROR:", "+CME ERROR:"}) {
        if (!startsWith(final, prefix))
            continue;
        std::size_t i = std::string(prefix).size();
        while (i < final.size() && final[i] == ' ')
            ++i;
        if (i == final.size() || final.size() - i > 4)
            return -1;
        int code = 0;
        for (; i < final.size(); ++i) {
            if (final[i] < '0' || final[i] > '9')
                return -1;
            code = code * 10 + (final[i] - '0');
        }
        return code;
    }
    return -1;
}

bool Channel::send(const std::string& wire, const std::string& shown, int deadlineMs)
{
    // Whatever arrived before answers nothing: it is read and passed over, within a bound (a modem that
    // streams without end is then answered by the deadlines).
    std::array<char, 256> drop{};
    for (int i = 0; i < 64 && line_.Read(drop.data(), static_cast<int>(drop.size()), 0) > 0; ++i) {
    }
    buffer_.clear();
    ReportStatus(host_, cp("Посылка: ") + shown);
    return line_.Write(wire, deadlineMs);
}

Answer Channel::command(const std::string& text, int deadlineMs, const std::string& shown,
                        const std::string& secret)
{
    if (!send(text + "\r", VisibleControls(shown.empty() ? text : shown), deadlineMs))
        return {Answer::End::Gone, {}, {}};
    echo_ = text;
    secret_ = secret;
    Answer a = answer(deadlineMs);
    echo_.clear();
    secret_.clear();
    return a;
}

// Reads the next line (up to CR or LF, empty lines passed over) or, when asked, the prompt "> " (a bare
// ">" once its space has had a moment to follow).
bool Channel::nextLine(std::string& line, int msLeft, bool prompt)
{
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(msLeft);
    std::array<char, 128> chunk{};
    bool spaceAwaited = false;
    for (;;) {
        std::size_t start = buffer_.find_first_not_of("\r\n");
        if (start == std::string::npos)
            start = buffer_.size();
        if (start > 0)
            cut_ = false; // the long line ended
        buffer_.erase(0, start);
        if (prompt && !buffer_.empty() && buffer_[0] == '>' && (buffer_.size() > 1 || spaceAwaited)) {
            line = startsWith(buffer_, "> ") ? "> " : ">";
            buffer_.erase(0, line.size());
            long_ = cut_ = false;
            return true;
        }
        const std::size_t end = buffer_.find_first_of("\r\n");
        if (end != std::string::npos) {
            line = buffer_.substr(0, std::min(end, MaxAnswerLine));
            buffer_.erase(0, end);
            long_ = cut_ || end > MaxAnswerLine;
            cut_ = false;
            return true;
        }
        if (buffer_.size() > MaxAnswerLine) {
            line = buffer_.substr(0, MaxAnswerLine);
            buffer_.clear();
            long_ = cut_ = true;
            return true;
        }
        int left = MsLeft(deadline);
        if (prompt && buffer_ == ">") {
            spaceAwaited = true;
            left = std::min(left, PromptSpaceMs);
        }
        if (left <= 0 && !spaceAwaited)
            return false;
        const int n = line_.Read(chunk.data(), static_cast<int>(chunk.size()), left);
        if (n < 0)
            return false;
        buffer_.append(chunk.data(), static_cast<std::size_t>(n));
    }
}

bool Channel::hidden(const std::string& line) const
{
    return !secret_.empty() && (long_ || line.find(secret_) != std::string::npos);
}

Answer Channel::answer(int deadlineMs, bool prompt)
{
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(deadlineMs);
    Answer a;
    shown_ = 0;
    int unshown = 0;
    std::string line;
    while (nextLine(line, MsLeft(deadline), prompt)) {
        if ((!echo_.empty() && line == echo_) || hidden(line))
            continue;
        if (shown_ < ShownLinesPerWait) {
            ++shown_;
            ReportStatus(host_, cp("Ответ: ") + VisibleControls(line));
        } else {
            ++unshown;
        }
        if (line == "> " || line == ">") {
            a.end = Answer::End::Prompt;
        } else if (line == "OK") {
            a.end = Answer::End::Ok;
        } else if (line == "ERROR" || startsWith(line, "+CMS ERROR") || startsWith(line, "+CME ERROR")) {
            a.end = Answer::End::Error;
        } else {
            if (a.lines.size() < static_cast<std::size_t>(ShownLinesPerWait))
                a.lines.push_back(line);
            continue;
        }
        a.final = line;
        break;
    }
    if (unshown > 0)
        host_.Journal().Append(cp("Ответов модема не показано: ") + std::to_string(unshown));
    if (a.final.empty())
        a.end = MsLeft(deadline) > 0 ? Answer::End::Gone : Answer::End::Silent;
    return a;
}

} // namespace zolbin::gsm
