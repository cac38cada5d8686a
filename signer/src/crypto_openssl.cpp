#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>

#include <stdexcept>

#include "crypto.h"

namespace sign_bema {
namespace {

struct BnDeleter {
  void operator()(BIGNUM* p) const { BN_clear_free(p); }
};
struct BnCtxDeleter {
  void operator()(BN_CTX* p) const { BN_CTX_free(p); }
};
struct PkeyDeleter {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
};
struct PkeyCtxDeleter {
  void operator()(EVP_PKEY_CTX* p) const { EVP_PKEY_CTX_free(p); }
};
using Bn = std::unique_ptr<BIGNUM, BnDeleter>;

Bn to_bn(const Block& b) { return Bn(BN_bin2bn(b.data(), static_cast<int>(b.size()), nullptr)); }

bool from_bn(const BIGNUM* bn, Block& out) {
  return bn != nullptr &&
         BN_bn2binpad(bn, out.data(), static_cast<int>(out.size())) == static_cast<int>(out.size());
}

}  // namespace

struct Md5::Impl {
  EVP_MD_CTX* ctx = nullptr;
  ~Impl() { EVP_MD_CTX_free(ctx); }
};

Md5::Md5() : impl_(new Impl) {
  impl_->ctx = EVP_MD_CTX_new();
  if (impl_->ctx == nullptr || EVP_DigestInit_ex(impl_->ctx, EVP_md5(), nullptr) != 1) {
    throw std::runtime_error("MD5 unavailable");
  }
}

Md5::~Md5() = default;

void Md5::update(const std::uint8_t* data, std::size_t len) {
  if (len != 0 && EVP_DigestUpdate(impl_->ctx, data, len) != 1) {
    throw std::runtime_error("MD5 update failed");
  }
}

Md5Digest Md5::finish() {
  Md5Digest d{};
  unsigned int len = 0;
  if (EVP_DigestFinal_ex(impl_->ctx, d.data(), &len) != 1 || len != d.size()) {
    throw std::runtime_error("MD5 final failed");
  }
  return d;
}

bool generate_rsa_key(Block& modulus, Block& private_exponent) {
  std::unique_ptr<EVP_PKEY_CTX, PkeyCtxDeleter> ctx(
      EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
  if (!ctx || EVP_PKEY_keygen_init(ctx.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_keygen_bits(ctx.get(), kModulusBits) != 1) {
    return false;
  }
  Bn e(BN_new());
  if (!e || BN_set_word(e.get(), kPublicExponent) != 1 ||
      EVP_PKEY_CTX_set1_rsa_keygen_pubexp(ctx.get(), e.get()) != 1) {
    return false;
  }
  EVP_PKEY* raw = nullptr;
  if (EVP_PKEY_generate(ctx.get(), &raw) != 1) return false;
  std::unique_ptr<EVP_PKEY, PkeyDeleter> pkey(raw);

  BIGNUM* n_raw = nullptr;
  BIGNUM* d_raw = nullptr;
  const int got_n = EVP_PKEY_get_bn_param(pkey.get(), OSSL_PKEY_PARAM_RSA_N, &n_raw);
  const int got_d = EVP_PKEY_get_bn_param(pkey.get(), OSSL_PKEY_PARAM_RSA_D, &d_raw);
  const Bn n(n_raw);
  const Bn d(d_raw);
  if (got_n != 1 || got_d != 1 || BN_num_bits(n.get()) != static_cast<int>(kModulusBits)) {
    return false;
  }
  return from_bn(n.get(), modulus) && from_bn(d.get(), private_exponent);
}

bool rsa_mod_exp(const Block& base, const Block& exp, const Block& modulus, Block& out) {
  std::unique_ptr<BN_CTX, BnCtxDeleter> ctx(BN_CTX_secure_new());
  const Bn b = to_bn(base);
  const Bn p = to_bn(exp);
  const Bn m = to_bn(modulus);
  Bn r(BN_new());
  if (!ctx || !b || !p || !m || !r) return false;
  // Sends BN_mod_exp down the constant-time Montgomery path.
  BN_set_flags(p.get(), BN_FLG_CONSTTIME);
  if (BN_mod_exp(r.get(), b.get(), p.get(), m.get(), ctx.get()) != 1) return false;
  return from_bn(r.get(), out);
}

void secure_wipe(void* p, std::size_t len) { OPENSSL_cleanse(p, len); }

}  // namespace sign_bema
