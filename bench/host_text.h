// A host text for the benchmarks: made through the exports, released with the object.
#pragma once

#include <cstdint>
#include <string_view>

#include "quorix.h"

namespace qb {

// A host text that lives as long as the object.
class Text {
 public:
  explicit Text(std::string_view s)
      : p_(quorix_text_new(s.data(), static_cast<int32_t>(s.size()))) {}
  ~Text() { quorix_text_release(p_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator quorix_text() const { return p_; }
  char** out() { return &p_; }

 private:
  char* p_ = nullptr;
};

}  // namespace qb
