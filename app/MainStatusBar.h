// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's status bar and what the window shows of its sends: the status text (on one line), the
// length counter, the Caps Lock indicator, a group's progress with its Cancel, the outbox's count of the
// pages that wait and the lasting mark of those that did not go; the job's messages and its question in
// boxes, whose answers go back to the send controller; a group's summary once its last text's two seconds
// are over; the notification of a send's end while the window is hidden, and of a retry's end always.

#include "dispatch/SendController.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QEvent;
class QLabel;
class QMainWindow;
class QPushButton;
class QTimer;

namespace zolbin {

class TrayIcon;

// A text a send tells, as it is shown: the one place where the job's texts become the screen's.
QString jobText(const SendController::JobText& text);

class MainStatusBar final : public QObject
{
    Q_OBJECT
public:
    // Builds the bar's panels (each with its design name as its object name) into the window's status bar
    // and shows what the controller tells.
    MainStatusBar(QMainWindow& window, TrayIcon& tray, SendController& sends);

    // The status text, on one line: a reply's line breaks (a greeting ends with CR LF) would make the bar
    // higher.
    void setText(const QString& text);
    void setCount(int typed, int maxLength);
    // The "CAPS" panel: black while Caps Lock is on, silver while it is off.
    void setCaps(bool on);

    // How the end of a send is told by a desktop notification (failed: with the error icon): the tray
    // icon's message where there is a notification area, the status bar otherwise; tests record it.
    using SendNotifier = std::function<void(const QString& text, bool failed)>;
    void setSendNotifier(SendNotifier notifier) { notifier_ = std::move(notifier); }

signals:
    // A click on the count of waiting pages, or on the mark of those not sent.
    void queueRequested();
    void notSentRequested();
    // The outbox's counts were shown afresh.
    void outboxCounted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void connectSends();
    void showMember(int number, int count, const SendController::JobText& name);
    void showGroupEnd(const std::string& name, const SendController::PageCounts& counts);
    void sendFinished(bool failed);
    void retryEnded(const OutboxPage& page);
    void unknownFound(int count);
    void showOutboxCounts();
    void notifyDesktop(const QString& text, bool failed);

    QMainWindow& window_;
    TrayIcon& tray_;
    SendController& sends_;
    QLabel* StatusText = nullptr;
    QLabel* pnlCount = nullptr;
    QLabel* pnlCaps = nullptr;
    // In the permanent area while a group is sent: "n из N" with the member served, and its Cancel.
    QLabel* pnlProgress = nullptr;
    QLabel* pnlOutbox = nullptr;  // how many pages of the outbox wait; a click opens the queue
    QLabel* pnlNotSent = nullptr; // pages that did not go, until the queue is opened on them by a click
    QPushButton* btnCancelSend = nullptr;
    QTimer* tail_ = nullptr;         // clears the last text 2000 ms after a send ended
    QString lastStatus_;             // the last text a send showed (its outcome, at the end)
    QString groupSummary_;           // shown once the last text's time is over
    QString groupTold_;              // the summary of the send that just ended
    std::int64_t notSentSeenMs_ = 0; // pages that ended before were seen in the queue
    SendNotifier notifier_;
};

} // namespace zolbin
