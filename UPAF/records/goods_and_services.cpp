// Goods and services table: one line per product or service on sale.
#include <string_view>

#include "UConst/messages.h"
#include "UPAF/records.h"

namespace quorix::upaf {
namespace {

enum Param : int {
  recordType,
  productCode,
  productDescription,
  unitOfMeasure,
  roundingIndicator,
  productionIndicator,
  taxSituation,
  taxRate,
  unitPrice,
};

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

const RecordKind kGoodsAndServices{
    /*typeLength=*/2,
    /*lineLength=*/105,
    /*entryClear=*/true,
    /*taxpayerCheck=*/true,
    /*failureChaining=*/true,
    {
        AsPassed(recordType),
        Text(kTaxpayerCnpjCpf, 14),
        ZeroFilled(productCode, 14),
        Text(productDescription, 50),
        Text(unitOfMeasure, 6),
        OneCharacter(roundingIndicator),
        OneCharacter(productionIndicator),
        OneCharacter(taxSituation),
        Amount(taxRate, 4),
        Amount(unitPrice, 12),
    },
    Checks,
};

}  // namespace

bool RelacaoMercadoriaServicos(std::string_view type, std::string_view code,
                               std::string_view description, std::string_view unit,
                               uint32_t rounding, uint32_t production, uint32_t situation,
                               double rate, double price) {
  const Arg args[] = {
      Arg::Text(type),           Arg::Text(code),          Arg::Text(description),
      Arg::Text(unit),           Arg::Character(rounding), Arg::Character(production),
      Arg::Character(situation), Arg::Real(rate),          Arg::Real(price),
  };
  return AssembleRecord(kGoodsAndServices, Args(args, sizeof args / sizeof args[0]));
}

}  // namespace quorix::upaf
