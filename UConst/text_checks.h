// A NUL inside a text is data, but the system's interfaces (file names, the
// signing library's texts) end a text at its first NUL: such a text would
// silently name another file or another key. It is refused, never cut.
#pragma once

#include <string>
#include <string_view>

#include "UConst/failure.h"
#include "UConst/messages.h"

namespace quorix {

// Raises a Failure naming the position of the first NUL and what holds it
// (for instance "do nome do arquivo").
inline void RefuseNul(std::string_view text, std::string_view what) {
  const size_t at = text.find('\0');
  if (at == std::string_view::npos) return;
  std::string message(msg::kNulCharacter);
  message += std::to_string(at + 1);
  message += ' ';
  message += what;
  throw Failure(message);
}

// The text as a message shows it, a NUL as the two characters "\0", so that
// a host reading the message as a C string still sees all of it.
inline std::string Visible(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '\0')
      out += "\\0";
    else
      out.push_back(c);
  }
  return out;
}

}  // namespace quorix
