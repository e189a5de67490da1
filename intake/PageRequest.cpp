// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PageRequest.h"

#include "intake/PageText.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"

#include <QJsonValue>
#include <algorithm>

namespace zolbin {

namespace {

constexpr double MaxDeferMinutes = 366.0 * 24 * 60;
constexpr std::size_t MaxKey = 128;

RequestFault badRequest(const Text& message)
{
    return RequestFault{400, "bad_request", message};
}

// A JSON string as cp1251, or nothing when cp1251 cannot hold one of its characters.
std::optional<std::string> cp1251(const QString& text)
{
    const QList<uint> characters = text.toUcs4();
    if (!std::all_of(characters.begin(), characters.end(), [](uint c) { return isCp1251Char(c); }))
        return std::nullopt;
    return toCp1251(text);
}

std::variant<PagerTarget, RequestFault> recipient(const QJsonObject& body, const PagerDirectory& directory)
{
    const int named = static_cast<int>(body.contains(QLatin1String("to"))) +
                      static_cast<int>(body.contains(QLatin1String("group"))) +
                      static_cast<int>(body.contains(QLatin1String("number")));
    if (named != 1)
        return badRequest(
            tx("PageRequest", "Укажите одного получателя: \"to\", \"group\" или \"number\" с \"company\""));
    const auto unknown = [] {
        return RequestFault{404, "unknown_recipient",
                            tx("PageRequest", "Получатель не найден в справочнике")};
    };
    if (body.contains(QLatin1String("number"))) {
        const QJsonValue value = body.value(QLatin1String("number"));
        const std::string number =
            value.isDouble() ? std::to_string(value.toInteger(-1)) : value.toString().trimmed().toStdString();
        std::int32_t parsed = 0;
        const bool digits = !number.empty() && std::all_of(number.begin(), number.end(),
                                                           [](char c) { return c >= '0' && c <= '9'; });
        const std::optional<std::string> company = cp1251(body.value(QLatin1String("company")).toString());
        if (!digits || !TryStrToInt(number, parsed) || parsed <= 0 || !company || company->empty())
            return badRequest(
                tx("PageRequest", "Номер пейджера - положительное число, и нужна компания (\"company\")"));
        return PagerTarget{PagerTarget::Kind::Number, number, 0, false, *company};
    }
    const bool group = body.contains(QLatin1String("group"));
    const std::optional<std::string> name =
        cp1251(body.value(QLatin1String(group ? "group" : "to")).toString().trimmed());
    if (!name || name->empty())
        return unknown();
    std::optional<PagerTarget> found = group ? directory.findGroup(*name) : directory.find(*name);
    if (!found || (!group && found->kind != PagerTarget::Kind::Subscriber))
        return unknown();
    return *found;
}

std::variant<std::optional<QDateTime>, RequestFault> holdTime(const QJsonValue& defer, const QDateTime& now)
{
    const RequestFault bad =
        badRequest(tx("PageRequest", "\"defer\" - время ISO 8601 или число минут (не больше года)"));
    if (defer.isUndefined() || defer.isNull())
        return std::optional<QDateTime>();
    if (defer.isDouble()) {
        const double minutes = defer.toDouble();
        if (minutes < 0 || minutes > MaxDeferMinutes)
            return bad;
        if (minutes == 0)
            return std::optional<QDateTime>();
        return std::optional<QDateTime>(now.toUTC().addMSecs(static_cast<qint64>(minutes * 60000)));
    }
    const QDateTime when = QDateTime::fromString(defer.toString().trimmed(), Qt::ISODateWithMs);
    if (!when.isValid() || when > now.addDays(366))
        return bad;
    return std::optional<QDateTime>(when.toUTC());
}

const char* stateWord(PageState state)
{
    static const char* const words[] = {"queued", "sending", "sent",     "waiting",
                                        "failed", "unknown", "cancelled"};
    const auto index = static_cast<std::size_t>(state);
    return index < std::size(words) ? words[index] : "unknown";
}

} // namespace

std::variant<PageRequest, RequestFault> ReadPageRequest(const QJsonObject& body,
                                                        const PagerDirectory& directory, const QDateTime& now)
{
    PageRequest request;
    std::variant<PagerTarget, RequestFault> target = recipient(body, directory);
    if (auto* fault = std::get_if<RequestFault>(&target))
        return *fault;
    request.target = std::get<PagerTarget>(std::move(target));

    const QJsonValue text = body.value(QLatin1String("text"));
    if (!text.isString())
        return badRequest(tx("PageRequest", "Нет текста сообщения (\"text\")"));
    QString lines = text.toString();
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const std::optional<std::string> converted =
        cp1251(lines.replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    if (!converted)
        return RequestFault{400, "bad_text",
                            tx("PageRequest", "В тексте символ, которого нет в кодировке cp1251")};
    request.text = *converted;
    std::optional<Text> why = TextFault(request.text);
    if (!why)
        why = TextRefusal(request.text, request.target);
    if (why)
        return RequestFault{400, "bad_text", *why};

    std::variant<std::optional<QDateTime>, RequestFault> hold =
        holdTime(body.value(QLatin1String("defer")), now);
    if (auto* fault = std::get_if<RequestFault>(&hold))
        return *fault;
    request.holdUntil = std::get<std::optional<QDateTime>>(hold);

    const QJsonValue key = body.value(QLatin1String("key"));
    if (!key.isUndefined() && !key.isNull()) {
        const std::string k = key.toString().toStdString();
        const bool printable = std::all_of(k.begin(), k.end(), [](char c) { return c > 0x20 && c < 0x7F; });
        if (!key.isString() || k.empty() || k.size() > MaxKey || !printable)
            return badRequest(tx("PageRequest", "\"key\" - от 1 до 128 печатных знаков ASCII без пробелов"));
        request.key = k;
    }
    return request;
}

QJsonObject PageStatusJson(const OutboxPage& page)
{
    const bool waits = page.state == PageState::Queued || page.state == PageState::Waiting;
    const std::string recipient =
        !page.params.CurName.empty() ? page.params.CurName : std::to_string(page.params.CurNumber);
    const auto text = [](const std::string& cp) { return QString::fromStdString(utf8(cp)); };
    return QJsonObject{
        {QLatin1String("id"), text(page.id)},
        {QLatin1String("state"), QLatin1String(stateWord(page.state))},
        {QLatin1String("recipient"), text(recipient)},
        {QLatin1String("company"), text(page.params.CurProvider)},
        {QLatin1String("attempts"), page.attempts},
        {QLatin1String("next_attempt"),
         waits ? QJsonValue(QDateTime::fromMSecsSinceEpoch(page.nextAttemptMs, Qt::UTC).toString(Qt::ISODate))
               : QJsonValue()},
        {QLatin1String("desk"), text(page.desk)},
        {QLatin1String("worker"), text(page.worker)},
        {QLatin1String("last_reply"), text(page.lastReply)},
    };
}

} // namespace zolbin
