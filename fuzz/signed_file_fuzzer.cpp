// The signed-file validator on arbitrary files and keys, in the signing
// library (validateFile) and through quorix_ValidateFilePAF:
//   - the two agree on every file and key;
//   - a file signed with the real key pair (by generateEAD or by
//     quorix_SignatureFileHash) is the file plus one EAD line and validates
//     with its public key, not with another key;
//   - any changed byte, a cut or an added tail makes it invalid (a hex
//     letter of the EAD line in the other case is the same digit).
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <string>

#include "sign_bema.h"
#include "support.h"

namespace {

constexpr std::string_view kHarness = "signed_file_fuzzer";

struct Keys {
  std::string publicKey, privateKey;
};

Keys MakeKeys() {
  std::string pub(SIGN_BEMA_KEY_CHARS, '\0'), priv(SIGN_BEMA_KEY_CHARS, '\0');
  if (genkkey(pub.data(), priv.data()) != 1) fuzz::Violation(kHarness, "no key pair");
  return {pub, priv};
}

const Keys& Real() {
  static const Keys keys = MakeKeys();
  return keys;
}
const Keys& Other() {
  static const Keys keys = MakeKeys();
  return keys;
}

const std::string& Path() {
  static const std::string path = [] {
    const std::string folder = fuzz::ScratchFolder() + "/signed";
    fuzz::ResetFolder(folder);
    return folder + "/report.txt";
  }();
  return path;
}

// Both validators on the file as it stands; they must agree.
bool Valid(const std::string& key) {
  const bool direct = validateFile(Path().c_str(), key.c_str(), "") == 1;
  const fuzz::HostText k(key), none(""), file(Path());
  const bool exported = quorix_ValidateFilePAF(k, none, file) != 0;
  if (!k.Damage().empty() || !file.Damage().empty())
    fuzz::Violation(kHarness, "quorix_ValidateFilePAF changed its arguments");
  if (key.find('\0') != std::string::npos) {
    // The signing library sees a key only up to its first NUL.
    if (exported)
      fuzz::Violation(kHarness, "a key text holding a NUL validates by its bytes before the NUL");
  } else if (direct != exported) {
    fuzz::Violation(kHarness, std::string("validateFile says ") + (direct ? "valid" : "invalid") +
                                  ", quorix_ValidateFilePAF " + (exported ? "valid" : "invalid"));
  }
  if (!exported && fuzz::LastError(kHarness).empty())
    fuzz::Violation(kHarness, "an invalid file without a message");
  return exported;
}

void Sign(bool throughQuorix) {
  const Keys& k = Real();
  bool ok;
  if (throughQuorix) {
    const fuzz::HostText pub(k.publicKey), priv(k.privateKey), file(Path());
    ok = quorix_SignatureFileHash(pub, priv, file);
  } else {
    char signature[SIGN_BEMA_KEY_CHARS];
    ok = generateEAD(Path().c_str(), k.publicKey.c_str(), k.privateKey.c_str(), signature,
                     SIGN_BEMA_MODE_FILE) > 0;
  }
  if (!ok) fuzz::Violation(kHarness, "a file ending in a line feed was not signed");
}

void CheckSigned(FuzzedDataProvider& in, std::string body) {
  if (!body.empty() && body.back() != '\n') body += "\r\n";
  fuzz::WriteFile(Path(), body);
  Sign(in.ConsumeBool());
  std::string signedFile;
  fuzz::ReadFile(Path(), signedFile);
  const std::string_view ead = std::string_view(signedFile).substr(body.size());
  if (signedFile.compare(0, body.size(), body) != 0 || ead.size() != 261 ||
      ead.substr(0, 3) != "EAD" || ead.substr(259) != "\r\n")
    fuzz::Violation(kHarness, "signing did not append one EAD line");
  if (!Valid(Real().publicKey)) fuzz::Violation(kHarness, "a signed file does not validate");
  if (Valid(Other().publicKey))
    fuzz::Violation(kHarness, "a signed file validates with another key");
  Valid(Real().publicKey + std::string(1, '\0') + "0");  // a key text is all of its bytes

  std::string damaged = signedFile;
  switch (in.ConsumeIntegral<uint8_t>() % 3) {
    case 0: {
      const size_t at = in.ConsumeIntegralInRange<size_t>(0, damaged.size() - 1);
      const char was = damaged[at];
      damaged[at] = static_cast<char>(was ^ in.ConsumeIntegralInRange<int>(1, 255));
      const bool digits = at >= body.size() + 3 && at < body.size() + 259;
      if (digits && std::isxdigit(static_cast<unsigned char>(was)) &&
          std::tolower(static_cast<unsigned char>(was)) ==
              std::tolower(static_cast<unsigned char>(damaged[at])))
        return;
      break;
    }
    case 1:
      damaged.resize(in.ConsumeIntegralInRange<size_t>(0, damaged.size() - 1));
      break;
    case 2:
      damaged += in.ConsumeRandomLengthString(16) + "\n";
      break;
  }
  fuzz::WriteFile(Path(), damaged);
  if (Valid(Real().publicKey)) fuzz::Violation(kHarness, "a damaged signed file validates");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Real();
  Other();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const uint8_t mode = in.ConsumeIntegral<uint8_t>();
  if (mode % 2 == 0) {
    CheckSigned(in, in.ConsumeRandomLengthString(4096));
    return 0;
  }
  // Arbitrary bytes and an arbitrary key, or the real key: the validators
  // must agree, and survive whatever the file holds.
  std::string key = mode % 4 == 1 ? Real().publicKey : in.ConsumeRandomLengthString(300);
  fuzz::WriteFile(Path(), in.ConsumeRemainingBytesAsString());
  Valid(key);
  return 0;
}
