// Modular exponentiation over big-endian byte strings, for the builds whose
// platform crypto offers no raw (unpadded) RSA operation.
#ifndef SIGN_BEMA_BIGNUM_H
#define SIGN_BEMA_BIGNUM_H

#include <cstddef>
#include <cstdint>

namespace sign_bema {

// out = base^exp mod modulus, written as exactly mod_len big-endian bytes.
// Fails when the modulus is even or 1 (Montgomery reduction needs an odd
// modulus, which every RSA modulus is) or when base >= modulus.
// The running time does not depend on the exponent's bits, only on the
// position of its highest one.
bool mod_exp(const std::uint8_t* base, std::size_t base_len, const std::uint8_t* exp,
             std::size_t exp_len, const std::uint8_t* modulus, std::size_t mod_len,
             std::uint8_t* out);

}  // namespace sign_bema

#endif
