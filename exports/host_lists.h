// The two list forms of the side-file entries: arrays of texts that the host
// passes in (pointer to the first text and the last index) and the host's
// own string lists that the library fills through their two functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "quorix.h"

namespace quorix::boundary {

// The texts of a host array, each held (count raised) until destruction. A
// null pointer with entries is refused with a Failure.
class TextArgArray {
 public:
  TextArgArray(const quorix_text* first, int32_t lastIndex);
  ~TextArgArray();
  TextArgArray(const TextArgArray&) = delete;
  TextArgArray& operator=(const TextArgArray&) = delete;
  const std::vector<std::string_view>& views() const { return views_; }

 private:
  std::vector<quorix_text> texts_;
  std::vector<std::string_view> views_;
};

// Empties the host's list, then appends the entries in order. A function
// that reports failure raises a Failure with the host's own text (or ours
// when it gave none). A null list is skipped.
void FillHostList(const quorix_string_list* list, const std::vector<std::string>& entries);

}  // namespace quorix::boundary
