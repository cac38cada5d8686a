// Reduction Z detail line: one partial totaliser of a reduction and the value
// it accumulated. The ECF identification is rendered as in the list line, so
// that equal arguments tie a detail to its reduction.
#include "UConst/messages.h"
#include "UPAF/records.h"

namespace quorix::upaf {
namespace {

enum Param : int {
  recordType,
  serialNumber,
  mfAdditional,
  ecfModel,
  userNumber,
  crz,
  totalizerCode,
  accumulatedValue,
  kParamCount
};

bool Checks(const Args& a) {
  return Require(Filled(a.text(serialNumber)), msg::kInvalidSerialNumber) &&
         Require(Filled(a.text(totalizerCode)), msg::kInvalidTotalizerCode) &&
         Require(NotNegative(a.real(accumulatedValue)), msg::kInvalidValue);
}

const RecordKind kReductionZDetail{
    /*typeLength=*/3, /*lineLength=*/72,
    /*entryClear=*/true, /*taxpayerCheck=*/true, /*failureChaining=*/true,
    {
        AsPassed(recordType),
        Text(serialNumber, 20),
        Text(mfAdditional, 1),
        Text(ecfModel, 20),
        Text(userNumber, 2, rules::Justify::Right, '0'),
        ZeroFilled(crz, 6),
        Text(totalizerCode, 7),
        Amount(accumulatedValue, 13),
    },
    Checks,
};

}  // namespace

bool DetalheReducaoZ(std::string_view type, std::string_view serial, std::string_view mf,
                     std::string_view model, std::string_view user, std::string_view crzText,
                     std::string_view totalizer, double value) {
  const Arg args[kParamCount] = {
      Arg::Text(type), Arg::Text(serial),  Arg::Text(mf),        Arg::Text(model),
      Arg::Text(user), Arg::Text(crzText), Arg::Text(totalizer), Arg::Real(value),
  };
  return AssembleRecord(kReductionZDetail, Args(args, kParamCount));
}

}  // namespace quorix::upaf
