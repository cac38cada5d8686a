// What the signer needs from the platform's cryptography. Each build links
// exactly one implementation: OpenSSL's libcrypto or Windows CNG.
#ifndef SIGN_BEMA_CRYPTO_H
#define SIGN_BEMA_CRYPTO_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace sign_bema {

constexpr std::size_t kModulusBytes = 128;
constexpr unsigned kModulusBits = 1024;
constexpr std::uint32_t kPublicExponent = 65537;

// Big-endian, zero-filled on the left.
using Block = std::array<std::uint8_t, kModulusBytes>;
using Md5Digest = std::array<std::uint8_t, 16>;

// Streaming MD5. Failures of the platform provider throw std::runtime_error.
class Md5 {
 public:
  Md5();
  ~Md5();
  Md5(const Md5&) = delete;
  Md5& operator=(const Md5&) = delete;

  void update(const std::uint8_t* data, std::size_t len);
  // Ends the computation; the object cannot be updated afterwards.
  Md5Digest finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A fresh RSA key with a modulus of exactly kModulusBits bits and public
// exponent kPublicExponent.
bool generate_rsa_key(Block& modulus, Block& private_exponent);

// out = base^exp mod modulus. The caller has checked that the modulus is odd
// and base < modulus. exp may be secret: the operation must not leak it.
bool rsa_mod_exp(const Block& base, const Block& exp, const Block& modulus, Block& out);

// Clears memory that held key material, in a way the compiler keeps.
void secure_wipe(void* p, std::size_t len);

}  // namespace sign_bema

#endif
