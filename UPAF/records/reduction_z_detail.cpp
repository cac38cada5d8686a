// Reduction Z detail line: one partial totaliser of a reduction and the value
// it accumulated. The ECF identification is rendered as in the list line, so
// that equal arguments tie a detail to its reduction.
#include "UConst/messages.h"
#include "UPAF/record_frame.h"

namespace quorix::upaf::records {
namespace {

#define PARAMETERS(X)          \
  QUORIX_ECF_IDENTIFICATION(X) \
  X(crz, Text)                 \
  X(totalizerCode, Text)       \
  X(accumulatedValue, Real)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

constexpr Check kChecks[] = {
    Must({serialNumber, is::kFilled}, msg::kInvalidSerialNumber),
    Must({totalizerCode, is::kFilled}, msg::kInvalidTotalizerCode),
    Must({accumulatedValue, is::kNotNegative}, msg::kInvalidValue),
};

constexpr auto kLayout = EcfIdentified({
    Counter(crz, 6, "CRZ"),
    Text(totalizerCode, 7, names::kTotalizerCode),
    Amount(accumulatedValue, 13, "valor acumulado no totalizador"),
});

}  // namespace

constexpr RecordKind kReductionZDetail{
    RecordId::ReductionZDetail,
    "detalhe da Redu\xE7\xE3o Z",
    /*typeLength=*/3,
    /*lineLength=*/72,
    kParameters,
    kLayout,
    Frame{kChecks},
    Compiled<kLayout, kChecks>(),
};
QUORIX_CHECK_RECORD_KIND(kReductionZDetail);

}  // namespace quorix::upaf::records
