// SPDX-License-Identifier: GPL-3.0-or-later
// What became of the pages, told by the main window: the status bar's lasting mark of the pages that did
// not go (failed for good, or of unknown outcome) until the operator opens the queue on them, a group's
// summary once its send is over, the question before the window closes on pages that would then wait for
// nobody, and the desktop notification of a send's end.

#include "app/MainWindow.h"
#include "app/Windows.h"
#include "dispatch/OutboxLedger.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/TrayIcon.h"
#include "records/ui/QueueWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

namespace zolbin {

namespace {

// The queue window shows the pages finished within the last day: older ones are not marked.
constexpr std::int64_t MarkedMs = 24LL * 60 * 60 * 1000;

int countOf(const std::map<PageState, int>& counts, std::initializer_list<PageState> states)
{
    int sum = 0;
    for (const PageState state : states)
        if (const auto found = counts.find(state); found != counts.end())
            sum += found->second;
    return sum;
}

} // namespace

void TfmSend::updateNotSentMark()
{
    if (pnlNotSent == nullptr || outbox_ == nullptr)
        return;
    const Result<int> notSent = outbox_->NotSent(std::max(notSentSeenMs_, NowMs() - MarkedMs));
    const int count = notSent ? notSent.value() : 0;
    const QString text = toQString(cp("Не отправлено: ") + std::to_string(count));
    pnlNotSent->setText(text);
    pnlNotSent->setAccessibleName(text);
    pnlNotSent->setVisible(count > 0);
}

// The operator sees the pages that did not go: the mark is gone until another page fails.
void TfmSend::pnlNotSentClick()
{
    notSentSeenMs_ = NowMs() + 1;
    pnlNotSent->hide();
    TfmQueue& queue = *windows_.fmQueue;
    queue.setOutbox(outbox(false));
    queue.showNotSent();
}

bool TfmSend::statusPanelClicked(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return false;
    if (watched == pnlNotSent)
        runCommand([this] { pnlNotSentClick(); });
    else if (watched == pnlOutbox)
        runCommand([this] { showQueue(); });
    else
        return false;
    return true;
}

// A group sent by the operator: its pages are one batch of the outbox, counted when the send is over.
void TfmSend::rememberGroup(const SendOrder& order)
{
    group_.reset();
    groupSummary_.clear();
    if (order.unattended || order.curGroup < 0 || order.groups.Count() == 0 || order.pageIds.empty() ||
        outbox_ == nullptr)
        return;
    const Result<std::optional<OutboxPage>> first = outbox_->Page(order.pageIds.front());
    if (first && first.value())
        group_.emplace(order.groups.Items(0)->Name, first.value()->batch);
}

// "Группа «…»: отправлено 10 из 20, отменено 10", and what did not go or waits for a retry. It follows
// the last text's time and stays until the next send.
std::string TfmSend::tellGroupEnd()
{
    if (!group_ || outbox_ == nullptr)
        return {};
    const auto [name, batch] = *group_;
    group_.reset();
    const Result<std::map<PageState, int>> counts = outbox_->CountBatch(batch);
    if (!counts)
        return {};
    const std::map<PageState, int>& c = counts.value();
    int all = 0;
    for (const auto& [state, count] : c)
        all += count;
    std::string text = cp("Группа «") + name + cp("»: отправлено ") +
                       std::to_string(countOf(c, {PageState::Sent})) + cp(" из ") + std::to_string(all);
    const std::pair<const char*, int> parts[] = {
        {"отменено ", countOf(c, {PageState::Cancelled})},
        {"не отправлено ", countOf(c, {PageState::Failed, PageState::Unknown})},
        {"ожидают повтора ", countOf(c, {PageState::Queued, PageState::Waiting})},
    };
    for (const auto& [label, count] : parts)
        if (count > 0)
            text += ", " + cp(label) + std::to_string(count);
    if (statusTail_ != nullptr && statusTail_->isActive())
        groupSummary_ = text;
    else
        SetStatusText(text);
    return text;
}

// Pages left waiting are sent by the next worker: the background service when it runs, else nobody
// until the window opens again; the operator decides.
bool TfmSend::mayClose()
{
    Outbox* box = outbox(false);
    if (box == nullptr)
        return true;
    const Result<int> waiting = box->Waiting();
    if (!waiting || waiting.value() == 0 || OutboxFollowerRunning(folder_))
        return true;
    return Prompts::ask(cp("Подтверждение"),
                        cp("В очереди ") + std::to_string(waiting.value()) +
                            cp(" сообщений. Служба отправки не запущена: после закрытия они не будут "
                               "отправлены. Закрыть?"),
                        PromptIcon::Question);
}

void TfmSend::closeEvent(QCloseEvent* event)
{
    bool close = true;
    runCommand([&] { close = mayClose(); });
    if (close)
        QMainWindow::closeEvent(event);
    else
        event->ignore();
}

// Without a notification area the status bar says it, until the next send.
void TfmSend::notifyDesktop(const QString& text, bool failed)
{
    if (tray_->notify(text, failed))
        return;
    if (statusTail_ != nullptr)
        statusTail_->stop();
    groupSummary_.clear();
    SetStatusText(toCp1251(text));
}

} // namespace zolbin
