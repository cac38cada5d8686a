#include "UPAF/record_frame.h"

#include <cmath>

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

// One line under assembly at a time; reusing its storage keeps the hot path
// free of allocations.
std::string& LineUnderAssembly() {
  static std::string line;
  return line;
}

// Fields placed as passed (the record type, counters, flags) could carry a
// line break: the file would then hold more lines than the report appended,
// and its readers and the totals lines would no longer agree with it.
bool OneLineInTheFile(std::string_view line) {
  return line.find('\r') == std::string_view::npos && line.find('\n') == std::string_view::npos;
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

// `position`: the field's first position as the layout places it.
void RenderField(std::string& line, const Field& f, const Args& args, size_t position) {
  const int source = f.source.index;
  switch (f.kind) {
    case FieldKind::RecordType:
    case FieldKind::AsPassed:
      line.append(args.text(source));
      break;
    case FieldKind::Text:
      rules::AppendTextField(line, SourceText(f.source, args), f.width, f.justify, f.fill);
      break;
    case FieldKind::Alphanumeric:
      rules::AppendTextField(line, rules::AlphanumericFilter(args.text(source)), f.width);
      break;
    case FieldKind::Counter:
    case FieldKind::Code:
      rules::AppendZeroFill(line, args.text(source), f.width);
      break;
    case FieldKind::Number:
    case FieldKind::NumberByCount: {
      const double value = args.real(source);
      const rules::Decimals decimals =
          f.kind == FieldKind::Number ? static_cast<rules::Decimals>(f.decimals)
                                      : rules::DecimalsForCount(args.integer(f.decimalsSource));
      const size_t start = line.size();
      rules::AppendNumber(line, value, decimals, f.width);
      // Below zero but written as zeros: the same number, so it stands.
      if (value < 0 && line.find_first_not_of('0', start) != std::string::npos)
        RefuseNegative(f, position, rules::FormatNumber(value, decimals));
      break;
    }
    case FieldKind::Integer: {
      const int32_t value = args.integer(source);
      if (value < 0) RefuseNegative(f, position, std::to_string(value));
      rules::AppendInteger(line, value, f.width);
      break;
    }
    case FieldKind::SignedAmount:
      rules::AppendSignedAmount(line, args.real(source), f.width);
      break;
    case FieldKind::Date:
      rules::AppendDate(line, args.real(source));
      break;
    case FieldKind::Time:
      rules::AppendTime(line, args.real(source));
      break;
    case FieldKind::DateOrBlanks:
    case FieldKind::TimeOrBlanks:
      if (args.real(source) == 0)
        line.append(static_cast<size_t>(f.width), ' ');
      else if (f.kind == FieldKind::DateOrBlanks)
        rules::AppendDate(line, args.real(source));
      else
        rules::AppendTime(line, args.real(source));
      break;
    case FieldKind::Character:
      rules::AppendCharField(line, args.character(source));
      break;
    case FieldKind::CharacterAsPassed:
      rules::AppendCharAsPassed(line, args.character(source));
      break;
    case FieldKind::LineCount:
      f.compute(line, args);
      break;
  }
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

    std::string& line = LineUnderAssembly();
    line.clear();
    size_t position = 1;
    for (const Field& f : kind.layout) {
      RenderField(line, f, args, position);
      position += static_cast<size_t>(f.width);
    }

    if (line.size() != kind.lineLength || !OneLineInTheFile(line)) {
      std::string message(msg::kInvalidLayout);
      message += line;
      SetLastError(message);
      return false;
    }
    return AppendReportLine(line);
  } catch (const std::exception& e) {
    // Without the chaining step the export's catch-all reports the failure.
    if (!frame.failureChaining) throw;
    ChainLastError(FailureText(e));
    return false;
  }
}

}  // namespace quorix::upaf
