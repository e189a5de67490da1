// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AfterStart.h"

#include <QTimer>

namespace zolbin {

namespace {

// Long enough for a window with a large directory to be shown and painted first.
constexpr int SettleMs = 100;

} // namespace

void afterStart(QObject* context, std::function<void()> call)
{
    QTimer::singleShot(SettleMs, context, std::move(call));
}

} // namespace zolbin
