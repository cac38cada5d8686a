#include "exports/boundary.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

namespace quorix::boundary {
namespace {

int32_t* CountOf(const char* text) {
  return reinterpret_cast<int32_t*>(const_cast<char*>(text)) - 2;
}

std::recursive_mutex& ExportLock() noexcept {
  static std::recursive_mutex lock;
  return lock;
}

}  // namespace

ExportTurn::ExportTurn() noexcept { ExportLock().lock(); }
ExportTurn::~ExportTurn() { ExportLock().unlock(); }

void AddRef(const char* text) noexcept {
  if (!text) return;
  int32_t* count = CountOf(text);
  if (__atomic_load_n(count, __ATOMIC_RELAXED) == -1) return;
  __atomic_add_fetch(count, 1, __ATOMIC_RELAXED);
}

void Release(const char* text) noexcept {
  if (!text) return;
  int32_t* count = CountOf(text);
  if (__atomic_load_n(count, __ATOMIC_RELAXED) == -1) return;
  if (__atomic_sub_fetch(count, 1, __ATOMIC_ACQ_REL) == 0) std::free(count);
}

std::string_view TextView(const char* text) noexcept {
  if (!text) return {};
  const int32_t length = reinterpret_cast<const int32_t*>(text)[-1];
  return length > 0 ? std::string_view(text, static_cast<size_t>(length)) : std::string_view();
}

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
