#include "platform/crypto.h"

#include <vector>

namespace quorix::platform {
namespace {

using Limbs = std::vector<uint32_t>;  // least significant first

Limbs FromBytes(const uint8_t* bytes, size_t size, size_t limbs) {
  Limbs x(limbs, 0);
  for (size_t i = 0; i < size; ++i)
    x[i / 4] |= static_cast<uint32_t>(bytes[size - 1 - i]) << (8 * (i % 4));
  return x;
}

bool AtLeast(const Limbs& a, const Limbs& b) {
  for (size_t i = a.size(); i-- > 0;)
    if (a[i] != b[i]) return a[i] > b[i];
  return true;
}

void Subtract(Limbs& a, const Limbs& b) {
  uint64_t borrow = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const uint64_t d = uint64_t{a[i]} - b[i] - borrow;
    a[i] = static_cast<uint32_t>(d);
    borrow = (d >> 32) & 1;
  }
}

// a * b / 2^(32 * limbs) mod n, for a, b below n (Montgomery, word by word).
Limbs Multiply(const Limbs& a, const Limbs& b, const Limbs& n, uint32_t nInverse) {
  const size_t s = n.size();
  std::vector<uint64_t> t(s + 2, 0);
  for (size_t i = 0; i < s; ++i) {
    uint64_t carry = 0;
    for (size_t j = 0; j < s; ++j) {
      const uint64_t v = t[j] + uint64_t{a[j]} * b[i] + carry;
      t[j] = static_cast<uint32_t>(v);
      carry = v >> 32;
    }
    uint64_t v = t[s] + carry;
    t[s] = static_cast<uint32_t>(v);
    t[s + 1] = v >> 32;
    const uint32_t m = static_cast<uint32_t>(t[0]) * nInverse;
    carry = (t[0] + uint64_t{m} * n[0]) >> 32;
    for (size_t j = 1; j < s; ++j) {
      v = t[j] + uint64_t{m} * n[j] + carry;
      t[j - 1] = static_cast<uint32_t>(v);
      carry = v >> 32;
    }
    v = t[s] + carry;
    t[s - 1] = static_cast<uint32_t>(v);
    t[s] = t[s + 1] + (v >> 32);
  }
  Limbs r(s);
  for (size_t j = 0; j < s; ++j) r[j] = static_cast<uint32_t>(t[j]);
  if (t[s] != 0 || AtLeast(r, n)) Subtract(r, n);
  return r;
}

}  // namespace

bool RsaPublicOperation(const uint8_t* base, const uint8_t* modulus, size_t size, uint32_t exponent,
                        uint8_t* out) {
  const size_t limbs = (size + 3) / 4;
  const Limbs n = FromBytes(modulus, size, limbs), b = FromBytes(base, size, limbs);
  if (size == 0 || exponent == 0 || (n[0] & 1) == 0 || AtLeast(b, n)) return false;
  // -1/n mod 2^32, by Newton's iteration (each step doubles the good bits).
  uint32_t inverse = 1;
  for (int i = 0; i < 5; ++i) inverse *= 2 - n[0] * inverse;
  inverse = 0 - inverse;
  // 2^(64 * limbs) mod n, by doubling: what takes a number into Montgomery form.
  Limbs r2(limbs, 0);
  r2[0] = 1;
  for (size_t i = 0; i < 64 * limbs; ++i) {
    uint32_t carry = 0;
    for (uint32_t& limb : r2) {
      const uint32_t next = limb >> 31;
      limb = limb << 1 | carry;
      carry = next;
    }
    if (carry || AtLeast(r2, n)) Subtract(r2, n);
  }
  const Limbs m = Multiply(b, r2, n, inverse);
  Limbs x = m;
  int top = 31;
  while (top > 0 && !(exponent >> top & 1)) --top;
  for (int bit = top - 1; bit >= 0; --bit) {
    x = Multiply(x, x, n, inverse);
    if (exponent >> bit & 1) x = Multiply(x, m, n, inverse);
  }
  Limbs one(limbs, 0);
  one[0] = 1;
  x = Multiply(x, one, n, inverse);
  for (size_t i = 0; i < size; ++i)
    out[size - 1 - i] = static_cast<uint8_t>(x[i / 4] >> (8 * (i % 4)));
  return true;
}

}  // namespace quorix::platform
