// Record kind tables that must not compile: each WRONG_* case breaks one
// agreement that the kind's own file asserts.
#include "UPAF/record_frame.h"

namespace {

#define PARAMETERS(X) X(recordType, Text)
QUORIX_PARAMETERS(PARAMETERS);
#undef PARAMETERS

using namespace quorix::upaf;

constexpr Field kLayout[] = {
    RecordType(2),
#if defined(WRONG_SOURCE)  // a date rendered from the record type
    Date(recordType, "data"),
#else
    Text(kTaxpayerCnpjCpf, 8, "CNPJ/CPF"),
#endif
};

#if defined(WRONG_LENGTH)  // the widths add up to 10
constexpr size_t kLineLength = 11;
#else
constexpr size_t kLineLength = 10;
#endif

constexpr RecordKind kSample{
    RecordId::Header, "amostra", 2, kLineLength, kParameters, kLayout, Frame{},
};
QUORIX_CHECK_RECORD_KIND(kSample);

}  // namespace
