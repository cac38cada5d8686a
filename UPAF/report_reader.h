// Reads a report file back by the same record kind tables that wrote it:
// splits the bytes into lines (CR LF), recognises each line's record kind by
// its length, and checks every field by its kind. What a rendering lost
// (case, accents, a cut) is not guessed back: only what the written
// characters still tell is checked. Texts are Windows-1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "UPAF/field_kinds.h"
#include "UPAF/record_kinds.h"

namespace quorix::upaf::reader {

// The signature line that closes a signed file: "EAD" + 256 hex digits.
inline constexpr size_t kEadDigits = 256;
inline constexpr size_t kEadLength = 3 + kEadDigits;

struct Finding {
  size_t line;        // 1-based
  std::string field;  // the field's name, "linha" for the line as a whole
  size_t first;       // 1-based positions of the field in the line
  size_t last;
  std::string what;
};

struct Line {
  size_t number;                     // 1-based
  size_t offset;                     // of its first byte in the file
  size_t length;                     // without the line end
  const RecordKind* kind = nullptr;  // null for the EAD line and unknown lines
  bool ead = false;
};

struct Options {
  // Whether the digits of the EAD line sign the bytes before it; left empty,
  // the signature is not checked (its form still is).
  std::function<bool(std::string_view signedBytes, std::string_view digits)> signatureHolds;
};

struct Reading {
  std::vector<Line> lines;
  std::vector<Finding> findings;  // in line order
};

Reading Read(std::string_view file, const Options& options = {});

// A field's value as the line tells it.
using Value = FieldValue;

// Decodes field `index` of a line of `kind` (`line` holds the whole line).
Value Decode(const RecordKind& kind, size_t index, std::string_view line);

}  // namespace quorix::upaf::reader
