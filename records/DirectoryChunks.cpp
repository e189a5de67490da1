// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/DirectoryChunks.h"

#include "directory/Records.h"
#include "platform/SameBytes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <openssl/evp.h>
#include <unordered_map>

namespace zolbin {

namespace {

constexpr std::size_t GroupHeaderSize = 25 + 4;
// A chunk ends after a record whose hash has these bits clear: one record in 256 on average, one group
// in 32 (a group is its members' records: its chunks are about as long).
constexpr std::uint64_t BoundaryMask = 0xFF;
constexpr std::uint64_t GroupBoundaryMask = 0x1F;
// No chunk grows beyond this many records, whatever the records (a list of identical records).
constexpr std::size_t MaxRecords = 4096;

// A cheap hash of a record's bytes, eight bytes at a time: only which records end a chunk depends on it.
std::uint64_t recordHash(std::string_view bytes)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        h = (h ^ word) * 0xFF51AFD7ED558CCDULL;
        h ^= h >> 29;
    }
    for (; i < bytes.size(); ++i)
        h = (h ^ static_cast<unsigned char>(bytes[i])) * 0xC4CEB9FE1A85EC53ULL;
    h ^= h >> 32;
    return h;
}

// Where each record from `from` (where one begins) ends; the bytes after the last record that can be told
// are one record more.
std::vector<std::size_t> recordEnds(DirectoryList list, std::string_view bytes, std::size_t from)
{
    std::vector<std::size_t> ends;
    std::size_t at = from;
    while (at < bytes.size()) {
        std::size_t size = list == DirectoryList::Abonents    ? TAbonent::RecordSize
                           : list == DirectoryList::Companies ? TProvider::RecordSize
                                                              : 0;
        if (list == DirectoryList::Groups && bytes.size() - at >= GroupHeaderSize) {
            std::uint32_t count = 0;
            for (std::size_t i = 0; i < 4; ++i)
                count |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 25 + i]))
                         << (8 * i);
            if (count <= (bytes.size() - at - GroupHeaderSize) / TAbonent::RecordSize)
                size = GroupHeaderSize + std::size_t{count} * TAbonent::RecordSize;
        }
        at = size == 0 || size > bytes.size() - at ? bytes.size() : at + size;
        ends.push_back(at);
    }
    return ends;
}

} // namespace

std::string HashOf(std::string_view bytes)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
    static const char Hex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex.push_back(Hex[digest[i] >> 4]);
        hex.push_back(Hex[digest[i] & 0xF]);
    }
    return hex;
}

namespace {

// A chunk's bytes found again by their size and their ends; equal bytes are then compared whole.
struct ChunkKey
{
    std::size_t operator()(std::string_view bytes) const
    {
        const std::size_t edge = std::min<std::size_t>(bytes.size(), 32);
        return std::hash<std::string_view>()(bytes.substr(0, edge)) ^
               (std::hash<std::string_view>()(bytes.substr(bytes.size() - edge)) * 31) ^ bytes.size();
    }
};

// Cuts the bytes from `from` (where a chunk begins) on, after the chunks given.
std::vector<DirectoryChunk> cut(DirectoryList list, std::string_view bytes,
                                const std::unordered_map<std::string_view, std::string_view, ChunkKey>& named,
                                std::vector<DirectoryChunk> chunks = {}, std::size_t from = 0)
{
    const std::uint64_t mask = list == DirectoryList::Groups ? GroupBoundaryMask : BoundaryMask;
    std::size_t start = from, begin = from, records = 0;
    for (const std::size_t end : recordEnds(list, bytes, from)) {
        ++records;
        if ((recordHash(bytes.substr(begin, end - begin)) & mask) == 0 || records == MaxRecords ||
            end == bytes.size()) {
            const std::string_view chunk = bytes.substr(start, end - start);
            const auto same = named.find(chunk);
            chunks.push_back(
                {same != named.end() ? std::string(same->second) : HashOf(chunk), start, chunk.size()});
            start = end;
            records = 0;
        }
        begin = end;
    }
    return chunks;
}

} // namespace

std::vector<DirectoryChunk> ChunksOf(DirectoryList list, std::string_view bytes)
{
    return cut(list, bytes, {});
}

std::vector<DirectoryChunk> ChunksOf(DirectoryList list, std::string_view bytes,
                                     std::string_view earlierBytes,
                                     const std::vector<DirectoryChunk>& earlier)
{
    // The earlier chunks that end before the first byte that differs are the new ones too (the same
    // records chose their ends): only the rest is cut.
    const std::size_t differs = SameLeadingBytes(bytes, earlierBytes);
    std::vector<DirectoryChunk> same;
    std::size_t from = 0;
    for (const DirectoryChunk& c : earlier) {
        if (c.at != from || c.at + c.size >= differs)
            break;
        same.push_back(c);
        from = c.at + c.size;
    }
    std::unordered_map<std::string_view, std::string_view, ChunkKey> named;
    named.reserve(earlier.size() - same.size());
    for (std::size_t i = same.size(); i < earlier.size(); ++i)
        if (const DirectoryChunk& c = earlier[i]; c.at + c.size <= earlierBytes.size())
            named.emplace(earlierBytes.substr(c.at, c.size), c.hash);
    return cut(list, bytes, named, std::move(same), from);
}

std::string JoinHashes(const std::vector<DirectoryChunk>& chunks)
{
    std::string joined;
    for (const DirectoryChunk& c : chunks)
        joined += (joined.empty() ? "" : " ") + c.hash;
    return joined;
}

std::vector<std::string> SplitHashes(const std::string& joined)
{
    std::vector<std::string> hashes;
    std::size_t at = 0;
    while (at < joined.size()) {
        std::size_t end = joined.find(' ', at);
        if (end == std::string::npos)
            end = joined.size();
        if (end > at)
            hashes.push_back(joined.substr(at, end - at));
        at = end + 1;
    }
    return hashes;
}

std::optional<std::string> AssembleChunks(const std::vector<std::string>& hashes, std::string_view have,
                                          const std::vector<DirectoryChunk>& haveChunks,
                                          const std::map<std::string, std::string>& fetched, std::size_t size,
                                          std::vector<DirectoryChunk>& chunks)
{
    std::unordered_map<std::string_view, std::string_view> held;
    for (const DirectoryChunk& c : haveChunks)
        if (c.at + c.size <= have.size())
            held.emplace(c.hash, have.substr(c.at, c.size));
    // Each chunk fetched is checked once, however often the version names it.
    std::map<std::string_view, bool> checked;
    std::string bytes;
    bytes.reserve(size);
    chunks.clear();
    for (const std::string& hash : hashes) {
        std::string_view part;
        if (const auto h = held.find(hash); h != held.end())
            part = h->second;
        else if (const auto f = fetched.find(hash); f != fetched.end()) {
            part = f->second;
            const auto [was, first] = checked.emplace(f->first, false);
            if (first)
                was->second = HashOf(part) == hash;
            if (!was->second)
                return std::nullopt;
        } else
            return std::nullopt;
        chunks.push_back({hash, bytes.size(), part.size()});
        bytes += part;
    }
    if (bytes.size() != size)
        return std::nullopt;
    return bytes;
}

} // namespace zolbin
