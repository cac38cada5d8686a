// The last error message: the one text that tells the host why the last
// failing call failed (quorix_GetMessageError). Every layer reports its
// failures here, so it sits below all of them.
#pragma once

#include <string>
#include <string_view>

namespace quorix {

// Where the process keeps the message: a part of the library's one process
// state, defined with it (UPAF/process_state.cpp). Everything else reaches it
// through the functions below.
std::string& LastErrorText() noexcept;

// Replaces the last error message; an empty text clears it.
void SetLastError(std::string_view text);
// Empties it; cheaper than SetLastError({}), which every line starts with.
void ClearLastError() noexcept;
// The same for the catch-all of the exports: never throws.
void SetLastErrorNoThrow(std::string_view text) noexcept;
// Previous message, CR LF, then the failure's own text.
void ChainLastError(std::string_view failure);
// The message as it stands.
const std::string& LastErrorMessage() noexcept;

}  // namespace quorix
