#include "UPAF/report.h"

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UConst/text_checks.h"
#include "UFuncoes/field_rules.h"
#include "UPAF/process_state.h"
#include "USignature/signing.h"
#include "platform/files.h"

namespace quorix::upaf {
namespace {

constexpr size_t kKeyLength = 256;
// Room for the signing library's reading buffer and finishing's own texts.
constexpr size_t kFinishingReserve = size_t{2} << 20;

// The report goes to a temporary file beside `file`, is signed there and only
// then takes the name, all under the file's lock: after any failure `file`
// is what it was before, no unsigned report ever stands under the name the
// host asked for, and two programs finishing into one name take turns. The
// signature covers the file's bytes only, so the name it was made under
// does not matter.
bool WriteAndSign(std::string_view publicKey, std::string_view privateKey,
                  const std::string& file) {
  ProcessState& s = Process();
  // Finishing without an open report would sign an empty report that
  // nobody built; refuse it before touching any file.
  if (!s.report) throw Failure(msg::kNoOpenReport);
  platform::FileReplacement out(file);
  s.report->WriteTo(out);
  out.Close();
  return sig::SignSystemFile(publicKey, privateKey, out.temporaryPath()) && (out.Commit(), true);
}

void ChainNotWritten(const std::string& file) {
  std::string notWritten(msg::kReportNotWritten);
  notWritten += Visible(file);
  ChainLastError(notWritten);
}

}  // namespace

bool OpenReport(std::string_view cnpjCpf, std::string_view stateRegistration,
                std::string_view municipalRegistration, std::string_view companyName) {
  ProcessState& s = Process();
  Taxpayer& t = s.taxpayer;
  t.cnpjCpf.assign(rules::Trim(cnpjCpf));
  t.stateRegistration.assign(rules::Trim(stateRegistration));
  t.municipalRegistration.assign(rules::Trim(municipalRegistration));
  t.companyName.assign(rules::Trim(companyName));
  t.identifiedByCpf = false;
  t.judgedValid = false;
  if (!TaxpayerCheck()) return false;

  Taxpayer rendered;
  const std::string digits = rules::AlphanumericFilter(t.cnpjCpf);
  rendered.identifiedByCpf = digits.size() == 11;
  rendered.cnpjCpf = rules::ZeroFill(digits, 14);
  rendered.stateRegistration = rules::TextField(rules::AlphanumericFilter(t.stateRegistration), 14);
  rendered.municipalRegistration =
      rules::TextField(rules::AlphanumericFilter(t.municipalRegistration), 14);
  rendered.companyName = rules::TextField(t.companyName, 50);
  // What finishing will need is taken now, while there is memory: the
  // signing library (a failure to load it is reported by finishing, with
  // its cause) and a reserve that finishing frees for its own messages.
  if (!s.finishingReserve) s.finishingReserve.reset(new char[kFinishingReserve]);
  if (!s.report) s.report = std::make_unique<ReportBuffer>(s.spareBlocks);
  try {
    sig::LoadSigner();
  } catch (const std::exception&) {
  }
  t = std::move(rendered);
  return true;
}

bool FinishReport(std::string_view publicKey, std::string_view privateKey,
                  std::string_view fileName, bool signOnly) {
  ProcessState& s = Process();
  bool result = false;
  try {
    const std::string file(fileName);
    // A key cut at a NUL by the signing library would be another key.
    if (publicKey.size() != kKeyLength || privateKey.size() != kKeyLength ||
        publicKey.find('\0') != std::string_view::npos ||
        privateKey.find('\0') != std::string_view::npos) {
      SetLastError(msg::kInvalidKeys);
    } else {
      // What finishing needs comes back first: room for the signing
      // library's buffer and for its own messages.
      s.finishingReserve.reset();
      try {
        RefuseNul(file, msg::kOfFileName);
        if (!signOnly) {
          // An empty or unusable name is refused before anything is written.
          platform::SystemPath(file);
          result = WriteAndSign(publicKey, privateKey, file);
          if (!result) ChainNotWritten(file);
        } else if (platform::FileExists(file)) {
          result = sig::SignFile(publicKey, privateKey, file);
        } else {
          std::string message(msg::kFileWriteError);
          message += file;
          SetLastError(message);
        }
      } catch (const std::exception& e) {
        result = false;
        std::string message(msg::kFileWriteError);
        message += Visible(file);
        message += "\r\n";
        message += FailureText(e);
        SetLastError(message);
        if (!signOnly) ChainNotWritten(file);
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
