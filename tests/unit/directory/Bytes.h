// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds record bytes field by field, independently of the code under test.

#include <cstdint>
#include <string>

namespace zolbin::test {

class Bytes
{
public:
    explicit Bytes(std::size_t size) : bytes_(size, '\0') {}
    Bytes& text(std::size_t offset, const std::string& s)
    {
        bytes_.replace(offset, s.size(), s);
        return *this;
    }
    Bytes& int32(std::size_t offset, std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        for (std::size_t i = 0; i < 4; ++i)
            bytes_[offset + i] = static_cast<char>(u >> (8 * i));
        return *this;
    }
    Bytes& byte(std::size_t offset, unsigned char b)
    {
        bytes_[offset] = static_cast<char>(b);
        return *this;
    }
    const std::string& str() const { return bytes_; }
    operator const std::string&() const { return bytes_; } // NOLINT

private:
    std::string bytes_;
};

// A subscriber record as the list files hold it.
inline std::string abonentBytes(const std::string& name, std::int32_t number,
                                const std::string& provider = "", unsigned char numeric = 0,
                                std::int32_t msgLen = 240, const std::string& info = "")
{
    return Bytes(220)
        .text(0, name)
        .int32(28, number)
        .byte(32, numeric)
        .int32(36, msgLen)
        .text(40, provider)
        .text(120, info);
}

// The header of one group entry in "Group.lst".
inline std::string groupHeader(const std::string& name, std::int32_t count)
{
    return Bytes(29).text(0, name).int32(25, count);
}

} // namespace zolbin::test
