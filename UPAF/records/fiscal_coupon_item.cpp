// Fiscal coupon item: one line per item of a coupon, after the coupon's own
// line. The widest record of a report and the most frequent one.
#include "UConst/messages.h"
#include "UPAF/records.h"
#include "UPAF/state.h"

namespace quorix::upaf {
namespace {

using rules::Justify;

enum Param : int {
  recordType,
  serialNumber,
  mfAdditional,
  ecfModel,
  userNumber,
  coo,
  ccf,
  itemNumber,
  productCode,
  productDescription,
  quantity,
  unitOfMeasure,
  unitValue,
  itemDiscount,
  itemIncrease,
  netTotal,
  totalizerCode,
  cancelIndicator,
  cancelledQuantity,
  cancelledValue,
  cancelledIncrease,
  roundingIndicator,
  productionIndicator,
  quantityDecimals,
  unitValueDecimals,
  kParamCount
};

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

const RecordKind kFiscalCouponItem{
    /*typeLength=*/3,
    /*lineLength=*/268,
    /*entryClear=*/true,
    /*taxpayerCheck=*/true,
    /*failureChaining=*/true,
    {
        AsPassed(recordType),
        Text(serialNumber, 20),
        Text(mfAdditional, 1),
        Text(ecfModel, 20),
        Text(userNumber, 2, Justify::Right, '0'),
        ZeroFilled(coo, 6),
        ZeroFilled(ccf, 6),
        ZeroFilled(itemNumber, 3),
        Text(productCode, 14),
        Text(productDescription, 100),
        NumberByCount(quantity, quantityDecimals, 7),
        Text(unitOfMeasure, 3),
        Amount(unitValue, 8),
        Amount(itemDiscount, 8),
        Amount(itemIncrease, 8),
        Amount(netTotal, 14),
        Text(totalizerCode, 7),
        OneCharacter(cancelIndicator),
        Amount(cancelledQuantity, 7),  // hundredths, whatever quantityDecimals says
        Amount(cancelledValue, 13),
        Amount(cancelledIncrease, 13),
        OneCharacter(roundingIndicator),
        OneCharacter(productionIndicator),
        Integer(quantityDecimals, 1),
        Integer(unitValueDecimals, 1),
    },
    ItemChecks,
};

}  // namespace

bool DetalheCupomFiscal(std::string_view type, std::string_view serial, std::string_view mf,
                        std::string_view model, std::string_view user, std::string_view cooText,
                        std::string_view ccfText, std::string_view item, std::string_view code,
                        std::string_view description, double quantityValue, std::string_view unit,
                        double unitValueValue, double discount, double increase, double net,
                        std::string_view totalizer, uint32_t cancelSlot,
                        double cancelledQuantityValue, double cancelledValueValue,
                        double cancelledIncreaseValue, uint32_t roundingSlot,
                        uint32_t productionSlot, int32_t quantityCount, int32_t unitValueCount) {
  const Arg args[] = {
      Arg::Text(type),
      Arg::Text(serial),
      Arg::Text(mf),
      Arg::Text(model),
      Arg::Text(user),
      Arg::Text(cooText),
      Arg::Text(ccfText),
      Arg::Text(item),
      Arg::Text(code),
      Arg::Text(description),
      Arg::Real(quantityValue),
      Arg::Text(unit),
      Arg::Real(unitValueValue),
      Arg::Real(discount),
      Arg::Real(increase),
      Arg::Real(net),
      Arg::Text(totalizer),
      Arg::Character(cancelSlot),
      Arg::Real(cancelledQuantityValue),
      Arg::Real(cancelledValueValue),
      Arg::Real(cancelledIncreaseValue),
      Arg::Character(roundingSlot),
      Arg::Character(productionSlot),
      Arg::Integer(quantityCount),
      Arg::Integer(unitValueCount),
  };
  static_assert(sizeof args / sizeof args[0] == kParamCount, "one argument per parameter");
  return AssembleRecord(kFiscalCouponItem, Args(args, kParamCount));
}

}  // namespace quorix::upaf
