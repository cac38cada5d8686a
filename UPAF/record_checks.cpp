// What the records' own checks and the renderings say when they refuse a
// line: messages made from the tables alone, given to the process that builds
// the line, so that the tables can be read without the frame.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "UPAF/record_frame.h"
#include "UPAF/record_process.h"

namespace quorix::upaf {
namespace {

// The message of a check that lists values: every one of them.
void SetListedValues(const Check& check, const Args& args) {
  std::string message;
  for (size_t i = 0; i < check.shownCount; ++i) {
    const ListedValue& v = check.shown[i];
    message += v.label;
    switch (v.as) {
      case Shows::Number:
        message += rules::FormatNumber(args.real(v.source), rules::Decimals::Two);
        break;
      case Shows::Text:
        message += args.text(v.source);
        break;
      case Shows::Date:
        message += rules::FormatDayMonthYear(args.real(v.source));
        break;
    }
  }
  args.process().SetMessage(message);
}

}  // namespace

bool Refuse(const Check& check, const Args& args) {
  if (check.shownCount > 0) {
    SetListedValues(check, args);
  } else {
    std::string message(check.message);
    if (check.appended >= 0) message += args.text(check.appended);
    args.process().SetMessage(message);
  }
  return false;
}

void RefuseNegative(const Field& f, size_t position, std::string_view shown) {
  std::string message(msg::kNegativeInUnsignedField);
  message += f.name;
  message += f.width == 1 ? msg::kFieldPosition : msg::kFieldPositions;
  message += std::to_string(position);
  if (f.width != 1) {
    message += '-';
    message += std::to_string(position + static_cast<size_t>(f.width) - 1);
  }
  message += msg::kFieldValue;
  message += shown;
  throw Failure(message);
}

#if QUORIX_ROOM_CHECKS
// The sanitizer build stops at a rendering that wrote past the room its kind
// gave it: the line's bytes were reserved by those rooms, so the next bytes
// belong to no one.
// A kind is held to what it says of its width too.
void CheckRoom(const Field& f, size_t room, size_t written, Widths widths) {
  const size_t width = static_cast<size_t>(f.width);
  if (written <= room &&
      (widths == Widths::Any || written == width || (widths == Widths::AtLeast && written > width)))
    return;
  std::fprintf(stderr, "quorix: the field \"%.*s\" wrote %zu bytes in a room of %zu (width %d)\n",
               static_cast<int>(f.name.size()), f.name.data(), written, room, f.width);
  std::abort();
}
#endif

}  // namespace quorix::upaf
