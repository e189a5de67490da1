// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings of "Zolbin.ini" held in memory, and their reader.

#include "platform/ProfileFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zolbin {

inline constexpr const char* SettingsFileName = "Zolbin.ini";
inline constexpr const char* SectionSender = "Sender";
inline constexpr const char* SectionSetting = "Setting";
inline constexpr const char* SectionTap = "TAP"; // the line to TAP paging terminals reached by modem

// The character format of the serial line: 7 data bits, even parity, one stop bit (the paging
// protocol's own), or 8 data bits, no parity, one stop bit.
enum class TapFormat : std::uint8_t
{
    SevenE1 = 0,
    EightN1 = 1
};

inline constexpr std::uint32_t TapDefaultSpeed = 9600;
inline constexpr const char* SectionGsm = "GSM"; // the GSM modem that sends SMS
inline constexpr std::uint32_t GsmDefaultSpeed = 115200;
// The outbox: how long finished pages stay, where it lives, which gates this machine sends, its name.
inline constexpr const char* SectionOutbox = "Outbox";
// The gates a machine sends, one bit per gate number (Gate::SNPP is bit 0 ... Gate::WCTP bit 4).
inline constexpr std::uint32_t AllGates = 0x1F;
// Pages taken in from other systems: where the SNPP and HTTP listeners listen and who may page.
inline constexpr const char* SectionIntake = "Intake";
inline constexpr int MaxRetryMinutes = 7 * 24 * 60;

struct TSettings
{
    std::string ShortName;
    std::string Name;
    std::string EMail;
    std::string SMTPServer;
    std::uint8_t HideFrom = 0;
    std::string Company; // default paging company
    std::uint8_t Clear = 0;
    std::uint8_t NoSplash = 0;
    std::uint8_t Tray = 0;
    std::uint8_t Layout = 0;
    std::uint8_t FontSize = 7;
    // The relay's security: 0 none (the plain HELO dialogue), 1 STARTTLS, 2 TLS from the first byte.
    std::uint8_t SMTPSecurity = 0;
    std::string SMTPUser;   // the SMTP AUTH login; empty: no AUTH
    std::string SMTPCAFile; // a PEM file of CA certificates trusted besides the system's; may be empty

    // The modem line for TAP companies whose "TapPhone" is a number rather than host:port.
    std::string TapDevice = "/dev/ttyS0";
    std::uint32_t TapSpeed = TapDefaultSpeed; // bits per second
    TapFormat TapLineFormat = TapFormat::SevenE1;
    std::string TapInit = "ATZ";        // the modem's initialisation string, sent before dialling
    std::string TapDialPrefix = "ATDT"; // put before the company's number: "ATDT" + "1234567"
    // The GSM modem's line for SMS companies (the SIM's PIN is in the secret store, never here).
    std::string GsmDevice = "/dev/ttyUSB0";
    std::uint32_t GsmSpeed = GsmDefaultSpeed;
    // For how many minutes a page that failed for a passing reason is tried again; 0: never.
    int RetryMinutes = 0;
    // Finished pages older than this many days leave the outbox.
    int OutboxKeepDays = 30;
    // Where the outbox lives: empty for "Outbox.db" in the data folder, else a libpq connection URI or
    // key=value string of the PostgreSQL database the room shares (never with a password).
    std::string OutboxDatabase;
    // The gates whose pages this machine sends (bits of AllGates); 0 sends none.
    std::uint32_t OutboxGates = AllGates;
    // The name of this desk written on every page it queues: the host name by default.
    std::string OutboxDesk;
    // The listeners of pages taken in, "HOST:PORT" each (empty: that one does not listen), opened by the
    // outbox's background worker; the HTTP listener's token file, certificate and key; the SNPP users file
    // ("user:password" lines); how many pages one recipient may be given per minute.
    std::string IntakeSnpp;
    std::string IntakeHttp;
    std::string IntakeTokenFile;
    std::string IntakeCertFile;
    std::string IntakeKeyFile;
    std::string IntakeSnppUsersFile;
    int IntakeMaxPagesPerMinute = 10;

    // The exact flag tests.
    bool clearOn() const { return Clear == 1; }
    bool trayOn() const { return Tray == 1; }
    bool hideFromOn() const { return HideFrom == 1; }
    bool splashOff() const { return NoSplash != 0; }
    bool englishLayout() const { return Layout != 0; }
};

// A list of gate names ("snpp, smtp, tap, sms, wctp" in any case, separated by commas or blanks; "none"
// alone for none) as bits of AllGates; nothing for a name not known. Empty means all.
std::optional<std::uint32_t> ParseGates(const std::string& names);
// The gates' names, "sms,tap" ("none" for none).
std::string GateNames(std::uint32_t gates);
// This machine's host name.
std::string HostName();

// Reads every key in the documented order with its default. A numeric value that is present but not
// a whole number takes the key's default; a whole number is kept in one byte (its low 8 bits).
void LoadSettings(const ProfileFile& file, TSettings& settings);

} // namespace zolbin
