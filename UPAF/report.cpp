#include "UPAF/report.h"

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UFuncoes/field_rules.h"
#include "UPAF/state.h"
#include "USignature/signing.h"
#include "platform/files.h"

namespace quorix::upaf {
namespace {

constexpr size_t kKeyLength = 256;

}  // namespace

bool OpenReport(std::string_view cnpjCpf, std::string_view stateRegistration,
                std::string_view municipalRegistration, std::string_view companyName) {
  LibraryState& s = State();
  Taxpayer& t = s.taxpayer;
  t.cnpjCpf.assign(rules::Trim(cnpjCpf));
  t.stateRegistration.assign(rules::Trim(stateRegistration));
  t.municipalRegistration.assign(rules::Trim(municipalRegistration));
  t.companyName.assign(rules::Trim(companyName));
  t.identifiedByCpf = false;
  if (!TaxpayerCheck()) return false;

  Taxpayer rendered;
  const std::string digits = rules::AlphanumericFilter(t.cnpjCpf);
  rendered.identifiedByCpf = digits.size() == 11;
  rendered.cnpjCpf = rules::ZeroFill(digits, 14);
  rendered.stateRegistration = rules::TextField(rules::AlphanumericFilter(t.stateRegistration), 14);
  rendered.municipalRegistration =
      rules::TextField(rules::AlphanumericFilter(t.municipalRegistration), 14);
  rendered.companyName = rules::TextField(t.companyName, 50);
  if (!s.report) s.report = std::make_unique<ReportBuffer>();
  t = std::move(rendered);
  return true;
}

bool FinishReport(std::string_view publicKey, std::string_view privateKey,
                  std::string_view fileName, bool signOnly) {
  bool result = false;
  try {
    const std::string file(fileName);
    if (publicKey.size() != kKeyLength || privateKey.size() != kKeyLength) {
      SetLastError(msg::kInvalidKeys);
    } else {
      try {
        if (!signOnly) {
          const ReportBuffer* report = State().report.get();
          // Finishing without an open report would sign an empty report that
          // nobody built; refuse it before touching an existing file.
          if (!report) throw Failure(msg::kNoOpenReport);
          platform::DeleteFileAt(file);
          try {
            report->WriteTo(file);
          } catch (...) {
            // Never leave a half-written report behind.
            try {
              platform::DeleteFileAt(file);
            } catch (...) {
            }
            throw;
          }
        }
        if (platform::FileExists(file)) {
          result = sig::SignFile(publicKey, privateKey, file);
        } else {
          std::string message(msg::kFileWriteError);
          message += file;
          SetLastError(message);
        }
      } catch (const std::exception& e) {
        result = false;
        std::string message(msg::kFileWriteError);
        message += file;
        message += "\r\n";
        message += FailureText(e);
        SetLastError(message);
      }
    }
  } catch (...) {
    CloseReport(false);
    throw;
  }
  CloseReport(result);
  return result;
}

}  // namespace quorix::upaf
