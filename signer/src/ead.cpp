#include "ead.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "file_io.h"

namespace sign_bema {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

Block public_exponent() {
  Block e{};
  e[e.size() - 3] = static_cast<std::uint8_t>(kPublicExponent >> 16);
  e[e.size() - 2] = static_cast<std::uint8_t>(kPublicExponent >> 8);
  e[e.size() - 1] = static_cast<std::uint8_t>(kPublicExponent);
  return e;
}

// Blocks are big-endian and of equal length, so byte order is numeric order.
bool less_than(const Block& a, const Block& b) {
  return std::memcmp(a.data(), b.data(), a.size()) < 0;
}

bool usable_modulus(const Block& n) { return (n[n.size() - 1] & 1) != 0; }

// Wipes the private exponent and signing intermediates on every return path.
struct WipeOnExit {
  Block& b;
  ~WipeOnExit() { secure_wipe(b.data(), b.size()); }
};

// s^e mod n == m: the check every signature must pass, also used to prove a
// key pair before it is handed out or a signature before it is written.
bool verifies(const Block& s, const Block& m, const Block& n) {
  if (!less_than(s, n)) return false;
  Block back{};
  return rsa_mod_exp(s, public_exponent(), n, back) && back == m;
}

bool sign_block(const Block& m, const Block& d, const Block& n, Block& s) {
  if (!usable_modulus(n) || !less_than(m, n)) return false;
  return rsa_mod_exp(m, d, n, s) && verifies(s, m, n);
}

// Hashes the whole file except its last `keep` bytes, which end up in tail.
// Reading once, without asking for the size first, keeps the hashed bytes
// and the tail consistent even if the file's size is misreported.
bool hash_all_but_tail(File& file, std::size_t keep, Md5& md5, std::vector<std::uint8_t>& tail,
                       std::uint64_t& total) {
  std::vector<std::uint8_t> buf(kChunkBytes + keep);
  std::size_t held = 0;
  total = 0;
  for (;;) {
    const long long n = file.read(buf.data() + held, kChunkBytes);
    if (n < 0) return false;
    if (n == 0) break;
    total += static_cast<std::uint64_t>(n);
    held += static_cast<std::size_t>(n);
    if (held > keep) {
      const std::size_t out = held - keep;
      md5.update(buf.data(), out);
      std::memmove(buf.data(), buf.data() + out, keep);
      held = keep;
    }
  }
  tail.assign(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(held));
  return true;
}

}  // namespace

bool parse_hex_block(const char* text, Block& out) {
  if (text == nullptr) return false;
  std::size_t len = 0;
  while (len <= kHexChars && text[len] != '\0') ++len;
  if (len != kHexChars) return false;
  Block b{};
  for (std::size_t i = 0; i < b.size(); ++i) {
    const int hi = hex_value(text[2 * i]);
    const int lo = hex_value(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    b[i] = static_cast<std::uint8_t>(hi << 4 | lo);
  }
  out = b;
  secure_wipe(b.data(), b.size());
  return true;
}

void format_hex_block(const Block& b, char* out) {
  for (std::size_t i = 0; i < b.size(); ++i) {
    out[2 * i] = kHexDigits[b[i] >> 4];
    out[2 * i + 1] = kHexDigits[b[i] & 0x0F];
  }
}

Block digest_block(const Md5Digest& digest) {
  Block m{};
  m[0] = static_cast<std::uint8_t>(digest.size());
  std::copy(digest.begin(), digest.end(), m.begin() + 1);
  return m;
}

bool make_key_texts(char* public_key, char* private_key) {
  if (public_key == nullptr || private_key == nullptr) return false;
  Block n{}, d{}, s{};
  WipeOnExit wipe_d{d};
  WipeOnExit wipe_s{s};
  if (!generate_rsa_key(n, d)) return false;
  // Pairwise check: a key whose halves do not match would sign every
  // report with a signature that no one can validate.
  Md5 md5;
  if (!sign_block(digest_block(md5.finish()), d, n, s)) return false;
  format_hex_block(n, public_key);
  format_hex_block(d, private_key);
  return true;
}

bool sign_file(const char* path, const char* public_key, const char* private_key, char* signature) {
  if (path == nullptr || signature == nullptr) return false;
  Block n{}, d{}, s{};
  WipeOnExit wipe_d{d};
  WipeOnExit wipe_s{s};
  if (!parse_hex_block(public_key, n) || !parse_hex_block(private_key, d) || !usable_modulus(n)) {
    return false;
  }

  File file;
  if (!file.open(path, File::Access::ReadAppend)) return false;
  Md5 md5;
  std::vector<std::uint8_t> last;
  std::uint64_t size = 0;
  if (!hash_all_but_tail(file, 1, md5, last, size)) return false;
  // The appended line must start a line of its own to be found again.
  if (!last.empty() && last[0] != '\n') return false;
  md5.update(last.data(), last.size());

  if (!sign_block(digest_block(md5.finish()), d, n, s)) return false;

  char line[kEadLineBytes];
  std::memcpy(line, "EAD", 3);
  format_hex_block(s, line + 3);
  line[kEadLineBytes - 2] = '\r';
  line[kEadLineBytes - 1] = '\n';
  if (!file.append(reinterpret_cast<const std::uint8_t*>(line), sizeof line, size)) return false;
  std::memcpy(signature, line + 3, kHexChars);
  return true;
}

bool validate_signed_file(const char* path, const char* public_key) {
  if (path == nullptr) return false;
  Block n{};
  if (!parse_hex_block(public_key, n) || !usable_modulus(n)) return false;

  File file;
  if (!file.open(path, File::Access::Read)) return false;
  Md5 md5;
  std::vector<std::uint8_t> tail;
  std::uint64_t size = 0;
  // One byte more than the line, to see what precedes it.
  if (!hash_all_but_tail(file, kEadLineBytes + 1, md5, tail, size)) return false;
  if (tail.size() < kEadLineBytes) return false;

  const std::size_t before = tail.size() - kEadLineBytes;
  if (before == 1 && tail[0] != '\n') return false;
  const char* line = reinterpret_cast<const char*>(tail.data() + before);
  if (std::memcmp(line, "EAD", 3) != 0 || line[kEadLineBytes - 2] != '\r' ||
      line[kEadLineBytes - 1] != '\n') {
    return false;
  }
  char digits[kHexChars + 1];
  std::memcpy(digits, line + 3, kHexChars);
  digits[kHexChars] = '\0';
  Block s{};
  if (!parse_hex_block(digits, s)) return false;

  md5.update(tail.data(), before);
  return verifies(s, digest_block(md5.finish()), n);
}

}  // namespace sign_bema
