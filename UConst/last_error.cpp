#include "UConst/last_error.h"

namespace quorix {

void SetLastError(std::string_view text) { LastErrorText().assign(text); }

void ClearLastError() noexcept { LastErrorText().clear(); }

void SetLastErrorNoThrow(std::string_view text) noexcept {
  std::string& message = LastErrorText();
  try {
    message.assign(text);
  } catch (...) {
    message.clear();
  }
}

void ChainLastError(std::string_view failure) {
  std::string message = LastErrorText();
  message += "\r\n";
  message += failure;
  LastErrorText().swap(message);
}

const std::string& LastErrorMessage() noexcept { return LastErrorText(); }

}  // namespace quorix
