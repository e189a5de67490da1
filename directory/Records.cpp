// SPDX-License-Identifier: GPL-3.0-or-later
#include "directory/Records.h"

#include "platform/Codepage.h"

#include <cstring>
#include <initializer_list>

namespace zolbin {

namespace {

void putInt32(std::string& out, std::size_t offset, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        out[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::int32_t getInt32(std::string_view in, std::size_t offset)
{
    std::uint32_t u = 0;
    for (std::size_t i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[offset + i])) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// Field bytes are copied whole; readers stop at the first NUL, so what follows it is kept as is.
template <std::size_t N> void putText(std::string& out, std::size_t offset, const FixedText<N>& field)
{
    std::memcpy(out.data() + offset, field.raw().data(), N);
}

template <std::size_t N> void getText(std::string_view in, std::size_t offset, FixedText<N>& field)
{
    std::memcpy(field.raw().data(), in.data() + offset, N);
}

} // namespace

std::string TAbonent::encode() const
{
    std::string out;
    encodeTo(out);
    return out;
}

void TAbonent::encodeTo(std::string& out) const
{
    const std::size_t at = out.size();
    out.resize(at + RecordSize, '\0');
    putText(out, at + 0, Name);
    putInt32(out, at + 28, Number);
    out[at + 32] = static_cast<char>(Numeric);
    putInt32(out, at + 36, MsgLen);
    putText(out, at + 40, Provider);
    putText(out, at + 120, Info);
}

TAbonent TAbonent::decode(std::string_view bytes)
{
    TAbonent a;
    getText(bytes, 0, a.Name);
    a.Number = getInt32(bytes, 28);
    a.Numeric = static_cast<std::uint8_t>(bytes[32]);
    a.MsgLen = getInt32(bytes, 36);
    getText(bytes, 40, a.Provider);
    getText(bytes, 120, a.Info);
    return a;
}

namespace {

// The bytes encode leaves zero, by offset and length.
struct Gap
{
    std::size_t at, size;
};

bool zeroAt(std::string_view bytes, std::initializer_list<Gap> gaps)
{
    for (const Gap& gap : gaps)
        for (std::size_t i = gap.at; i < gap.at + gap.size; ++i)
            if (bytes[i] != '\0')
                return false;
    return true;
}

} // namespace

bool TAbonent::canonical(std::string_view bytes)
{
    return zeroAt(bytes, {{25, 3}, {33, 3}});
}

bool TProvider::canonical(std::string_view bytes)
{
    return zeroAt(bytes, {{106, 2}, {225, 3}, {290, 2}});
}

std::string TProvider::encode() const
{
    std::string out;
    encodeTo(out);
    return out;
}

void TProvider::encodeTo(std::string& out) const
{
    const std::size_t at = out.size();
    out.resize(at + RecordSize, '\0');
    putText(out, at + 0, Name);
    out[at + 25] = static_cast<char>(Gate);
    putText(out, at + 26, SNPPSrv);
    putInt32(out, at + 108, SNPPPort);
    putText(out, at + 112, SNPPEnc);
    putText(out, at + 120, SnppPswd);
    putText(out, at + 145, SMTPEMail);
    putInt32(out, at + 228, SMTPPort);
    putText(out, at + 232, SMTPEnc);
    putText(out, at + 240, TapPhone);
    putText(out, at + 265, TapPswd);
}

TProvider TProvider::decode(std::string_view bytes)
{
    TProvider p;
    getText(bytes, 0, p.Name);
    p.Gate = static_cast<std::uint8_t>(bytes[25]);
    getText(bytes, 26, p.SNPPSrv);
    p.SNPPPort = getInt32(bytes, 108);
    getText(bytes, 112, p.SNPPEnc);
    getText(bytes, 120, p.SnppPswd);
    getText(bytes, 145, p.SMTPEMail);
    p.SMTPPort = getInt32(bytes, 228);
    getText(bytes, 232, p.SMTPEnc);
    getText(bytes, 240, p.TapPhone);
    getText(bytes, 265, p.TapPswd);
    return p;
}

std::string HomeProviderName()
{
    return cp("Ормид-Пейдж, г.Ворль");
}

TProvider HomeProviderDefaults()
{
    TProvider p;
    p.Name = HomeProviderName();
    p.Gate = Gate::SMTP;
    p.SNPPSrv = "localhost";
    p.SNPPPort = 444;
    p.SNPPEnc = "KOI8-R";
    p.SMTPEMail = "@localhost";
    p.SMTPPort = 25;
    p.SMTPEnc = "KOI8-R";
    return p;
}

} // namespace zolbin
