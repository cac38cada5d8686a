// Fiscal coupon: one line per coupon an ECF issued, with its counters, its
// subtotal adjustments, its net total and its buyer.
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
  ccf,
  coo,
  issueStartDate,
  subtotal,
  subtotalDiscount,
  discountKind,
  subtotalIncrease,
  increaseKind,
  netTotal,
  cancelIndicator,
  cancelledIncrease,
  adjustmentOrder,
  buyerName,
  buyerId,
  kParamCount
};

// The amounts are compared as "not below zero" so that a value that is not a
// number fails too.
bool CouponChecks(const Args& a) {
  return Require(Filled(a.text(serialNumber)), msg::kInvalidSerialNumber) &&
         RequireValues(a.real(subtotal) >= 0 && a.real(netTotal) >= 0 &&
                           a.real(subtotalIncrease) >= 0 && a.real(subtotalDiscount) >= 0,
                       {Shown(msg::kCouponValues, subtotalDiscount),
                        Shown(msg::kCouponIncrease, subtotalIncrease),
                        Shown(msg::kCouponSubtotal, subtotal), Shown(msg::kCouponTotal, netTotal)},
                       a) &&
         Require(a.real(issueStartDate) > 0, msg::kInvalidPeriod);
}

const RecordKind kFiscalCoupon{
    /*typeLength=*/3,
    /*lineLength=*/191,
    /*entryClear=*/true,
    /*taxpayerCheck=*/true,
    /*failureChaining=*/true,
    {
        AsPassed(recordType),
        Text(serialNumber, 20),
        Text(mfAdditional, 1),
        Text(ecfModel, 20),
        Text(userNumber, 2, Justify::Right, '0'),
        ZeroFilled(ccf, 6),
        ZeroFilled(coo, 6),
        Date(issueStartDate),
        Amount(subtotal, 14),
        Amount(subtotalDiscount, 13),
        OneCharacter(discountKind),
        Amount(subtotalIncrease, 13),
        OneCharacter(increaseKind),
        Amount(netTotal, 14),
        OneCharacter(cancelIndicator),
        Amount(cancelledIncrease, 13),
        OneCharacter(adjustmentOrder),
        Text(buyerName, 40),
        AlphanumericText(buyerId, 14),
    },
    CouponChecks,
};

}  // namespace

bool RelacaoCupomFiscal(std::string_view type, std::string_view serial, std::string_view mf,
                        std::string_view model, std::string_view user, std::string_view ccfText,
                        std::string_view cooText, double startDate, double subtotalValue,
                        double discount, uint32_t discountSlot, double increase,
                        uint32_t increaseSlot, double net, uint32_t cancelSlot,
                        double cancelledIncreaseValue, uint32_t orderSlot, std::string_view name,
                        std::string_view id) {
  const Arg args[] = {
      Arg::Text(type),
      Arg::Text(serial),
      Arg::Text(mf),
      Arg::Text(model),
      Arg::Text(user),
      Arg::Text(ccfText),
      Arg::Text(cooText),
      Arg::Real(startDate),
      Arg::Real(subtotalValue),
      Arg::Real(discount),
      Arg::Character(discountSlot),
      Arg::Real(increase),
      Arg::Character(increaseSlot),
      Arg::Real(net),
      Arg::Character(cancelSlot),
      Arg::Real(cancelledIncreaseValue),
      Arg::Character(orderSlot),
      Arg::Text(name),
      Arg::Text(id),
  };
  static_assert(sizeof args / sizeof args[0] == kParamCount, "one argument per parameter");
  return AssembleRecord(kFiscalCoupon, Args(args, kParamCount));
}

}  // namespace quorix::upaf
