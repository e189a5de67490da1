// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/HoldTimes.h"

#include "platform/Codepage.h"

#include <vector>

namespace zolbin {

namespace {

Failure badDateTime(const std::string& text)
{
    return {FailureCode::BadDateTime, tx("HoldTimes", "'%1' неверные дата/время").arg(text)};
}

// Splits "a<sep>b<sep>c" into whole numbers; false when a part is empty or not all digits.
bool numbers(const std::string& text, char separator, std::vector<int>& out)
{
    out.clear();
    std::string part;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == separator) {
            if (part.empty() || part.size() > 4)
                return false;
            out.push_back(std::stoi(part));
            part.clear();
        } else if (text[i] >= '0' && text[i] <= '9') {
            part += text[i];
        } else {
            return false;
        }
    }
    return true;
}

std::string format(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("dd.MM.yy hh:mm")).toStdString();
}

} // namespace

Result<QDate> ParseDate(const std::string& text)
{
    std::vector<int> parts;
    if (!numbers(text, '.', parts) || parts.size() != 3)
        return badDateTime(text);
    int year = parts[2];
    if (year < 100)
        year += 2000;
    const QDate date(year, parts[1], parts[0]);
    if (!date.isValid())
        return badDateTime(text);
    return date;
}

Result<QTime> ParseTime(const std::string& text)
{
    std::vector<int> parts;
    if (!numbers(text, ':', parts) || parts.size() < 2 || parts.size() > 3)
        return badDateTime(text);
    const QTime time(parts[0], parts[1], parts.size() == 3 ? parts[2] : 0);
    if (!time.isValid())
        return badDateTime(text);
    return time;
}

Result<int> ParseIntervalMinutes(const std::string& text)
{
    const Result<QTime> time = ParseTime(text);
    if (!time)
        return time.failure();
    return time.value().hour() * 60 + time.value().minute();
}

Result<HoldTimes> ComputeHoldTimes(const TSendParams& params, const QDateTime& now)
{
    HoldTimes holds;
    const int repeats = params.RepeatCount > 2 ? 2 : params.RepeatCount;
    int interval = 0;
    if (repeats > 0) {
        const Result<int> minutes = ParseIntervalMinutes(params.RepeatInterval);
        if (!minutes)
            return minutes.failure();
        interval = minutes.value();
    }
    if (!params.DeferDate.empty()) {
        const Result<QDate> date = ParseDate(params.DeferDate);
        if (!date)
            return date.failure();
        const Result<QTime> time = ParseTime(params.DeferTime);
        if (!time)
            return time.failure();
        const QDateTime deferred(date.value(), time.value());
        for (int i = 0; i <= repeats; ++i)
            holds[static_cast<std::size_t>(i)] =
                format(deferred.addSecs(static_cast<qint64>(i) * interval * 60));
    } else {
        for (int i = 1; i <= repeats; ++i)
            holds[static_cast<std::size_t>(i)] = format(now.addSecs(static_cast<qint64>(i) * interval * 60));
    }
    return holds;
}

} // namespace zolbin
