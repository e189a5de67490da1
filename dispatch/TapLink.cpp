// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/TapLink.h"

#include "directory/TextChecks.h"
#include "dispatch/SendHost.h"
#include "dispatch/SocketErrors.h"
#include "platform/Codepage.h"
#include "platform/Deadline.h"
#include "platform/Net.h"
#include "platform/SerialLine.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <tuple>

namespace zolbin {

namespace {

using net::MsLeft;
using net::SteadyClock;

class TcpLink final : public TapLink
{
public:
    TcpLink(int socket, int sendMs) : socket_(socket), sendMs_(sendMs) {}
    ~TcpLink() override { net::CloseSocket(socket_); }
    bool Send(const std::string& bytes) override
    {
        return net::Send(socket_, bytes.data(), static_cast<int>(bytes.size()), sendMs_, error_) >= 0;
    }
    int Receive(char* buffer, int length, int waitMs) override
    {
        std::error_code error;
        const int n = net::Recv(socket_, buffer, length, waitMs, error);
        if (n == 0) {
            error_ = std::make_error_code(std::errc::connection_reset);
            return -1;
        }
        if (n < 0 && error == std::errc::timed_out)
            return 0;
        if (n < 0)
            error_ = error;
        return n;
    }
    bool EightBit() const override { return true; }
    std::string ErrorText() const override { return SocketErrorText(error_); }

private:
    int socket_;
    int sendMs_;
    std::error_code error_; // of the last failure: the line's, not the wait's that only ended
};

// The longest modem answer kept; the rest of a longer line is passed over.
constexpr std::size_t MaxModemAnswer = 128;

// The modem's answer to a command: lines up to CR or LF; empty lines and the echo of the command itself
// are passed over. Empty when the deadline passed, however much arrived, or the line is gone.
std::string modemAnswer(SerialLine& line, const std::string& command, int deadlineMs)
{
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(deadlineMs);
    std::string current;
    std::array<char, 128> buffer{};
    for (int left = deadlineMs; left > 0; left = MsLeft(deadline)) {
        const int n = line.Read(buffer.data(), static_cast<int>(buffer.size()), left);
        if (n <= 0)
            return {};
        for (int i = 0; i < n; ++i) {
            const char c = buffer[static_cast<std::size_t>(i)];
            if (c != '\r' && c != '\n') {
                if (current.size() < MaxModemAnswer)
                    current += c;
                continue;
            }
            if (!current.empty() && current != command)
                return current;
            current.clear();
        }
    }
    return {};
}

// Waits until the line has been quiet for `ms` (what arrives meanwhile is thrown away), at most three
// times as long: a modem takes "+++" for an escape only after such a guard time of silence.
void quietFor(SerialLine& line, int ms)
{
    const auto limit = SteadyClock::now() + std::chrono::milliseconds(3 * ms);
    auto quietUntil = SteadyClock::now() + std::chrono::milliseconds(ms);
    std::array<char, 128> buffer{};
    for (int left = MsLeft(quietUntil); left > 0; left = MsLeft(std::min(quietUntil, limit))) {
        const int n = line.Read(buffer.data(), static_cast<int>(buffer.size()), left);
        if (n < 0)
            return; // the line is gone: nothing to wait for
        if (n > 0)
            quietUntil = SteadyClock::now() + std::chrono::milliseconds(ms);
    }
}

class ModemLink final : public TapLink
{
public:
    ModemLink(SendHost& host, SerialLine line, bool eightBit)
        : host_(host), line_(std::move(line)), eightBit_(eightBit)
    {
    }
    ~ModemLink() override
    {
        if (online_)
            hangUp();
    }
    void setOnline() { online_ = true; }

    bool Send(const std::string& bytes) override
    {
        if (line_.Write(bytes, host_.Deadlines.tap.replyMs))
            return true;
        error_ = cp("Нет связи с модемом");
        return false;
    }
    int Receive(char* buffer, int length, int waitMs) override
    {
        const int n = line_.Read(buffer, length, waitMs);
        if (n < 0)
            error_ = cp("Нет связи с модемом");
        return n;
    }
    bool EightBit() const override { return eightBit_; }
    std::string ErrorText() const override { return error_; }

    // Sends the command with CR, shown; the answer shown too. Returns the answer (empty: none came).
    std::string command(const std::string& text, int deadlineMs)
    {
        ReportStatus(host_, cp("Посылка: ") + VisibleControls(text));
        if (!line_.Write(text + "\r", deadlineMs))
            return {};
        const std::string answer = modemAnswer(line_, text, deadlineMs);
        if (!answer.empty())
            ReportStatus(host_, cp("Ответ: ") + VisibleControls(answer));
        return answer;
    }

private:
    // Back to command mode: "+++" between two guard times of silence, ATH0, then the device is closed,
    // which drops DTR.
    void hangUp()
    {
        const int guard = host_.Deadlines.tap.guardMs;
        quietFor(line_, guard);
        ReportStatus(host_, cp("Посылка: +++"));
        if (line_.Write("+++", guard)) {
            const auto sent = SteadyClock::now();
            if (const std::string ok = modemAnswer(line_, {}, guard * 2); !ok.empty())
                ReportStatus(host_, cp("Ответ: ") + VisibleControls(ok));
            quietFor(line_, MsLeft(sent + std::chrono::milliseconds(guard)));
            (void)command("ATH0", host_.Deadlines.tap.modemMs);
        }
    }

    SendHost& host_;
    SerialLine line_;
    bool eightBit_;
    bool online_ = false;
    std::string error_;
};

// The text of each final answer to the dial command that is not a connection, and whether it passes
// (a busy or silent line may answer later; a modem that refuses the command will not).
struct DialFailure
{
    std::string text;
    FailureKind kind;
};

DialFailure dialFailure(const std::string& answer)
{
    static const std::array<std::tuple<const char*, const char*, FailureKind>, 6> texts{{
        {"BUSY", "Линия занята (BUSY)", FailureKind::Passing},
        {"NO CARRIER", "Нет несущей, модемы не соединились (NO CARRIER)", FailureKind::Passing},
        {"NO DIALTONE", "Нет гудка в телефонной линии (NO DIALTONE)", FailureKind::Passing},
        {"NO DIAL TONE", "Нет гудка в телефонной линии (NO DIAL TONE)", FailureKind::Passing},
        {"NO ANSWER", "Терминал не снял трубку (NO ANSWER)", FailureKind::Passing},
        {"ERROR", "Модем не принял команду набора (ERROR)", FailureKind::Final},
    }};
    for (const auto& [word, text, kind] : texts) {
        if (answer == word)
            return {cp(text), kind};
    }
    return {cp("Модем не соединился: ") + VisibleControls(answer), FailureKind::Final};
}

std::unique_ptr<TapLink> openModem(SendHost& host, const TSettings& settings, const std::string& number)
{
    if (!DialableNumber(number)) {
        ReportError(host, cp("Недопустимый номер телефона TAP: ") + VisibleControls(number));
        return nullptr;
    }
    ReportStatus(host, cp("Открытие порта ") + VisibleControls(settings.TapDevice) + "...");
    const bool eightBit = settings.TapLineFormat == TapFormat::EightN1;
    Result<SerialLine> opened =
        SerialLine::Open(settings.TapDevice, settings.TapSpeed,
                         eightBit ? SerialLine::Frame::EightN1 : SerialLine::Frame::SevenE1);
    if (!opened) {
        ReportError(host, VisibleControls(opened.failure().russian()));
        return nullptr;
    }
    auto modem = std::make_unique<ModemLink>(host, std::move(opened).value(), eightBit);
    const TapDeadlines& times = host.Deadlines.tap;
    if (!settings.TapInit.empty()) {
        const std::string answer = modem->command(settings.TapInit, times.modemMs);
        if (answer != "OK") {
            if (answer.empty())
                ReportError(host, cp("Модем не отвечает"), FailureKind::Passing);
            else
                ReportError(host,
                            cp("Модем не принял строку инициализации (") + VisibleControls(answer) + ")");
            return nullptr;
        }
    }
    const std::string answer = modem->command(settings.TapDialPrefix + number, times.dialMs);
    if (answer.rfind("CONNECT", 0) == 0) {
        modem->setOnline();
        return modem;
    }
    const DialFailure failure =
        answer.empty() ? DialFailure{cp("Модем не ответил на набор номера"), FailureKind::Passing}
                       : dialFailure(answer);
    ReportError(host, failure.text, failure.kind);
    return nullptr;
}

} // namespace

std::optional<TapAddress> TapTcpAddress(const std::string& tapPhone)
{
    const std::size_t colon = tapPhone.rfind(':');
    if (colon == std::string::npos || colon + 1 >= tapPhone.size() || tapPhone.size() - colon > 6)
        return std::nullopt;
    unsigned port = 0;
    for (std::size_t i = colon + 1; i < tapPhone.size(); ++i) {
        if (tapPhone[i] < '0' || tapPhone[i] > '9')
            return std::nullopt;
        port = port * 10 + static_cast<unsigned>(tapPhone[i] - '0');
    }
    std::string host = tapPhone.substr(0, colon);
    if (port == 0 || port > 65535 || host.empty())
        return std::nullopt;
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']')
            return std::nullopt;
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string::npos) {
        return std::nullopt; // an IPv6 address needs its brackets
    }
    for (const char c : host) {
        if (static_cast<unsigned char>(c) <= ' ' || c == '[' || c == ']')
            return std::nullopt;
    }
    return TapAddress{host, static_cast<std::uint16_t>(port)};
}

bool DialableNumber(const std::string& number)
{
    if (number.empty())
        return false;
    for (const char c : number) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && std::string_view("*#,WwPpTt!@ -()").find(c) == std::string_view::npos)
            return false;
    }
    return true;
}

std::unique_ptr<TapLink> OpenTapLink(SendHost& host, const TSettings& settings, const std::string& tapPhone)
{
    const std::optional<TapAddress> address = TapTcpAddress(tapPhone);
    if (!address)
        return openModem(host, settings, tapPhone);
    ReportStatus(host, cp("Соединение с терминалом TAP ") + VisibleControls(tapPhone) + "...");
    std::error_code error;
    const int s = net::ConnectHost(address->host, address->port, host.Deadlines.net, error);
    if (s < 0) {
        ReportSocketError(host, error);
        return nullptr;
    }
    return std::make_unique<TcpLink>(s, host.Deadlines.net.sendMs);
}

} // namespace zolbin
