#include <windows.h>

#include "file_io.h"

namespace sign_bema {

File::~File() { close(); }

void File::close() {
  if (handle_ != nullptr) CloseHandle(handle_);
  handle_ = nullptr;
}

bool File::open(const char* path, Access access) {
  close();
  // Others may read while a file is being signed, but a writer would change
  // the bytes under the digest, so writers are shut out. Write access (not
  // just FILE_APPEND_DATA) is what allows cutting back a failed append.
  const DWORD rights = access == Access::Read ? GENERIC_READ : (GENERIC_READ | GENERIC_WRITE);
  const DWORD share =
      access == Access::Read ? (FILE_SHARE_READ | FILE_SHARE_WRITE) : FILE_SHARE_READ;
  HANDLE h = CreateFileA(path, rights, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = h;
  return true;
}

long long File::read(std::uint8_t* buf, std::size_t len) {
  std::size_t got = 0;
  while (got < len) {
    const std::size_t want = len - got;
    const DWORD part = want > 0x40000000u ? 0x40000000u : static_cast<DWORD>(want);
    DWORD n = 0;
    if (!ReadFile(handle_, buf + got, part, &n, nullptr)) return -1;
    if (n == 0) break;
    got += n;
  }
  return static_cast<long long>(got);
}

bool File::append(const std::uint8_t* data, std::size_t len, std::uint64_t old_size) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(old_size);
  if (!SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN)) return false;
  std::size_t done = 0;
  while (done < len) {
    DWORD n = 0;
    if (!WriteFile(handle_, data + done, static_cast<DWORD>(len - done), &n, nullptr) || n == 0) {
      break;
    }
    done += n;
  }
  if (done == len && FlushFileBuffers(handle_)) return true;
  if (done != 0 && SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN)) SetEndOfFile(handle_);
  return false;
}

}  // namespace sign_bema
