// The program's side of the library's boundary: texts made and released in
// the library's form, and its last error message shown as UTF-8.
#ifndef QUORIX_CLI_HOST_H
#define QUORIX_CLI_HOST_H

#include <initializer_list>
#include <string>
#include <string_view>

#include "native.h"
#include "quorix.h"

namespace quorix::cli {

// A text argument, from Windows-1252 bytes.
class HostText {
 public:
  explicit HostText(std::string_view bytes);
  ~HostText() { quorix_text_release(text_); }
  HostText(const HostText&) = delete;
  HostText& operator=(const HostText&) = delete;
  quorix_text get() const { return text_; }

 private:
  char* text_;
};

// A text out-parameter.
class ReceivedText {
 public:
  ReceivedText() = default;
  ~ReceivedText() { quorix_text_release(text_); }
  ReceivedText(const ReceivedText&) = delete;
  ReceivedText& operator=(const ReceivedText&) = delete;
  char** slot() { return &text_; }
  std::string bytes() const;

 private:
  char* text_ = nullptr;
};

// The last error message as UTF-8, lines ending in LF. The file names it
// quotes are shown as the user typed them (on Linux the library quotes the
// name's own bytes, which are not Windows-1252).
std::string LibraryMessage(std::initializer_list<const Path*> files);

// Ends the command with the library's message (usage error status).
[[noreturn]] void FailWithLibraryMessage(std::initializer_list<const Path*> files);

}  // namespace quorix::cli

#endif
