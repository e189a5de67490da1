// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispatch/TapProtocol.h"

#include <array>

namespace zolbin::tap {

std::string Checksum(std::string_view block)
{
    unsigned sum = 0;
    for (const char c : block)
        sum += static_cast<unsigned char>(c) & 0x7Fu;
    sum &= 0xFFFu;
    return {static_cast<char>('0' + ((sum >> 8) & 0xFu)), static_cast<char>('0' + ((sum >> 4) & 0xFu)),
            static_cast<char>('0' + (sum & 0xFu))};
}

std::string Escape(std::string_view field)
{
    std::string out;
    for (const char c : field) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20) {
            out += SUB;
            out += static_cast<char>(u + 0x40);
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

class BlockWriter
{
public:
    // Appends part of a field; `message` chooses how it is shown.
    void add(const std::string& part, bool message)
    {
        data_ += part;
        if (!message)
            shown_ += Readable(part);
        else if (!part.empty() && !shownMessage_)
            shown_ += "***";
        shownMessage_ = message && !part.empty();
    }
    void endField()
    {
        data_ += CR;
        shown_ += "<CR>";
        shownMessage_ = false;
    }
    void close(char end)
    {
        const std::string block = std::string(1, STX) + data_ + end;
        const std::string sum = Checksum(block);
        blocks_.push_back(
            {block + sum + CR, "<STX>" + shown_ + Readable(std::string(1, end)) + sum + "<CR>"});
        data_.clear();
        shown_.clear();
        shownMessage_ = false;
    }
    std::size_t room() const { return MaxBlockData - data_.size(); }
    bool empty() const { return data_.empty(); }
    std::vector<Block> take() { return std::move(blocks_); }

private:
    std::string data_;
    std::string shown_;
    bool shownMessage_ = false;
    std::vector<Block> blocks_;
};

} // namespace

std::vector<Block> Blocks(const std::string& pagerId, const std::string& message)
{
    BlockWriter writer;
    const std::array<std::pair<std::string, bool>, 2> fields{
        {{Escape(pagerId), false}, {Escape(message), true}}};
    for (const auto& [field, isMessage] : fields) {
        std::string rest = field;
        for (;;) {
            if (rest.size() + 1 <= writer.room()) {
                writer.add(rest, isMessage);
                writer.endField();
                break;
            }
            // Between two fields, one that fits a fresh block whole waits for it.
            if (!writer.empty() && rest.size() + 1 <= MaxBlockData && rest.size() == field.size()) {
                writer.close(ETB);
                continue;
            }
            std::size_t n = std::min(writer.room(), rest.size());
            if (n > 0 && rest[n - 1] == SUB)
                --n; // never part an escape pair
            if (n == 0) {
                writer.close(ETB);
                continue;
            }
            writer.add(rest.substr(0, n), isMessage);
            rest.erase(0, n);
            writer.close(US);
        }
    }
    writer.close(ETX);
    return writer.take();
}

std::string Readable(std::string_view bytes)
{
    static constexpr std::array<const char*, 32> names{"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                                       "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                                       "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                                       "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20)
            out += std::string("<") + names[u] + ">";
        else if (u == 0x7F)
            out += "<DEL>";
        else
            out += c;
    }
    return out;
}

} // namespace zolbin::tap
