// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/Wctp.h"

#include "directory/TextChecks.h"
#include "directory/WctpFields.h"
#include "dispatch/HoldTimes.h"
#include "dispatch/SendHost.h"
#include "dispatch/Snpp.h"
#include "dispatch/WctpDocument.h"
#include "platform/Clock.h"
#include "platform/Codepage.h"
#include "platform/Http.h"
#include "platform/Net.h"

#include <QUuid>

namespace zolbin {

namespace {

using State = WctpOutcome::State;

WctpOutcome failed(State state, FailureKind kind)
{
    return {state, kind};
}

// The hold time "dd.mm.yy hh:mm" as a moment; invalid when empty or unreadable.
QDateTime holdMoment(const std::string& hold)
{
    const std::size_t space = hold.find(' ');
    if (space == std::string::npos)
        return {};
    const Result<QDate> date = ParseDate(hold.substr(0, space));
    const Result<QTime> time = ParseTime(hold.substr(space + 1));
    if (!date || !time)
        return {};
    return QDateTime(date.value(), time.value());
}

// Text from the carrier (UTF-8) as it may reach the status bar and the journal.
std::string peerText(const std::string& text)
{
    return VisibleLines(toCp1251(QString::fromStdString(text)));
}

std::string pathOf(const QUrl& url)
{
    const QString path = url.path(QUrl::FullyEncoded);
    return path.isEmpty() ? std::string("/") : path.toStdString();
}

// Once the whole request has left, the carrier may have taken the page: an answer lost or unreadable from
// then on leaves its fate unknown, and it is never posted again by itself.
WctpOutcome lostAnswer(SendHost& host, const std::string& text)
{
    ReportError(host, text, FailureKind::Unknown);
    return failed(State::NotAccepted, FailureKind::Unknown);
}

WctpOutcome noAnswer(SendHost& host, const net::HttpReply& reply, const std::string& server)
{
    const std::string error = peerText(reply.error);
    if (reply.outcome == net::HttpReply::Outcome::TooLarge)
        return lostAnswer(host, cp("Ответ сервера слишком длинный"));
    if (reply.requestSent && reply.outcome != net::HttpReply::Outcome::Tls)
        return lostAnswer(host, reply.outcome == net::HttpReply::Outcome::TimedOut
                                    ? cp("Сервер WCTP не ответил вовремя")
                                    : cp("Нет ответа от ") + server + ": " + error);
    switch (reply.outcome) {
    case net::HttpReply::Outcome::Refused:
        ReportError(host, cp("Нет соединения с ") + server + ": " + error);
        return failed(State::NoConnection, FailureKind::Passing);
    case net::HttpReply::Outcome::TimedOut:
        ReportError(host, cp("Сервер WCTP не ответил вовремя"));
        return failed(State::NoConnection, FailureKind::Passing);
    case net::HttpReply::Outcome::Tls:
        ReportError(host, cp("Сертификат сервера не прошёл проверку: ") + error);
        return failed(State::NoConnection, FailureKind::Final);
    default:
        ReportError(host, error);
        return failed(State::NoConnection, FailureKind::Final);
    }
}

WctpOutcome confirmation(SendHost& host, const net::HttpReply& reply)
{
    const WctpConfirmation answer = ParseWctpConfirmation(reply.body);
    const std::string http =
        "HTTP " + std::to_string(reply.status) + " " + peerText(reply.reason.toStdString());
    const bool completed = reply.status >= 200 && reply.status < 300;
    // A confirmation cut off or broken, or a success under an HTTP error: the carrier's word is unclear.
    if (answer.kind == WctpConfirmation::Kind::Malformed ||
        (answer.kind == WctpConfirmation::Kind::Success && !completed)) {
        ReportStatus(host, cp("Ответ: ") + http);
        return lostAnswer(host, cp("Ответ сервера WCTP не разобран: ") + http);
    }
    if (answer.kind == WctpConfirmation::Kind::NotWctp) {
        ReportStatus(host, cp("Ответ: ") + http);
        ReportError(host, cp("Ответ сервера не является документом WCTP: ") + http);
        return failed(State::NotAccepted, reply.status >= 500 ? FailureKind::Passing : FailureKind::Final);
    }
    ReportStatus(host, cp("Ответ: ") + std::to_string(answer.code) + " " + peerText(answer.text));
    if (answer.kind == WctpConfirmation::Kind::Success && answer.code >= 200 && answer.code < 300 &&
        completed)
        return {State::Accepted, FailureKind::Final};
    ReportError(host, peerText(answer.text.empty() ? std::to_string(answer.code) : answer.text));
    return failed(State::NotAccepted,
                  IsPassingWctpCode(answer.code) ? FailureKind::Passing : FailureKind::Final);
}

} // namespace

WctpOutcome WctpSending(SendHost& host, const TProvider& company, const TSendParams& params,
                        const std::vector<std::string>& lines)
{
    const WctpFields fields = WctpFieldsOf(company);
    WctpSubmit submit;
    submit.recipientId = utf8(WctpRecipientId(fields.pattern, params.CurNumber));
    if (!IsWctpUrl(fields.url) || submit.recipientId.empty() || fields.senderId.empty()) {
        ReportError(host, cp("Неверные параметры WCTP пейдж. компании"));
        return failed(State::NotAccepted, FailureKind::Final);
    }
    const bool signed_ = params.CurDigital == 0 && !host.SignatureBlocked();
    // The text as SNPP sends it, before any character set: the carrier gets UTF-8 and decides the rest.
    const Result<std::string> text = SnppMessageText(
        host.Folder(), lines, signed_ ? host.Settings().ShortName : std::string(), std::string());
    submit.text = utf8(text ? text.value() : std::string());
    submit.senderId = utf8(fields.senderId);
    submit.securityCode = utf8(fields.securityCode);
    submit.messageId = QUuid::createUuid().toString(QUuid::Id128).toStdString();
    submit.submitted = Clock::current().now();
    submit.deliveryAfter = holdMoment(params.DeferDate);

    net::HttpRequest request;
    request.url = QUrl(QString::fromLatin1(fields.url.data(), static_cast<qsizetype>(fields.url.size())));
    request.contentType = QByteArrayLiteral("text/xml; charset=utf-8");
    request.body = WctpSubmitRequest(submit);
    request.caFile = utf8(host.Settings().SMTPCAFile);
    request.connectMs = host.Deadlines.net.connectMs;
    request.replyMs = host.Deadlines.net.replyMs;

    const std::string server = request.url.host().toStdString();
    ReportStatus(host, cp("Соединение с ") + server + "...");
    const std::string sent = cp("Посылка: ");
    ReportStatus(host, sent + "POST " + pathOf(request.url));
    for (const std::string& line : WctpRequestEssentials(submit))
        ReportStatus(host, sent + VisibleControls(toCp1251(QString::fromStdString(line))));

    const net::HttpReply reply = net::HttpPost(request);
    if (reply.outcome != net::HttpReply::Outcome::Answered)
        return noAnswer(host, reply, server);
    return confirmation(host, reply);
}

} // namespace zolbin
