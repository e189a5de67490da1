// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A send that runs off the window's thread. Pressing Send takes a SendOrder: the recipient with its
// service settings, copies of the group's members and of the companies (the directory may change while
// the page goes), the settings, the signature toggle and the message. The job runs the send command on
// that order on a worker thread of its own, whose waits block under their deadlines, and tells its owner
// every status text, beep, message, question, group member and the outcome by queued signals. A message
// or the group question holds the job until the owner answers it (answer()).

#include "directory/Lists.h"
#include "directory/SendParams.h"
#include "directory/Settings.h"
#include "dispatch/PageLedger.h"
#include "dispatch/SendCommand.h"
#include "dispatch/SendHost.h"
#include "records/Journal.h"
#include "records/OutboxLocks.h"

#include <QByteArray>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class QThread;

namespace zolbin {

struct SendOrder final
{
    // An order of the data folder, its journal that folder's.
    explicit SendOrder(const DataFolder& dataFolder) : journal(dataFolder), folder(dataFolder) {}

    TSendParams params;
    std::int16_t curGroup = -1; // 0 when the page goes to the one group in `groups`
    TGroupList groups;          // the group with copies of its members; empty for one subscriber
    TProviderList providers;    // copies of every company
    TSettings settings;
    TJournal journal;
    DataFolder folder; // where the archives, the outbox and the code tables are
    bool signatureBlocked = false;
    std::vector<std::string> lines; // the editor's lines as displayed (cp1251)
    std::string text;               // the editor's whole text (cp1251)
    // The SMTP login's password, asked on the job's thread once, when a login first needs it.
    std::function<std::string()> smtpPassword;
    // The SIM's PIN, asked on the job's thread once, when a modem first wants it; and what is to be done
    // when the SIM refused it (it is never given again).
    std::function<std::string()> simPin;
    std::function<void()> simPinRefused;
    // What the owner remembers of the GSM modems from one send to the next (none: the send alone).
    std::shared_ptr<ModemMemory> modems;
    // The deadlines of the send's waits on the job's thread (runWith: the host's own apply).
    SendDeadlines deadlines;
    // The outbox's pages of this send (one per recipient), claimed and recorded as the send goes; none
    // for a send without the outbox.
    std::shared_ptr<PageLedger> ledger;
    std::vector<std::string> pageIds; // the outbox's ids of those pages
    // Those of gates this machine does not send: written due for the workers that do, passed over here.
    std::vector<std::string> othersPageIds;
    // The outbox they are in: a shared database when it names one, else the folder's "Outbox.db".
    OutboxPlace outboxPlace;
    // A retry that runs with nobody at the window: its messages are not shown (the journal and the
    // outbox keep them) and nothing is asked.
    bool unattended = false;

    // The group's members; 0 for one subscriber.
    int memberCount() const;
};

// The order of the data folder for the recipient and the lists as they are now; the rest is filled by
// the caller.
SendOrder TakeOrder(const DataFolder& folder, const TSendParams& params, std::int16_t curGroup,
                    const TGroupList& groups, const TProviderList& providers);

class SendJob final : public QObject, private SendHost
{
    Q_OBJECT
public:
    explicit SendJob(SendOrder order, QObject* parent = nullptr);
    // Cancels, lets a held job go on (a question left unanswered counts as No) and waits for its thread.
    ~SendJob() override;
    SendJob(const SendJob&) = delete;
    SendJob& operator=(const SendJob&) = delete;

    // Starts the send on the worker thread.
    void start();
    // Runs the send on the calling thread for a host of its own, which is told everything directly and
    // answers itself (zolbin-send, which has no window to keep free): the order gives the recipient, the
    // members and the companies, the host the settings, the journal, the message and the deadlines. No
    // signal is emitted.
    SendOutcome runWith(SendHost& host);
    // From any thread: the members not yet started are not served (journaled as cancelled).
    void cancel() { cancelled_ = true; }
    bool cancelRequested() const { return cancelled_; }
    // The owner's answer to the message or question that holds the job (a message takes any answer).
    void answer(bool yes);

    // The recipient and service settings as Send took them (the order's own change while the job runs).
    const TSendParams& takenParams() const { return taken_; }
    // The editor's text as Send took it.
    const std::string& takenText() const { return order_.text; }
    // After finished() (or runWith()): the outcome, and as SendCommand tells them, whether a file error
    // was met and whether a page failed.
    SendOutcome outcome() const { return outcome_; }
    bool fileErrorSeen() const { return fileErrorSeen_; }
    bool pageFailed() const { return pageFailed_; }

signals:
    // cp1251: the journal's lines, and the notes in the interface's language.
    void statusText(const QByteArray& text);
    void beep();
    // Shown by the owner (worded in the interface's language), then answer() lets the job go on.
    void message(const QString& text, int notice);
    // The group question: answer(true) goes on with the next member.
    void question(const QString& text);
    void memberStarted(int number, int count, const QByteArray& name);
    // The send was complete: the owner's part of the clean-up is due.
    void completed();
    // The last text shown is to stay 2000 ms and then go.
    void ended();
    void finished();

private:
    void run();
    bool waitForAnswer();

    // SendHost, on the worker thread.
    void SetStatusText(const std::string& text) override;
    void Pause(unsigned ms) override;
    void Beep() override { emit beep(); }
    void SetStatusNote(const Text& text) override;
    void ShowMessage(const Text& text, Notice notice) override;
    bool AskToContinue(const Text& question) override;
    const TSettings& Settings() const override { return order_.settings; }
    bool SignatureBlocked() const override { return order_.signatureBlocked; }
    const TJournal& Journal() const override { return order_.journal; }
    DataFolder Folder() const override { return order_.folder; }
    std::vector<std::string> EditorLines() const override { return order_.lines; }
    std::string EditorText() const override { return order_.text; }
    void SendCompleted(const TSendParams&) override { emit completed(); }
    void MemberStarted(int number, int count, const std::string& name) override;
    void SendEnded() override { emit ended(); }
    std::string SmtpPassword() const override;
    std::string SimPin() const override;
    void SimPinRefused() override;

    SendOrder order_;
    const TSendParams taken_;
    QThread* thread_ = nullptr;
    std::atomic<bool> cancelled_{false};
    SendOutcome outcome_ = SendOutcome::Stopped;
    bool fileErrorSeen_ = false;
    bool pageFailed_ = false;
    mutable std::optional<std::string> password_;
    mutable std::optional<std::string> pin_;

    std::mutex mutex_;
    std::condition_variable answered_;
    std::optional<bool> answer_;
    bool abandoned_ = false;
};

} // namespace zolbin
