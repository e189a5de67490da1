// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The JSON of the HTTP intake's pages: a page asked for by POST /v1/pages, and a stored page's state as
// GET /v1/pages/ID gives it.
//
// A page: {"to": NAME} (a subscriber by name or pager number), {"group": NAME}, or {"number": DIGITS,
// "company": NAME}; "text" (line breaks "\n"); "defer" optional, the moment the page waits for: ISO 8601
// ("2026-12-09T18:30:00+03:00", "…Z", or without a zone this machine's time) or a number of minutes from
// now; "key" optional, the client's own key of the request (printable ASCII, at most 128 bytes), so that a
// retried request is one page.

#include "intake/PagerDirectory.h"
#include "platform/Text.h"
#include "records/Outbox.h"

#include <QDateTime>
#include <QJsonObject>
#include <optional>
#include <string>
#include <variant>

namespace zolbin {

struct PageRequest
{
    PagerTarget target;
    std::string text; // cp1251, lines joined by CR LF
    std::optional<QDateTime> holdUntil;
    std::string key;
};

// Why a request cannot be a page: the HTTP status, the error's code and what is told of it.
struct RequestFault
{
    int status = 400;
    const char* code = "bad_request";
    Text message;
};

std::variant<PageRequest, RequestFault>
ReadPageRequest(const QJsonObject& body, const PagerDirectory& directory, const QDateTime& now);

// The fields of `--list outbox`: id, state (queued, sending, sent, waiting, failed, unknown, cancelled),
// recipient, company, attempts, next_attempt (ISO 8601 UTC for a page that waits, else null), desk,
// worker, last_reply.
QJsonObject PageStatusJson(const OutboxPage& page);

} // namespace zolbin
