// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/ServiceSettings.h"

#include "directory/TextChecks.h"
#include "platform/Codepage.h"
#include "platform/Convert.h"

namespace zolbin {

namespace {

std::string padded(const std::string& text)
{
    return text.size() < 2 ? "0" + text : text;
}

bool leapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

} // namespace

const std::vector<Text>& MonthTexts()
{
    static const std::vector<Text> names = {
        tx("ServiceSettings", "Январь"),  tx("ServiceSettings", "Февраль"), tx("ServiceSettings", "Март"),
        tx("ServiceSettings", "Апрель"),  tx("ServiceSettings", "Май"),     tx("ServiceSettings", "Июнь"),
        tx("ServiceSettings", "Июль"),    tx("ServiceSettings", "Август"),  tx("ServiceSettings", "Сентябрь"),
        tx("ServiceSettings", "Октябрь"), tx("ServiceSettings", "Ноябрь"),  tx("ServiceSettings", "Декабрь")};
    return names;
}

int MonthNumber(const std::string& text)
{
    const std::string wanted = UpperCaseText(text);
    const auto& names = MonthTexts();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (UpperCaseText(names[i].russian()) == wanted ||
            UpperCaseText(toCp1251(names[i].shown())) == wanted)
            return static_cast<int>(i) + 1;
    return 0;
}

Result<bool> DeferralDateValid(const ServiceForm& form)
{
    const Result<std::int32_t> yearNumber = StrToInt(form.year);
    if (!yearNumber)
        return yearNumber.failure();
    const Result<std::int32_t> dayNumber = StrToInt(form.day);
    if (!dayNumber)
        return dayNumber.failure();
    const int year = yearNumber.value();
    const int month = MonthNumber(form.month);
    const int day = dayNumber.value();
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int length = month == 2 && leapYear(year) ? 29 : lengths[month - 1];
    return day <= length;
}

void ResetServiceSettings(TSendParams& params, Text& summary)
{
    summary = {};
    params.DeferDate.clear();
    params.RepeatCount = 0;
}

Status ApplyServiceForm(const ServiceForm& form, TSendParams& params, Text& summary)
{
    ResetServiceSettings(params, summary);
    if (form.later) {
        const std::string month = padded(std::to_string(MonthNumber(form.month)));
        params.DeferDate = padded(form.day) + "." + month + "." + form.year;
        params.DeferTime = padded(form.hour) + ":" + padded(form.minute);
        summary = tx("ServiceSettings", "Отложено на %1 %2").arg(params.DeferDate).arg(params.DeferTime);
    }
    if (form.repeat) {
        const std::string hours = padded(form.repHour);
        const std::string minutes = padded(form.repMinute);
        const Result<std::int32_t> typed = StrToInt(form.repCount);
        if (!typed)
            return typed.failure();
        std::int32_t count = typed.value();
        count = count < 1 ? 1 : (count > 2 ? 2 : count);
        params.RepeatCount = static_cast<std::uint8_t>(count);
        params.RepeatInterval = hours + ":" + minutes;
        summary = summary.empty()
                      ? tx("ServiceSettings", "Повторы - %1*%2").arg(count).arg(params.RepeatInterval)
                      : tx("ServiceSettings", "%1, повторы - %2*%3")
                            .arg(summary)
                            .arg(count)
                            .arg(params.RepeatInterval);
    }
    return {};
}

} // namespace zolbin
