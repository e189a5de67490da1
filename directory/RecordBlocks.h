// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records read from a list file, made in blocks: one allocation holds many records, and each record is
// handed out as a shared reference that keeps its block alive. A list of 100,000 subscribers then costs
// the records' own bytes, not one allocation and one reference count per record.

#include "platform/LargeBlock.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>

namespace zolbin {

template <typename Record> class RecordBlocks
{
public:
    // expected: how many records the first block holds (the file's size over the record size); more
    // records go into further blocks.
    explicit RecordBlocks(std::size_t expected) : nextSize_(std::max<std::size_t>(expected, 1)) {}

    // A new record decoded from its bytes, made in place.
    std::shared_ptr<Record> decode(std::string_view bytes)
    {
        if (used_ == size_) {
            const std::size_t blockBytes = nextSize_ * sizeof(Record);
            auto* records = static_cast<Record*>(allocateLargeBlock(blockBytes));
            if (records == nullptr)
                throw std::bad_alloc();
            block_ =
                std::shared_ptr<Record>(records, [blockBytes](Record* r) { freeLargeBlock(r, blockBytes); });
            size_ = nextSize_;
            used_ = 0;
            nextSize_ = MoreRecords;
        }
        Record* record = ::new (static_cast<void*>(block_.get() + used_)) Record(Record::decode(bytes));
        ++used_;
        return std::shared_ptr<Record>(block_, record);
    }

private:
    static constexpr std::size_t MoreRecords = 1024;

    // Raw storage: the records need no destructor (a record is bytes and numbers), so the block is
    // released as it was allocated.
    static_assert(std::is_trivially_destructible_v<Record>);
    std::shared_ptr<Record> block_;
    std::size_t size_ = 0;
    std::size_t used_ = 0;
    std::size_t nextSize_;
};

} // namespace zolbin
