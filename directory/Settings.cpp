// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Settings.h"

#include "directory/Records.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <unistd.h>

namespace zolbin {

namespace {

// A whole number as a signed 32-bit value: optional sign and decimal digits, blanks around ignored.
std::optional<std::int32_t> wholeNumber(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{1} << 31)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// A numeric key: a whole number keeps its low 8 bits, as a byte assignment does; anything else
// (an empty value, letters, a number out of range) takes the default.
std::uint8_t readByte(const ProfileFile& file, const char* section, const char* key, std::uint8_t def)
{
    const std::optional<std::int32_t> n = wholeNumber(file.readString(section, key, std::to_string(def)));
    if (!n)
        return def;
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(*n) & 0xFF);
}

// A line speed: a positive whole number of bits per second; anything else takes the default.
std::uint32_t readSpeed(const ProfileFile& file, const char* section = SectionTap,
                        std::uint32_t def = TapDefaultSpeed)
{
    const std::optional<std::int32_t> n = wholeNumber(file.readString(section, "Speed", std::to_string(def)));
    return n && *n > 0 ? static_cast<std::uint32_t>(*n) : def;
}

// A whole number of minutes or days within [0, max]; anything else takes the default.
int readCount(const ProfileFile& file, const char* section, const char* key, int def, int max)
{
    const std::optional<std::int32_t> n = wholeNumber(file.readString(section, key, std::to_string(def)));
    return n && *n >= 0 ? std::min<int>(*n, max) : def;
}

constexpr const char* GateKeys[] = {"snpp", "smtp", "tap", "sms", "wctp"};

} // namespace

std::optional<std::uint32_t> ParseGates(const std::string& names)
{
    std::uint32_t gates = 0;
    bool none = false;
    bool any = false;
    std::string word;
    const auto take = [&]() -> bool {
        if (word.empty())
            return true;
        any = true;
        std::string lower = word;
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        word.clear();
        if (lower == "none") {
            none = true;
            return true;
        }
        for (std::uint32_t g = 0; g < std::size(GateKeys); ++g)
            if (lower == GateKeys[g]) {
                gates |= 1u << g;
                return true;
            }
        return false;
    };
    for (char c : names) {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!take())
                return std::nullopt;
        } else {
            word += c;
        }
    }
    if (!take() || (none && gates != 0))
        return std::nullopt;
    return any ? gates : AllGates;
}

std::string GateNames(std::uint32_t gates)
{
    std::string names;
    for (std::uint32_t g = 0; g < std::size(GateKeys); ++g)
        if (gates & (1u << g))
            names += (names.empty() ? "" : ",") + std::string(GateKeys[g]);
    return names.empty() ? "none" : names;
}

std::string HostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return "localhost";
    return name;
}

void LoadSettings(const ProfileFile& file, TSettings& settings)
{
    settings.ShortName = file.readString(SectionSender, "ShortName", "");
    settings.Name = file.readString(SectionSender, "Name", "");
    settings.EMail = file.readString(SectionSender, "EMail", "");
    settings.SMTPServer = file.readString(SectionSender, "SMTPServer", "");
    settings.HideFrom = readByte(file, SectionSetting, "HideFrom", 0);
    settings.Company = file.readString(SectionSetting, "Company", HomeProviderName());
    settings.Clear = readByte(file, SectionSetting, "Clear", 0);
    settings.NoSplash = readByte(file, SectionSetting, "NoSplash", 0);
    settings.Tray = readByte(file, SectionSetting, "Tray", 0);
    settings.Layout = readByte(file, SectionSetting, "Layout", 0);
    settings.FontSize = readByte(file, SectionSetting, "FontSize", 7);
    settings.SMTPSecurity = readByte(file, SectionSender, "SMTPSecurity", 0);
    settings.SMTPUser = file.readString(SectionSender, "SMTPUser", "");
    settings.SMTPCAFile = file.readString(SectionSender, "SMTPCAFile", "");
    settings.TapDevice = file.readString(SectionTap, "Device", "/dev/ttyS0");
    settings.TapSpeed = readSpeed(file);
    settings.TapLineFormat =
        readByte(file, SectionTap, "Format", 0) == 1 ? TapFormat::EightN1 : TapFormat::SevenE1;
    settings.TapInit = file.readString(SectionTap, "Init", "ATZ");
    settings.TapDialPrefix = file.readString(SectionTap, "DialPrefix", "ATDT");
    settings.GsmDevice = file.readString(SectionGsm, "Device", "/dev/ttyUSB0");
    settings.GsmSpeed = readSpeed(file, SectionGsm, GsmDefaultSpeed);
    settings.RetryMinutes = readCount(file, SectionSetting, "RetryMinutes", 0, MaxRetryMinutes);
    settings.OutboxKeepDays = readCount(file, SectionOutbox, "KeepDays", 30, 3650);
    settings.OutboxDatabase = file.readString(SectionOutbox, "Database", "");
    // A list with a name not known sends what it names rightly: a desk never sends a gate it left out.
    std::string gates = file.readString(SectionOutbox, "Gates", "");
    std::uint32_t known = 0;
    bool listed = false;
    for (std::size_t from = 0; from <= gates.size();) {
        std::size_t end = gates.find(',', from);
        if (end == std::string::npos)
            end = gates.size();
        const std::string one = gates.substr(from, end - from);
        if (const std::optional<std::uint32_t> g = ParseGates(one);
            g && one.find_first_not_of(" \t") != std::string::npos) {
            known |= *g;
            listed = true;
        } else if (one.find_first_not_of(" \t") != std::string::npos) {
            listed = true;
        }
        from = end + 1;
    }
    settings.OutboxGates = listed ? known : AllGates;
    settings.OutboxDesk = file.readString(SectionOutbox, "Desk", "");
    if (settings.OutboxDesk.empty())
        settings.OutboxDesk = HostName();
    settings.IntakeSnpp = file.readString(SectionIntake, "SNPP", "");
    settings.IntakeHttp = file.readString(SectionIntake, "HTTP", "");
    settings.IntakeTokenFile = file.readString(SectionIntake, "TokenFile", "");
    settings.IntakeCertFile = file.readString(SectionIntake, "CertFile", "");
    settings.IntakeKeyFile = file.readString(SectionIntake, "KeyFile", "");
    settings.IntakeSnppUsersFile = file.readString(SectionIntake, "SNPPUsersFile", "");
    settings.IntakeMaxPagesPerMinute = readCount(file, SectionIntake, "MaxPagesPerMinute", 10, 100000);
}

} // namespace zolbin
