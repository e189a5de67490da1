// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the desktop tells about the keyboard, and the one change the program makes to it: the keyboard
// group chosen at start. The installed source speaks to the X11 display and answers nothing elsewhere
// (Wayland, the offscreen platform of the tests); tests put a fake in its place.

#include <optional>
#include <string>
#include <vector>

namespace zolbin {

class KeyboardSource
{
public:
    virtual ~KeyboardSource() = default;
    // The keyboard groups the desktop has configured, in order ("Russian", "English (US)").
    virtual std::vector<std::string> groupNames() const = 0;
    // The index of the active group, or -1 when unknown.
    virtual int activeGroup() const = 0;
    // Makes the group the active one; false when it could not.
    virtual bool lockGroup(int index) = 0;
    // The Caps Lock state, when known.
    virtual std::optional<bool> capsLockOn() const = 0;
};

// The source in use.
KeyboardSource& keyboardSource();
// Puts a source in place of the display's (nullptr brings the display's back); returns the one replaced.
KeyboardSource* setKeyboardSource(KeyboardSource* source);

// The group to make active for a layout identifier ("00000419" Russian, "00000409" US English): the first
// group named "Russian…" or "English (US)…"; -1 when the desktop has no such group.
int GroupForLayout(const std::vector<std::string>& groupNames, const std::string& layoutId);

} // namespace zolbin
