// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exchange with a GSM modem in command mode: a command sent with CR, its answer read line by line
// until a final result ("OK", "ERROR", "+CMS ERROR: n", "+CME ERROR: n") or the "> " prompt (a bare ">"
// too). Each line is shown and journaled readably, except one that carries a secret the command gave; every
// wait ends at its deadline however many bytes arrive, a line longer than any answer is cut, and the lines of
// one wait beyond a few are counted, not each written.

#include <string>
#include <vector>

namespace zolbin {

class SendHost;
class SerialLine;

namespace gsm {

inline constexpr std::size_t MaxAnswerLine = 256;
inline constexpr int ShownLinesPerWait = 16;

struct Answer
{
    enum class End
    {
        Ok,
        Error,  // "ERROR", "+CMS ERROR: n" or "+CME ERROR: n" (the line in `final`)
        Prompt, // "> " or a bare ">"
        Silent, // the deadline passed
        Gone    // the line broke
    };
    End end = End::Silent;
    std::vector<std::string> lines; // the answer's lines before the final one
    std::string final;

    // The first line starting with the prefix, without it; empty when there is none.
    std::string after(const std::string& prefix) const;
};

class Channel
{
public:
    Channel(SendHost& host, SerialLine& line) : host_(host), line_(line) {}

    // Sends the bytes, shown as "Посылка: " + shown; false when they could not be written in time.
    bool send(const std::string& wire, const std::string& shown, int deadlineMs);
    // Sends "text" CR (shown as `shown`, the text itself when empty) and reads its answer. A received line
    // that carries `secret` (an echo among noise, say) is passed over unshown, and so is every piece of a
    // line too long to be read whole, which could hide part of it.
    Answer command(const std::string& text, int deadlineMs, const std::string& shown = {},
                   const std::string& secret = {});
    // Reads an answer: lines until a final result, or the prompt when `prompt` is set.
    Answer answer(int deadlineMs, bool prompt = false);

private:
    bool nextLine(std::string& line, int msLeft, bool prompt);
    // True when the line must not be shown: it carries the secret or may hold a piece of it.
    bool hidden(const std::string& line) const;

    SendHost& host_;
    SerialLine& line_;
    std::string buffer_;
    std::string echo_;   // the command last sent, passed over when the modem echoes it
    std::string secret_; // what no line of the command's answer may show
    bool long_ = false;  // the line last taken is a piece of one longer than MaxAnswerLine
    bool cut_ = false;   // the line last taken was cut: what follows continues it
    int shown_ = 0;
};

// The number in "+CMS ERROR: n" or "+CME ERROR: n"; -1 for a bare "ERROR" or another text.
int ErrorCode(const std::string& final);

} // namespace gsm
} // namespace zolbin
