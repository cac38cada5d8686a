#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "bignum.h"
#include "crypto.h"

namespace sign_bema {
namespace {

bool ok(NTSTATUS s) { return s >= 0; }

class AlgProvider {
 public:
  explicit AlgProvider(LPCWSTR id) {
    if (!ok(BCryptOpenAlgorithmProvider(&h_, id, nullptr, 0))) h_ = nullptr;
  }
  ~AlgProvider() {
    if (h_ != nullptr) BCryptCloseAlgorithmProvider(h_, 0);
  }
  AlgProvider(const AlgProvider&) = delete;
  AlgProvider& operator=(const AlgProvider&) = delete;
  BCRYPT_ALG_HANDLE get() const { return h_; }

 private:
  BCRYPT_ALG_HANDLE h_ = nullptr;
};

class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (h_ != nullptr) BCryptDestroyKey(h_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  BCRYPT_KEY_HANDLE* out() { return &h_; }
  BCRYPT_KEY_HANDLE get() const { return h_; }

 private:
  BCRYPT_KEY_HANDLE h_ = nullptr;
};

// Copies a big-endian field of the key blob into a Block, right-aligned.
bool copy_field(const std::vector<UCHAR>& blob, std::size_t offset, std::size_t len, Block& out) {
  if (len > out.size() || offset + len > blob.size()) return false;
  out.fill(0);
  std::copy(blob.begin() + static_cast<std::ptrdiff_t>(offset),
            blob.begin() + static_cast<std::ptrdiff_t>(offset + len),
            out.end() - static_cast<std::ptrdiff_t>(len));
  return true;
}

}  // namespace

struct Md5::Impl {
  AlgProvider alg{BCRYPT_MD5_ALGORITHM};
  BCRYPT_HASH_HANDLE hash = nullptr;
  ~Impl() {
    if (hash != nullptr) BCryptDestroyHash(hash);
  }
};

Md5::Md5() : impl_(new Impl) {
  if (impl_->alg.get() == nullptr ||
      !ok(BCryptCreateHash(impl_->alg.get(), &impl_->hash, nullptr, 0, nullptr, 0, 0))) {
    throw std::runtime_error("MD5 unavailable");
  }
}

Md5::~Md5() = default;

void Md5::update(const std::uint8_t* data, std::size_t len) {
  // BCryptHashData takes a 32-bit length; callers feed chunks far below that,
  // but a larger buffer is still hashed correctly piecewise.
  while (len != 0) {
    const ULONG part = len > 0x40000000u ? 0x40000000u : static_cast<ULONG>(len);
    if (!ok(BCryptHashData(impl_->hash, const_cast<PUCHAR>(data), part, 0))) {
      throw std::runtime_error("MD5 update failed");
    }
    data += part;
    len -= part;
  }
}

Md5Digest Md5::finish() {
  Md5Digest d{};
  if (!ok(BCryptFinishHash(impl_->hash, d.data(), static_cast<ULONG>(d.size()), 0))) {
    throw std::runtime_error("MD5 final failed");
  }
  return d;
}

bool generate_rsa_key(Block& modulus, Block& private_exponent) {
  AlgProvider alg(BCRYPT_RSA_ALGORITHM);
  KeyHandle key;
  if (alg.get() == nullptr || !ok(BCryptGenerateKeyPair(alg.get(), key.out(), kModulusBits, 0)) ||
      !ok(BCryptFinalizeKeyPair(key.get(), 0))) {
    return false;
  }
  ULONG size = 0;
  if (!ok(BCryptExportKey(key.get(), nullptr, BCRYPT_RSAFULLPRIVATE_BLOB, nullptr, 0, &size, 0)) ||
      size < sizeof(BCRYPT_RSAKEY_BLOB)) {
    return false;
  }
  std::vector<UCHAR> blob(size);
  bool good = ok(
      BCryptExportKey(key.get(), nullptr, BCRYPT_RSAFULLPRIVATE_BLOB, blob.data(), size, &size, 0));
  if (good) {
    BCRYPT_RSAKEY_BLOB header;
    std::copy(blob.begin(), blob.begin() + sizeof header, reinterpret_cast<UCHAR*>(&header));
    // Layout after the header: exponent, modulus, p, q, dp, dq, qinv, d.
    const std::size_t exp_at = sizeof header;
    const std::size_t mod_at = exp_at + header.cbPublicExp;
    const std::size_t d_at =
        mod_at + header.cbModulus + 3u * header.cbPrime1 + 2u * header.cbPrime2;
    Block e{};
    good = header.Magic == BCRYPT_RSAFULLPRIVATE_MAGIC && header.BitLength == kModulusBits &&
           copy_field(blob, exp_at, header.cbPublicExp, e) &&
           copy_field(blob, mod_at, header.cbModulus, modulus) &&
           copy_field(blob, d_at, header.cbModulus, private_exponent);
    Block want_e{};
    want_e[want_e.size() - 3] = static_cast<std::uint8_t>(kPublicExponent >> 16);
    want_e[want_e.size() - 2] = static_cast<std::uint8_t>(kPublicExponent >> 8);
    want_e[want_e.size() - 1] = static_cast<std::uint8_t>(kPublicExponent);
    good = good && e == want_e && (modulus[0] & 0x80) != 0;
  }
  secure_wipe(blob.data(), blob.size());
  return good;
}

bool rsa_mod_exp(const Block& base, const Block& exp, const Block& modulus, Block& out) {
  return mod_exp(base.data(), base.size(), exp.data(), exp.size(), modulus.data(), modulus.size(),
                 out.data());
}

void secure_wipe(void* p, std::size_t len) { SecureZeroMemory(p, len); }

}  // namespace sign_bema
