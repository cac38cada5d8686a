#include "exports/boundary.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

namespace quorix::boundary {
namespace {

// Re-entrant by its owner's id beside a plain mutex: a thread already in a
// call goes on without touching the mutex, and the first turn takes the plain
// mutex, cheaper than a recursive one. Only the owner writes its own id, so a
// thread can read its id there only while it holds the turn.
class ExportLock {
 public:
  void Lock() noexcept {
    const std::thread::id me = std::this_thread::get_id();
    if (owner_.load(std::memory_order_relaxed) == me) {
      ++depth_;
      return;
    }
    mutex_.lock();
    owner_.store(me, std::memory_order_relaxed);
    depth_ = 1;
  }
  void Unlock() noexcept {
    if (--depth_ > 0) return;
    owner_.store(std::thread::id(), std::memory_order_relaxed);
    mutex_.unlock();
  }

 private:
  std::mutex mutex_;
  std::atomic<std::thread::id> owner_{};
  unsigned depth_ = 0;
};

ExportLock gExportLock;

}  // namespace

ExportTurn::ExportTurn() noexcept { gExportLock.Lock(); }
ExportTurn::~ExportTurn() { gExportLock.Unlock(); }

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
