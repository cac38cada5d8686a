// Reduction Z list line: one daily closing of an ECF, its counters, dates and
// the day's gross sales.
#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)          \
  QUORIX_ECF_IDENTIFICATION(X) \
  X(crz, Text)                 \
  X(coo, Text)                 \
  X(cro, Text)                 \
  X(movementDate, Date)        \
  X(issueDate, Date)           \
  X(issueTime, Time)           \
  X(grossSales, Real)          \
  X(issqnDiscountFlag, Text)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

// Dates, time, counters, gross sales and the flag are written whatever they
// hold; a value that cannot be rendered still fails through the chaining.
constexpr Check kChecks[] = {
    Must({serialNumber, is::kFilled}, msg::kInvalidSerialNumber),
};

constexpr auto kLayout = EcfIdentified({
    Counter(crz, 6, "CRZ"),
    Counter(coo, 6, "COO"),
    Counter(cro, 6, "CRO"),
    Date(movementDate, "data do movimento"),
    Date(issueDate, "data de emiss\xE3o"),
    Time(issueTime, "hora de emiss\xE3o"),
    Amount(grossSales, 14, "venda bruta di\xE1ria"),
    AsPassed(issqnDiscountFlag, 1, "par\xE2metro de desconto em ISSQN"),
});

}  // namespace

constexpr RecordKind kReductionZList{
    RecordId::ReductionZList,
    "Redu\xE7\xE3o Z",
    /*typeLength=*/3,
    /*lineLength=*/101,
    kParameters,
    kLayout,
    Frame{kChecks},
    Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kReductionZList);

}  // namespace quorix::upaf::records
