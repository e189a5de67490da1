// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/RecipientChecks.h"

#include "directory/SmsNumber.h"
#include "directory/TextChecks.h"
#include "directory/WctpFields.h"
#include "dispatch/TapLink.h"

namespace zolbin {

namespace {

// A TAP company needs its terminal's address or telephone number, and a number needs the modem's device.
Text tapRefusal(const Text& who, const std::string& companyName, const TProvider& company,
                const TSettings& settings)
{
    const std::string phone = company.TapPhone.str();
    if (phone.empty())
        return tx("Recipients", "%1: пейдж. компания «%2» работает через шлюз TAP, а телефон или адрес её "
                                "терминала («TapPhone») не указан")
            .arg(who)
            .arg(VisibleControls(companyName));
    if (TapTcpAddress(phone))
        return {};
    if (!DialableNumber(phone))
        return tx("Recipients",
                  "%1: пейдж. компания «%2» работает через шлюз TAP, а её телефон «%3» не набрать модемом")
            .arg(who)
            .arg(VisibleControls(companyName))
            .arg(VisibleControls(phone));
    if (settings.TapDevice.empty())
        return tx("Recipients",
                  "%1: пейдж. компания «%2» работает через шлюз TAP, а в настройках (Zolbin.ini, "
                  "раздел TAP) не указано устройство модема «Device»")
            .arg(who)
            .arg(VisibleControls(companyName));
    return {};
}

Text smsRefusal(const Text& who, const std::string& companyName, const TProvider& company,
                const TSettings& settings)
{
    if (!SmsPatternValid(company.TapPhone.str()))
        return tx("Recipients",
                  "%1: пейдж. компания «%2» работает через шлюз SMS, а её шаблон номера «%3» не "
                  "даёт телефонного номера")
            .arg(who)
            .arg(VisibleControls(companyName))
            .arg(company.TapPhone.str());
    if (settings.GsmDevice.empty())
        return tx("Recipients",
                  "%1: пейдж. компания «%2» работает через шлюз SMS, а в настройках (Zolbin.ini, "
                  "раздел GSM) не указано устройство модема «Device»")
            .arg(who)
            .arg(VisibleControls(companyName));
    return {};
}

} // namespace

Text SubscriberWho(const std::string& name)
{
    return tx("Recipients", "абонент «%1»").arg(VisibleControls(name));
}

Text MemberWho(const std::string& name, const std::string& group)
{
    return tx("Recipients", "абонент «%1» из группы «%2»")
        .arg(VisibleControls(name))
        .arg(VisibleControls(group));
}

Text NumberWho(std::int32_t number)
{
    return tx("Recipients", "абонент %1").arg(number);
}

Text CompanyRefusal(const Text& who, const std::string& companyName, const TProviderList& providers,
                    const TSettings& settings)
{
    if (companyName.empty())
        return tx("Recipients", "%1: не указана пейдж. компания").arg(who);
    const int index = providers.IndexOfName(companyName);
    if (index < 0)
        return tx("Recipients", "%1: пейдж. компания «%2» не найдена в справочнике")
            .arg(who)
            .arg(VisibleControls(companyName));
    const TProvider& company = *providers.Items(index);
    const std::string name = VisibleControls(companyName);
    switch (company.Gate) {
    case Gate::SNPP:
        return {};
    case Gate::SMTP:
        if (settings.SMTPServer.empty())
            return tx("Recipients", "%1: пейдж. компания «%2» принимает сообщения по почте, а в настройках "
                                    "(Zolbin.ini, раздел Sender) не указан почтовый сервер «SMTPServer»")
                .arg(who)
                .arg(name);
        if (settings.EMail.empty())
            return tx("Recipients", "%1: пейдж. компания «%2» принимает сообщения по почте, а в настройках "
                                    "(Zolbin.ini, раздел Sender) не указан адрес отправителя «EMail»")
                .arg(who)
                .arg(name);
        return {};
    case Gate::TAP:
        return tapRefusal(who, companyName, company, settings);
    case Gate::WCTP:
        if (const Text problem = WctpFieldsProblem(WctpFieldsOf(company)); !problem.empty())
            return tx("Recipients", "%1: пейдж. компания «%2»: %3").arg(who).arg(name).arg(problem);
        return {};
    case Gate::SMS:
        return smsRefusal(who, companyName, company, settings);
    default:
        return tx("Recipients", "%1: у пейдж. компании «%2» неизвестный шлюз").arg(who).arg(name);
    }
}

Text DigitalRefusal(const Text& who, const std::string& text)
{
    if (IsDigitalText(text))
        return {};
    return tx("Recipients", "%1 - цифровой пейджер: допустимы только символы 0..9, пробел, [, ], -, u, U и "
                            "одна строка текста")
        .arg(who);
}

Text SubscriberRefusal(const TAbonent& abonent, const std::string& text, const TProviderList& providers,
                       const TSettings& settings)
{
    const Text who = SubscriberWho(abonent.Name.str());
    if (abonent.Number == 0)
        return tx("Recipients", "%1: не указан номер пейджера").arg(who);
    if (Text refusal = CompanyRefusal(who, abonent.Provider.str(), providers, settings); !refusal.empty())
        return refusal;
    return abonent.Numeric == 1 ? DigitalRefusal(who, text) : Text{};
}

Text GroupRefusal(const TGroup& group, const std::string& text, const TProviderList& providers,
                  const TSettings& settings)
{
    if (group.Members.empty())
        return tx("Recipients", "в группе «%1» нет ни одного абонента")
            .arg(VisibleControls(group.Name.str()));
    for (const AbonentPtr& member : group.Members) {
        const Text who = MemberWho(member->Name.str(), group.Name.str());
        if (Text refusal = CompanyRefusal(who, member->Provider.str(), providers, settings); !refusal.empty())
            return refusal;
        if (member->Numeric == 1)
            if (Text refusal = DigitalRefusal(who, text); !refusal.empty())
                return refusal;
    }
    return {};
}

Text LengthRefusal(std::int32_t length, std::int32_t limit)
{
    if (limit <= 0 || length <= limit)
        return {};
    return tx("Recipients", "текст сообщения слишком длинный: %1 символов при пределе %2 (перевод строки "
                            "считается за два символа)")
        .arg(length)
        .arg(limit);
}

} // namespace zolbin
