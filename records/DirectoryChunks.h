// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list's bytes cut into chunks at record boundaries chosen by the records' own contents: a chunk ends
// after a record whose hash meets a condition (one record in about 256, one group in 32), so that adding,
// changing or deleting a record changes one chunk, or two, and every other chunk keeps its bytes and its
// name. The room's database keeps each chunk once, named by the SHA-256 of its bytes; a version is the
// list of its chunks' names, and a desk rebuilding a version takes from its own copy every chunk it
// already holds.

#include "directory/DirectoryEdit.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zolbin {

struct DirectoryChunk
{
    std::string hash; // SHA-256 of the chunk's bytes, in hex
    std::size_t at = 0;
    std::size_t size = 0;
};

// The chunks of a list's bytes, in order, covering every byte. Damaged bytes are cut as far as their
// records can be told; the rest is one chunk.
std::vector<DirectoryChunk> ChunksOf(DirectoryList list, std::string_view bytes);
// The same chunks, where a chunk whose bytes are those of one of `earlier` (the chunks of `earlierBytes`)
// keeps that one's name without being hashed again: a version after an edit hashes the chunk or two the
// edit changed.
std::vector<DirectoryChunk> ChunksOf(DirectoryList list, std::string_view bytes,
                                     std::string_view earlierBytes,
                                     const std::vector<DirectoryChunk>& earlier);
// SHA-256 of the bytes, in hex.
std::string HashOf(std::string_view bytes);
// The chunks' names joined by spaces, as a version stores them, and back.
std::string JoinHashes(const std::vector<DirectoryChunk>& chunks);
std::vector<std::string> SplitHashes(const std::string& joined);

// The bytes of a version from the names of its chunks: those found in `have` (bytes the caller holds,
// cut by ChunksOf, so named from their own bytes) are copied from it, the others taken from `fetched`
// (name → bytes), each checked against its name. Nothing when a chunk is missing or does not match its
// name, or the result is not `size` bytes: the bytes are then those the saving desk hashed, without
// hashing them whole again. `chunks` gets the result's chunks.
std::optional<std::string> AssembleChunks(const std::vector<std::string>& hashes, std::string_view have,
                                          const std::vector<DirectoryChunk>& haveChunks,
                                          const std::map<std::string, std::string>& fetched, std::size_t size,
                                          std::vector<DirectoryChunk>& chunks);

} // namespace zolbin
