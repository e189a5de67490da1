// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Sms.h"

#include "directory/SmsNumber.h"
#include "directory/TextChecks.h"
#include "dispatch/GsmChannel.h"
#include "dispatch/MessageText.h"
#include "dispatch/ModemMemory.h"
#include "dispatch/SendHost.h"
#include "platform/Codepage.h"
#include "platform/SerialLine.h"

#include <array>

namespace zolbin {

namespace {

using gsm::Answer;

using Line = ModemMemory::Line;

struct CmsText
{
    int code;
    const char* text;
    FailureKind kind;
};

constexpr std::array<CmsText, 21> CmsTexts{{
    {1, "номер не существует", FailureKind::Final},
    {8, "отправка на этот номер запрещена оператором", FailureKind::Final},
    {10, "вызов запрещён", FailureKind::Final},
    {21, "сеть отвергла сообщение", FailureKind::Final},
    {27, "получатель вне обслуживания", FailureKind::Passing},
    {29, "сеть отклонила услугу", FailureKind::Final},
    {30, "неизвестный абонент", FailureKind::Final},
    {38, "сеть не работает", FailureKind::Passing},
    {41, "временный сбой сети", FailureKind::Passing},
    {42, "перегрузка сети", FailureKind::Passing},
    {47, "ресурсы сети недоступны", FailureKind::Passing},
    {50, "услуга не подключена", FailureKind::Final},
    {302, "модем не разрешил операцию", FailureKind::Final},
    {303, "модем не поддерживает операцию", FailureKind::Final},
    {304, "модем не принял PDU", FailureKind::Final},
    {310, "нет SIM-карты", FailureKind::Final},
    {313, "сбой SIM-карты", FailureKind::Final},
    {314, "SIM-карта занята", FailureKind::Passing},
    {330, "не задан номер SMS-центра", FailureKind::Final},
    {331, "нет сети", FailureKind::Passing},
    {332, "сеть не ответила вовремя", FailureKind::Passing},
}};

const CmsText* findCms(int code)
{
    for (const CmsText& t : CmsTexts) {
        if (t.code == code)
            return &t;
    }
    return nullptr;
}

// One session's reporting: every failure says how many parts already went.
class Session
{
public:
    Session(SendHost& host, ModemMemory& memory, gsm::Channel& channel, const std::string& device, int parts)
        : host_(host), memory_(memory), channel_(channel), device_(device)
    {
        outcome_.partsTotal = parts;
    }

    // Reports the failure; once a part went, nothing of the page is tried again as a whole.
    SmsOutcome fail(const std::string& text, FailureKind kind)
    {
        std::string shown = text;
        if (outcome_.partsSent > 0) {
            shown += cp("; отправлено частей: ") + std::to_string(outcome_.partsSent) + cp(" из ") +
                     std::to_string(outcome_.partsTotal);
            if (kind == FailureKind::Passing)
                kind = FailureKind::Final;
        }
        ReportError(host_, shown);
        outcome_.state = SmsOutcome::State::Failed;
        outcome_.kind = kind;
        return outcome_;
    }
    // An answer that is not the one the step needs.
    SmsOutcome failAnswer(const Answer& a, const std::string& step)
    {
        if (a.end == Answer::End::Silent || a.end == Answer::End::Gone) {
            memory_.Remember(device_, [](Line& m) { m.resetDue = true; });
            return fail(cp("Модем GSM не ответил") + step, FailureKind::Passing);
        }
        const int code = gsm::ErrorCode(a.final);
        if (a.final.rfind("+CMS ERROR", 0) == 0)
            return fail(CmsErrorText(code), CmsErrorKind(code));
        return fail(cp("Модем GSM ответил ошибкой") + step + " (" + VisibleControls(a.final) + ")",
                    FailureKind::Final);
    }
    bool ok(const Answer& a) const { return a.end == Answer::End::Ok; }
    SmsOutcome& outcome() { return outcome_; }

private:
    SendHost& host_;
    ModemMemory& memory_;
    gsm::Channel& channel_;
    std::string device_;
    SmsOutcome outcome_;
};

bool validPin(const std::string& pin)
{
    return pin.size() >= 4 && pin.size() <= 8 && pin.find_first_not_of("0123456789") == std::string::npos;
}

// The SIM ready, its PIN given when it asks for one. Empty: ready; otherwise the failure.
std::optional<SmsOutcome> unlockSim(SendHost& host, ModemMemory& memory, gsm::Channel& channel,
                                    Session& session, const std::string& device)
{
    const int ms = host.Deadlines.gsm.commandMs;
    const Answer state = channel.command("AT+CPIN?", ms);
    if (!session.ok(state))
        return session.failAnswer(state, cp(" на запрос PIN"));
    const std::string sim = state.after("+CPIN: ");
    if (sim == "READY")
        return std::nullopt;
    if (sim == "SIM PUK")
        return session.fail(cp("SIM-карта заблокирована и ждёт PUK-код: разблокируйте её в телефоне"),
                            FailureKind::Final);
    if (sim != "SIM PIN")
        return session.fail(cp("SIM-карта не готова (") + VisibleControls(sim) + ")", FailureKind::Final);
    const std::string pin = host.SimPin();
    if (pin.empty())
        return session.fail(cp("SIM-карта ждёт PIN, а он не задан (Линия GSM)"), FailureKind::Final);
    if (!validPin(pin))
        return session.fail(cp("PIN SIM-карты должен состоять из 4–8 цифр"), FailureKind::Final);
    const Line known = memory.Recalled(device);
    if (known.refusedPin && known.pinRefused == pin)
        return session.fail(cp("Этот PIN SIM-карта уже не приняла; повторно он не вводится"),
                            FailureKind::Final);
    const Answer given = channel.command("AT+CPIN=\"" + pin + "\"", ms, "AT+CPIN=***", pin);
    if (session.ok(given))
        return std::nullopt;
    if (given.end == Answer::End::Error) {
        memory.Remember(device, [&pin](Line& m) {
            m.refusedPin = true;
            m.pinRefused = pin;
        });
        host.SimPinRefused();
        return session.fail(cp("SIM-карта не приняла PIN; повторно он не вводится (три неверных PIN "
                               "блокируют SIM-карту)"),
                            FailureKind::Final);
    }
    return session.failAnswer(given, cp(" на PIN"));
}

} // namespace

std::u16string SmsMessageText(const std::vector<std::string>& lines, const std::string& signature)
{
    std::vector<std::string> all = lines;
    AppendSignature(all, signature);
    std::string text;
    for (const std::string& line : all) {
        if (line.empty())
            continue;
        text += line;
        if (line.back() != ' ')
            text += ' ';
    }
    if (!text.empty() && text.back() == ' ')
        text.pop_back();
    return toQString(text).toStdU16String();
}

std::string CmsErrorText(int code)
{
    const CmsText* t = findCms(code);
    const std::string tail = " (+CMS ERROR: " + std::to_string(code) + ")";
    if (t != nullptr)
        return cp("Сеть не приняла SMS: ") + cp(t->text) + tail;
    if (code == 500)
        return cp("Неизвестная ошибка модема GSM") + tail;
    return cp("Сеть или модем не приняли SMS") + tail;
}

FailureKind CmsErrorKind(int code)
{
    if (code == 500)
        return FailureKind::Passing;
    const CmsText* t = findCms(code);
    return t != nullptr ? t->kind : FailureKind::Final;
}

SmsOutcome SmsDialogue(SendHost& host, ModemMemory& memory, SerialLine& line, const std::string& device,
                       const sms::Submission& page)
{
    gsm::Channel channel(host, line);
    Session session(host, memory, channel, device, static_cast<int>(page.parts.size()));
    const GsmDeadlines times = host.Deadlines.gsm;

    if (memory.Recalled(device).inputOpen) {
        // ESC ends a PDU input the modem may still be in; whatever it answers, the reset follows.
        if (!channel.send("\x1B", "<ESC>", times.commandMs))
            return session.failAnswer({Answer::End::Gone, {}, {}}, " (<ESC>)");
        (void)channel.answer(times.commandMs);
        memory.Remember(device, [](Line& m) { m.inputOpen = false; });
    }
    if (memory.Recalled(device).resetDue) {
        // The modem stopped answering the last time: it starts again from its stored profile.
        if (const Answer a = channel.command("ATZ", times.commandMs); !session.ok(a))
            return session.failAnswer(a, " (ATZ)");
        memory.Remember(device, [](Line& m) { m.resetDue = false; });
    }
    for (const char* step : {"AT", "ATE0"}) {
        const Answer a = channel.command(step, times.commandMs);
        if (!session.ok(a))
            return session.failAnswer(a, std::string(" (") + step + ")");
    }
    if (const std::optional<SmsOutcome> refused = unlockSim(host, memory, channel, session, device))
        return *refused;
    if (const Answer a = channel.command("AT+CMGF=0", times.commandMs); !session.ok(a))
        return session.failAnswer(a, cp(" на включение режима PDU"));

    for (std::size_t i = 0; i < page.parts.size(); ++i) {
        const sms::Part& part = page.parts[i];
        const std::string command = "AT+CMGS=" + std::to_string(part.tpduLength);
        const Answer prompt = [&] {
            if (!channel.send(command + "\r", command, times.commandMs))
                return Answer{Answer::End::Gone, {}, {}};
            return channel.answer(times.commandMs, true);
        }();
        if (prompt.end == Answer::End::Silent || prompt.end == Answer::End::Gone)
            memory.Remember(device, [](Line& m) { m.inputOpen = true; });
        if (prompt.end != Answer::End::Prompt)
            return session.failAnswer(prompt, cp(" на ") + command);
        // The PDU is shown by its length only: the message text is never journaled.
        const bool written =
            channel.send(part.hex + "\x1A", cp("PDU (октетов: ") + std::to_string(part.tpduLength) + ")<SUB>",
                         times.commandMs);
        const Answer sent = written ? channel.answer(times.submitMs) : Answer{Answer::End::Gone, {}, {}};
        if (sent.end == Answer::End::Silent || sent.end == Answer::End::Gone) {
            memory.Remember(device, [](Line& m) { m.resetDue = true; });
            return session.fail(cp("Модем GSM не ответил на отправку части ") + std::to_string(i + 1) +
                                    cp(" из ") + std::to_string(page.parts.size()) +
                                    cp(", дошла ли она — неизвестно"),
                                FailureKind::Unknown);
        }
        if (!session.ok(sent))
            return session.failAnswer(sent, cp(" на отправку части"));
        if (sent.after("+CMGS:").empty())
            return session.fail(cp("Модем GSM ответил OK без +CMGS на отправку части ") +
                                    std::to_string(i + 1) + cp(" из ") + std::to_string(page.parts.size()) +
                                    cp(", дошла ли она — неизвестно"),
                                FailureKind::Unknown);
        ++session.outcome().partsSent;
    }
    session.outcome().state = SmsOutcome::State::Accepted;
    return session.outcome();
}

SmsOutcome SmsSending(SendHost& host, ModemMemory& memory, const TProvider& company,
                      const TSendParams& params, const std::vector<std::string>& lines)
{
    SmsOutcome outcome;
    const std::optional<std::string> phone = SmsPhoneFromPattern(company.TapPhone.str(), params.CurNumber);
    if (!phone) {
        ReportError(host, cp("Шаблон номера SMS ") + VisibleControls(company.TapPhone.str()) +
                              cp(" не даёт телефонного номера для ") + std::to_string(params.CurNumber));
        return outcome;
    }
    const bool signed_ = params.CurDigital == 0 && !host.SignatureBlocked();
    const std::u16string text = SmsMessageText(lines, signed_ ? host.Settings().ShortName : std::string());
    const Result<sms::Submission> page = sms::Encode(*phone, text, memory.NextReference());
    if (!page) {
        ReportError(host, page.failure().russian());
        return outcome;
    }
    const TSettings& settings = host.Settings();
    ReportStatus(host, cp("Открытие порта ") + VisibleControls(settings.GsmDevice) + "...");
    Result<SerialLine> opened =
        SerialLine::Open(settings.GsmDevice, settings.GsmSpeed, SerialLine::Frame::EightN1);
    if (!opened) {
        ReportError(host, VisibleControls(opened.failure().russian()));
        outcome.state = SmsOutcome::State::NoConnection;
        outcome.kind = FailureKind::Passing;
        return outcome;
    }
    SerialLine line = std::move(opened).value();
    return SmsDialogue(host, memory, line, settings.GsmDevice, page.value());
}

} // namespace zolbin
