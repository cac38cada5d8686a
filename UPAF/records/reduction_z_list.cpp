// Reduction Z list line: one daily closing of an ECF, its counters, dates and
// the day's gross sales.
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
  coo,
  cro,
  movementDate,
  issueDate,
  issueTime,
  grossSales,
  issqnDiscountFlag,
  kParamCount
};

// Dates, time, counters, gross sales and the flag are written whatever they
// hold; a value that cannot be rendered still fails through the chaining.
bool Checks(const Args& a) {
  return Require(Filled(a.text(serialNumber)), msg::kInvalidSerialNumber);
}

const RecordKind kReductionZList{
    /*typeLength=*/3, /*lineLength=*/101,
    /*entryClear=*/true, /*taxpayerCheck=*/true, /*failureChaining=*/true,
    {
        AsPassed(recordType),
        Text(serialNumber, 20),
        Text(mfAdditional, 1),
        Text(ecfModel, 20),
        Text(userNumber, 2, rules::Justify::Right, '0'),
        ZeroFilled(crz, 6),
        ZeroFilled(coo, 6),
        ZeroFilled(cro, 6),
        Date(movementDate),
        Date(issueDate),
        Time(issueTime),
        Amount(grossSales, 14),
        AsPassed(issqnDiscountFlag),
    },
    Checks,
};

}  // namespace

bool RelacaoReducoesZ(std::string_view type, std::string_view serial, std::string_view mf,
                      std::string_view model, std::string_view user, std::string_view crzText,
                      std::string_view cooText, std::string_view croText, double movement,
                      double issue, double time, double gross, std::string_view flag) {
  const Arg args[kParamCount] = {
      Arg::Text(type),     Arg::Text(serial),  Arg::Text(mf),      Arg::Text(model),
      Arg::Text(user),     Arg::Text(crzText), Arg::Text(cooText), Arg::Text(croText),
      Arg::Real(movement), Arg::Real(issue),   Arg::Real(time),    Arg::Real(gross),
      Arg::Text(flag),
  };
  return AssembleRecord(kReductionZList, Args(args, kParamCount));
}

}  // namespace quorix::upaf
