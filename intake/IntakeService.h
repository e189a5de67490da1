// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages taken in from other systems while the outbox's background worker runs: the listeners that
// section "Intake" of the settings names (or this run's own addresses), the directory they resolve pager
// IDs through, and the sink that writes each page into the outbox. Everything lives on the thread that
// creates it and is served by that thread's event loop; nothing listens unless an address is given.

#include "directory/Settings.h"
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
    // The HTTP intake's "HOST:PORT", its bearer tokens' file, its certificate and key (section "Intake"):
    // for the HTTP listener, which is built on directory() and sink() as the SNPP one is.
    std::string http;
    std::string tokenFile;
    std::string certFile;
    std::string keyFile;
    int maxPagesPerMinute = 10;
    // Called before each page is looked at, to bring the session's lists up to date.
    std::function<void()> refreshDirectory;

    // Whether a listener this service opens is named (the SNPP one; the HTTP one joins it where start()
    // says).
    bool wanted() const { return !snpp.empty(); }
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

    // Opens the listeners the options name; a failure (an address that is no HOST:PORT, a users file
    // that cannot be used, a port that cannot be listened on) names the reason, and nothing listens then.
    Status start();
    bool listening() const { return snpp_ != nullptr; }
    std::uint16_t snppPort() const;

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

    private:
        OutboxSink sink_;
        const IntakeOptions& options_;
    };

    Session& session_;
    IntakeOptions options_;
    ListPagerDirectory directory_;
    RefreshingSink sink_;
    std::optional<SnppUsers> users_;
    std::unique_ptr<LineServer> snpp_;
};

} // namespace zolbin
