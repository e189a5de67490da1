// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SendRequest.h"

#include "cli/ExitStatus.h"
#include "directory/TextChecks.h"
#include "dispatch/Recipient.h"
#include "dispatch/RecipientChecks.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace zolbin {

namespace {

// A name from the directory as an argument of a message.
QString nameText(const std::string& cp1251)
{
    return toQString(VisibleControls(cp1251));
}

// Fields of a "hh:mm" text, or false.
bool readTime(const std::string& text, int& hours, int& minutes)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const QRegularExpressionMatch m = pattern.match(QString::fromStdString(text));
    if (!m.hasMatch())
        return false;
    hours = m.captured(1).toInt();
    minutes = m.captured(2).toInt();
    return hours <= 23 && minutes <= 59;
}

void fillDeferral(const std::string& text, ServiceForm& form)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4}) +(\\S+)$"));
    const QRegularExpressionMatch m = pattern.match(QString::fromStdString(text));
    const QString bad = QCoreApplication::translate(
                            "SendRequest", "--defer: неверные дата/время «%1», ожидается «дд.мм.гггг чч:мм»")
                            .arg(argText(text));
    if (!m.hasMatch())
        throw UsageError(bad);
    const int month = m.captured(2).toInt();
    int hour = 0;
    int minute = 0;
    if (month < 1 || month > 12 || !readTime(m.captured(4).toStdString(), hour, minute))
        throw UsageError(bad);
    form.later = true;
    form.day = std::to_string(m.captured(1).toInt());
    form.month = MonthTexts()[static_cast<std::size_t>(month - 1)].russian();
    form.year = m.captured(3).toStdString();
    form.hour = std::to_string(hour);
    form.minute = std::to_string(minute);
    // Day and year are digits by now: the check can only find the date impossible.
    if (const Result<bool> valid = DeferralDateValid(form); !valid || !valid.value())
        throw UsageError(
            QCoreApplication::translate("SendRequest", "--defer: такой даты нет: «%1»").arg(argText(text)));
}

// A refusal of the shared checks ends the run as a usage error.
void refuse(const Text& refusal)
{
    if (!refusal.empty())
        throw UsageError(refusal.shown());
}

void chooseSubscriber(const SendOptions& options, const Session& session, const MessageText& message,
                      SendRequest& request)
{
    const std::string name = FromTerminal(*options.to, "--to");
    const int index = session.abonents.IndexOfNameAnyCase(name);
    if (index < 0)
        throw UsageError(
            QCoreApplication::translate("SendRequest",
                                        "%1 не найден в справочнике (список: zolbin-send --list subscribers)")
                .arg(SubscriberWho(name).shown()));
    const TAbonent& abonent = *session.abonents.Items(index);
    ChooseSubscriber(request.params, abonent);
    refuse(SubscriberRefusal(abonent, message.text, session.providers, session.settings));
}

void chooseGroup(const SendOptions& options, const Session& session, const MessageText& message,
                 SendRequest& request)
{
    const std::string name = FromTerminal(*options.group, "--group");
    const int index = session.groups.IndexOfNameAnyCase(name);
    if (index < 0)
        throw UsageError(
            QCoreApplication::translate(
                "SendRequest", "группа «%1» не найдена в справочнике (список: zolbin-send --list groups)")
                .arg(nameText(name)));
    const TGroup& group = *session.groups.Items(index);
    refuse(GroupRefusal(group, message.text, session.providers, session.settings));
    request.curGroup = static_cast<std::int16_t>(index);
    request.params.CurMaxLen = GroupMaxLen(group);
}

void chooseNumber(const SendOptions& options, const Session& session, SendRequest& request)
{
    std::int32_t number = 0;
    if (!TryStrToInt(*options.number, number))
        throw UsageError(
            QCoreApplication::translate("SendRequest", "--number: «%1» неверное целочисленное значение")
                .arg(argText(*options.number)));
    if (number == 0)
        throw UsageError(
            QCoreApplication::translate("SendRequest", "--number: номер пейджера не может быть 0"));
    const std::string companyName = FromTerminal(*options.company, "--company");
    const int index = session.providers.IndexOfNameAnyCase(companyName);
    if (index < 0)
        throw UsageError(
            QCoreApplication::translate(
                "SendRequest",
                "пейдж. компания «%1» не найдена в справочнике (список: zolbin-send --list companies)")
                .arg(nameText(companyName)));
    TSendParams& p = request.params;
    p.CurNumber = number;
    p.CurName.clear();
    p.CurProvider = session.providers.Items(index)->Name.str();
    p.CurDigital = 0;
    p.CurMaxLen = 240;
    refuse(CompanyRefusal(NumberWho(number), p.CurProvider, session.providers, session.settings));
}

bool serviceAvailable(const SendRequest& request, const Session& session)
{
    if (request.curGroup >= 0)
        return ServiceAvailableForGroup(*session.groups.Items(request.curGroup), session.providers);
    return ServiceAvailableFor(request.params.CurProvider, session.providers);
}

} // namespace

ServiceForm ServiceFormOf(const SendOptions& options)
{
    ServiceForm form;
    if (options.defer)
        fillDeferral(*options.defer, form);
    if (options.repeat) {
        if (*options.repeat != "1" && *options.repeat != "2")
            throw UsageError(
                QCoreApplication::translate("SendRequest", "--repeat: число повторов - 1 или 2, а не «%1»")
                    .arg(argText(*options.repeat)));
        int hours = 0;
        int minutes = 0;
        if (!options.interval || !readTime(*options.interval, hours, minutes))
            throw UsageError(
                QCoreApplication::translate(
                    "SendRequest",
                    "--interval: неверный интервал «%1», ожидается «чч:мм» (часы 0..23, минуты 0..59)")
                    .arg(argText(options.interval.value_or(""))));
        form.repeat = true;
        form.repCount = *options.repeat;
        form.repHour = std::to_string(hours);
        form.repMinute = std::to_string(minutes);
    }
    return form;
}

SendRequest PrepareSend(const SendOptions& options, const Session& session, const MessageText& message)
{
    // The dates first: a wrong one is wrong whatever the recipient.
    const ServiceForm form = ServiceFormOf(options);
    if (message.text.empty())
        throw UsageError(QCoreApplication::translate("SendRequest", "Необходимо набрать текст сообщения"));

    SendRequest request;
    if (options.to)
        chooseSubscriber(options, session, message, request);
    else if (options.group)
        chooseGroup(options, session, message, request);
    else
        chooseNumber(options, session, request);

    // The editor takes no more than the limit (0 = none), a line break counting two.
    refuse(LengthRefusal(message.length(), request.params.CurMaxLen));

    if (form.later || form.repeat) {
        if (!serviceAvailable(request, session))
            throw UsageError(QCoreApplication::translate("SendRequest",
                                                         "отложенная отправка и повторы здесь недоступны: их "
                                                         "принимают только родная пейдж. компания и компании "
                                                         "со шлюзом SNPP"));
        // The repeat count is "1" or "2" by now: the form always applies.
        if (const Status applied = ApplyServiceForm(form, request.params, request.serviceSummary); !applied)
            throw UsageError(applied.failure().shown().toStdString());
    }
    return request;
}

} // namespace zolbin
