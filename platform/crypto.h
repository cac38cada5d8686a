// Cryptography for programs of ours (the quorix program): the MD5 of files,
// from the system (OpenSSL's libcrypto on Linux, CNG on Windows), and the
// public half of an RSA signature check. The library itself signs through the
// signing library and needs none of this, so it is a target of its own
// (quorix_platform_crypto) that only those programs link.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace quorix::platform {

using Md5Digest = std::array<uint8_t, 16>;

// Streaming MD5; a failure of the system's provider throws std::runtime_error.
class Md5 {
 public:
  Md5();
  ~Md5();
  Md5(const Md5&) = delete;
  Md5& operator=(const Md5&) = delete;

  void Update(const uint8_t* data, size_t size);
  // Ends the computation: the object takes no more data.
  Md5Digest Finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// out = base ^ exponent mod modulus, every number big-endian in `size` bytes
// (the modulus's); false for an even modulus or a base not below it. Public
// numbers only (it takes no care to hide them), and our own arithmetic on
// both builds: Wine's CNG has no raw RSA (platform/crypto.cpp).
bool RsaPublicOperation(const uint8_t* base, const uint8_t* modulus, size_t size, uint32_t exponent,
                        uint8_t* out);

}  // namespace quorix::platform
