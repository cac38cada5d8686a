// The EAD record: the line "EAD" + 256 hex digits + CR LF closing a signed
// file, whose digits are s = m^d mod n for the block m made from the MD5 of
// every byte before the line.
#ifndef SIGN_BEMA_EAD_H
#define SIGN_BEMA_EAD_H

#include <cstddef>

#include "crypto.h"

namespace sign_bema {

constexpr std::size_t kHexChars = 2 * kModulusBytes;
constexpr std::size_t kEadLineBytes = 3 + kHexChars + 2;
// Files are hashed in pieces of this size, so that their size does not
// decide the memory used.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

// Exactly kHexChars hexadecimal digits of either case, NUL-terminated; a null
// pointer is the empty text. Reads at most kHexChars + 1 characters.
bool parse_hex_block(const char* text, Block& out);
// Writes kHexChars upper-case digits and no terminator.
void format_hex_block(const Block& b, char* out);

// 0x10 (the digest length), the digest, then zeros.
Block digest_block(const Md5Digest& digest);

bool make_key_texts(char* public_key, char* private_key);
bool sign_file(const char* path, const char* public_key, const char* private_key, char* signature);
bool validate_signed_file(const char* path, const char* public_key);

}  // namespace sign_bema

#endif
