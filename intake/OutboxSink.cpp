// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/OutboxSink.h"

#include "directory/TextChecks.h"
#include "dispatch/OutboxLedger.h"
#include "dispatch/OutboxOrders.h"
#include "dispatch/Recipient.h"
#include "dispatch/RecipientChecks.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"
#include "records/OutboxLocks.h"
#include "records/Session.h"

namespace zolbin {

namespace {

constexpr std::int64_t DayMs = 24LL * 60 * 60 * 1000;

// The recipient as the journal names him, cp1251.
std::string journalWho(const PagerTarget& target)
{
    switch (target.kind) {
    case PagerTarget::Kind::Group:
        return cp("группа «") + VisibleControls(target.name) + cp("»");
    case PagerTarget::Kind::Number:
        return cp("номер ") + VisibleControls(target.name) + cp(" через «") +
               VisibleControls(target.company) + cp("»");
    case PagerTarget::Kind::Subscriber:
        break;
    }
    return cp("абонент «") + VisibleControls(target.name) + cp("»");
}

// The recipient as a refusal names him.
Text who(const PagerTarget& target)
{
    switch (target.kind) {
    case PagerTarget::Kind::Group:
        return tx("Intake", "группа «%1»").arg(VisibleControls(target.name));
    case PagerTarget::Kind::Number:
        return tx("Intake", "номер %1 через «%2»")
            .arg(VisibleControls(target.name))
            .arg(VisibleControls(target.company));
    case PagerTarget::Kind::Subscriber:
        break;
    }
    return SubscriberWho(target.name);
}

// Whom the rate of pages counts: the recipient as named.
std::string rateKey(const PagerTarget& target)
{
    return std::to_string(static_cast<int>(target.kind)) + ":" + UpperCaseText(target.name) + ":" +
           UpperCaseText(target.company);
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(text.substr(from, end - from));
    lines.push_back(text.substr(from));
    return lines;
}

} // namespace

PageRate::PageRate(int limit, Clock clock) : limit_(limit), clock_(std::move(clock)) {}

bool PageRate::allows(const std::string& recipient)
{
    if (limit_ <= 0)
        return true;
    const auto it = sent_.find(recipient);
    if (it == sent_.end())
        return true;
    const auto minuteAgo = clock_() - std::chrono::minutes(1);
    while (!it->second.empty() && it->second.front() <= minuteAgo)
        it->second.pop_front();
    if (it->second.empty()) {
        sent_.erase(it);
        return true;
    }
    return it->second.size() < static_cast<std::size_t>(limit_);
}

void PageRate::count(const std::string& recipient)
{
    if (limit_ > 0)
        sent_[recipient].push_back(clock_());
}

OutboxSink::OutboxSink(Session& session, int maxPagesPerMinute) : session_(session), rate_(maxPagesPerMinute)
{
}

OutboxSink::~OutboxSink() = default;

std::string OutboxSink::JournalLine(const IncomingPage& page)
{
    std::string line =
        cp("Принято по ") + VisibleControls(page.via) + cp(" от ") + VisibleControls(page.from);
    if (!page.login.empty())
        line += " (" + VisibleControls(page.login) + ")";
    line += ":";
    for (std::size_t i = 0; i < page.recipients.size(); ++i)
        line += (i == 0 ? " " : ", ") + journalWho(page.recipients[i]);
    return line;
}

Result<Outbox*> OutboxSink::outbox()
{
    if (!outbox_) {
        Result<std::unique_ptr<Outbox>> opened = OpenOutbox(PlaceOf(session_.settings, session_.folder));
        if (!opened)
            return opened.failure();
        outbox_ = std::move(opened.value());
    }
    return outbox_.get();
}

SinkAnswer OutboxSink::refuse(const IncomingPage& page, const Text& reason, bool limited)
{
    // The refusal is told where the pages taken in are told: "Принято" becomes "Отклонено".
    const std::string accepted = JournalLine(page);
    const std::string line =
        cp("Отклонено") + accepted.substr(cp("Принято").size()) + ": " + reason.russian();
    if (session_.journal.EnsureExists())
        (void)session_.journal.WriteLine(line);
    SinkAnswer answer;
    answer.kind = SinkAnswer::Kind::Refused;
    answer.reason = reason.russian();
    answer.limited = limited;
    return answer;
}

SinkAnswer OutboxSink::store(const IncomingPage& page)
{
    if (page.recipients.empty())
        return refuse(page, tx("Intake", "не указан получатель"));
    if (page.text.empty())
        return refuse(page, tx("Intake", "Необходимо набрать текст сообщения"));
    const Result<Outbox*> box = outbox();
    if (!box)
        return {SinkAnswer::Kind::TryLater, box.failure().russian(), {}, {}, false};
    const TakenIn takenIn{page.key.empty() ? std::string() : page.via + " " + page.login + " " + page.key,
                          page.holdUntil ? std::optional<std::int64_t>(page.holdUntil->toMSecsSinceEpoch())
                                         : std::nullopt};
    if (!page.key.empty()) {
        const Result<std::vector<std::string>> earlier =
            box.value()->PagesOfKey(takenIn.key, NowMs() - DayMs);
        if (!earlier) {
            outbox_.reset();
            return {SinkAnswer::Kind::TryLater, earlier.failure().russian(), {}, {}, false};
        }
        if (!earlier.value().empty())
            return {SinkAnswer::Kind::Stored, {}, {}, earlier.value(), false};
    }

    const TSettings& settings = session_.settings;
    std::vector<SendOrder> orders;
    for (const PagerTarget& target : page.recipients) {
        TSendParams params;
        std::int16_t curGroup = -1;
        Text refusal;
        if (target.kind == PagerTarget::Kind::Subscriber) {
            const int index = session_.abonents.IndexOfNameAnyCase(target.name);
            if (index < 0)
                return refuse(page, tx("Intake", "%1 нет в справочнике").arg(who(target)));
            const TAbonent& abonent = *session_.abonents.Items(index);
            ChooseSubscriber(params, abonent);
            refusal = SubscriberRefusal(abonent, page.text, session_.providers, settings);
            if (refusal.empty())
                refusal = LengthRefusal(static_cast<std::int32_t>(page.text.size()), abonent.MsgLen);
        } else if (target.kind == PagerTarget::Kind::Group) {
            const int index = session_.groups.IndexOfNameAnyCase(target.name);
            if (index < 0)
                return refuse(page, tx("Intake", "%1 нет в справочнике").arg(who(target)));
            const TGroup& group = *session_.groups.Items(index);
            curGroup = static_cast<std::int16_t>(index);
            refusal = GroupRefusal(group, page.text, session_.providers, settings);
            if (refusal.empty())
                refusal = LengthRefusal(static_cast<std::int32_t>(page.text.size()), GroupMaxLen(group));
        } else {
            std::int32_t number = 0;
            if (!TryStrToInt(target.name, number) || number == 0)
                return refuse(page,
                              tx("Intake", "неверный номер пейджера «%1»").arg(VisibleControls(target.name)));
            const int company = session_.providers.IndexOfNameAnyCase(target.company);
            if (company < 0)
                return refuse(page, tx("Intake", "пейдж. компания «%1» не найдена в справочнике")
                                        .arg(VisibleControls(target.company)));
            params.CurNumber = number;
            params.CurProvider = session_.providers.Items(company)->Name.str();
            params.CurMaxLen = 240;
            refusal = CompanyRefusal(NumberWho(number), params.CurProvider, session_.providers, settings);
            if (refusal.empty())
                refusal = LengthRefusal(static_cast<std::int32_t>(page.text.size()), params.CurMaxLen);
        }
        if (!refusal.empty())
            return refuse(page, refusal);
        SendOrder order = TakeOrder(session_.folder, params, curGroup, session_.groups, session_.providers);
        order.lines = linesOf(page.text);
        order.text = page.text;
        order.outboxPlace = PlaceOf(settings, session_.folder);
        orders.push_back(std::move(order));
    }
    for (const PagerTarget& target : page.recipients)
        if (!rate_.allows(rateKey(target)))
            return refuse(page,
                          tx("Intake", "%1: больше %2 сообщений в минуту, сообщение не принято")
                              .arg(who(target))
                              .arg(rate_.limit()),
                          true);

    const Result<std::vector<std::string>> ids =
        EnqueueTakenIn(orders, *box.value(), takenIn, settings.RetryMinutes, NowMs());
    if (!ids) {
        outbox_.reset(); // opened again for the next page: the server may be back by then
        return {SinkAnswer::Kind::TryLater, ids.failure().russian(), {}, {}, false};
    }
    for (const PagerTarget& target : page.recipients)
        rate_.count(rateKey(target));
    // The page stands whatever befalls its line: the journal's failure shows again at its send.
    if (session_.journal.EnsureExists())
        (void)session_.journal.WriteLine(JournalLine(page));
    return {SinkAnswer::Kind::Stored, {}, {}, ids.value(), false};
}

} // namespace zolbin
