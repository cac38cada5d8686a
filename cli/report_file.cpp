#include "report_file.h"

#include <cstring>

#include "commands.h"
#include "console.h"
#include "crypto.h"
#include "keys.h"
#include "text.h"

namespace quorix::cli {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool BlockFromHex(std::string_view hex, sign_bema::Block& out) {
  if (hex.size() != 2 * out.size()) return false;
  for (size_t i = 0; i < out.size(); ++i) {
    const int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    out[i] = static_cast<uint8_t>(hi << 4 | lo);
  }
  return true;
}

}  // namespace

void KeyOptions::AddTo(CLI::App* command) {
  publicKeyGiven =
      command->add_option("--key", publicKey, "arquivo XML da chave pública")->type_name("XML");
  modulusGiven = command->add_option("--modulus", modulus, "módulo: 256 dígitos hexadecimais")
                     ->type_name("HEX");
}

std::string KeyOptions::Modulus() const {
  if (*publicKeyGiven && *modulusGiven) throw Failure(kUsageError, kOneKeyOnly);
  if (*publicKeyGiven) {
    const Path keyFile(publicKey);
    return ModulusFromPublicKeyFile(ReadWholeFile(keyFile), keyFile.shown());
  }
  if (*modulusGiven) return CheckedKeyDigits(modulus, "--modulus");
  return {};
}

bool SignatureHolds(std::string_view signedBytes, std::string_view digits,
                    const std::string& modulus) {
  sign_bema::Block n{}, s{}, m{}, e{}, back{};
  if (!BlockFromHex(modulus, n) || !BlockFromHex(digits, s) || (n.back() & 1) == 0) return false;
  if (std::memcmp(s.data(), n.data(), n.size()) >= 0) return false;
  sign_bema::Md5 md5;
  md5.update(reinterpret_cast<const uint8_t*>(signedBytes.data()), signedBytes.size());
  const sign_bema::Md5Digest digest = md5.finish();
  m[0] = static_cast<uint8_t>(digest.size());
  std::memcpy(m.data() + 1, digest.data(), digest.size());
  e[e.size() - 3] = static_cast<uint8_t>(sign_bema::kPublicExponent >> 16);
  e[e.size() - 2] = static_cast<uint8_t>(sign_bema::kPublicExponent >> 8);
  e[e.size() - 1] = static_cast<uint8_t>(sign_bema::kPublicExponent);
  return sign_bema::rsa_mod_exp(s, e, n, back) && back == m;
}

ReportFile ReadReportFile(const Path& file, const std::string& modulus) {
  ReportFile r;
  r.bytes = ReadWholeFile(file);
  upaf::reader::Options options;
  if (!modulus.empty())
    options.signatureHolds = [&modulus](std::string_view bytes, std::string_view digits) {
      return SignatureHolds(bytes, digits, modulus);
    };
  r.reading = upaf::reader::Read(r.bytes, options);
  return r;
}

std::string FindingLine(const std::string& shownFile, const upaf::reader::Finding& f) {
  return shownFile + ":" + std::to_string(f.line) + ": " + Utf8FromCp1252(f.field) + " (posições " +
         std::to_string(f.first) + "-" + std::to_string(f.last) + "): " + Utf8FromCp1252(f.what);
}

}  // namespace quorix::cli
