#include "platform/crypto.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>

#include <stdexcept>

namespace quorix::platform {
namespace {

bool Ok(NTSTATUS status) { return status >= 0; }

class Provider {
 public:
  explicit Provider(LPCWSTR algorithm) {
    if (!Ok(BCryptOpenAlgorithmProvider(&handle_, algorithm, nullptr, 0))) handle_ = nullptr;
  }
  ~Provider() {
    if (handle_) BCryptCloseAlgorithmProvider(handle_, 0);
  }
  Provider(const Provider&) = delete;
  Provider& operator=(const Provider&) = delete;
  BCRYPT_ALG_HANDLE get() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

}  // namespace

struct Md5::Impl {
  Provider provider{BCRYPT_MD5_ALGORITHM};
  BCRYPT_HASH_HANDLE hash = nullptr;
  ~Impl() {
    if (hash) BCryptDestroyHash(hash);
  }
};

Md5::Md5() : impl_(new Impl) {
  if (!impl_->provider.get() ||
      !Ok(BCryptCreateHash(impl_->provider.get(), &impl_->hash, nullptr, 0, nullptr, 0, 0)))
    throw std::runtime_error("MD5 unavailable");
}

Md5::~Md5() = default;

void Md5::Update(const uint8_t* data, size_t size) {
  // BCryptHashData takes a 32-bit length.
  while (size != 0) {
    const ULONG part = size > 0x40000000u ? 0x40000000u : static_cast<ULONG>(size);
    if (!Ok(BCryptHashData(impl_->hash, const_cast<PUCHAR>(data), part, 0)))
      throw std::runtime_error("MD5 update failed");
    data += part;
    size -= part;
  }
}

Md5Digest Md5::Finish() {
  Md5Digest digest{};
  if (!Ok(BCryptFinishHash(impl_->hash, digest.data(), static_cast<ULONG>(digest.size()), 0)))
    throw std::runtime_error("MD5 finish failed");
  return digest;
}

}  // namespace quorix::platform
