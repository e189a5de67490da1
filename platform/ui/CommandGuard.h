// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one boundary where a command's errors end: every menu, button and key handler runs through
// runCommand, which shows the text of an exception a library throws in a message box and returns to the
// next user action. No exception ever crosses the event loop. A failure the logic returns is shown the
// same way (showFailure), and the command ends there.

#include "platform/Result.h"

#include <functional>
#include <utility>

namespace zolbin {

void runCommand(const std::function<void()>& command);

// Wraps a handler for QObject::connect: guarded([this] { sendPage(); }).
template <typename F> auto guarded(F f)
{
    return [f = std::move(f)](auto&&...) { runCommand(f); };
}

// The failure's text in a Stop box, the box that ends a command on an error.
void showFailure(const Failure& failure);

// True when the result holds its value; otherwise shows the failure (showFailure) and gives false:
// if (!succeeded(list.Save())) return;
template <typename T> bool succeeded(const Result<T>& result)
{
    if (!result)
        showFailure(result.failure());
    return result.ok();
}

} // namespace zolbin
