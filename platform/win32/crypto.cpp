#include "platform/crypto.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>

#include <cstring>
#include <stdexcept>
#include <vector>

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

bool RsaPublicOperation(const uint8_t* base, const uint8_t* modulus, size_t size, uint32_t exponent,
                        uint8_t* out) {
  if (size == 0 || (modulus[size - 1] & 1) == 0 || std::memcmp(base, modulus, size) >= 0)
    return false;
  size_t skipped = 0;
  while (skipped < size && modulus[skipped] == 0) ++skipped;
  const size_t used = size - skipped;
  unsigned bits = 8 * static_cast<unsigned>(used);
  for (uint8_t top = modulus[skipped]; (top & 0x80) == 0; top = static_cast<uint8_t>(top << 1))
    --bits;
  const uint8_t e[4] = {static_cast<uint8_t>(exponent >> 24), static_cast<uint8_t>(exponent >> 16),
                        static_cast<uint8_t>(exponent >> 8), static_cast<uint8_t>(exponent)};
  BCRYPT_RSAKEY_BLOB header{};
  header.Magic = BCRYPT_RSAPUBLIC_MAGIC;
  header.BitLength = bits;
  header.cbPublicExp = sizeof e;
  header.cbModulus = static_cast<ULONG>(used);
  std::vector<UCHAR> blob(sizeof header + sizeof e + used);
  std::memcpy(blob.data(), &header, sizeof header);
  std::memcpy(blob.data() + sizeof header, e, sizeof e);
  std::memcpy(blob.data() + sizeof header + sizeof e, modulus + skipped, used);

  Provider rsa(BCRYPT_RSA_ALGORITHM);
  BCRYPT_KEY_HANDLE key = nullptr;
  if (!rsa.get() || !Ok(BCryptImportKeyPair(rsa.get(), nullptr, BCRYPT_RSAPUBLIC_BLOB, &key,
                                            blob.data(), static_cast<ULONG>(blob.size()), 0)))
    return false;
  ULONG written = 0;
  std::memset(out, 0, size);
  const bool good = Ok(BCryptEncrypt(key, const_cast<PUCHAR>(base + skipped),
                                     static_cast<ULONG>(used), nullptr, nullptr, 0, out + skipped,
                                     static_cast<ULONG>(used), &written, BCRYPT_PAD_NONE)) &&
                    written == used;
  BCryptDestroyKey(key);
  return good;
}

}  // namespace quorix::platform
