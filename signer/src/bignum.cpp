#include "bignum.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace sign_bema {
namespace {

using Limbs = std::vector<std::uint32_t>;

std::size_t skip_leading_zeros(const std::uint8_t* p, std::size_t len) {
  std::size_t i = 0;
  while (i < len && p[i] == 0) ++i;
  return i;
}

// Little-endian limbs from big-endian bytes; the caller guarantees the
// significant bytes fit in k limbs.
Limbs to_limbs(const std::uint8_t* p, std::size_t len, std::size_t k) {
  Limbs r(k, 0);
  for (std::size_t i = 0; i < len; ++i) {
    const std::uint8_t byte = p[len - 1 - i];
    r[i / 4] |= static_cast<std::uint32_t>(byte) << (8 * (i % 4));
  }
  return r;
}

void to_bytes(const Limbs& a, std::uint8_t* out, std::size_t len) {
  for (std::size_t i = 0; i < len; ++i) {
    const std::size_t limb = i / 4;
    const std::uint8_t byte =
        limb < a.size() ? static_cast<std::uint8_t>(a[limb] >> (8 * (i % 4))) : 0;
    out[len - 1 - i] = byte;
  }
}

// Branch-free: the choice often depends on secret bits.
void select_into(Limbs& dst, const Limbs& if_one, std::uint32_t choose) {
  const std::uint32_t mask = 0u - choose;
  for (std::size_t i = 0; i < dst.size(); ++i) dst[i] = (if_one[i] & mask) | (dst[i] & ~mask);
}

// r = a - n over k limbs; returns the final borrow.
std::uint32_t sub_limbs(const std::uint32_t* a, const Limbs& n, Limbs& r) {
  std::uint64_t borrow = 0;
  for (std::size_t j = 0; j < n.size(); ++j) {
    const std::uint64_t d = static_cast<std::uint64_t>(a[j]) - n[j] - borrow;
    r[j] = static_cast<std::uint32_t>(d);
    borrow = (d >> 32) & 1;
  }
  return static_cast<std::uint32_t>(borrow);
}

class Montgomery {
 public:
  explicit Montgomery(Limbs n) : n_(std::move(n)), k_(n_.size()), t_(k_ + 2), diff_(k_) {
    // Newton iteration: each step doubles the number of correct low bits
    // of n^-1 mod 2^32, and n[0]*1 is already right in 3 bits (n odd).
    std::uint32_t inv = 1;
    for (int i = 0; i < 5; ++i) inv *= 2u - n_[0] * inv;
    n0inv_ = 0u - inv;

    // R^2 mod n with R = 2^(32k), by doubling 1 modulo n 64k times.
    r2_.assign(k_, 0);
    r2_[0] = 1;
    for (std::size_t i = 0; i < 64 * k_; ++i) {
      std::uint32_t carry = 0;
      for (std::size_t j = 0; j < k_; ++j) {
        const std::uint32_t next = r2_[j] >> 31;
        r2_[j] = (r2_[j] << 1) | carry;
        carry = next;
      }
      const std::uint32_t borrow = sub_limbs(r2_.data(), n_, diff_);
      select_into(r2_, diff_, carry | (borrow ^ 1u));
    }
  }

  std::size_t size() const { return k_; }
  const Limbs& r2() const { return r2_; }

  // r = a*b/R mod n, for a, b < n (coarsely integrated operand scanning).
  void mul(const Limbs& a, const Limbs& b, Limbs& r) {
    std::fill(t_.begin(), t_.end(), 0);
    for (std::size_t i = 0; i < k_; ++i) {
      std::uint64_t c = 0;
      for (std::size_t j = 0; j < k_; ++j) {
        const std::uint64_t s = t_[j] + static_cast<std::uint64_t>(a[j]) * b[i] + c;
        t_[j] = static_cast<std::uint32_t>(s);
        c = s >> 32;
      }
      std::uint64_t s = t_[k_] + c;
      t_[k_] = static_cast<std::uint32_t>(s);
      t_[k_ + 1] = static_cast<std::uint32_t>(s >> 32);

      const std::uint32_t m = t_[0] * n0inv_;
      s = t_[0] + static_cast<std::uint64_t>(m) * n_[0];
      c = s >> 32;
      for (std::size_t j = 1; j < k_; ++j) {
        s = t_[j] + static_cast<std::uint64_t>(m) * n_[j] + c;
        t_[j - 1] = static_cast<std::uint32_t>(s);
        c = s >> 32;
      }
      s = t_[k_] + c;
      t_[k_ - 1] = static_cast<std::uint32_t>(s);
      t_[k_] = t_[k_ + 1] + static_cast<std::uint32_t>(s >> 32);
    }
    // t < 2n here; one conditional subtraction brings it below n.
    const std::uint32_t borrow = sub_limbs(t_.data(), n_, diff_);
    std::copy(t_.begin(), t_.begin() + static_cast<std::ptrdiff_t>(k_), r.begin());
    select_into(r, diff_, t_[k_] | (borrow ^ 1u));
  }

 private:
  Limbs n_;
  std::size_t k_;
  std::uint32_t n0inv_ = 0;
  Limbs r2_;
  Limbs t_;
  Limbs diff_;
};

bool less_than(const Limbs& a, const Limbs& b) {
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i];
  }
  return false;
}

}  // namespace

bool mod_exp(const std::uint8_t* base, std::size_t base_len, const std::uint8_t* exp,
             std::size_t exp_len, const std::uint8_t* modulus, std::size_t mod_len,
             std::uint8_t* out) {
  const std::size_t mod_skip = skip_leading_zeros(modulus, mod_len);
  const std::size_t mod_sig = mod_len - mod_skip;
  if (mod_sig == 0 || (modulus[mod_len - 1] & 1) == 0) return false;
  if (mod_sig == 1 && modulus[mod_len - 1] == 1) return false;

  const std::size_t k = (mod_sig + 3) / 4;
  const std::size_t base_skip = skip_leading_zeros(base, base_len);
  const std::size_t base_sig = base_len - base_skip;
  if (base_sig > 4 * k) return false;

  const Limbs n = to_limbs(modulus + mod_skip, mod_sig, k);
  const Limbs a = to_limbs(base + base_skip, base_sig, k);
  if (!less_than(a, n)) return false;

  Montgomery mont(n);
  Limbs one(k, 0);
  one[0] = 1;
  Limbs am(k), x(k), y(k);
  mont.mul(a, mont.r2(), am);
  mont.mul(one, mont.r2(), x);  // 1 in Montgomery form

  // Square-and-always-multiply, keeping the product only where the bit is
  // set, so the sequence of operations is the same for every exponent.
  const std::size_t exp_skip = skip_leading_zeros(exp, exp_len);
  for (std::size_t i = exp_skip; i < exp_len; ++i) {
    for (int bit = 7; bit >= 0; --bit) {
      mont.mul(x, x, x);
      mont.mul(x, am, y);
      select_into(x, y, (exp[i] >> bit) & 1u);
    }
  }
  mont.mul(x, one, y);
  to_bytes(y, out, mod_len);
  return true;
}

}  // namespace sign_bema
