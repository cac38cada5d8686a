// The one exception type the library raises internally. Every export turns it
// (and anything else thrown) into a false result and the last error message.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorix {

class Failure : public std::runtime_error {
 public:
  explicit Failure(std::string_view text) : std::runtime_error(std::string(text)) {}
  explicit Failure(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace quorix

#include <new>

#include "UConst/messages.h"

namespace quorix {

// The failure's own message text, as the last error message shows it.
inline std::string_view FailureText(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e)) return msg::kOutOfMemory;
  return e.what();
}

}  // namespace quorix
