#include "UConst/last_error.h"

namespace quorix {
namespace {

// One for the process, as hosts expect; the exports take turns on it.
std::string& Message() noexcept {
  static std::string message;
  return message;
}

}  // namespace

void SetLastError(std::string_view text) { Message().assign(text); }

void ClearLastError() noexcept { Message().clear(); }

void SetLastErrorNoThrow(std::string_view text) noexcept {
  std::string& message = Message();
  try {
    message.assign(text);
  } catch (...) {
    message.clear();
  }
}

void ChainLastError(std::string_view failure) {
  std::string message = Message();
  message += "\r\n";
  message += failure;
  Message().swap(message);
}

const std::string& LastErrorMessage() noexcept { return Message(); }

}  // namespace quorix
