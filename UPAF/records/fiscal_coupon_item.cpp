// Fiscal coupon item: one line per item of a coupon, after the coupon's own
// line. The widest record of a report and the most frequent one.
#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)               \
  QUORIX_ECF_IDENTIFICATION(X)      \
  X(coo, Text)                      \
  X(ccf, Text)                      \
  X(itemNumber, Text)               \
  X(productCode, Text)              \
  X(productDescription, Text)       \
  X(quantity, Real)                 \
  X(unitOfMeasure, Text)            \
  X(unitValue, Real)                \
  X(itemDiscount, Real)             \
  X(itemIncrease, Real)             \
  X(netTotal, Real)                 \
  X(totalizerCode, Text)            \
  X(cancelIndicator, Character)     \
  X(cancelledQuantity, Real)        \
  X(cancelledValue, Real)           \
  X(cancelledIncrease, Real)        \
  X(roundingIndicator, Character)   \
  X(productionIndicator, Character) \
  X(quantityDecimals, Integer)      \
  X(unitValueDecimals, Integer)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

bool EitherOf(char c, char first, char second) { return c == first || c == second; }

// Written so that a value that is not a number fails too.
bool ItemValuesValid(const Args& a) {
  return RequireValues(a.real(netTotal) > 0 && a.real(itemIncrease) >= 0 &&
                           a.real(itemDiscount) >= 0 && a.real(unitValue) > 0,
                       {Shown(msg::kItemValues, unitValue), Shown(msg::kItemDiscount, itemDiscount),
                        Shown(msg::kItemIncrease, itemIncrease), Shown(msg::kItemTotal, netTotal)},
                       a);
}

bool ItemChecks(const Args& a) {
  if (!Require(Filled(a.text(serialNumber)), msg::kInvalidSerialNumber) ||
      !Require(Filled(a.text(productCode)), msg::kInvalidProductCode) ||
      !Require(Filled(a.text(productDescription)), msg::kInvalidProductDescription) ||
      !Require(Filled(a.text(unitOfMeasure)), msg::kInvalidUnitOfMeasure))
    return false;
  // Hundredths here whatever the quantity's own count of decimals.
  if (!RequireValues(a.real(quantity) > 0, {Shown(msg::kInvalidQuantity, quantity)}, a))
    return false;
  // Exact capitals: a lower-case letter is refused although the line would
  // show it upper-cased.
  return Require(EitherOf(a.character(roundingIndicator), 'A', 'T'),
                 msg::kInvalidRoundingIndicator) &&
         Require(EitherOf(a.character(productionIndicator), 'P', 'T'),
                 msg::kInvalidProductionIndicator) &&
         ItemValuesValid(a);
}

constexpr auto kLayout = EcfIdentified({
    Counter(coo, 6, "COO"),
    Counter(ccf, 6, "CCF"),
    Counter(itemNumber, 3, "n\xFAmero do item"),
    Text(productCode, 14, names::kProductCode),
    Text(productDescription, 100, names::kProductDescription),
    NumberByCount(quantity, quantityDecimals, 7, "quantidade"),
    Text(unitOfMeasure, 3, names::kUnitOfMeasure),
    Amount(unitValue, 8, "valor unit\xE1rio"),
    Amount(itemDiscount, 8, "desconto sobre o item"),
    Amount(itemIncrease, 8, "acr\xE9scimo sobre o item"),
    Amount(netTotal, 14, names::kNetTotal),
    Text(totalizerCode, 7, names::kTotalizerCode),
    Character(cancelIndicator, names::kCancelIndicator),
    Amount(cancelledQuantity, 7, "quantidade cancelada"),  // hundredths, whatever the count says
    Amount(cancelledValue, 13, "valor cancelado"),
    Amount(cancelledIncrease, 13, names::kCancelledIncrease),
    Character(roundingIndicator, names::kRoundingIndicator),
    Character(productionIndicator, names::kProductionIndicator),
    Integer(quantityDecimals, 1, "casas decimais da quantidade"),
    Integer(unitValueDecimals, 1, "casas decimais do valor unit\xE1rio"),
});

}  // namespace

constexpr RecordKind kFiscalCouponItem{
    RecordId::FiscalCouponItem,
    "item do cupom fiscal",
    /*typeLength=*/3,
    /*lineLength=*/268,
    kParameters,
    kLayout,
    Frame{ItemChecks},
};
QUORIX_CHECK_RECORD_KIND(kFiscalCouponItem);

}  // namespace quorix::upaf::records
