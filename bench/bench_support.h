// Shared pieces of the benchmarks: host texts, a key pair, peak memory.
#pragma once

#include <cstddef>
#include <string>
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

struct Keys {
  Text publicKey{""}, privateKey{""};
};
const Keys& KeyPair();

// Opens a report for a sample taxpayer (aborts when that fails).
void OpenReport();
// Closes any open report without writing.
void CloseReport();

// The process's resident memory now and at its peak, in bytes.
size_t ResidentBytes();
size_t PeakResidentBytes();

std::string TempFile(const char* name);

}  // namespace qb
