#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

#include "file_io.h"

namespace sign_bema {

File::~File() { close(); }

void File::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool File::open(const char* path, Access access) {
  close();
  const int flags = access == Access::Read ? O_RDONLY : (O_RDWR | O_APPEND);
  do {
    fd_ = ::open(path, flags | O_CLOEXEC);
  } while (fd_ < 0 && errno == EINTR);
  return fd_ >= 0;
}

long long File::read(std::uint8_t* buf, std::size_t len) {
  // A full buffer per call keeps the caller's chunking meaningful even on
  // pipes and network file systems that return short reads.
  std::size_t got = 0;
  while (got < len) {
    const ssize_t n = ::read(fd_, buf + got, len - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<long long>(got);
}

bool File::append(const std::uint8_t* data, std::size_t len, std::uint64_t old_size) {
  std::size_t done = 0;
  while (done < len) {
    const ssize_t n = ::write(fd_, data + done, len - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (done == len && ::fsync(fd_) == 0) return true;
  if (done != 0) {
    [[maybe_unused]] const int ignored = ::ftruncate(fd_, static_cast<off_t>(old_size));
  }
  return false;
}

}  // namespace sign_bema
