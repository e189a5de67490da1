// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/SendJob.h"

#include "platform/Codepage.h"
#include "platform/Pause.h"

#include <QThread>
#include <memory>

namespace zolbin {

int SendOrder::memberCount() const
{
    return curGroup == -1 || groups.empty() ? 0 : groups.Items(curGroup)->Members.Count();
}

SendOrder TakeOrder(const DataFolder& folder, const TSendParams& params, std::int16_t curGroup,
                    const TGroupList& groups, const TProviderList& providers)
{
    SendOrder order(folder);
    order.params = params;
    if (curGroup != -1) {
        const TGroup& chosen = *groups.Items(curGroup);
        auto group = std::make_shared<TGroup>();
        group->Name = chosen.Name;
        for (int i = 0; i < chosen.Members.Count(); ++i)
            group->Members.Add(std::make_shared<TAbonent>(*chosen.Members.Items(i)));
        order.groups.Add(std::move(group));
        order.curGroup = 0;
    }
    for (int i = 0; i < providers.Count(); ++i)
        order.providers.Add(std::make_shared<TProvider>(*providers.Items(i)));
    return order;
}

SendJob::SendJob(SendOrder order, QObject* parent)
    : QObject(parent), order_(std::move(order)), taken_(order_.params)
{
    Deadlines = order_.deadlines;
}

SendJob::~SendJob()
{
    cancelled_ = true;
    {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    answered_.notify_all();
    if (thread_ != nullptr) {
        thread_->wait();
        delete thread_;
    }
}

void SendJob::start()
{
    if (thread_ != nullptr)
        return;
    thread_ = QThread::create([this] { run(); });
    thread_->start();
}

void SendJob::run()
{
    runWith(*this);
    emit finished();
}

SendOutcome SendJob::runWith(SendHost& host)
{
    SendCommand command(host, order_.params, order_.curGroup, order_.groups, order_.providers);
    command.SetCancelFlag(&cancelled_);
    command.SetLedger(order_.ledger.get());
    command.SetModemMemory(order_.modems.get());
    outcome_ = command.Run();
    fileErrorSeen_ = command.FileErrorSeen();
    pageFailed_ = command.PageFailed();
    return outcome_;
}

void SendJob::answer(bool yes)
{
    {
        std::lock_guard lock(mutex_);
        answer_ = yes;
    }
    answered_.notify_all();
}

bool SendJob::waitForAnswer()
{
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [this] { return answer_.has_value() || abandoned_; });
    const bool yes = answer_.value_or(false);
    answer_.reset();
    return yes;
}

void SendJob::SetStatusText(const std::string& text)
{
    emit statusText(QByteArray::fromStdString(text));
}

void SendJob::Pause(unsigned ms)
{
    zolbin::Pause(ms);
}

void SendJob::SetStatusNote(const Text& text)
{
    emit statusText(QByteArray::fromStdString(toCp1251(text.shown())));
}

void SendJob::ShowMessage(const Text& text, Notice notice)
{
    if (order_.unattended)
        return;
    emit message(text.shown(), static_cast<int>(notice));
    (void)waitForAnswer();
}

bool SendJob::AskToContinue(const Text& text)
{
    if (order_.unattended)
        return true;
    emit question(text.shown());
    return waitForAnswer();
}

void SendJob::MemberStarted(int number, int count, const std::string& name)
{
    emit memberStarted(number, count, QByteArray::fromStdString(name));
}

std::string SendJob::SmtpPassword() const
{
    if (!password_)
        password_ = order_.smtpPassword ? order_.smtpPassword() : std::string();
    return *password_;
}

std::string SendJob::SimPin() const
{
    if (!pin_)
        pin_ = order_.simPin ? order_.simPin() : std::string();
    return *pin_;
}

void SendJob::SimPinRefused()
{
    pin_ = std::string();
    if (order_.simPinRefused)
        order_.simPinRefused();
}

} // namespace zolbin
