// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings of "Zolbin.ini" held in memory, and their reader.

#include "platform/ProfileFile.h"

#include <cstdint>
#include <string>

namespace zolbin {

inline constexpr const char* SettingsFileName = "Zolbin.ini";
inline constexpr const char* SectionSender = "Sender";
inline constexpr const char* SectionSetting = "Setting";

struct TSettings
{
    std::string ShortName;
    std::string Name;
    std::string EMail;
    std::string SMTPServer;
    std::uint8_t SMTPSecurity = 0;
    std::string SMTPUser;
    std::string SMTPCAFile;
    std::uint8_t HideFrom = 0;
    std::string Company; // default paging company
    std::uint8_t Clear = 0;
    std::uint8_t NoSplash = 0;
    std::uint8_t Tray = 0;
    std::uint8_t Layout = 0;
    std::uint8_t FontSize = 7;

    // The exact flag tests.
    bool clearOn() const { return Clear == 1; }
    bool trayOn() const { return Tray == 1; }
    bool hideFromOn() const { return HideFrom == 1; }
    bool splashOff() const { return NoSplash != 0; }
    bool englishLayout() const { return Layout != 0; }
};

// Reads every key in the documented order with its default. A numeric value that is present but not
// a whole number takes the key's default; a whole number is kept in one byte (its low 8 bits).
void LoadSettings(const ProfileFile& file, TSettings& settings);

} // namespace zolbin
