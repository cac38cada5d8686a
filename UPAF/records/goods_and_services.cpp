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

// Exact and case-sensitive: the indicators are never upper-cased for the host.
bool OneOf(char c, std::string_view accepted) { return accepted.find(c) != std::string_view::npos; }

bool Checks(const Args& a) {
  return Require(FilledSingleLine(a.text(productCode)), msg::kInvalidProductCode) &&
         Require(Filled(a.text(productDescription)), msg::kInvalidProductDescription) &&
         Require(Filled(a.text(unitOfMeasure)), msg::kInvalidUnitOfMeasure) &&
         Require(OneOf(a.character(roundingIndicator), "AT"), msg::kInvalidRoundingIndicator) &&
         Require(OneOf(a.character(productionIndicator), "PT"), msg::kInvalidProductionIndicator) &&
         Require(OneOf(a.character(taxSituation), "FINST"), msg::kInvalidTaxSituation);
}

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
    Frame{Checks},
};
QUORIX_CHECK_RECORD_KIND(kGoodsAndServices);

}  // namespace quorix::upaf::records
