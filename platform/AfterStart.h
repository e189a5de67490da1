// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work a program leaves until its window is up (a server's connection, a first look at the outbox): the
// call runs once, on the context's thread, a moment after the program began its start-up, so that the
// window is shown and painted first (not at all once the context is gone).

#include <QObject>
#include <functional>

namespace zolbin {

void afterStart(QObject* context, std::function<void()> call);

} // namespace zolbin
