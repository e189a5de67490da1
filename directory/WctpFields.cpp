// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/WctpFields.h"

#include <QUrl>

namespace zolbin {

WctpFields WctpFieldsOf(const TProvider& company)
{
    return {company.SNPPSrv.str(), company.SMTPEMail.str(), company.SnppPswd.str(), company.TapPhone.str()};
}

void StoreWctpFields(TProvider& company, const WctpFields& fields)
{
    company.SNPPSrv = fields.url;
    company.SMTPEMail = fields.senderId;
    company.SnppPswd = fields.securityCode;
    company.TapPhone = fields.pattern;
}

bool IsWctpUrl(const std::string& url)
{
    const QUrl parsed(QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size())), QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !parsed.host().isEmpty();
}

std::string WctpRecipientId(const std::string& pattern, std::int32_t number)
{
    const std::string digits = std::to_string(number);
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] != '#') {
            out += pattern[i++];
            continue;
        }
        std::size_t run = 0;
        while (i < pattern.size() && pattern[i] == '#') {
            ++run;
            ++i;
        }
        if (digits.size() < run)
            out.append(run - digits.size(), '0');
        out += digits;
    }
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

Text WctpFieldsProblem(const WctpFields& fields)
{
    if (fields.url.empty())
        return tx("WctpFields", "Не заполнен параметр WCTP-сервера: «WCTP - URL»");
    if (!IsWctpUrl(fields.url))
        return tx("WctpFields", "Адрес WCTP должен начинаться с http:// или https:// и называть сервер");
    if (fields.senderId.empty())
        return tx("WctpFields", "Не заполнен параметр WCTP-сервера: «Отправитель»");
    if (fields.pattern.find_first_not_of(' ') == std::string::npos)
        return tx("WctpFields", "Не заполнен параметр WCTP-сервера: «Получатель (#)»");
    return {};
}

} // namespace zolbin
