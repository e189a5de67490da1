// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a page taken in goes: the listeners (SNPP, HTTP) hand each complete page to a PageSink, which
// stores it whole or not at all, and answer their client only after it said.

#include "intake/PagerDirectory.h"

#include <QDateTime>
#include <optional>
#include <string>
#include <vector>

namespace zolbin {

// A page as a listener hands it on.
struct IncomingPage
{
    std::vector<PagerTarget> recipients; // in the order given, each once
    std::string text;                    // cp1251, lines joined by CR LF
    std::string subject;                 // cp1251; empty when none was given
    std::optional<QDateTime> holdUntil;  // UTC; the page waits in the outbox until then
    std::string via;                     // how it came: "SNPP" or "HTTP"
    std::string from;                    // the client's address
    std::string login;                   // the LOGIn user, or what the HTTP client is (e.g. "alertmanager")
    std::string key;                     // the client's own key of the request: a retry with it is one page
};

// What the sink says of a page.
struct SinkAnswer
{
    enum class Kind
    {
        Stored,   // written: the page will go
        TryLater, // not written, a passing trouble (the outbox busy or unreachable)
        Refused   // not written, for good
    };
    Kind kind = Kind::Stored;
    std::string reason; // cp1251, for the reply
    // Stored: the outbox's ids of the page's pages (texts, as --list outbox shows them), one per
    // recipient's page in the order they are served.
    std::vector<std::string> pageIds;
    bool limited = false; // Refused: the recipient had his pages per minute already
};

class PageSink
{
public:
    virtual ~PageSink() = default;
    // Stores the whole page or nothing of it.
    virtual SinkAnswer store(const IncomingPage& page) = 0;
    // The pages taken in at the same moment, one answer each in their order: each page stored whole or not
    // at all. A sink may write them in one transaction (one disk sync for all); by default one by one.
    virtual std::vector<SinkAnswer> storeAll(const std::vector<IncomingPage>& pages)
    {
        std::vector<SinkAnswer> answers;
        answers.reserve(pages.size());
        for (const IncomingPage& page : pages)
            answers.push_back(store(page));
        return answers;
    }
};

} // namespace zolbin
