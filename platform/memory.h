// Large blocks of memory straight from the system, for the report buffer:
// page-aligned, never moved, handed back whole. Where the system offers large
// pages (Linux transparent huge pages, Windows large pages for a process that
// holds the privilege) the blocks ask for them, so that filling a block takes
// a few page faults instead of one per 4 KiB.
#pragma once

#include <cstddef>

namespace quorix::platform {

// The size to make blocks a multiple of so that large pages can back them.
size_t LargePageSize();

// A block of `size` bytes, zeroed by the system; raises std::bad_alloc when
// the system has no memory for it.
void* AllocateBlock(size_t size);
// Gives back a block from AllocateBlock with the same size.
void FreeBlock(void* block, size_t size) noexcept;

}  // namespace quorix::platform
