// Field rules: the small set of pure functions that turn a host value into
// the text of a fixed-width report field. The core is the Put* forms, which
// write into memory the caller gives (a report line is assembled in place in
// the report buffer, no temporary strings); Rendered() turns any of them into
// a new text, for the open report's stored items, messages and tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorix::rules {

enum class Justify { Left, Right };

// Removes every byte from 0 to 32 at both ends.
std::string_view Trim(std::string_view text);

// Keeps only 0-9, A-Z and a-z, in their order.
std::string AlphanumericFilter(std::string_view text);

// Adds "0" on the left (or right) up to width; never cuts.
std::string ZeroFill(std::string_view text, int width, Justify side = Justify::Left);

// Trims, folds accents, blanks what is outside the allowed set, cuts or fills
// to exactly width and upper-cases. A fill that is not a letter or digit is a blank.
std::string TextField(std::string_view text, int width, Justify justify = Justify::Left,
                      char fill = ' ');

// Number formats of the report fields: ",0", ",0.00" and ",0.000".
enum class Decimals : int { None = 0, Two = 2, Three = 3 };

// Digits of |value| rounded to the given decimals (half away from zero, on the
// value's 18 significant digits), zero-filled on the left to width, never cut.
// A value that is not a finite number raises a Failure.
std::string NumberRendering(double value, Decimals decimals, int width);

// An amount whose sign stays in the field: a value below zero (decided on the
// value as passed, before rounding) gives "-" and the amount of its opposite
// at width - 1, so that -0.001 still reads as negative; otherwise the amount
// at width. Not finite: a Failure, as for every number.
std::string SignedAmountRendering(double value, int width);
// The format a host's count of decimals selects: 0 and 3 their own, every
// other count (1, negative, too large) hundredths.
constexpr Decimals DecimalsForCount(int32_t count) {
  return count == 0 ? Decimals::None : count == 3 ? Decimals::Three : Decimals::Two;
}

// The value as the user reads it: minus sign, thousands separators and the
// decimal separator of the regional settings (",0.00" style). A value that is
// not finite is shown as NAN, INF or -INF (messages only, never a line).
std::string FormatNumber(double value, Decimals decimals);

// Decimal digits with a leading "-" when negative, zero-filled on the left.
std::string IntegerRendering(int32_t value, int width);

// A day count since 1899-12-30 (fraction: time of day) as "yyyyMMdd" and as
// "hhmmss". A value outside the years 1 to 9999, or not finite, raises a Failure.
std::string DateRendering(double date);
std::string TimeRendering(double time);

// "dd/MM/yyyy" with the regional date separator, for messages.
std::string FormatDayMonthYear(double date);

bool CheckDigitsValid(std::string_view cpfOrCnpj);

// The same renderings written at `at`, returning the end of what they wrote:
// the report's lines are assembled in place in the report buffer. The caller
// provides the room each needs (see the k...Room constants; a width above them
// needs width bytes).
char* PutTextField(char* at, std::string_view text, int width, Justify justify = Justify::Left,
                   char fill = ' ');
// The alphanumeric filter, then the text field rendering (left, blank fill).
char* PutAlphanumericField(char* at, std::string_view text, int width);
// The text's bytes unchanged.
char* PutAsPassed(char* at, std::string_view text);
// Room: the width or the text's length, whichever is greater.
char* PutZeroFill(char* at, std::string_view text, int width);
// Digits a finite double can take with three decimals, a carry and a sign.
inline constexpr int kNumberRoom = 330;
char* PutNumber(char* at, double value, Decimals decimals, int width);
char* PutSignedAmount(char* at, double value, int width);
inline constexpr int kIntegerRoom = 11;
char* PutInteger(char* at, int32_t value, int width);
char* PutDate(char* at, double date);  // 8 bytes
char* PutTime(char* at, double time);  // 6 bytes
// The one-character field: the character as a text of length one, rendered at
// width 1, left-justified, blank fill.
char* PutCharField(char* at, char c);
// A character kept as passed (case, accents and all); a control code would
// break the line or the file apart and is written as a blank.
char* PutCharAsPassed(char* at, char c);

// What `put` (a Put* rendering bound to its arguments) writes, as a new text;
// `room`: the most it may write.
template <class Put>
std::string Rendered(size_t room, Put&& put) {
  std::string out(room, '\0');
  out.resize(static_cast<size_t>(put(&out[0]) - out.data()));
  return out;
}
inline size_t RoomFor(int width, size_t least) {
  return width > 0 && static_cast<size_t>(width) > least ? static_cast<size_t>(width) : least;
}

}  // namespace quorix::rules
