// Payment detail: one line per means of payment of a coupon or other
// document, with the amount paid and what of it was reversed.
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
  gnf,
  paymentMethod,
  amountPaid,
  reversalIndicator,
  reversedAmount,
  kParamCount
};

// A means made of blanks passes: only an absent one is refused. The
// comparisons are written so that a value that is not a number fails too.
bool PaymentChecks(const Args& a) {
  return Require(Filled(a.text(serialNumber)), msg::kInvalidSerialNumber) &&
         RequireValues(
             !a.text(paymentMethod).empty() && a.real(amountPaid) > 0 &&
                 a.real(reversedAmount) >= 0,
             {ShownText(msg::kPaymentValues, paymentMethod), Shown(msg::kPaymentAmount, amountPaid),
              Shown(msg::kPaymentReversed, reversedAmount)},
             a);
}

const RecordKind kPayment{
    /*typeLength=*/3,
    /*lineLength=*/106,
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
        ZeroFilled(gnf, 6),
        Text(paymentMethod, 15),
        Amount(amountPaid, 13),
        CharacterAsPassed(reversalIndicator),
        Amount(reversedAmount, 13),
    },
    PaymentChecks,
};

}  // namespace

bool DetalheDemaisDoctosEcf(std::string_view type, std::string_view serial, std::string_view mf,
                            std::string_view model, std::string_view user, std::string_view cooText,
                            std::string_view ccfText, std::string_view gnfText,
                            std::string_view method, double paid, uint32_t reversalSlot,
                            double reversed) {
  const Arg args[] = {
      Arg::Text(type),
      Arg::Text(serial),
      Arg::Text(mf),
      Arg::Text(model),
      Arg::Text(user),
      Arg::Text(cooText),
      Arg::Text(ccfText),
      Arg::Text(gnfText),
      Arg::Text(method),
      Arg::Real(paid),
      Arg::Character(reversalSlot),
      Arg::Real(reversed),
  };
  static_assert(sizeof args / sizeof args[0] == kParamCount, "one argument per parameter");
  return AssembleRecord(kPayment, Args(args, kParamCount));
}

}  // namespace quorix::upaf
