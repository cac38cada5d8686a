// The host side of the text convention, for the harnesses that call exports.
#include <cstdlib>
#include <cstring>

#include "support.h"

namespace fuzz {

HostText::HostText(std::string_view bytes, bool constant)
    : bytes_(bytes),
      text_(quorix_text_new(bytes.data(), static_cast<int32_t>(bytes.size()))),
      count_(constant ? -1 : 1) {
  if (text_) reinterpret_cast<int32_t*>(text_)[-2] = count_;
}

HostText::~HostText() {
  if (text_) free(text_ - 8);
}

std::string HostText::Damage() const {
  if (!text_) return {};
  if (quorix_text_refcount(text_) != count_)
    return "reference count left at " + std::to_string(quorix_text_refcount(text_));
  if (quorix_text_length(text_) != static_cast<int32_t>(bytes_.size()) ||
      std::memcmp(text_, bytes_.data(), bytes_.size()) != 0 || text_[bytes_.size()] != '\0')
    return "argument text changed";
  return {};
}

std::string TakeText(std::string_view harness, char*& text) {
  if (!text) return {};
  const int32_t length = quorix_text_length(text);
  if (length <= 0 || quorix_text_refcount(text) != 1 || text[length] != '\0')
    Violation(harness, "an out-text without count 1, a positive length and its NUL");
  std::string bytes(text, static_cast<size_t>(length));
  quorix_text_clear(&text);
  return bytes;
}

std::string LastError(std::string_view harness) {
  char* message = nullptr;
  quorix_GetMessageError(&message);
  return TakeText(harness, message);
}

}  // namespace fuzz
