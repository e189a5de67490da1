// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The directory records with the exact layout of their list files.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zolbin {

// A fixed-width text field of N bytes: a shorter text is followed by a NUL, a text of exactly N
// characters has no terminator, a longer one is cut to N. Readers take at most N bytes up to the first NUL.
template <std::size_t N> class FixedText
{
public:
    FixedText() { bytes_.fill(0); }
    FixedText(std::string_view text) { assign(text); } // NOLINT: converting on purpose

    void assign(std::string_view text)
    {
        bytes_.fill(0);
        const std::size_t n = text.size() < N ? text.size() : N;
        for (std::size_t i = 0; i < n; ++i)
            bytes_[i] = text[i];
    }
    FixedText& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }
    // The text up to the first NUL, at most N bytes; valid while the field lives and is unchanged.
    std::string_view view() const
    {
        std::size_t n = 0;
        while (n < N && bytes_[n] != '\0')
            ++n;
        return std::string_view(bytes_.data(), n);
    }
    std::string str() const { return std::string(view()); }
    operator std::string() const { return str(); } // NOLINT: reads as text
    bool empty() const { return bytes_[0] == '\0'; }
    bool operator==(std::string_view text) const { return view() == text; }

    static constexpr std::size_t size = N;
    const std::array<char, N>& raw() const { return bytes_; }
    std::array<char, N>& raw() { return bytes_; }

private:
    std::array<char, N> bytes_;
};

// One subscriber; 220 bytes on disk.
struct TAbonent
{
    static constexpr std::size_t RecordSize = 220;

    FixedText<25> Name;
    std::int32_t Number = 0;
    std::uint8_t Numeric = 0; // 1 = digital pager
    std::int32_t MsgLen = 0;
    FixedText<80> Provider;
    FixedText<100> Info;

    // Record <-> file bytes (exact offsets, little-endian, reserved bytes written as zero).
    std::string encode() const;
    void encodeTo(std::string& out) const;          // appends the record's bytes
    static TAbonent decode(std::string_view bytes); // bytes.size() >= RecordSize
    // Whether the bytes are what encode writes for what decode reads of them (the reserved bytes zero).
    static bool canonical(std::string_view bytes); // bytes.size() >= RecordSize
};

using AbonentPtr = std::shared_ptr<TAbonent>;

// One paging company; 292 bytes on disk.
struct TProvider
{
    static constexpr std::size_t RecordSize = 292;

    FixedText<25> Name;
    std::uint8_t Gate = 0; // 0 SNPP, 1 SMTP, 2 TAP, 3 SMS (the number pattern in TapPhone), 4 WCTP
    FixedText<80> SNPPSrv;
    std::int32_t SNPPPort = 0;
    FixedText<8> SNPPEnc;
    FixedText<25> SnppPswd;
    FixedText<80> SMTPEMail;
    std::int32_t SMTPPort = 0;
    FixedText<8> SMTPEnc;
    FixedText<25> TapPhone;
    FixedText<25> TapPswd;

    std::string encode() const;
    void encodeTo(std::string& out) const;
    static TProvider decode(std::string_view bytes); // bytes.size() >= RecordSize
    static bool canonical(std::string_view bytes);   // as TAbonent::canonical
};

using ProviderPtr = std::shared_ptr<TProvider>;

namespace Gate {
inline constexpr std::uint8_t SNPP = 0;
inline constexpr std::uint8_t SMTP = 1;
inline constexpr std::uint8_t TAP = 2;
inline constexpr std::uint8_t SMS = 3; // through a GSM modem
// The WCTP fields live in fields of the other gateways (see directory/WctpFields.h).
inline constexpr std::uint8_t WCTP = 4;
} // namespace Gate

// The home provider: position 0 of the company list.
std::string HomeProviderName(); // "Ормид-Пейдж, г.Ворль" in cp1251
TProvider HomeProviderDefaults();

} // namespace zolbin
