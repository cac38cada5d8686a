// What the harnesses share: host texts, a scratch folder per process, file
// helpers and the one way to report a broken invariant.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "quorix.h"

namespace fuzz {

// Prints what broke and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Violation(std::string_view harness, std::string_view what);

// A host text (count 1, or -1 for a constant) that outlives the call,
// checked afterwards: the library must give back its reference, leave a
// constant's count alone and the bytes as they were.
class HostText {
 public:
  explicit HostText(std::string_view bytes, bool constant = false);
  ~HostText();
  HostText(const HostText&) = delete;
  HostText& operator=(const HostText&) = delete;
  operator quorix_text() const { return text_; }
  // Empty when the text came back as it was given, else what changed.
  std::string Damage() const;

 private:
  std::string bytes_;
  char* text_;
  int32_t count_;
};

// The text an out-parameter received, checked for the form the host relies
// on (count 1, NUL after the last byte) and released.
std::string TakeText(std::string_view harness, char*& text);
std::string LastError(std::string_view harness);

// A folder of this process's own under TMPDIR, else /dev/shm, so that the
// fsyncs of atomic replacement cost nothing; removed at exit.
const std::string& ScratchFolder();
// Empties a folder, creating it if needed.
void ResetFolder(const std::string& path);
void RemoveTree(const std::string& path);
// Every entry below folder, as paths relative to it, sorted.
std::vector<std::string> ListTree(const std::string& folder);

bool ReadFile(const std::string& path, std::string& bytes);
void WriteFile(const std::string& path, std::string_view bytes);

}  // namespace fuzz
