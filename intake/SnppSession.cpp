// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/SnppSession.h"

#include "intake/PageText.h"
#include "platform/Codepage.h"

#include <QStringDecoder>
#include <QTimeZone>
#include <algorithm>
#include <cctype>

namespace zolbin {

namespace {

constexpr const char* PagerAccepted = "250 Pager ID Accepted";
constexpr const char* InvalidPager = "550 Error, Invalid Pager ID";
constexpr const char* MessageOk = "250 Message OK";
constexpr const char* AlreadyEntered = "503 Error, Message Already Entered";
constexpr const char* InvalidMessage = "550 Error, Invalid Message: ";
constexpr const char* LoginRequired = "550 Error, Login Required";
constexpr const char* NotImplemented = "500 Command Not Implemented";

std::string upper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    return out;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool hasControls(std::string_view line)
{
    return std::any_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7F;
    });
}

} // namespace

std::optional<std::string> IncomingText(std::string_view bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        return std::string(bytes); // not UTF-8: the directory's code page
    for (const char32_t ch : text.toUcs4())
        if (!isCp1251Char(ch))
            return std::nullopt;
    return toCp1251(text);
}

std::optional<QDateTime> SnppHoldTime(std::string_view argument)
{
    const std::string_view text = trimmed(argument);
    const std::size_t blank = text.find(' ');
    const std::string_view stamp = text.substr(0, blank);
    const std::string_view zone =
        blank == std::string_view::npos ? std::string_view() : trimmed(text.substr(blank));
    const auto digits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (stamp.size() != 12 || !digits(stamp))
        return std::nullopt;
    const auto field = [&](std::size_t at) { return (stamp[at] - '0') * 10 + (stamp[at + 1] - '0'); };
    const QDate date(2000 + field(0), field(2), field(4));
    const QTime time(field(6), field(8), field(10));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    if (zone.empty())
        return QDateTime(date, time).toUTC(); // the server's local time
    const std::string_view offset = zone.substr(1);
    if ((zone[0] != '+' && zone[0] != '-') || !digits(offset) || offset.empty() || offset.size() > 4 ||
        offset.size() == 3)
        return std::nullopt;
    const int hours =
        offset.size() <= 2 ? std::stoi(std::string(offset)) : std::stoi(std::string(offset.substr(0, 2)));
    const int minutes = offset.size() == 4 ? std::stoi(std::string(offset.substr(2))) : 0;
    if (hours > 14 || minutes > 59)
        return std::nullopt;
    const int seconds = (zone[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60);
    return QDateTime(date, time, QTimeZone(seconds)).toUTC();
}

SnppSession::SnppSession(const PagerDirectory& directory, PageSink& sink, SnppClient client,
                         const SnppUsers* users)
    : directory_(directory), sink_(sink), client_(std::move(client)), users_(users)
{
}

std::string SnppSession::greeting() const
{
    return "220 SNPP Gateway Ready";
}

std::vector<std::string> SnppSession::feed(std::string_view line)
{
    if (finished_)
        return {};
    if (inData_) {
        std::string reply = dataLine(line);
        return reply.empty() ? std::vector<std::string>{} : std::vector<std::string>{reply};
    }
    line = trimmed(line);
    const std::size_t blank = line.find_first_of(" \t");
    const std::string verb = upper(line.substr(0, blank));
    const std::string_view argument =
        blank == std::string_view::npos ? std::string_view() : trimmed(line.substr(blank));
    // A command is known by its first four letters: "PAGE" and "PAGER" alike.
    std::vector<std::string> replies =
        command(verb.size() >= 4 ? std::string_view(verb).substr(0, 4) : verb, argument);
    if (!finished_ && errors_ >= MaxErrors) {
        replies.emplace_back("421 Too Many Errors, Goodbye");
        finished_ = true;
    }
    return replies;
}

std::vector<std::string> SnppSession::command(std::string_view verb, std::string_view argument)
{
    const bool mayPage = client_.loopback || !page_.login.empty();
    const bool paging = verb == "PAGE" || verb == "MESS" || verb == "DATA" || verb == "SUBJ" ||
                        verb == "HOLD" || verb == "SEND";
    if (paging && !mayPage)
        return {error(LoginRequired)};
    if (verb == "PAGE")
        return {page(argument)};
    if (verb == "MESS")
        return {message(std::string(argument))};
    if (verb == "DATA") {
        if (haveText_)
            return {error(AlreadyEntered)};
        inData_ = true;
        data_.clear();
        return {"354 Begin Input; End with <CRLF>'.'<CRLF>"};
    }
    if (verb == "SUBJ") {
        const std::optional<std::string> subject = IncomingText(argument);
        if (!subject || hasControls(*subject))
            return {error(std::string(InvalidMessage) + cp("тема не в кодировке cp1251 или UTF-8"))};
        page_.subject = *subject;
        return {"250 Message Subject OK"};
    }
    if (verb == "HOLD")
        return {hold(argument)};
    if (verb == "RESE") {
        reset();
        return {"250 RESET OK"};
    }
    if (verb == "SEND")
        return {send()};
    if (verb == "LOGI")
        return {login(argument)};
    if (verb == "QUIT") {
        finished_ = true;
        return {"221 OK, Goodbye"};
    }
    if (verb == "HELP")
        return {"214 PAGEr <pager ID: number or name>",
                "214 MESSage <text>",
                "214 DATA (text lines, ended by a line with a single '.')",
                "214 SUBJect <subject>",
                "214 HOLDuntil <YYMMDDHHMMSS> [+/-GMT difference]",
                "214 LOGIn <user> <password>",
                "214 RESEt",
                "214 SEND",
                "214 QUIT",
                "250 End of Help Information"};
    return {error(NotImplemented)};
}

std::string SnppSession::error(std::string reply)
{
    ++errors_;
    return reply;
}

std::string SnppSession::refusal(const std::string& text, const PagerTarget& target) const
{
    const std::optional<Text> why = TextRefusal(text, target);
    return why ? why->russian() : std::string();
}

std::optional<PagerTarget> SnppSession::target(std::string_view argument) const
{
    // "PAGEr <pager ID> [password]": a name may hold blanks, so the whole argument is tried first, then
    // its first word with a password after it (which this gateway does not ask for).
    const std::optional<std::string> whole = IncomingText(argument);
    if (!whole || whole->empty())
        return std::nullopt;
    if (std::optional<PagerTarget> found = directory_.find(*whole))
        return found;
    const std::size_t blank = whole->find(' ');
    if (blank == std::string::npos)
        return std::nullopt;
    return directory_.find(whole->substr(0, blank));
}

std::string SnppSession::page(std::string_view argument)
{
    const std::optional<PagerTarget> target = this->target(argument);
    if (!target)
        return error(InvalidPager);
    if (page_.recipients.size() >= MaxPagers)
        return error("552 Maximum Entries Exceeded");
    if (haveText_)
        if (const std::string why = refusal(page_.text, *target); !why.empty())
            return error(std::string(InvalidMessage) + why);
    const bool known =
        std::any_of(page_.recipients.begin(), page_.recipients.end(),
                    [&](const PagerTarget& t) { return t.kind == target->kind && t.name == target->name; });
    if (!known)
        page_.recipients.push_back(*target);
    return PagerAccepted;
}

std::string SnppSession::message(std::string raw)
{
    if (haveText_)
        return error(AlreadyEntered);
    const std::optional<std::string> text = IncomingText(raw);
    if (!text)
        return error(std::string(InvalidMessage) + cp("символ, которого нет в кодировке cp1251"));
    if (const std::optional<Text> fault = TextFault(*text))
        return error(std::string(InvalidMessage) + fault->russian());
    for (const PagerTarget& target : page_.recipients)
        if (const std::string why = refusal(*text, target); !why.empty())
            return error(std::string(InvalidMessage) + why);
    page_.text = *text;
    haveText_ = true;
    return MessageOk;
}

std::string SnppSession::dataLine(std::string_view line)
{
    if (line == ".") {
        inData_ = false;
        std::string text = std::move(data_);
        data_.clear();
        while (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
            text.resize(text.size() - 2); // the text ends with its last line, not with empty ones
        return message(std::move(text));
    }
    if (line.size() > 1 && line.front() == '.')
        line.remove_prefix(1); // a line beginning with "." comes doubled
    if (data_.size() <= MaxText) {
        if (!data_.empty())
            data_ += "\r\n";
        data_.append(line); // a text over the limit is refused when it ends
    }
    return {};
}

std::string SnppSession::hold(std::string_view argument)
{
    const std::optional<QDateTime> until = SnppHoldTime(argument);
    if (!until)
        return error("550 Error, Invalid Delivery Date/Time");
    page_.holdUntil = until;
    return "250 Delayed Messaging Selected";
}

std::string SnppSession::login(std::string_view argument)
{
    const std::string_view user = argument.substr(0, argument.find(' '));
    const std::string_view password =
        user.size() < argument.size() ? trimmed(argument.substr(user.size())) : std::string_view();
    if (user.empty() || users_ == nullptr || !users_->accepts(std::string(user), std::string(password)))
        return error("550 Error, Invalid Login");
    page_.login = std::string(user);
    return "250 Login Accepted";
}

std::string SnppSession::send()
{
    if (page_.recipients.empty() || !haveText_)
        return error("503 Error, Pager ID or Message Incomplete");
    page_.via = "SNPP";
    page_.from = client_.address;
    const SinkAnswer answer = sink_.store(page_);
    if (answer.kind == SinkAnswer::Kind::TryLater) {
        finished_ = true;
        return "421 Gateway Service Unavailable, try later: " + answer.reason;
    }
    if (answer.kind == SinkAnswer::Kind::Refused)
        return error("554 Error, failed: " + answer.reason);
    reset();
    return "250 Message Sent Successfully";
}

void SnppSession::reset()
{
    const std::string login = page_.login;
    page_ = IncomingPage{};
    page_.login = login; // a login holds for the session
    haveText_ = false;
    inData_ = false;
    data_.clear();
}

} // namespace zolbin
