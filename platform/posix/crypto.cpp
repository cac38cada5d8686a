#include "platform/crypto.h"

#include <openssl/bn.h>
#include <openssl/evp.h>

#include <stdexcept>

namespace quorix::platform {
namespace {

struct BnFree {
  void operator()(BIGNUM* p) const { BN_free(p); }
};
struct BnCtxFree {
  void operator()(BN_CTX* p) const { BN_CTX_free(p); }
};
using Bn = std::unique_ptr<BIGNUM, BnFree>;

}  // namespace

struct Md5::Impl {
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  ~Impl() { EVP_MD_CTX_free(context); }
};

Md5::Md5() : impl_(new Impl) {
  if (!impl_->context || EVP_DigestInit_ex(impl_->context, EVP_md5(), nullptr) != 1)
    throw std::runtime_error("MD5 unavailable");
}

Md5::~Md5() = default;

void Md5::Update(const uint8_t* data, size_t size) {
  if (size != 0 && EVP_DigestUpdate(impl_->context, data, size) != 1)
    throw std::runtime_error("MD5 update failed");
}

Md5Digest Md5::Finish() {
  Md5Digest digest{};
  unsigned size = 0;
  if (EVP_DigestFinal_ex(impl_->context, digest.data(), &size) != 1 || size != digest.size())
    throw std::runtime_error("MD5 finish failed");
  return digest;
}

bool RsaPublicOperation(const uint8_t* base, const uint8_t* modulus, size_t size, uint32_t exponent,
                        uint8_t* out) {
  const int n = static_cast<int>(size);
  const std::unique_ptr<BN_CTX, BnCtxFree> context(BN_CTX_new());
  const Bn b(BN_bin2bn(base, n, nullptr)), m(BN_bin2bn(modulus, n, nullptr)), e(BN_new()),
      r(BN_new());
  if (!context || !b || !m || !e || !r || !BN_set_word(e.get(), exponent)) return false;
  if (!BN_is_odd(m.get()) || BN_cmp(b.get(), m.get()) >= 0) return false;
  return BN_mod_exp(r.get(), b.get(), e.get(), m.get(), context.get()) == 1 &&
         BN_bn2binpad(r.get(), out, n) == n;
}

}  // namespace quorix::platform
