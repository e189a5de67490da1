// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages taken in from other systems while the outbox's background worker runs: the listeners that
// section "Intake" of the settings names (or this run's own addresses), the directory they resolve pager
// IDs through, and the sink that writes each page into the outbox. Everything lives on the thread that
// creates it and is served by that thread's event loop; nothing listens unless an address is given.

#include "directory/Settings.h"
#include "intake/HttpIntake.h"
#include "intake/OutboxSink.h"
#include "intake/PagerDirectory.h"
#include "intake/SnppUsers.h"
#include "platform/LineServer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zolbin {

struct Session;

// "HOST:PORT" ("[::1]:PORT" for an IPv6 host; "PORT" alone is 127.0.0.1).
struct ListenAddress
{
    std::string host;
    std::uint16_t port = 0;
};
std::optional<ListenAddress> ParseListenAddress(const std::string& text);

struct IntakeOptions
{
    std::string snpp;          // "HOST:PORT" of the SNPP listener; empty: none
    std::string snppUsersFile; // the users a client from another host logs in as
    // The HTTP intake's "HOST:PORT" (empty: none), its bearer tokens' file, its certificate and key.
    std::string http;
    std::string tokenFile;
    std::string certFile;
    std::string keyFile;
    int maxPagesPerMinute = 10;
    // Called before each page is looked at, to bring the session's lists up to date.
    std::function<void()> refreshDirectory;

    // Whether a listener this service opens is named.
    bool wanted() const { return !snpp.empty() || !http.empty(); }
};

// The settings' section "Intake" as options.
IntakeOptions IntakeOptionsOf(const TSettings& settings);

class IntakeService final
{
public:
    // The session (its lists, settings, journal and folder) outlives the service.
    IntakeService(Session& session, IntakeOptions options);
    ~IntakeService();
    IntakeService(const IntakeService&) = delete;
    IntakeService& operator=(const IntakeService&) = delete;

    // Opens the listeners the options name; a failure (an address that is no HOST:PORT, a users or
    // tokens file that cannot be used, a port that cannot be listened on, another host than this
    // machine's without tokens) names the reason, and nothing listens then.
    Status start();
    bool listening() const { return snpp_ != nullptr || http_ != nullptr; }
    std::uint16_t snppPort() const;
    std::uint16_t httpPort() const;

    // What a listener of another protocol (the HTTP intake) is built on: the same directory and sink.
    const PagerDirectory& directory() const { return directory_; }
    PageSink& sink() { return sink_; }

private:
    // Brings the lists up to date before the sink looks at a page.
    class RefreshingSink final : public PageSink
    {
    public:
        RefreshingSink(Session& session, const IntakeOptions& options);
        SinkAnswer store(const IncomingPage& page) override;
        std::vector<SinkAnswer> storeAll(const std::vector<IncomingPage>& pages) override;
        OutboxSink& outbox() { return sink_; }

    private:
        OutboxSink sink_;
        const IntakeOptions& options_;
    };

    Status startSnpp();
    Status startHttp();

    Session& session_;
    IntakeOptions options_;
    ListPagerDirectory directory_;
    RefreshingSink sink_;
    std::optional<SnppUsers> users_;
    std::unique_ptr<LineServer> snpp_;
    std::unique_ptr<HttpIntake> http_;
};

} // namespace zolbin
