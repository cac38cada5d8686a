#include "report_file.h"

#include <array>
#include <cstring>

#include "commands.h"
#include "console.h"
#include "keys.h"
#include "platform/crypto.h"
#include "text.h"

namespace quorix::cli {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A signature's numbers: 1024 bits, big-endian; the public exponent is 65537.
using Block = std::array<uint8_t, 128>;
constexpr uint32_t kPublicExponent = 65537;

bool BlockFromHex(std::string_view hex, Block& out) {
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
  Block n{}, s{}, m{}, back{};
  if (!BlockFromHex(modulus, n) || !BlockFromHex(digits, s) || (n.back() & 1) == 0) return false;
  if (std::memcmp(s.data(), n.data(), n.size()) >= 0) return false;
  platform::Md5 md5;
  md5.Update(reinterpret_cast<const uint8_t*>(signedBytes.data()), signedBytes.size());
  const platform::Md5Digest digest = md5.Finish();
  m[0] = static_cast<uint8_t>(digest.size());
  std::memcpy(m.data() + 1, digest.data(), digest.size());
  return platform::RsaPublicOperation(s.data(), n.data(), n.size(), kPublicExponent, back.data()) &&
         back == m;
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
