#include "exports/boundary.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "UPAF/process_state.h"

namespace quorix::boundary {

ExportTurn::ExportTurn() noexcept { upaf::Process().turn.lock(); }
ExportTurn::~ExportTurn() { upaf::Process().turn.unlock(); }

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
