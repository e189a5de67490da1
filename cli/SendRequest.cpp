// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SendRequest.h"

#include "cli/ExitStatus.h"
#include "cli/SimPin.h"
#include "directory/TextChecks.h"
#include "directory/WctpFields.h"
#include "dispatch/Recipient.h"
#include "dispatch/TapLink.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"

#include <QRegularExpression>

namespace zolbin {

namespace {

// The entry of that name: the exact name first, else the only one whose name differs in letter case.
template <typename List> int findByName(const List& list, const std::string& name)
{
    if (const int exact = list.IndexOfName(name); exact >= 0)
        return exact;
    int found = -1;
    for (int i = 0; i < list.Count(); ++i) {
        if (UpperCaseText(list.Items(i)->Name.str()) != UpperCaseText(name))
            continue;
        if (found >= 0)
            return -1;
        found = i;
    }
    return found;
}

std::string quoted(const std::string& cp1251)
{
    return "«" + utf8(VisibleControls(cp1251)) + "»";
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
    const std::string bad = "--defer: неверные дата/время «" + text + "», ожидается «дд.мм.гггг чч:мм»";
    if (!m.hasMatch())
        throw UsageError(bad);
    const int month = m.captured(2).toInt();
    int hour = 0;
    int minute = 0;
    if (month < 1 || month > 12 || !readTime(m.captured(4).toStdString(), hour, minute))
        throw UsageError(bad);
    form.later = true;
    form.day = std::to_string(m.captured(1).toInt());
    form.month = MonthNames()[static_cast<std::size_t>(month - 1)];
    form.year = m.captured(3).toStdString();
    form.hour = std::to_string(hour);
    form.minute = std::to_string(minute);
    // Day and year are digits by now: the check can only find the date impossible.
    if (const Result<bool> valid = DeferralDateValid(form); !valid || !valid.value())
        throw UsageError("--defer: такой даты нет: «" + text + "»");
}

// A TAP company needs its terminal's address or telephone number, and a number needs the modem's device.
void checkTapCompany(const std::string& who, const std::string& companyName, const TProvider& company,
                     const Session& session)
{
    const std::string why = who + ": пейдж. компания " + quoted(companyName) + " работает через шлюз TAP, ";
    const std::string phone = company.TapPhone.str();
    if (phone.empty())
        throw UsageError(why + "а телефон или адрес её терминала («TapPhone») не указан");
    if (TapTcpAddress(phone))
        return;
    if (!DialableNumber(phone))
        throw UsageError(why + "а её телефон " + quoted(phone) + " не набрать модемом");
    if (session.settings.TapDevice.empty())
        throw UsageError(why +
                         "а в настройках (Zolbin.ini, раздел TAP) не указано устройство модема «Device»");
}

// The company a recipient's pages go through, checked the way the send would find it: it must exist
// and have a gate this program serves, and an SMTP gate needs the sender's mail settings.
void checkCompany(const std::string& who, const std::string& companyName, const Session& session)
{
    if (companyName.empty())
        throw UsageError(who + ": не указана пейдж. компания");
    const int index = session.providers.IndexOfName(companyName);
    if (index < 0)
        throw UsageError(who + ": пейдж. компания " + quoted(companyName) + " не найдена в справочнике");
    const TProvider& company = *session.providers.Items(index);
    if (company.Gate == Gate::SMTP) {
        const std::string why = who + ": пейдж. компания " + quoted(companyName) +
                                " принимает сообщения по почте, а в настройках (Zolbin.ini, раздел Sender) ";
        if (session.settings.SMTPServer.empty())
            throw UsageError(why + "не указан почтовый сервер «SMTPServer»");
        if (session.settings.EMail.empty())
            throw UsageError(why + "не указан адрес отправителя «EMail»");
    } else if (company.Gate == Gate::TAP) {
        checkTapCompany(who, companyName, company, session);
    } else if (company.Gate == Gate::WCTP) {
        if (const std::string refusal = WctpFieldsRefusal(WctpFieldsOf(company)); !refusal.empty())
            throw UsageError(who + ": пейдж. компания " + quoted(companyName) + ": " + utf8(refusal));
    } else if (company.Gate == Gate::SMS) {
        CheckSmsCompany(who, quoted(companyName), company, session);
    } else if (company.Gate != Gate::SNPP) {
        throw UsageError(who + ": у пейдж. компании " + quoted(companyName) + " неизвестный шлюз");
    }
}

void checkDigital(const std::string& who, const MessageText& message)
{
    if (!IsDigitalText(message.text))
        throw UsageError(who + " - цифровой пейджер: допустимы только символы 0..9, пробел, [, ], -, u, U "
                               "и одна строка текста");
}

std::string subscriberWho(const std::string& name)
{
    return "абонент " + quoted(name);
}

void chooseSubscriber(const SendOptions& options, const Session& session, const MessageText& message,
                      SendRequest& request)
{
    const std::string name = FromTerminal(*options.to, "--to");
    const int index = findByName(session.abonents, name);
    if (index < 0)
        throw UsageError(subscriberWho(name) +
                         " не найден в справочнике (список: zolbin-send --list subscribers)");
    const TAbonent& abonent = *session.abonents.Items(index);
    ChooseSubscriber(request.params, abonent);
    const std::string who = subscriberWho(abonent.Name.str());
    if (abonent.Number == 0)
        throw UsageError(who + ": не указан номер пейджера");
    checkCompany(who, abonent.Provider.str(), session);
    if (abonent.Numeric == 1)
        checkDigital(who, message);
}

void chooseGroup(const SendOptions& options, const Session& session, const MessageText& message,
                 SendRequest& request)
{
    const std::string name = FromTerminal(*options.group, "--group");
    const int index = findByName(session.groups, name);
    if (index < 0)
        throw UsageError("группа " + quoted(name) +
                         " не найдена в справочнике (список: zolbin-send --list groups)");
    const TGroup& group = *session.groups.Items(index);
    if (group.Members.empty())
        throw UsageError("в группе " + quoted(group.Name.str()) + " нет ни одного абонента");
    request.curGroup = static_cast<std::int16_t>(index);
    request.params.CurMaxLen = GroupMaxLen(group);
    for (const AbonentPtr& member : group.Members) {
        const std::string who = subscriberWho(member->Name.str()) + " из группы " + quoted(group.Name.str());
        checkCompany(who, member->Provider.str(), session);
        if (member->Numeric == 1)
            checkDigital(who, message);
    }
}

void chooseNumber(const SendOptions& options, const Session& session, SendRequest& request)
{
    std::int32_t number = 0;
    if (!TryStrToInt(*options.number, number))
        throw UsageError("--number: «" + *options.number + "» неверное целочисленное значение");
    if (number == 0)
        throw UsageError("--number: номер пейджера не может быть 0");
    const std::string companyName = FromTerminal(*options.company, "--company");
    const int index = findByName(session.providers, companyName);
    if (index < 0)
        throw UsageError("пейдж. компания " + quoted(companyName) +
                         " не найдена в справочнике (список: zolbin-send --list companies)");
    TSendParams& p = request.params;
    p.CurNumber = number;
    p.CurName.clear();
    p.CurProvider = session.providers.Items(index)->Name.str();
    p.CurDigital = 0;
    p.CurMaxLen = 240;
    checkCompany("абонент " + std::to_string(number), p.CurProvider, session);
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
            throw UsageError("--repeat: число повторов - 1 или 2, а не «" + *options.repeat + "»");
        int hours = 0;
        int minutes = 0;
        if (!options.interval || !readTime(*options.interval, hours, minutes))
            throw UsageError("--interval: неверный интервал «" + options.interval.value_or("") +
                             "», ожидается «чч:мм» (часы 0..23, минуты 0..59)");
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
        throw UsageError(utf8(cp("Необходимо набрать текст сообщения")));

    SendRequest request;
    if (options.to)
        chooseSubscriber(options, session, message, request);
    else if (options.group)
        chooseGroup(options, session, message, request);
    else
        chooseNumber(options, session, request);

    // The editor takes no more than the limit (0 = none), a line break counting two.
    const std::int32_t limit = request.params.CurMaxLen;
    if (limit > 0 && message.length() > limit)
        throw UsageError("текст сообщения слишком длинный: " + std::to_string(message.length()) +
                         " символов при пределе " + std::to_string(limit) +
                         " (перевод строки считается за два символа)");

    if (form.later || form.repeat) {
        if (!serviceAvailable(request, session))
            throw UsageError("отложенная отправка и повторы здесь недоступны: их принимают только родная "
                             "пейдж. компания и компании со шлюзом SNPP");
        // The repeat count is "1" or "2" by now: the form always applies.
        if (const Status applied = ApplyServiceForm(form, request.params, request.serviceSummary); !applied)
            throw UsageError(applied.failure().shown().toStdString());
    }
    return request;
}

} // namespace zolbin
