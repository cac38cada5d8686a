// DAV issued: one line per auxiliary sales document the program issued.
#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)   \
  X(recordType, Text)   \
  X(serialNumber, Text) \
  X(mfAdditional, Text) \
  X(ecfType, Text)      \
  X(ecfBrand, Text)     \
  X(ecfModel, Text)     \
  X(coo, Integer)       \
  X(davNumber, Text)    \
  X(davDate, Date)      \
  X(davTitle, Text)     \
  X(davTotal, Real)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

// Written so that a date that is not a number is refused too.
constexpr Check kChecks[] = {
    Must({davNumber, is::kFilledSingleLine}, msg::kInvalidDavNumber),
    Must({davDate, is::kAboveZero}, msg::kInvalidDavDate),
};

constexpr Field kLayout[] = {
    RecordType(2),
    Text(kTaxpayerCnpjCpf, 14, names::kTaxpayerCnpjCpf),
    Text(serialNumber, 20, names::kSerialNumber),
    Text(mfAdditional, 1, names::kMfAdditional),
    Text(ecfType, 7, names::kEcfType),
    Text(ecfBrand, 20, names::kEcfBrand),
    Text(ecfModel, 20, names::kEcfModel),
    Integer(coo, 6, "COO"),
    Code(davNumber, 13, "n\xFAmero do DAV"),
    Date(davDate, "data do DAV"),
    Text(davTitle, 30, "t\xEDtulo do DAV"),
    Amount(davTotal, 8, "valor total do DAV"),
};

}  // namespace

constexpr RecordKind kDavIssued{
    RecordId::DavIssued, "DAV emitido",
    /*typeLength=*/2,
    /*lineLength=*/149,  kParameters,   kLayout, Frame{kChecks}, Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kDavIssued);

}  // namespace quorix::upaf::records
