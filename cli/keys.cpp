#include "keys.h"

#include <cctype>

#include "console.h"
#include "text.h"

namespace quorix::cli {
namespace {

constexpr char kFirstLine[] = "quorix-chave-privada 1";
constexpr size_t kKeyDigits = 256;

[[noreturn]] void Refuse(const std::string& shown, const std::string& what) {
  throw Failure(kUsageError, shown + ": " + what);
}

std::string_view Trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// The text between the only <tag> and its </tag>.
std::string_view Element(std::string_view xml, const std::string& tag, const std::string& shown) {
  const std::string open = "<" + tag + ">", close = "</" + tag + ">";
  const size_t begin = xml.find(open);
  const size_t end = begin == std::string_view::npos ? begin : xml.find(close, begin);
  if (end == std::string_view::npos)
    Refuse(shown, "não é um arquivo de chave pública (falta <" + tag + ">)");
  if (xml.find(open, begin + 1) != std::string_view::npos)
    Refuse(shown, "o arquivo tem mais de um <" + tag + ">");
  return Trimmed(xml.substr(begin + open.size(), end - begin - open.size()));
}

}  // namespace

std::string CheckedKeyDigits(std::string_view text, const std::string& what) {
  std::string digits;
  for (const char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) break;
    digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (digits.size() != text.size() || digits.size() != kKeyDigits)
    throw Failure(kUsageError, what + ": são precisos 256 dígitos hexadecimais");
  return digits;
}

std::string FormatPrivateKeyFile(const PrivateKey& key) {
  return std::string(kFirstLine) + "\nmodulo=" + key.modulus +
         "\nexpoente_privado=" + key.privateExponent + "\n";
}

PrivateKey ParsePrivateKeyFile(std::string_view bytes, const std::string& shown) {
  PrivateKey key;
  bool first = true;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      if (line != kFirstLine) Refuse(shown, "não é um arquivo de chave privada do quorix");
      first = false;
      continue;
    }
    if (line.empty()) continue;
    const size_t equals = line.find('=');
    const std::string_view name = line.substr(0, equals);
    std::string* target = name == "modulo"             ? &key.modulus
                          : name == "expoente_privado" ? &key.privateExponent
                                                       : nullptr;
    if (!target || equals == std::string_view::npos)
      Refuse(shown, "linha desconhecida na chave privada: " + std::string(name));
    if (!target->empty()) Refuse(shown, std::string(name) + " repetido na chave privada");
    *target = CheckedKeyDigits(line.substr(equals + 1), shown + ": " + std::string(name));
  }
  if (first) Refuse(shown, "não é um arquivo de chave privada do quorix");
  if (key.modulus.empty()) Refuse(shown, "falta o modulo na chave privada");
  if (key.privateExponent.empty()) Refuse(shown, "falta o expoente_privado na chave privada");
  return key;
}

std::string ModulusFromPublicKeyFile(std::string_view bytes, const std::string& shown) {
  const std::string_view exponent = Element(bytes, "expoente_publico", shown);
  size_t zeros = 0;
  while (zeros < exponent.size() && exponent[zeros] == '0') ++zeros;
  if (exponent.substr(zeros) != "10001")
    Refuse(shown, "expoente público " + Utf8FromCp1252(exponent) +
                      " não suportado: o sign_bema assina com 65537 (010001)");
  return CheckedKeyDigits(Element(bytes, "modulo", shown), shown + ": modulo");
}

}  // namespace quorix::cli
