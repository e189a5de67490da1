// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainStatusBar.h"

#include "app/MessageEditor.h"
#include "dispatch/OutboxLedger.h"
#include "platform/Codepage.h"
#include "platform/Prompts.h"
#include "platform/ui/CommandGuard.h"
#include "platform/ui/TrayIcon.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <initializer_list>
#include <utility>

namespace zolbin {

namespace {

constexpr int StatusTextWidth = 450;
const QColor WarningColour(0xC0, 0x00, 0x00);
const QColor CapsOnColour(Qt::black);
const QColor CapsOffColour(0xC0, 0xC0, 0xC0);
// The last text of a send stays this long before the status bar is cleared.
constexpr int StatusTailMs = 2000;
// The queue window shows the pages finished within the last day: older ones are not marked.
constexpr std::int64_t MarkedMs = 24LL * 60 * 60 * 1000;

int countOf(const SendController::PageCounts& counts, std::initializer_list<PageState> states)
{
    int sum = 0;
    for (const PageState state : states)
        if (const auto found = counts.find(state); found != counts.end())
            sum += found->second;
    return sum;
}

} // namespace

QString jobText(const SendController::JobText& text)
{
    return toQString(text.toStdString());
}

MainStatusBar::MainStatusBar(QMainWindow& window, TrayIcon& tray, SendController& sends)
    : QObject(&window), window_(window), tray_(tray), sends_(sends), tail_(new QTimer(this))
{
    build();
    tail_->setSingleShot(true);
    // The text goes, or a group's summary takes its place.
    connect(tail_, &QTimer::timeout, this, [this] { setText(std::exchange(groupSummary_, {})); });
    notifier_ = [this](const QString& text, bool failed) { notifyDesktop(text, failed); };
    connectSends();
}

void MainStatusBar::build()
{
    QStatusBar* bar = window_.statusBar();
    bar->setSizeGripEnabled(false);
    auto panel = [bar](const char* name, const QString& text) {
        auto* label = new QLabel(text, bar);
        label->setObjectName(QLatin1String(name));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return label;
    };
    StatusText = panel("StatusText", QString());
    StatusText->setFixedWidth(StatusTextWidth);
    pnlCount = panel("pnlCount", QStringLiteral("0:0"));
    pnlCount->setAlignment(Qt::AlignCenter);
    pnlCount->setMinimumWidth(pnlCount->fontMetrics().horizontalAdvance(QStringLiteral("000:000")) + 10);
    pnlCaps = panel("pnlCaps", QStringLiteral("CAPS"));
    pnlCaps->setAlignment(Qt::AlignCenter);
    pnlCaps->setMinimumWidth(pnlCaps->fontMetrics().horizontalAdvance(QStringLiteral("CAPS")) + 10);
    pnlProgress = panel("pnlProgress", QString());
    // The outbox's two counts open the queue window when clicked; a screen reader reads their text.
    pnlOutbox = panel("pnlOutbox", QString());
    pnlOutbox->setToolTip(tr("Открыть очередь сообщений"));
    pnlNotSent = panel("pnlNotSent", QString());
    pnlNotSent->setToolTip(tr("Открыть очередь сообщений на неотправленных сообщениях"));
    QPalette warning = pnlNotSent->palette();
    warning.setColor(QPalette::WindowText, WarningColour);
    pnlNotSent->setPalette(warning);
    for (QLabel* count : {pnlOutbox, pnlNotSent}) {
        count->setCursor(Qt::PointingHandCursor);
        count->setAccessibleDescription(count->toolTip());
        count->installEventFilter(this);
    }
    btnCancelSend = new QPushButton(tr("Отмена"), bar);
    btnCancelSend->setObjectName(QStringLiteral("btnCancelSend"));
    btnCancelSend->setToolTip(tr("Не отправлять сообщение абонентам группы, которым оно ещё не ушло"));
    btnCancelSend->setFocusPolicy(Qt::NoFocus);
    StatusText->setAccessibleName(tr("Состояние"));
    pnlCount->setAccessibleName(tr("Набрано символов : наибольшая длина сообщения"));
    pnlCaps->setAccessibleName(tr("Индикатор Caps Lock"));
    bar->addWidget(StatusText);
    bar->addPermanentWidget(pnlNotSent);
    bar->addPermanentWidget(pnlOutbox);
    bar->addPermanentWidget(pnlProgress);
    bar->addPermanentWidget(btnCancelSend);
    bar->addPermanentWidget(pnlCount);
    bar->addPermanentWidget(pnlCaps);
    // The bar is as high as it is with everything in it, so that no panel coming or going moves the
    // window's other controls (the group's Cancel button is higher than the panels).
    bar->setFixedHeight(bar->sizeHint().height());
    for (QWidget* shownAtTimes :
         std::initializer_list<QWidget*>{pnlNotSent, pnlOutbox, pnlProgress, btnCancelSend})
        shownAtTimes->hide();
}

void MainStatusBar::connectSends()
{
    connect(btnCancelSend, &QPushButton::clicked, this, [this] {
        sends_.cancel();
        btnCancelSend->setEnabled(false);
    });
    connect(&sends_, &SendController::jobStarted, this, [this] {
        tail_->stop();
        lastStatus_.clear();
        groupSummary_.clear();
    });
    connect(&sends_, &SendController::statusText, this, [this](const SendController::JobText& text) {
        setText(jobText(text));
        if (!text.isEmpty())
            lastStatus_ = jobText(text);
    });
    connect(&sends_, &SendController::beep, this, [] { QApplication::beep(); });
    connect(&sends_, &SendController::message, this, [this](const QString& text, int notice) {
        const auto kind = static_cast<SendHost::Notice>(notice);
        Prompts::message(text, kind == SendHost::Notice::Stop          ? PromptIcon::Stop
                               : kind == SendHost::Notice::Information ? PromptIcon::Information
                                                                       : PromptIcon::None);
        sends_.answer(true);
    });
    connect(&sends_, &SendController::question, this, [this](const QString& text) {
        sends_.answer(Prompts::ask(tr("Предупреждение"), text, PromptIcon::Stop));
    });
    connect(&sends_, &SendController::memberStarted, this, &MainStatusBar::showMember);
    connect(&sends_, &SendController::ended, this, [this] { tail_->start(StatusTailMs); });
    connect(&sends_, &SendController::jobFinished, this, [this] {
        pnlProgress->hide();
        btnCancelSend->hide();
    });
    connect(&sends_, &SendController::groupEnded, this, &MainStatusBar::showGroupEnd);
    connect(&sends_, &SendController::sendFinished, this, &MainStatusBar::sendFinished);
    connect(&sends_, &SendController::retryEnded, this, &MainStatusBar::retryEnded);
    // Said at once, and again once the send's last text has had its time: it stays until the next send.
    connect(&sends_, &SendController::keptHere, this, [this](const QString& text) {
        setText(text);
        groupSummary_ = text;
    });
    connect(&sends_, &SendController::unknownFound, this, &MainStatusBar::unknownFound);
    connect(&sends_, &SendController::countsChanged, this, &MainStatusBar::showOutboxCounts);
}

void MainStatusBar::setText(const QString& text)
{
    QString shown = text;
    while (shown.endsWith(QLatin1Char('\n')) || shown.endsWith(QLatin1Char('\r')))
        shown.chop(1);
    shown.replace(QLatin1String("\r\n"), QLatin1String(" "));
    shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    StatusText->setText(shown);
}

void MainStatusBar::setCount(int typed, int maxLength)
{
    pnlCount->setText(CounterText(typed, maxLength));
}

void MainStatusBar::setCaps(bool on)
{
    QPalette palette = pnlCaps->palette();
    palette.setColor(QPalette::WindowText, on ? CapsOnColour : CapsOffColour);
    pnlCaps->setPalette(palette);
}

void MainStatusBar::showMember(int number, int count, const SendController::JobText& name)
{
    pnlProgress->setText(
        tr("%1 из %2: %3").arg(QString::number(number), QString::number(count), jobText(name)));
    pnlProgress->show();
    btnCancelSend->setEnabled(!sends_.cancelRequested());
    btnCancelSend->show();
}

// "Группа «…»: отправлено 10 из 20, отменено 10", and what did not go or waits for a retry. It follows
// the last text's time and stays until the next send.
void MainStatusBar::showGroupEnd(const std::string& name, const SendController::PageCounts& counts)
{
    int all = 0;
    for (const auto& [state, count] : counts)
        all += count;
    QString text =
        tr("Группа «%1»: отправлено %2 из %3")
            .arg(toQString(name), QString::number(countOf(counts, {PageState::Sent})), QString::number(all));
    const std::pair<QString, int> parts[] = {
        {tr(", отменено %1"), countOf(counts, {PageState::Cancelled})},
        {tr(", не отправлено %1"), countOf(counts, {PageState::Failed, PageState::Unknown})},
        {tr(", ожидают повтора %1"), countOf(counts, {PageState::Queued, PageState::Waiting})},
    };
    for (const auto& [part, count] : parts)
        if (count > 0)
            text += part.arg(count);
    if (tail_->isActive())
        groupSummary_ = text;
    else
        setText(text);
    groupTold_ = text;
}

// The operator's send is over: while the window is hidden, its outcome (a group's summary, else the
// last text) is told by a notification.
void MainStatusBar::sendFinished(bool failed)
{
    const QString told = groupTold_.isEmpty() ? lastStatus_ : std::exchange(groupTold_, {});
    if (window_.isHidden() && !told.isEmpty() && notifier_)
        notifier_(told, failed);
}

// A retry that reached its end is told, also while the window is shown.
void MainStatusBar::retryEnded(const OutboxPage& page)
{
    const QString who =
        toQString(!page.params.CurName.empty() ? page.params.CurName : std::to_string(page.params.CurNumber));
    QString text;
    if (page.state == PageState::Sent)
        text =
            tr("Сообщение для абонента %1 отправлено (попытка %2)").arg(who, QString::number(page.attempts));
    else if (page.state == PageState::Failed)
        text = tr("Сообщение для абонента %1 отправить не удалось: %2").arg(who, toQString(page.lastReply));
    else if (page.state == PageState::Unknown)
        text = tr("Сообщение для абонента %1: исход неизвестен (%2)").arg(who, toQString(page.lastReply));
    if (!text.isEmpty() && notifier_)
        notifier_(text, page.state != PageState::Sent);
}

void MainStatusBar::unknownFound(int count)
{
    const QString text = tr("Сообщений с неизвестным исходом: %1 (см. «Очередь сообщений»)").arg(count);
    setText(text);
    if (notifier_)
        notifier_(text, true);
}

// The pages that wait for a later attempt, and the mark of those that did not go.
void MainStatusBar::showOutboxCounts()
{
    Outbox* box = sends_.openedOutbox();
    if (box == nullptr)
        return;
    const Result<int> waiting = box->Unfinished();
    const int count = waiting ? waiting.value() : 0;
    pnlOutbox->setText(tr("В очереди: %1").arg(count));
    pnlOutbox->setAccessibleName(pnlOutbox->text());
    pnlOutbox->setVisible(count > 0);
    const Result<int> notSent = box->NotSent(std::max(notSentSeenMs_, NowMs() - MarkedMs));
    const int notSentCount = notSent ? notSent.value() : 0;
    pnlNotSent->setText(tr("Не отправлено: %1").arg(notSentCount));
    pnlNotSent->setAccessibleName(pnlNotSent->text());
    pnlNotSent->setVisible(notSentCount > 0);
    emit outboxCounted();
}

// The operator sees the pages that did not go: the mark is gone until another page fails.
bool MainStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return false;
    if (watched == pnlNotSent) {
        runCommand([this] {
            notSentSeenMs_ = NowMs() + 1;
            pnlNotSent->hide();
            emit notSentRequested();
        });
    } else if (watched == pnlOutbox) {
        runCommand([this] { emit queueRequested(); });
    } else {
        return false;
    }
    return true;
}

// Without a notification area the status bar says it, until the next send.
void MainStatusBar::notifyDesktop(const QString& text, bool failed)
{
    if (tray_.notify(text, failed))
        return;
    tail_->stop();
    groupSummary_.clear();
    setText(text);
}

} // namespace zolbin
