#include "platform/memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace quorix::platform {

size_t LargePageSize() { return size_t{2} << 20; }

void* AllocateBlock(size_t size) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  size = (size + page - 1) / page * page;
  const size_t large = LargePageSize();
  if (size % large == 0) {
    // Huge pages reserved by the administrator first: no fault per page at all.
#ifdef MAP_HUGETLB
    void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_HUGETLB,
                   -1, 0);
    if (p != MAP_FAILED) return p;
#endif
    // Otherwise an aligned range that transparent huge pages may back: map one
    // large page more than asked and cut the ends off.
    void* raw =
        mmap(nullptr, size + large, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + large - 1) / large * large;
    if (aligned > start) munmap(raw, aligned - start);
    const uintptr_t end = start + size + large;
    if (end > aligned + size) munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
    void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(block, size, MADV_HUGEPAGE);
#endif
    return block;
  }
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  return p;
}

void FreeBlock(void* block, size_t size) noexcept {
  if (!block) return;
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  // A MAP_HUGETLB block is unmapped by whole huge pages; its size already is one.
  munmap(block, (size + page - 1) / page * page);
}

}  // namespace quorix::platform
