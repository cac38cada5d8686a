// The record assembly frame shared by every report line builder. A record
// kind is data: its frame values, a layout table that reads like the line's
// layout (source, width, rendering per field) and its own checks in order.
// AssembleRecord runs the frame: entry clear, type check, taxpayer check,
// field checks, line assembly, layout length check, append, failure chaining.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "UFuncoes/field_rules.h"

namespace quorix::upaf {

// One builder argument as the export received it.
struct Arg {
  std::string_view text;
  double real = 0;
  int32_t integer = 0;
  char character = 0;

  static Arg Text(std::string_view t) { return Arg{t, 0, 0, 0}; }
  static Arg Real(double v) { return Arg{{}, v, 0, 0}; }
  static Arg Integer(int32_t v) { return Arg{{}, 0, v, 0}; }
  // Only the lowest byte of a character slot counts.
  static Arg Character(uint32_t slot) { return Arg{{}, 0, 0, static_cast<char>(slot & 0xFF)}; }
};

class Args {
 public:
  Args(const Arg* args, size_t count) : args_(args), count_(count) {}
  std::string_view text(int i) const { return args_[i].text; }
  double real(int i) const { return args_[i].real; }
  int32_t integer(int i) const { return args_[i].integer; }
  char character(int i) const { return args_[i].character; }
  size_t size() const { return count_; }

 private:
  const Arg* args_;
  size_t count_;
};

// Field sources that are not builder arguments: the open report's taxpayer.
enum TaxpayerItem : int {
  kTaxpayerCnpjCpf = -1,
  kTaxpayerStateRegistration = -2,
  kTaxpayerMunicipalRegistration = -3,
  kTaxpayerCompanyName = -4,
};

enum class Render : uint8_t {
  AsPassed,     // the text exactly as passed
  Text,         // text field rendering
  Alphanumeric, // alphanumeric filter, then text field rendering
  ZeroFill,     // zero fill on the left of the text as passed
  Number,       // number rendering with the field's decimals
  Integer,      // integer rendering
  Date,         // date rendering
  Time,         // time rendering
  Character,    // one-character field
  Custom,       // the field's own function
  SignedAmount, // amount with a leading "-" inside its width when below zero
  // Renderings of the ECF document records.
  NumberByCount,      // number rendering, decimals chosen by an integer argument
  CharacterAsPassed,  // the character itself, control codes as a blank
  DateOrBlanks, // date rendering, or 8 blanks for a date of 0
  TimeOrBlanks, // time rendering, or 6 blanks for a time of 0
};

using CustomRender = void (*)(std::string& line, const Args& args);

struct Field {
  int source = 0;  // argument index, or a TaxpayerItem
  Render render = Render::AsPassed;
  int width = 0;
  rules::Justify justify = rules::Justify::Left;
  char fill = ' ';
  rules::Decimals decimals = rules::Decimals::Two;
  CustomRender custom = nullptr;
  int decimalsSource = -1;  // NumberByCount: the argument that counts the decimals
};

// Layout table vocabulary.
constexpr Field AsPassed(int source) { return {source, Render::AsPassed}; }
constexpr Field Text(int source, int width, rules::Justify justify = rules::Justify::Left,
                     char fill = ' ') {
  return {source, Render::Text, width, justify, fill};
}
constexpr Field AlphanumericText(int source, int width) {
  return {source, Render::Alphanumeric, width};
}
constexpr Field ZeroFilled(int source, int width) { return {source, Render::ZeroFill, width}; }
constexpr Field Amount(int source, int width) { return {source, Render::Number, width}; }
constexpr Field Number(int source, rules::Decimals decimals, int width) {
  return {source, Render::Number, width, rules::Justify::Left, ' ', decimals};
}
constexpr Field Integer(int source, int width) { return {source, Render::Integer, width}; }
constexpr Field Date(int source) { return {source, Render::Date, 8}; }
constexpr Field Time(int source) { return {source, Render::Time, 6}; }
constexpr Field OneCharacter(int source) { return {source, Render::Character, 1}; }
constexpr Field Custom(CustomRender render) {
  Field f{0, Render::Custom};
  f.custom = render;
  return f;
}
constexpr Field SignedAmount(int source, int width) {
  return {source, Render::SignedAmount, width};
}

// A number whose decimals are chosen by an integer argument (see
// rules::DecimalsForCount); the width stays the same whatever the choice.
constexpr Field NumberByCount(int source, int decimalsSource, int width) {
  Field f{source, Render::NumberByCount, width};
  f.decimalsSource = decimalsSource;
  return f;
}
// A character written as passed, not folded nor upper-cased.
constexpr Field CharacterAsPassed(int source) { return {source, Render::CharacterAsPassed, 1}; }
// Optional dates and times: 0 stands for "none" and prints as blanks.
constexpr Field DateOrBlanks(int source) { return {source, Render::DateOrBlanks, 8}; }
constexpr Field TimeOrBlanks(int source) { return {source, Render::TimeOrBlanks, 6}; }

// Field sources read from the software-house data of the last load
// (store::SoftwareHouseText), below the taxpayer items.
constexpr int kSoftwareHouseSourceBase = -100;
constexpr int SoftwareHouseItem(int text) { return kSoftwareHouseSourceBase - text; }

// A builder's own checks, in order: returns false after setting its message.
using FieldChecks = bool (*)(const Args& args);

struct RecordKind {
  size_t typeLength;
  size_t lineLength;
  bool entryClear;
  bool taxpayerCheck;
  bool failureChaining;
  std::initializer_list<Field> layout;
  FieldChecks checks = nullptr;
  // A second argument that must pass the type length check too (its failure
  // still quotes the record type).
  int secondType = -1;
  // Whether a failure raised by the checks goes through the failure chaining;
  // when not, the checks run before the protected part, as loading does.
  bool chainedChecks = true;
};

// Runs the frame for one line; args[0] is always the record type.
bool AssembleRecord(const RecordKind& kind, const Args& args);

// Renders one field at the end of line (exposed for custom fields).
void RenderField(std::string& line, const Field& field, const Args& args);

// Reads a taxpayer item or a text argument.
std::string_view SourceText(int source, const Args& args);

// Vocabulary of the builders' checks: each sets its message and gives false
// when the test fails, so that a check list reads `return A && B && C;`.
bool Require(bool passed, std::string_view message);
// A text that still holds something after trimming.
bool Filled(std::string_view text);
// Filled, and without CR or LF: for texts placed in the line as passed
// (zero-filled codes and numbers), where a line break would split the line.
bool FilledSingleLine(std::string_view text);
// One entry of a message that lists values: its label, then the argument as
// the user reads it (a real with two decimals and the regional separators, or
// a text as passed).
struct ListedValue {
  std::string_view label;
  int source;
  bool isText = false;
};
constexpr ListedValue Shown(std::string_view label, int source) { return {label, source, false}; }
constexpr ListedValue ShownText(std::string_view label, int source) { return {label, source, true}; }
// When `valid` is false, sets the message made of every listed value, whichever
// one failed, so that the host can show the whole set of figures.
bool RequireValues(bool valid, std::initializer_list<ListedValue> values, const Args& args);
// A real that is a finite number not below zero (NaN and infinities fail).
bool NotNegative(double value);
// A finite number above zero.
bool Positive(double value);

}  // namespace quorix::upaf
