// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard as an X11 display tells of it. Every answer is empty where the program does not run on
// X11 (Wayland, the offscreen platform of the tests), and nothing is changed there.

#include "platform/ui/KeyboardSource.h"

namespace zolbin::x11 {

class Keyboard final : public KeyboardSource
{
public:
    std::vector<std::string> groupNames() const override;
    int activeGroup() const override;
    bool lockGroup(int index) override;
    std::optional<bool> capsLockOn() const override;
};

} // namespace zolbin::x11
