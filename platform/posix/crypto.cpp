#include "platform/crypto.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace quorix::platform {

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

}  // namespace quorix::platform
