// Totals line: how many lines of a given type the report holds so far,
// under the taxpayer's CNPJ/CPF and state registration.
#include <charconv>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "UPAF/record_frame.h"
#include "UPAF/record_process.h"
#include "UPAF/report_buffer.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X) \
  X(recordType, Text) \
  X(countedType, Text)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Lines whose first two characters equal the counted type, a-z folded to
// upper case. The type is compared as passed: blanks around it match nothing.
// A two-byte type has passed the type check only with both bytes above 32,
// so the NUL that pads the head of a shorter line never matches it.
size_t LinesOfType(const ReportBuffer& report, std::string_view type) {
  if (type.size() != 2) return 0;
  const char first = UpperAscii(type[0]), second = UpperAscii(type[1]);
  size_t count = 0;
  report.ForEachHead([&](size_t, ReportBuffer::Head head) {
    count += UpperAscii(head.first) == first && UpperAscii(head.second) == second;
  });
  return count;
}

// The count, zero-filled to 6 and never cut: a seventh digit fails the layout.
void CountedLines(std::string& line, const Args& args) {
  const ReportBuffer* report = args.process().Report();
  if (!report) throw Failure(msg::kNoOpenReport);
  char digits[24];
  const auto end =
      std::to_chars(digits, digits + sizeof digits, LinesOfType(*report, args.text(countedType)))
          .ptr;
  line += rules::ZeroFill(std::string_view(digits, static_cast<size_t>(end - digits)), 6);
}

constexpr Field kLayout[] = {
    RecordType(2),
    Text(kTaxpayerCnpjCpf, 14, names::kTaxpayerCnpjCpf),
    Text(kTaxpayerStateRegistration, 14, names::kTaxpayerStateRegistration),
    LineCount(CountedLines, 6, "quantidade de registros do tipo totalizado"),
};

}  // namespace

constexpr RecordKind kTotally{
    RecordId::Totally,
    "totalizador de registros",
    /*typeLength=*/2,
    /*lineLength=*/36,
    kParameters,
    kLayout,
    Frame{}.KeepingOlderMessage().WithoutTaxpayerCheck().WithSecondType(countedType),
    Compiled<kLayout>(),
};
QUORIX_CHECK_RECORD_KIND(kTotally);

}  // namespace quorix::upaf::records
