#pragma once
// What an X11 display tells about the keyboard. Every answer is empty where the program does not run on
// X11 (Wayland, the offscreen platform of the tests).

#include <optional>
#include <string>

namespace zolbin::x11 {

// True when the Caps Lock modifier is locked on.
std::optional<bool> capsLockOn();

// The name of the active keyboard group as the keyboard description names it ("Russian",
// "English (US)"); empty when unknown.
std::string activeGroupName();

} // namespace zolbin::x11
