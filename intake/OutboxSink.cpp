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

#include <algorithm>

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

bool PageRate::allows(const std::string& recipient, int more)
{
    if (limit_ <= 0)
        return true;
    const auto it = sent_.find(recipient);
    if (it == sent_.end())
        return more < limit_;
    const auto minuteAgo = clock_() - std::chrono::minutes(1);
    while (!it->second.empty() && it->second.front() <= minuteAgo)
        it->second.pop_front();
    const std::size_t sent = it->second.size();
    if (sent == 0)
        sent_.erase(it);
    return sent + static_cast<std::size_t>(std::max(more, 0)) < static_cast<std::size_t>(limit_);
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
    return storeAll({page}).front();
}

std::optional<SinkAnswer> OutboxSink::check(const IncomingPage& page, Outbox& box, TakenInPage& taken)
{
    if (page.recipients.empty())
        return refuse(page, tx("Intake", "не указан получатель"));
    if (page.text.empty())
        return refuse(page, tx("Intake", "Необходимо набрать текст сообщения"));
    taken.takenIn = TakenIn{page.key.empty() ? std::string() : page.via + " " + page.login + " " + page.key,
                            page.holdUntil ? std::optional<std::int64_t>(page.holdUntil->toMSecsSinceEpoch())
                                           : std::nullopt};
    if (!page.key.empty()) {
        const Result<std::vector<std::string>> earlier = box.PagesOfKey(taken.takenIn.key, NowMs() - DayMs);
        if (!earlier)
            return later(earlier.failure());
        if (!earlier.value().empty())
            return SinkAnswer{SinkAnswer::Kind::Stored, {}, earlier.value(), false};
    }

    const TSettings& settings = session_.settings;
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
        taken.orders.push_back(std::move(order));
    }
    return std::nullopt;
}

std::vector<SinkAnswer> OutboxSink::storeAll(const std::vector<IncomingPage>& pages)
{
    std::vector<SinkAnswer> answers(pages.size());
    const Result<Outbox*> box = outbox();
    if (!box) {
        std::fill(answers.begin(), answers.end(), later(box.failure()));
        return answers;
    }
    // Each page is looked at whole before anything is written; those that pass are written together.
    std::vector<TakenInPage> taken;
    std::vector<std::size_t> whose;           // the page of each one taken
    std::map<std::string, int> counted;       // each recipient's pages taken in this batch
    std::map<std::string, std::size_t> keyed; // a request's key: the page of the batch that has it first
    std::vector<std::pair<std::size_t, std::size_t>>
        repeats; // a page given again in the batch, and the first
    bool trouble = false;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const IncomingPage& page = pages[i];
        TakenInPage one;
        if (std::optional<SinkAnswer> answer = check(page, *box.value(), one)) {
            trouble = trouble || answer->kind == SinkAnswer::Kind::TryLater;
            answers[i] = std::move(*answer);
            continue;
        }
        if (!one.takenIn.key.empty()) {
            if (const auto first = keyed.find(one.takenIn.key); first != keyed.end()) {
                repeats.emplace_back(i, first->second);
                continue;
            }
        }
        const auto over =
            std::find_if(page.recipients.begin(), page.recipients.end(), [&](const auto& target) {
                return !rate_.allows(rateKey(target), counted[rateKey(target)]);
            });
        if (over != page.recipients.end()) {
            answers[i] = refuse(page,
                                tx("Intake", "%1: больше %2 сообщений в минуту, сообщение не принято")
                                    .arg(who(*over))
                                    .arg(rate_.limit()),
                                true);
            continue;
        }
        for (const PagerTarget& target : page.recipients)
            ++counted[rateKey(target)];
        if (!one.takenIn.key.empty())
            keyed.emplace(one.takenIn.key, i);
        taken.push_back(std::move(one));
        whose.push_back(i);
    }

    if (!taken.empty()) {
        const Result<std::vector<std::vector<std::string>>> ids =
            EnqueueTakenIn(taken, *box.value(), session_.settings.RetryMinutes, NowMs());
        for (std::size_t k = 0; k < whose.size(); ++k) {
            const IncomingPage& page = pages[whose[k]];
            if (!ids) {
                answers[whose[k]] = later(ids.failure());
                continue;
            }
            for (const PagerTarget& target : page.recipients)
                rate_.count(rateKey(target));
            // The page stands whatever befalls its line: the journal's failure shows again at its send.
            if (session_.journal.EnsureExists())
                (void)session_.journal.WriteLine(JournalLine(page));
            answers[whose[k]] = SinkAnswer{SinkAnswer::Kind::Stored, {}, ids.value()[k], false};
        }
        trouble = trouble || !ids;
    }
    for (const auto& [repeat, first] : repeats)
        answers[repeat] = answers[first];
    if (trouble)
        outbox_.reset(); // opened again for the next page: the server may be back by then
    return answers;
}

SinkAnswer OutboxSink::later(const Failure& failure) const
{
    return SinkAnswer{SinkAnswer::Kind::TryLater, failure.russian(), {}, false};
}

Result<std::optional<OutboxPage>> OutboxSink::page(const std::string& id)
{
    const Result<Outbox*> box = outbox();
    if (!box)
        return box.failure();
    Result<std::optional<OutboxPage>> found = box.value()->Page(id);
    if (!found)
        outbox_.reset();
    return found;
}

bool OutboxSink::reachable()
{
    const Result<Outbox*> box = outbox();
    if (!box)
        return false;
    if (box.value()->Away() || !box.value()->Unfinished()) {
        outbox_.reset();
        return false;
    }
    return true;
}

} // namespace zolbin
