// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Send command: hands the editor's message to the current subscriber, or to every member of the
// current group, through each one's paging company, and records the outcome.

#include "directory/Lists.h"
#include "directory/SendParams.h"
#include "dispatch/ModemMemory.h"
#include "platform/Net.h"
#include "platform/Result.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace zolbin {

class PageLedger;
class SendHost;

enum class SendOutcome
{
    Refused,   // no recipient or no text: a message was shown, nothing else happened
    Completed, // every subscriber was served (or skipped by the operator): the clean-up ran
    Stopped    // a failure stopped the command: nothing was cleaned up
};

class SendCommand final
{
public:
    SendCommand(SendHost& host, TSendParams& params, std::int16_t curGroup, const TGroupList& groups,
                const TProviderList& providers);

    SendOutcome Run();

    // The message a Send is refused with before anything else happens (no recipient, no text), or
    // nothing. The window asks it before it hands the page to a job.
    static std::optional<Text> RefusalText(const TSendParams& params, std::int16_t curGroup,
                                           const std::string& text);

    // Set from any thread: the group members not yet started are not served, each journaled as
    // cancelled; a member in the middle of its dialogue finishes first.
    void SetCancelFlag(const std::atomic<bool>* cancelled) { cancelled_ = cancelled; }
    // The outbox's ledger of the command's pages: each recipient's page is claimed before its first byte
    // and its outcome recorded; a page that failed for a passing reason waits there for its retry, and a
    // group then goes on without asking. Without a ledger the command works as it always did.
    void SetLedger(PageLedger* ledger) { ledger_ = ledger; }
    // What the command's owner remembers of the GSM modems from one command to the next. Without it the
    // command remembers for itself, from one member of a group to the next.
    void SetModemMemory(ModemMemory* memory) { modems_ = memory; }

    // True when the last Run met a file error (the journal or an archive could not be written). It was
    // shown on its own; pages the servers accepted still count as sent.
    bool FileErrorSeen() const { return fileError_; }
    // True when the last Run failed at least one subscriber's page (not sent, or skipped after a failure).
    bool PageFailed() const { return pageFailed_; }

private:
    enum class Served
    {
        Sent,
        Skipped, // a group member the operator chose to skip
        Stop
    };
    Served serveSubscriber();
    Served failSubscriber(const Text& messageForOne, const Text& promptPrefix, bool stopsGroup);
    Served failConnection();
    // The recipient's page in the outbox: claimed before anything is sent (false: not ours to send, or
    // the outbox failed and the command stops), served, its outcome recorded.
    std::optional<Served> claimPage();
    Served serveRecorded();
    // The failed page's retry time, when the outbox will try it again.
    std::optional<std::int64_t> retryLater(const std::string& reply);
    void closeLedger(bool withdrawn, const std::string& reason);
    // One TAP subscriber: its own session with the company's terminal, then the shared outcome.
    Served serveTap(const TProvider& company);
    // One WCTP subscriber: a request per sending with its hold time (SendCommandWctp.cpp).
    Served serveWctp(const TProvider& company, const std::array<std::string, 3>& holds);
    Served serveSms(const TProvider& company); // in SendSms.cpp
    Served notConnected();
    Served notAccepted();
    void archivePage();
    SendOutcome serveAll();
    // Ends the whole command with the failure, shown once it is over.
    Served stopCommand(Failure failure);
    bool journalFailed() const;
    Failure journalFailure() const;
    void reportOutcome(const std::string& text);
    void appendRetryNote();
    bool cancelled() const { return cancelled_ != nullptr && cancelled_->load(); }

    SendHost& host_;
    TSendParams& params_;
    std::int16_t curGroup_;
    const TGroupList& groups_;
    const TProviderList& providers_;
    std::string savedDeferDate_;
    std::vector<std::string> lines_;
    bool fileError_ = false;
    bool pageFailed_ = false;
    std::optional<Failure> stop_;
    // Why a group stopped at a member it cannot serve: the members it never reached failed for it.
    std::optional<std::string> groupStopped_;
    const std::atomic<bool>* cancelled_ = nullptr;
    PageLedger* ledger_ = nullptr;
    ModemMemory ownModems_;
    ModemMemory* modems_ = nullptr;
    net::Sockets sockets_;      // the SNPP and SMTP connections' sockets, closed when the command ends
    int recipient_ = 0;         // the recipient being served, from 0
    bool acceptedOnce_ = false; // a sending of this recipient's page was accepted already
    std::string retryNote_;     // the retry line the failed page's outcome ends with (retries on only)
};

} // namespace zolbin
