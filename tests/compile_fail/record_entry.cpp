// Record entries that must not compile: each WRONG_* case passes arguments
// that differ from the export's prototype.
#include "exports/record_entry.h"

using quorix::boundary::Build;
using quorix::upaf::RecordId;

quorix_bool Entry(quorix_text t, double date, int32_t coo, quorix_slot c) {
#if defined(WRONG_KIND)  // the COO and the DAV date swapped
  return Build<RecordId::DavIssued>(t, t, t, t, t, t, date, t, coo, t, 1.0);
#elif defined(WRONG_ARITY)  // the DAV total left out
  return Build<RecordId::DavIssued>(t, t, t, t, t, t, coo, t, date, t);
#elif defined(WRONG_SLOT)   // a character slot where the COO goes
  return Build<RecordId::DavIssued>(t, t, t, t, t, t, c, t, date, t, 1.0);
#else                       // the right arguments, so that the cases fail for their own reason only
  (void)c;
  return Build<RecordId::DavIssued>(t, t, t, t, t, t, coo, t, date, t, 1.0);
#endif
}
