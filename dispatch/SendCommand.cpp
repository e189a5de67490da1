// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/SendCommand.h"

#include "directory/TextChecks.h"
#include "dispatch/Connection.h"
#include "dispatch/HoldTimes.h"
#include "dispatch/PageLedger.h"
#include "dispatch/SendHost.h"
#include "dispatch/Smtp.h"
#include "dispatch/Snpp.h"
#include "dispatch/Tap.h"
#include "platform/Clock.h"
#include "platform/Codepage.h"
#include "records/Archive.h"

namespace zolbin {

namespace {

std::string failedText()
{
    return cp("Ошибка: Сообщение отправлено не было");
}

// The characters a digital pager takes, after `before` and before `after`.
Text digitalCharacters(const char* before, const char* after)
{
    return tx("SendCommand", "Для цифровых пейджеров допустимы следующие символы: %1")
        .arg(std::string(before) + "0..9, ,[,],-,u,U" + after);
}

Text retryText(std::int64_t nextMs)
{
    return tx("SendCommand", "Сообщение будет отправлено повторно в %1")
        .arg(QDateTime::fromMSecsSinceEpoch(nextMs).toString(QStringLiteral("hh:mm")).toStdString());
}

// The journal's line for a page the outbox tries again. N is the number of the attempt to come, at the
// time given (the first sending is attempt 1, so the first retry is "Повторная попытка 2").
std::string retryLine(int attempt, std::int64_t nextMs)
{
    return cp("Повторная попытка ") + std::to_string(attempt) + cp(", следующая в ") +
           QDateTime::fromMSecsSinceEpoch(nextMs).toString(QStringLiteral("hh:mm")).toStdString();
}

Text continueQuestion(const std::string& name)
{
    return tx("SendCommand", "Для абонента %1 сообщение отправить не удалось. Продолжать для остальных?")
        .arg(VisibleControls(name));
}

} // namespace

SendCommand::SendCommand(SendHost& host, TSendParams& params, std::int16_t curGroup, const TGroupList& groups,
                         const TProviderList& providers)
    : host_(host), params_(params), curGroup_(curGroup), groups_(groups), providers_(providers)
{
}

void SendCommand::reportOutcome(const std::string& text)
{
    host_.SetStatusText(text);
    host_.Journal().Append(text);
    appendRetryNote();
    host_.Journal().AppendEmptyLine();
}

// With retries on, what becomes of the failed page closes its outcome in the journal.
void SendCommand::appendRetryNote()
{
    if (!retryNote_.empty())
        host_.Journal().Append(retryNote_);
    retryNote_.clear();
}

SendOutcome SendCommand::Run()
{
    host_.SetStatusText({});
    const QDateTime started = Clock::current().now();
    params_.SendDate = started.toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    params_.SendTime = started.toString(QStringLiteral("hh:mm")).toStdString();
    savedDeferDate_ = params_.DeferDate;
    if (params_.RepeatCount > 2)
        params_.RepeatCount = 2;

    if (const std::optional<Text> refusal = RefusalText(params_, curGroup_, host_.EditorText())) {
        host_.ShowMessage(*refusal, SendHost::Notice::Information);
        closeLedger(false, refusal->russian());
        return SendOutcome::Refused;
    }

    fileError_ = false;
    pageFailed_ = false;
    stop_.reset();
    groupStopped_.reset();
    host_.Journal().ClearFailure();
    const SendOutcome outcome = serveAll();
    // What the command never reached was withdrawn by the operator (the cancel, or No to the group's
    // question), unless a failure of its own or a member it cannot serve stopped it: then it failed.
    const std::optional<std::string> failed =
        stop_ ? std::optional<std::string>{stop_->russian()} : groupStopped_;
    closeLedger(!failed, failed.value_or(cp("Отменено оператором")));
    if (stop_) {
        // A failure that ends the whole command: a journal that failed before a page was accepted, a
        // damaged code table, a bad service date. The deferral is kept for the next try.
        host_.ShowMessage(stop_->text, SendHost::Notice::Stop);
        fileError_ = fileError_ || stop_->code != FailureCode::BadDateTime;
    } else if (const int failure = host_.Journal().Failure(); failure != 0) {
        // Lines the journal could not take after a page was accepted do not undo the page: the operator
        // is told of the file error on its own.
        host_.ShowMessage(Failure::io(failure).text, SendHost::Notice::Stop);
        fileError_ = true;
    }
    if (outcome != SendOutcome::Completed)
        params_.DeferDate = savedDeferDate_;
    host_.SendEnded();
    return outcome;
}

std::optional<Text> SendCommand::RefusalText(const TSendParams& params, std::int16_t curGroup,
                                             const std::string& text)
{
    if (params.CurNumber == 0 && curGroup == -1)
        return tx("SendCommand", "Необходимо выбрать абонента или группу абонентов");
    if (text.empty())
        return tx("SendCommand", "Необходимо набрать текст сообщения");
    return std::nullopt;
}

SendOutcome SendCommand::serveAll()
{
    if (const Status journal = host_.Journal().EnsureExists(); !journal) {
        stop_ = journal.failure();
        return SendOutcome::Stopped;
    }
    ReportStatus(host_, cp("Инициализация..."));
    lines_ = host_.EditorLines();
    bool stopped = false;
    if (curGroup_ == -1) {
        recipient_ = 0;
        // A page that is not ours to send any more ends the command as a stop does: nothing to clean up.
        stopped = claimPage().has_value() || serveRecorded() == Served::Stop;
    } else {
        // The command works on copies of the members, whatever the operator changes meanwhile.
        std::vector<TAbonent> members;
        for (const AbonentPtr& member : groups_.Items(curGroup_)->Members)
            members.push_back(*member);
        const int count = static_cast<int>(members.size());
        for (int number = 1; number <= count; ++number) {
            const TAbonent& member = members[static_cast<std::size_t>(number - 1)];
            if (cancelled()) {
                // The operator's cancel: no member from here on is served, each is journaled as such.
                for (int rest = number; rest <= count; ++rest) {
                    host_.Journal().Append(
                        cp("Отменено оператором: ") +
                        VisibleControls(members[static_cast<std::size_t>(rest - 1)].Name.str()));
                    host_.Journal().AppendEmptyLine();
                }
                stopped = true;
                break;
            }
            recipient_ = number - 1;
            if (const std::optional<Served> claimed = claimPage()) {
                if (*claimed == Served::Stop) {
                    stopped = true;
                    break;
                }
                continue;
            }
            host_.MemberStarted(number, count, member.Name.str());
            params_.CurName = member.Name.str();
            params_.CurNumber = member.Number;
            params_.CurDigital = member.Numeric;
            params_.CurProvider = member.Provider.str();
            ReportStatus(host_, cp("Отправка сообщения для абонента ") + VisibleControls(params_.CurName));
            if (serveRecorded() == Served::Stop) {
                stopped = true;
                break;
            }
        }
    }
    sockets_.CloseAll();
    if (stopped)
        return SendOutcome::Stopped;
    params_.SendDate.clear();
    params_.SendTime.clear();
    params_.DeferDate.clear();
    params_.DeferTime.clear();
    params_.RepeatInterval.clear();
    params_.RepeatCount = 0;
    host_.SendCompleted(params_);
    return SendOutcome::Completed;
}

SendCommand::Served SendCommand::stopCommand(Failure failure)
{
    stop_ = std::move(failure);
    return Served::Stop;
}

bool SendCommand::journalFailed() const
{
    return host_.Journal().Failure() != 0;
}

Failure SendCommand::journalFailure() const
{
    return Failure::io(host_.Journal().Failure());
}

std::optional<SendCommand::Served> SendCommand::claimPage()
{
    if (ledger_ == nullptr)
        return std::nullopt;
    const Result<bool> ours = ledger_->Starting(recipient_);
    if (!ours)
        return stopCommand(ours.failure());
    if (!ours.value())
        return Served::Skipped;
    return std::nullopt;
}

SendCommand::Served SendCommand::serveRecorded()
{
    acceptedOnce_ = false;
    retryNote_.clear();
    const Served served = serveSubscriber();
    if (served == Served::Sent && ledger_ != nullptr) {
        // The page went: an outbox that cannot record it leaves it "sending", told as unknown later.
        if (const Status recorded = ledger_->Sent(recipient_); !recorded) {
            host_.ShowMessage(recorded.failure().text, SendHost::Notice::Stop);
            fileError_ = true;
        }
    }
    return served;
}

std::optional<std::int64_t> SendCommand::retryLater(const std::string& reply)
{
    if (ledger_ == nullptr)
        return std::nullopt;
    // A page of which one sending was accepted is not sent again as a whole.
    const FailureKind kind = acceptedOnce_ ? FailureKind::Final : host_.LastFailure;
    const std::string& text = !host_.LastFailureText.empty() ? host_.LastFailureText
                              : !reply.empty()               ? reply
                                                             : failedText();
    const Result<RetryDecision> decided = ledger_->Failed(recipient_, kind, text);
    if (!decided) {
        host_.ShowMessage(decided.failure().text, SendHost::Notice::Stop);
        fileError_ = true;
        return std::nullopt;
    }
    const RetryDecision& decision = decided.value();
    if (decision.nextMs)
        retryNote_ = retryLine(decision.nextAttempt, *decision.nextMs);
    else if (decision.exhausted)
        retryNote_ = cp("Попытки исчерпаны");
    return decision.nextMs;
}

void SendCommand::closeLedger(bool withdrawn, const std::string& reason)
{
    if (ledger_ == nullptr)
        return;
    if (const Status closed = ledger_->Close(withdrawn, reason); !closed) {
        host_.ShowMessage(closed.failure().text, SendHost::Notice::Stop);
        fileError_ = true;
    }
}

SendCommand::Served SendCommand::failSubscriber(const Text& messageForOne, const Text& promptPrefix,
                                                bool stopsGroup)
{
    pageFailed_ = true;
    const bool group = curGroup_ != -1;
    if (const std::optional<std::int64_t> next = retryLater(messageForOne.russian())) {
        // The outbox tries it again: a group goes on with its other members without asking.
        reportOutcome(failedText());
        host_.SetStatusNote(retryText(*next));
        return group ? Served::Skipped : Served::Stop;
    }
    if (!group || stopsGroup) {
        if (!messageForOne.empty())
            host_.ShowMessage(messageForOne, SendHost::Notice::Information);
        reportOutcome(failedText());
        return Served::Stop;
    }
    reportOutcome(failedText());
    const bool goOn = host_.AskToContinue(promptPrefix + continueQuestion(params_.CurName));
    return goOn ? Served::Skipped : Served::Stop;
}

SendCommand::Served SendCommand::failConnection()
{
    pageFailed_ = true;
    if (const std::optional<std::int64_t> next = retryLater({})) {
        reportOutcome(failedText());
        host_.SetStatusNote(retryText(*next));
        return curGroup_ == -1 ? Served::Stop : Served::Skipped;
    }
    if (curGroup_ == -1) {
        reportOutcome(failedText());
        return Served::Stop;
    }
    const Text question = continueQuestion(params_.CurName);
    host_.Journal().Append(question.russian());
    appendRetryNote();
    host_.Journal().AppendEmptyLine();
    return host_.AskToContinue(question) ? Served::Skipped : Served::Stop;
}

SendCommand::Served SendCommand::serveSubscriber()
{
    params_.DeferDate = savedDeferDate_;
    // Refusals of the command's own (the digital text, no company, an unknown gate) are final.
    host_.LastFailure = FailureKind::Final;
    host_.LastFailureText.clear();
    if (params_.CurDigital == 1 && !IsDigitalText(host_.EditorText())) {
        return failSubscriber(digitalCharacters("\r\n", ""), digitalCharacters("", "\r\n"), false);
    }
    const Result<HoldTimes> computed = ComputeHoldTimes(params_, Clock::current().now());
    if (!computed)
        return stopCommand(computed.failure());
    const HoldTimes& holds = computed.value();

    for (int i = 0; i <= params_.RepeatCount; ++i) {
        params_.DeferDate = holds[static_cast<std::size_t>(i)];
        const int index = providers_.IndexOfName(params_.CurProvider);
        if (index < 0) {
            if (curGroup_ != -1)
                groupStopped_ = cp("Рассылка остановлена: не найдена пейджинговая компания абонента ") +
                                VisibleControls(params_.CurName);
            return failSubscriber(tx("SendCommand", "А указана ли для этого абонента пейджинговая компания?"),
                                  {}, true);
        }
        const TProvider& company = *providers_.Items(index);

        int socket = -1;
        net::TlsSession tls;
        if (company.Gate == Gate::SMTP) {
            params_.CurSMTPEMail = company.SMTPEMail.str();
            params_.CurSMTPPort = company.SMTPPort;
            params_.CurSMTPEnc = company.SMTPEnc.str();
            params_.CurGate = company.Gate;
            if (journalFailed())
                return stopCommand(journalFailure());
            const TSettings& settings = host_.Settings();
            socket = ConnectToServer(host_, sockets_, settings.SMTPServer, params_.CurSMTPPort,
                                     settings.SMTPSecurity == 2 ? &tls : nullptr, settings.SMTPCAFile);
            params_.DeferDate = savedDeferDate_;
            i = params_.RepeatCount;
        } else if (company.Gate == Gate::SNPP) {
            params_.CurSNPPSrv = company.SNPPSrv.str();
            params_.CurSNPPPort = company.SNPPPort;
            params_.CurSNPPEnc = company.SNPPEnc.str();
            params_.CurSnppPswd = company.SnppPswd.str();
            params_.CurGate = company.Gate;
            if (journalFailed())
                return stopCommand(journalFailure());
            socket = ConnectToServer(host_, sockets_, params_.CurSNPPSrv, params_.CurSNPPPort);
        } else if (company.Gate == Gate::TAP) {
            params_.CurGate = company.Gate;
            params_.DeferDate = savedDeferDate_;
            return serveTap(company);
        } else if (company.Gate == Gate::WCTP) {
            return serveWctp(company, holds);
        } else if (company.Gate == Gate::SMS) {
            params_.CurGate = company.Gate;
            params_.DeferDate = savedDeferDate_;
            return serveSms(company);
        } else {
            // No gate of ours serves this company: the subscriber fails like a failed dialogue.
            params_.DeferDate = savedDeferDate_;
            ReportStatus(host_, cp("Ошибка: Неизвестный шлюз пейдж. компании"));
            return failSubscriber({}, {}, false);
        }
        if (socket < 0)
            return notConnected();

        const Result<bool> accepted = params_.CurGate == Gate::SMTP
                                          ? SmtpDialogue(host_, socket, params_, lines_, &tls)
                                          : SnppDialogue(host_, socket, params_, lines_);
        if (!accepted)
            return stopCommand(accepted.failure());
        if (!accepted.value())
            return notAccepted();
        if (params_.CurGate == Gate::SMTP || i == 0)
            archivePage();
        reportOutcome(cp("Сообщение успешно отправлено"));
    }
    return Served::Sent;
}

SendCommand::Served SendCommand::serveTap(const TProvider& company)
{
    // A terminal pages at once and knows no hold time: a deferral or repeats (left by a group whose
    // other members allow them) fail this subscriber rather than page at another time than asked.
    if (!savedDeferDate_.empty() || params_.RepeatCount > 0) {
        ReportError(host_, cp("Терминал TAP не принимает отложенные и повторные сообщения"));
        host_.Journal().AppendEmptyLine();
        return failSubscriber({}, {}, false);
    }
    if (journalFailed())
        return stopCommand(journalFailure());
    const Result<TapResult> result = TapSending(host_, company, params_, lines_);
    if (!result)
        return stopCommand(result.failure());
    if (result.value() == TapResult::NoConnection)
        return notConnected();
    if (result.value() == TapResult::Failed)
        return notAccepted();
    archivePage();
    reportOutcome(cp("Сообщение успешно отправлено"));
    return Served::Sent;
}

// No connection to the server or the terminal: a journal that failed on the way ends the command.
SendCommand::Served SendCommand::notConnected()
{
    return journalFailed() ? stopCommand(journalFailure()) : failConnection();
}

// The dialogue ended without the page accepted. A journal that fails before acceptance stops the
// dialogue before its next line is sent, and then ends the command.
SendCommand::Served SendCommand::notAccepted()
{
    if (journalFailed())
        return stopCommand(journalFailure());
    params_.DeferDate = savedDeferDate_;
    return failSubscriber({}, {}, false);
}

// The page is sent: it goes into the subscriber's archive, and a file error there only marks the run.
void SendCommand::archivePage()
{
    acceptedOnce_ = true;
    params_.DeferDate = savedDeferDate_;
    if (const Status archived = WriteArchive(host_.Folder(), params_, lines_); !archived) {
        host_.ShowMessage(archived.failure().text, SendHost::Notice::Plain);
        fileError_ = true;
    }
}

} // namespace zolbin
