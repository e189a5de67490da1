// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hold times of the SNPP sendings of one subscriber: one per sending, each empty (at once) or
// "dd.mm.yy hh:mm".

#include "directory/SendParams.h"
#include "platform/Result.h"

#include <QDateTime>
#include <array>
#include <string>

namespace zolbin {

using HoldTimes = std::array<std::string, 3>;

// From the deferral (DeferDate "dd.mm.yyyy" + DeferTime "hh:mm"), the repeats (RepeatCount, at most 2)
// and the interval (RepeatInterval "hh:mm"); now is the moment the subscriber is served. A text that is
// not a valid date or time fails with "'%s' неверные дата/время" (FailureCode::BadDateTime).
Result<HoldTimes> ComputeHoldTimes(const TSendParams& params, const QDateTime& now);

// Parsers of the service texts; they fail as above.
Result<QDate> ParseDate(const std::string& text);          // "dd.mm.yyyy" (also d.m.yy)
Result<QTime> ParseTime(const std::string& text);          // "hh:mm"
Result<int> ParseIntervalMinutes(const std::string& text); // "hh:mm" as minutes

} // namespace zolbin
