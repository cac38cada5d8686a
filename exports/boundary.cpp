#include "exports/boundary.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

namespace quorix::boundary {
namespace {

// Re-entrant on a plain mutex: the owner's id beside it tells a call back in
// (the same thread, from a host list) from another thread's call, and a
// plain mutex takes and gives its turn in fewer steps than a re-entrant one.
// Constant-initialized: no guard to test on every call.
struct Turn {
  std::mutex lock;
  std::atomic<std::thread::id> owner{};
  unsigned depth = 0;
};
Turn theTurn;

}  // namespace

ExportTurn::ExportTurn() noexcept {
  const std::thread::id self = std::this_thread::get_id();
  // Only this thread ever stores its own id there.
  if (theTurn.owner.load(std::memory_order_relaxed) != self) {
    theTurn.lock.lock();
    theTurn.owner.store(self, std::memory_order_relaxed);
  }
  ++theTurn.depth;
}
ExportTurn::~ExportTurn() {
  if (--theTurn.depth == 0) {
    theTurn.owner.store(std::thread::id(), std::memory_order_relaxed);
    theTurn.lock.unlock();
  }
}

void FreeText(int32_t* count) noexcept { std::free(count); }

void StoreText(char** variable, std::string_view value) {
  if (!variable) return;
  char* text = nullptr;
  if (!value.empty()) {
    if (value.size() > 0x7FFFFFF0u) throw std::bad_alloc();
    // The host frees what we hand over, so it must come from the C heap.
    char* block = static_cast<char*>(std::malloc(value.size() + 9));
    if (!block) throw std::bad_alloc();
    const int32_t header[2] = {1, static_cast<int32_t>(value.size())};
    std::memcpy(block, header, sizeof header);
    std::memcpy(block + 8, value.data(), value.size());
    block[8 + value.size()] = '\0';
    text = block + 8;
  }
  char* old = *variable;
  *variable = text;
  Release(old);
}

}  // namespace quorix::boundary
