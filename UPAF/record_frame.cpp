#include "UPAF/record_frame.h"

#include <cmath>
#include <exception>

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UFuncoes/software_house.h"
#include "UPAF/state.h"

namespace quorix::upaf {
namespace {

bool TypeLengthOk(std::string_view type, size_t length) {
  const std::string_view trimmed = rules::Trim(type);
  return !trimmed.empty() && trimmed.size() == length;
}

// Where a line is assembled when it cannot go to the report buffer (no
// report open, or no memory for its room there): reused, so it grows once.
std::string& Scratch() {
  static std::string line;
  return line;
}

// Fields placed as passed (the record type, counters, flags) could carry a
// line break: the file would then hold more lines than the report appended,
// and its readers and the totals lines would no longer agree with it. Every
// other field's rendering writes no control code.
bool SingleLine(std::string_view text) {
  for (char c : text)
    if (c == '\r' || c == '\n') return false;
  return true;
}

}  // namespace

std::string_view SourceText(Source source, const Args& args) {
  switch (source.kind) {
    case SourceKind::Taxpayer: {
      const Taxpayer& t = State().taxpayer;
      switch (source.index) {
        case 0:
          return t.cnpjCpf;
        case 1:
          return t.stateRegistration;
        case 2:
          return t.municipalRegistration;
        default:
          return t.companyName;
      }
    }
    case SourceKind::SoftwareHouse:
      return store::SoftwareHouse().texts[static_cast<size_t>(source.index)];
    default:
      return args.text(source.index);
  }
}

namespace {

// A field that holds no sign writes the digits of a negative value's
// opposite: the line would hold another number than the one passed.
[[noreturn]] void RefuseNegative(const Field& f, size_t position, std::string_view shown) {
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

// Bytes a field may take at most, so that the whole line can be given room
// before any field is written.
size_t RoomOf(const Field& f, const Args& args) {
  const size_t width = f.width > 0 ? static_cast<size_t>(f.width) : 0;
  auto atLeast = [width](size_t n) { return width > n ? width : n; };
  switch (f.kind) {
    case FieldKind::RecordType:
    case FieldKind::AsPassed:
      return args.text(f.source.index).size();
    case FieldKind::Counter:
    case FieldKind::Code:
      return atLeast(args.text(f.source.index).size());
    case FieldKind::Number:
    case FieldKind::NumberByCount:
      return atLeast(rules::kNumberRoom);
    case FieldKind::SignedAmount:
      return atLeast(rules::kNumberRoom + 1);
    case FieldKind::Integer:
      return atLeast(rules::kIntegerRoom);
    case FieldKind::LineCount:
      return atLeast(24);
    default:
      return width;
  }
}

// Writes the field at `at` and returns its end. `position`: the field's first
// position as the layout places it. `asPassedOk` turns false when a text
// placed as passed holds a line break.
char* RenderField(char* at, const Field& f, const Args& args, size_t position, bool& asPassedOk) {
  const int source = f.source.index;
  switch (f.kind) {
    case FieldKind::RecordType:
    case FieldKind::AsPassed: {
      const std::string_view text = args.text(source);
      asPassedOk = asPassedOk && SingleLine(text);
      return rules::PutAsPassed(at, text);
    }
    case FieldKind::Text:
      return rules::PutTextField(at, SourceText(f.source, args), f.width, f.justify, f.fill);
    case FieldKind::Alphanumeric:
      return rules::PutAlphanumericField(at, args.text(source), f.width);
    case FieldKind::Counter:
    case FieldKind::Code: {
      const std::string_view text = args.text(source);
      asPassedOk = asPassedOk && SingleLine(text);
      return rules::PutZeroFill(at, text, f.width);
    }
    case FieldKind::Number:
    case FieldKind::NumberByCount: {
      const double value = args.real(source);
      const rules::Decimals decimals =
          f.kind == FieldKind::Number ? static_cast<rules::Decimals>(f.decimals)
                                      : rules::DecimalsForCount(args.integer(f.decimalsSource));
      char* const end = rules::PutNumber(at, value, decimals, f.width);
      // Below zero but written as zeros: the same number, so it stands.
      if (value < 0 && std::string_view(at, static_cast<size_t>(end - at)).find_first_not_of('0') !=
                           std::string_view::npos)
        RefuseNegative(f, position, rules::FormatNumber(value, decimals));
      return end;
    }
    case FieldKind::Integer: {
      const int32_t value = args.integer(source);
      if (value < 0) RefuseNegative(f, position, std::to_string(value));
      return rules::PutInteger(at, value, f.width);
    }
    case FieldKind::SignedAmount:
      return rules::PutSignedAmount(at, args.real(source), f.width);
    case FieldKind::Date:
      return rules::PutDate(at, args.real(source));
    case FieldKind::Time:
      return rules::PutTime(at, args.real(source));
    case FieldKind::DateOrBlanks:
    case FieldKind::TimeOrBlanks:
      if (args.real(source) == 0) return rules::PutTextField(at, {}, f.width);
      return f.kind == FieldKind::DateOrBlanks ? rules::PutDate(at, args.real(source))
                                               : rules::PutTime(at, args.real(source));
    case FieldKind::Character:
      return rules::PutCharField(at, args.character(source));
    case FieldKind::CharacterAsPassed:
      return rules::PutCharAsPassed(at, args.character(source));
    case FieldKind::LineCount: {
      std::string digits;
      f.compute(digits, args);
      return rules::PutAsPassed(at, digits);
    }
  }
  return at;
}

}  // namespace

bool Require(bool passed, std::string_view message) {
  if (!passed) SetLastError(message);
  return passed;
}

bool RequireValues(bool valid, std::initializer_list<ListedValue> values, const Args& args) {
  if (valid) return true;
  std::string message;
  for (const ListedValue& v : values) {
    message += v.label;
    if (v.isText)
      message += args.text(v.source);
    else
      message += rules::FormatNumber(args.real(v.source), rules::Decimals::Two);
  }
  SetLastError(message);
  return false;
}

bool Filled(std::string_view text) { return !rules::Trim(text).empty(); }

bool FilledSingleLine(std::string_view text) {
  return Filled(text) && text.find_first_of("\r\n") == std::string_view::npos;
}

bool NotNegative(double value) { return std::isfinite(value) && value >= 0; }

bool Positive(double value) { return std::isfinite(value) && value > 0; }

bool AssembleRecord(const RecordKind& kind, const Args& args) {
  const Frame& frame = kind.frame;
  if (frame.entryClear) SetLastError({});

  const std::string_view recordType = args.text(0);
  if (!TypeLengthOk(recordType, kind.typeLength) ||
      (frame.secondType >= 0 && !TypeLengthOk(args.text(frame.secondType), kind.typeLength))) {
    std::string message(msg::kInvalidRecordType);
    message += recordType;
    SetLastError(message);
    return false;
  }
  if (frame.taxpayerCheck && !TaxpayerCheck()) return false;

  if (!frame.chainedChecks && frame.checks && !frame.checks(args)) return false;
  try {
    if (frame.chainedChecks && frame.checks && !frame.checks(args)) return false;

    size_t room = 0;
    for (const Field& f : kind.layout) room += RoomOf(f, args);

    // The line is written in place at the report buffer's end and kept only
    // when it passes; a line that fails leaves those bytes unused.
    ReportBuffer* report = State().report.get();
    char* start = nullptr;
    std::exception_ptr noRoom;
    if (report) {
      try {
        start = report->Tail(room);
      } catch (const std::exception&) {
        noRoom = std::current_exception();
      }
    }
    if (!start) {
      std::string& scratch = Scratch();
      if (scratch.size() < room) scratch.resize(room);
      start = &scratch[0];
    }

    char* at = start;
    bool singleLine = true;
    size_t position = 1;
    for (const Field& f : kind.layout) {
      at = RenderField(at, f, args, position, singleLine);
      position += static_cast<size_t>(f.width);
    }
    const std::string_view line(start, static_cast<size_t>(at - start));

    if (line.size() != kind.lineLength || !singleLine) {
      std::string message(msg::kInvalidLayout);
      message += line;
      SetLastError(message);
      return false;
    }
    if (!report) {
      SetLastErrorNoThrow(msg::kNoOpenReport);
      return false;
    }
    if (noRoom) {
      try {
        std::rethrow_exception(noRoom);
      } catch (const std::exception& e) {
        SetLastErrorNoThrow(FailureText(e));
      }
      return false;
    }
    report->Commit(line.size());
    return true;
  } catch (const std::exception& e) {
    // Without the chaining step the export's catch-all reports the failure.
    if (!frame.failureChaining) throw;
    ChainLastError(FailureText(e));
    return false;
  }
}

}  // namespace quorix::upaf
