#pragma once
// The one boundary where a command's errors end: every menu, button and key handler runs through
// runCommand, which shows the text of a program error (conversion, file, settings) in a message box and
// returns to the next user action. No exception ever crosses the event loop.

#include <functional>
#include <utility>

namespace zolbin {

void runCommand(const std::function<void()>& command);

// Wraps a handler for QObject::connect: guarded([this] { btnSendClick(); }).
template <typename F> auto guarded(F f)
{
    return [f = std::move(f)](auto&&...) { runCommand(f); };
}

} // namespace zolbin
