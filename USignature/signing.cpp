#include "USignature/signing.h"

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UConst/text_checks.h"
#include "platform/files.h"
#include "platform/signing_library.h"

namespace quorix::sig {
namespace {

// The signing library takes NUL-terminated texts, a null pointer for an empty one.
const char* CText(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

// The signing library reads C strings: a NUL would cut a name or a key.
void RefuseNuls(std::string_view publicKey, std::string_view privateKey, const std::string& file) {
  RefuseNul(file, msg::kOfFileName);
  RefuseNul(publicKey, msg::kOfPublicKey);
  RefuseNul(privateKey, msg::kOfPrivateKey);
}

}  // namespace

bool GenerateKeys(std::string& publicKey, std::string& privateKey) {
  publicKey.assign(kKeyLength, '\0');
  privateKey.assign(kKeyLength, '\0');
  try {
    const auto& signer = platform::Signer();
    if (signer.genkkey(publicKey.data(), privateKey.data()) == 1) return true;
  } catch (const std::exception&) {
  }
  SetLastError(msg::kCommandNotExecuted);
  return false;
}

bool SignFile(std::string_view publicKey, std::string_view privateKey, const std::string& file) {
  std::string message(msg::kSignatureRecordError);
  message += "\r\n";
  try {
    RefuseNuls(publicKey, privateKey, file);
    const std::string pub(publicKey), priv(privateKey);
    std::string signature(kKeyLength, '\0');
    const auto& signer = platform::Signer();
    if (signer.generateEAD(CText(file), CText(pub), CText(priv), signature.data(), 1) > 0)
      return true;
    message += msg::kCommandExecutionError;
  } catch (const std::exception& e) {
    message += FailureText(e);
  }
  SetLastError(message);
  return false;
}

bool ValidateFile(std::string_view publicKey, std::string_view privateKey,
                  const std::string& file) {
  try {
    RefuseNuls(publicKey, privateKey, file);
  } catch (const Failure& e) {
    std::string message(msg::kInvalidFile);
    message += "\r\n";
    message += e.what();
    SetLastError(message);
    return false;
  }
  try {
    if (platform::FileExists(file)) {
      const std::string pub(publicKey), priv(privateKey);
      if (platform::Signer().validateFile(CText(file), CText(pub), CText(priv)) == 1) return true;
    }
  } catch (const std::exception&) {
  }
  SetLastError(msg::kInvalidFile);
  return false;
}

}  // namespace quorix::sig
