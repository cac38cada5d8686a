// Other ECF documents: non-fiscal slips, management reports, credit or debit
// slips and the like, one line each with the ECF's counters at the time.
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
  gnf,
  grg,
  cdc,
  documentSymbol,
  issueEndDate,
  issueEndTime,
  kParamCount
};

// The kinds of document, in the order they are tried.
constexpr std::string_view kDocumentSymbols[] = {"CM", "RV", "CC", "CN", "NC", "RG"};

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Any letter case, but no blanks around: the symbol is compared as passed.
bool KnownSymbol(std::string_view symbol) {
  if (symbol.size() != 2) return false;
  const char upper[2] = {AsciiUpper(symbol[0]), AsciiUpper(symbol[1])};
  for (std::string_view known : kDocumentSymbols)
    if (known == std::string_view(upper, 2)) return true;
  return false;
}

bool OtherDocumentChecks(const Args& a) {
  if (!Require(Filled(a.text(serialNumber)), msg::kInvalidSerialNumber)) return false;
  if (!KnownSymbol(a.text(documentSymbol))) {
    std::string message(msg::kInvalidDocumentSymbol);
    message += a.text(documentSymbol);
    SetLastError(message);
    return false;
  }
  // Written so that a value that is not a number fails too.
  return Require(a.real(issueEndDate) > 0 && a.real(issueEndTime) >= 0, msg::kInvalidPeriod);
}

const RecordKind kOtherDocument{
    /*typeLength=*/3,
    /*lineLength=*/84,
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
        ZeroFilled(gnf, 6),
        ZeroFilled(grg, 6),
        ZeroFilled(cdc, 4),
        Text(documentSymbol, 2),  // known by now, so one of the six in capitals
        Date(issueEndDate),
        Time(issueEndTime),
    },
    OtherDocumentChecks,
};

}  // namespace

bool RelacaoDemaisDoctosEcf(std::string_view type, std::string_view serial, std::string_view mf,
                            std::string_view model, std::string_view user, std::string_view cooText,
                            std::string_view gnfText, std::string_view grgText,
                            std::string_view cdcText, std::string_view symbol, double endDate,
                            double endTime) {
  const Arg args[] = {
      Arg::Text(type),    Arg::Text(serial),  Arg::Text(mf),      Arg::Text(model),
      Arg::Text(user),    Arg::Text(cooText), Arg::Text(gnfText), Arg::Text(grgText),
      Arg::Text(cdcText), Arg::Text(symbol),  Arg::Real(endDate), Arg::Real(endTime),
  };
  static_assert(sizeof args / sizeof args[0] == kParamCount, "one argument per parameter");
  return AssembleRecord(kOtherDocument, Args(args, kParamCount));
}

}  // namespace quorix::upaf
