// Entries that open, finish and explain a report, and the header builder.
#include "UConst/last_error.h"
#include "UPAF/report.h"
#include "exports/boundary.h"
#include "exports/record_entry.h"
#include "quorix.h"

using quorix::boundary::Guarded;
using quorix::boundary::TextArg;

extern "C" {

quorix_bool QUORIX_CALL quorix_InicializarPAF(quorix_text cnpjCpf, quorix_text stateRegistration,
                                              quorix_text municipalRegistration,
                                              quorix_text companyName) {
  TextArg a(cnpjCpf), b(stateRegistration), c(municipalRegistration), d(companyName);
  return Guarded([&] { return quorix::upaf::OpenReport(a.view(), b.view(), c.view(), d.view()); });
}

quorix_bool QUORIX_CALL quorix_FinalizarPAF(quorix_text publicKey, quorix_text privateKey,
                                            quorix_text fileName, quorix_slot signOnly) {
  TextArg pub(publicKey), priv(privateKey), file(fileName);
  return Guarded([&] {
    return quorix::upaf::FinishReport(pub.view(), priv.view(), file.view(),
                                      quorix::boundary::BoolSlot(signOnly));
  });
}

void QUORIX_CALL quorix_GetMessageError(char** message) {
  quorix::boundary::GuardedVoid(
      [&] { quorix::boundary::StoreText(message, quorix::LastErrorMessage()); });
}

quorix_bool QUORIX_CALL quorix_Header(quorix_text recordType) {
  return quorix::boundary::Build<quorix::upaf::RecordId::Header>(recordType);
}

}  // extern "C"
