// The developer's key files. The public one is the library's XML file; the
// private one is the program's own text file:
//
//   quorix-chave-privada 1
//   modulo=<256 hexadecimal digits>
//   expoente_privado=<256 hexadecimal digits>
//
// ASCII, one item a line (LF; CR LF is read too), both keys as the signing
// library gives them: the modulus and the private exponent of an RSA-1024 key
// whose public exponent is 65537, big-endian. It holds the modulus as well
// because signing needs both halves, so the file signs alone.
#ifndef QUORIX_CLI_KEYS_H
#define QUORIX_CLI_KEYS_H

#include <string>
#include <string_view>

namespace quorix::cli {

// The public exponent as the public-key file states it: hexadecimal, like
// the modulus.
inline constexpr char kPublicExponentHex[] = "010001";

struct PrivateKey {
  std::string modulus;          // 256 upper-case hexadecimal digits
  std::string privateExponent;  // likewise
};

std::string FormatPrivateKeyFile(const PrivateKey& key);
// `shown`: the file's name, for messages.
PrivateKey ParsePrivateKeyFile(std::string_view bytes, const std::string& shown);

// The modulus of a public-key XML file; refuses a file whose public
// exponent is not 65537, the only one the signing library signs with.
std::string ModulusFromPublicKeyFile(std::string_view bytes, const std::string& shown);

// 256 hexadecimal digits of either case, returned upper-case.
std::string CheckedKeyDigits(std::string_view text, const std::string& what);

}  // namespace quorix::cli

#endif
