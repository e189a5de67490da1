// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Outbox.h"

#include <QUuid>

namespace zolbin {

OutboxPage NewOutboxPage(const TSendParams& params, const std::vector<std::string>& lines,
                         const std::string& text, bool signatureBlocked, std::int64_t nowMs)
{
    OutboxPage page;
    page.batch = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
    page.createdMs = nowMs;
    page.params = params;
    page.lines = lines;
    page.text = text;
    page.signatureBlocked = signatureBlocked;
    page.nextAttemptMs = nowMs;
    return page;
}

Result<std::optional<std::string>> ResendAsNewPage(Outbox& outbox, const std::string& id, std::int64_t nowMs)
{
    const Result<std::optional<OutboxPage>> found = outbox.Page(id);
    if (!found)
        return found.failure();
    if (!found.value() ||
        (found.value()->state != PageState::Failed && found.value()->state != PageState::Cancelled))
        return std::optional<std::string>{};
    const OutboxPage& old = *found.value();
    OutboxPage page = NewOutboxPage(old.params, old.lines, old.text, old.signatureBlocked, nowMs);
    page.deadlineMs = old.deadlineMs > 0 ? nowMs + (old.deadlineMs - old.createdMs) : 0;
    std::vector<OutboxPage> pages{std::move(page)};
    if (Status added = outbox.Add(pages); !added)
        return added.failure();
    return std::optional<std::string>{pages.front().id};
}

} // namespace zolbin
