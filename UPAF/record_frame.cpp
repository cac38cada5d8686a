#include "UPAF/record_frame.h"

#include <cmath>

#include "UConst/failure.h"
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

std::string_view SourceText(int source, const Args& args) {
  if (source <= kSoftwareHouseSourceBase)
    return store::SoftwareHouse().texts[kSoftwareHouseSourceBase - source];
  const Taxpayer& t = State().taxpayer;
  switch (source) {
    case kTaxpayerCnpjCpf:
      return t.cnpjCpf;
    case kTaxpayerStateRegistration:
      return t.stateRegistration;
    case kTaxpayerMunicipalRegistration:
      return t.municipalRegistration;
    case kTaxpayerCompanyName:
      return t.companyName;
    default:
      return args.text(source);
  }
}

void RenderField(std::string& line, const Field& f, const Args& args) {
  switch (f.render) {
    case Render::AsPassed:
      line.append(SourceText(f.source, args));
      break;
    case Render::Text:
      rules::AppendTextField(line, SourceText(f.source, args), f.width, f.justify, f.fill);
      break;
    case Render::Alphanumeric:
      rules::AppendTextField(line, rules::AlphanumericFilter(SourceText(f.source, args)),
                             f.width, f.justify, f.fill);
      break;
    case Render::ZeroFill:
      rules::AppendZeroFill(line, SourceText(f.source, args), f.width);
      break;
    case Render::Number:
      rules::AppendNumber(line, args.real(f.source), f.decimals, f.width);
      break;
    case Render::Integer:
      rules::AppendInteger(line, args.integer(f.source), f.width);
      break;
    case Render::Date:
      rules::AppendDate(line, args.real(f.source));
      break;
    case Render::Time:
      rules::AppendTime(line, args.real(f.source));
      break;
    case Render::Character:
      rules::AppendCharField(line, args.character(f.source));
      break;
    case Render::Custom:
      f.custom(line, args);
      break;
    case Render::SignedAmount:
      rules::AppendSignedAmount(line, args.real(f.source), f.width);
        break;
    case Render::NumberByCount:
      rules::AppendNumber(line, args.real(f.source),
                          rules::DecimalsForCount(args.integer(f.decimalsSource)), f.width);
      break;
    case Render::CharacterAsPassed:
      rules::AppendCharAsPassed(line, args.character(f.source));
      break;
    case Render::DateOrBlanks:
    case Render::TimeOrBlanks:
      if (args.real(f.source) == 0)
        line.append(static_cast<size_t>(f.width), ' ');
      else if (f.render == Render::DateOrBlanks)
        rules::AppendDate(line, args.real(f.source));
      else
        rules::AppendTime(line, args.real(f.source));
      break;
  }
}

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
  if (kind.entryClear) SetLastError({});

  const std::string_view recordType = args.text(0);
  if (!TypeLengthOk(recordType, kind.typeLength) ||
      (kind.secondType >= 0 && !TypeLengthOk(args.text(kind.secondType), kind.typeLength))) {
    std::string message(msg::kInvalidRecordType);
    message += recordType;
    SetLastError(message);
    return false;
  }
  if (kind.taxpayerCheck && !TaxpayerCheck()) return false;

  if (!kind.chainedChecks && kind.checks && !kind.checks(args)) return false;
  try {
    if (kind.chainedChecks && kind.checks && !kind.checks(args)) return false;

    std::string& line = LineUnderAssembly();
    line.clear();
    for (const Field& f : kind.layout) RenderField(line, f, args);

    if (line.size() != kind.lineLength || !OneLineInTheFile(line)) {
      std::string message(msg::kInvalidLayout);
      message += line;
      SetLastError(message);
      return false;
    }
    return AppendReportLine(line);
  } catch (const std::exception& e) {
    // Without the chaining step the export's catch-all reports the failure.
    if (!kind.failureChaining) throw;
    ChainLastError(FailureText(e));
    return false;
  }
}

}  // namespace quorix::upaf
