// Goods and services table: one line per product or service on sale.
#include <string_view>

#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)               \
  X(recordType, Text)               \
  X(productCode, Text)              \
  X(productDescription, Text)       \
  X(unitOfMeasure, Text)            \
  X(roundingIndicator, Character)   \
  X(productionIndicator, Character) \
  X(taxSituation, Character)        \
  X(taxRate, Real)                  \
  X(unitPrice, Real)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

// The indicators are exact and case-sensitive: never upper-cased for the host.
constexpr Check kChecks[] = {
    Must({productCode, is::kFilledSingleLine}, msg::kInvalidProductCode),
    Must({productDescription, is::kFilled}, msg::kInvalidProductDescription),
    Must({unitOfMeasure, is::kFilled}, msg::kInvalidUnitOfMeasure),
    Must({roundingIndicator, is::kOneOf, "AT"}, msg::kInvalidRoundingIndicator),
    Must({productionIndicator, is::kOneOf, "PT"}, msg::kInvalidProductionIndicator),
    Must({taxSituation, is::kOneOf, "FINST"}, msg::kInvalidTaxSituation),
};

constexpr Field kLayout[] = {
    RecordType(2),
    Text(kTaxpayerCnpjCpf, 14, names::kTaxpayerCnpjCpf),
    Code(productCode, 14, names::kProductCode),
    Text(productDescription, 50, names::kProductDescription),
    Text(unitOfMeasure, 6, names::kUnitOfMeasure),
    Character(roundingIndicator, names::kRoundingIndicator),
    Character(productionIndicator, names::kProductionIndicator),
    Character(taxSituation, "situa\xE7\xE3o tribut\xE1ria"),
    Amount(taxRate, 4, names::kTaxRate),
    Amount(unitPrice, 12, "pre\xE7o unit\xE1rio"),
};

}  // namespace

constexpr RecordKind kGoodsAndServices{
    RecordId::GoodsAndServices,
    "tabela de mercadorias e servi\xE7os",
    /*typeLength=*/2,
    /*lineLength=*/105,
    kParameters,
    kLayout,
    Frame{kChecks},
    Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kGoodsAndServices);

}  // namespace quorix::upaf::records
