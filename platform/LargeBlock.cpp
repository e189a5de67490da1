// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LargeBlock.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

namespace zolbin {

namespace {

constexpr std::size_t LargePage = std::size_t{2} << 20;

bool mapped(std::size_t bytes)
{
    return bytes >= LargePage;
}

std::size_t wholePages(std::size_t bytes)
{
    constexpr std::size_t page = 4096;
    return (bytes + page - 1) / page * page;
}

} // namespace

void* allocateLargeBlock(std::size_t bytes)
{
    if (!mapped(bytes))
        return std::malloc(bytes);
    // Mapped with room to start on a large-page boundary; the parts before and after are given back.
    const std::size_t size = wholePages(bytes);
    void* area = mmap(nullptr, size + LargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(area);
    const std::uintptr_t aligned = (start + LargePage - 1) / LargePage * LargePage;
    if (aligned > start)
        munmap(area, aligned - start);
    if (const std::size_t after = start + size + LargePage - (aligned + size); after > 0)
        munmap(reinterpret_cast<void*>(aligned + size), after);
    void* block = reinterpret_cast<void*>(aligned);
    madvise(block, size, MADV_HUGEPAGE); // a hint: without large pages the block works as well
    return block;
}

void freeLargeBlock(void* block, std::size_t bytes)
{
    if (block == nullptr)
        return;
    if (!mapped(bytes))
        std::free(block);
    else
        munmap(block, wholePages(bytes));
}

} // namespace zolbin
