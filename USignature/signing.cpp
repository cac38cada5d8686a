#include "USignature/signing.h"

#include <functional>
#include <memory>

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

// The signing library reads C strings: a NUL would cut a key.
void RefuseNuls(std::string_view publicKey, std::string_view privateKey) {
  RefuseNul(publicKey, msg::kOfPublicKey);
  RefuseNul(privateKey, msg::kOfPrivateKey);
}

bool SignChecked(std::string_view publicKey, std::string_view privateKey,
                 const std::function<std::string()>& systemPath) {
  std::string message(msg::kSignatureRecordError);
  message += "\r\n";
  try {
    const std::string file = platform::PathForOutsideLibrary(systemPath());
    RefuseNuls(publicKey, privateKey);
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

}  // namespace

void LoadSigner() { platform::Signer(); }

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
  std::unique_ptr<platform::FileLock> lock;
  return SignChecked(publicKey, privateKey, [&] {
    lock = std::make_unique<platform::FileLock>(file, true);
    return lock->target();
  });
}

bool SignSystemFile(std::string_view publicKey, std::string_view privateKey,
                    const std::string& systemPath) {
  return SignChecked(publicKey, privateKey, [&] { return systemPath; });
}

bool ValidateFile(std::string_view publicKey, std::string_view privateKey,
                  const std::string& file) {
  std::string path;
  try {
    RefuseNul(file, msg::kOfFileName);
    RefuseNuls(publicKey, privateKey);
    if (!file.empty()) path = platform::PathForOutsideLibrary(platform::SystemPath(file));
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
      if (platform::Signer().validateFile(CText(path), CText(pub), CText(priv)) == 1) return true;
    }
  } catch (const std::exception&) {
  }
  SetLastError(msg::kInvalidFile);
  return false;
}

}  // namespace quorix::sig
