// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keyboard layouts: activation records the chosen layout identifier ("00000419" Russian, "00000409" US
// English) and, on X11, makes the desktop's matching keyboard group the active one (when the desktop has
// one configured; otherwise the keyboard stays as it is). The name query returns the active layout: the
// platform's word where it gives one, otherwise the recorded identifier.

#include <string>

namespace zolbin {

class KeyboardLayout final
{
public:
    static constexpr const char* Russian = "00000419";
    static constexpr const char* English = "00000409";

    static void activate(const std::string& id);
    static std::string activeName();
    // Tests: forget what the platform reports and use only the recorded identifier.
    static void setIgnorePlatform(bool ignore);
};

} // namespace zolbin
