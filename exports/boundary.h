// The host's text convention, in one place. Nothing below exports/ sees a
// reference-counted text block: entries turn them into string_views on the
// way in and into new blocks on the way out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"

namespace quorix::boundary {

// Block layout: [int32 count][int32 length][bytes][NUL]; the host holds a
// pointer to the first byte. Count -1 marks a constant. Inline: a builder
// holds a score of texts per call, and each is a test and one locked add.
inline int32_t* CountOf(const char* text) noexcept {
  return reinterpret_cast<int32_t*>(const_cast<char*>(text)) - 2;
}
// Another host thread may drop its own reference to the same text meanwhile,
// so the counts change atomically; a constant's count is never written.
inline void AddRef(const char* text) noexcept {
  if (!text) return;
  int32_t* count = CountOf(text);
  if (__atomic_load_n(count, __ATOMIC_RELAXED) == -1) return;
  __atomic_add_fetch(count, 1, __ATOMIC_RELAXED);
}
// Frees the block when the count falls to zero.
void FreeText(int32_t* count) noexcept;
inline void Release(const char* text) noexcept {
  if (!text) return;
  int32_t* count = CountOf(text);
  if (__atomic_load_n(count, __ATOMIC_RELAXED) == -1) return;
  if (__atomic_sub_fetch(count, 1, __ATOMIC_ACQ_REL) == 0) FreeText(count);
}
// The bytes of a text, read by the length in its prefix.
inline std::string_view TextView(const char* text) noexcept {
  if (!text) return {};
  const int32_t length = reinterpret_cast<const int32_t*>(text)[-1];
  return length > 0 ? std::string_view(text, static_cast<size_t>(length)) : std::string_view();
}

// A text argument held for the duration of a call: its count is raised on
// entry and lowered on exit.
class TextArg {
 public:
  explicit TextArg(const char* text) noexcept : text_(text) { AddRef(text_); }
  ~TextArg() { Release(text_); }
  TextArg(const TextArg&) = delete;
  TextArg& operator=(const TextArg&) = delete;

  std::string_view view() const noexcept { return TextView(text_); }
  std::string str() const { return std::string(view()); }

 private:
  const char* text_;
};

// Stores a new text (count 1) in the host's variable and releases what it held.
void StoreText(char** variable, std::string_view value);

inline bool BoolSlot(uint32_t slot) { return (slot & 0xFF) != 0; }

// Every export holds the lock of the library's one process state
// (UPAF/process_state.h) for its whole call.
class ExportTurn {
 public:
  ExportTurn() noexcept;
  ~ExportTurn();
  ExportTurn(const ExportTurn&) = delete;
  ExportTurn& operator=(const ExportTurn&) = delete;
};

// The catch-all of every export: no failure leaves the library.
inline void ReportFailure(const std::exception& e) noexcept { SetLastErrorNoThrow(FailureText(e)); }
inline void ReportUnknownFailure() noexcept { SetLastErrorNoThrow(msg::kUnexpectedFailure); }

template <class Body>
unsigned char Guarded(Body&& body) noexcept {
  const ExportTurn turn;
  try {
    return body() ? 1 : 0;
  } catch (const std::exception& e) {
    ReportFailure(e);
  } catch (...) {
    ReportUnknownFailure();
  }
  return 0;
}

template <class Body>
void GuardedVoid(Body&& body) noexcept {
  const ExportTurn turn;
  try {
    body();
  } catch (const std::exception& e) {
    ReportFailure(e);
  } catch (...) {
    ReportUnknownFailure();
  }
}

}  // namespace quorix::boundary
