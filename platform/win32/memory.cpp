#include "platform/memory.h"

#include <windows.h>

#include <new>

namespace quorix::platform {

size_t LargePageSize() {
  // GetLargePageMinimum is 0 where the system has none; 2 MiB keeps blocks
  // the same everywhere then.
  const SIZE_T large = GetLargePageMinimum();
  return large ? static_cast<size_t>(large) : size_t{2} << 20;
}

void* AllocateBlock(size_t size) {
  // Large pages need the "lock pages in memory" privilege; without it the
  // call fails at once and ordinary pages serve.
  if (GetLargePageMinimum() != 0 && size % LargePageSize() == 0) {
    if (void* p =
            VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT | MEM_LARGE_PAGES, PAGE_READWRITE))
      return p;
  }
  void* p = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (!p) throw std::bad_alloc();
  return p;
}

void FreeBlock(void* block, size_t) noexcept {
  if (block) VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace quorix::platform
