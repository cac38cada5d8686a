// Other ECF documents: non-fiscal slips, management reports, credit or debit
// slips and the like, one line each with the ECF's counters at the time.
#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)          \
  QUORIX_ECF_IDENTIFICATION(X) \
  X(coo, Text)                 \
  X(gnf, Text)                 \
  X(grg, Text)                 \
  X(cdc, Text)                 \
  X(documentSymbol, Text)      \
  X(issueEndDate, Date)        \
  X(issueEndTime, Time)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

// The kinds of document, in the order they are tried.
constexpr std::string_view kDocumentSymbols[] = {"CM", "RV", "CC", "CN", "NC", "RG"};

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Any letter case, but no blanks around: the symbol is compared as passed.
bool KnownSymbol(const Args& a, int parameter, std::string_view) {
  const std::string_view symbol = a.text(parameter);
  if (symbol.size() != 2) return false;
  const char upper[2] = {AsciiUpper(symbol[0]), AsciiUpper(symbol[1])};
  for (std::string_view known : kDocumentSymbols)
    if (known == std::string_view(upper, 2)) return true;
  return false;
}
constexpr Predicate kKnownSymbol{
    "um de CM, RV, CC, CN, NC, RG, em qualquer caixa, sem brancos em volta", KnownSymbol};

// Written so that a value that is not a number fails too.
constexpr Check kChecks[] = {
    Must({serialNumber, is::kFilled}, msg::kInvalidSerialNumber),
    MustAppending({documentSymbol, kKnownSymbol}, msg::kInvalidDocumentSymbol),
    MustAll({{issueEndDate, is::kAboveZero}, {issueEndTime, is::kAtLeastZero}},
            msg::kInvalidPeriod),
};

constexpr auto kLayout = EcfIdentified({
    Counter(coo, 6, "COO"),
    Counter(gnf, 6, "GNF"),
    Counter(grg, 6, "GRG"),
    Counter(cdc, 4, "CDC"),
    Text(documentSymbol, 2, "s\xEDmbolo do documento"),  // known by now: one of the six in capitals
    Date(issueEndDate, "data de fim da emiss\xE3o"),
    Time(issueEndTime, "hora de fim da emiss\xE3o"),
});

}  // namespace

constexpr RecordKind kOtherDocument{
    RecordId::OtherDocument,
    "demais documentos do ECF",
    /*typeLength=*/3,
    /*lineLength=*/84,
    kParameters,
    kLayout,
    Frame{kChecks},
    Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kOtherDocument);

}  // namespace quorix::upaf::records
