#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "console.h"
#include "native.h"

namespace quorix::cli {
namespace {

[[noreturn]] void Fail(const Path& path, int error) {
  std::string reason;
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      reason = "arquivo não encontrado";
      break;
    case EACCES:
    case EPERM:
      reason = "permissão negada";
      break;
    case EEXIST:
      reason = "o arquivo já existe";
      break;
    case EISDIR:
      reason = "é uma pasta";
      break;
    case ENAMETOOLONG:
      reason = "nome de arquivo inválido";
      break;
    case ENOSPC:
      reason = "disco cheio";
      break;
    default:
      reason = "erro do sistema " + std::to_string(error);
  }
  throw Failure(kUsageError, path.shown() + ": " + reason);
}

class Descriptor {
 public:
  Descriptor(const Path& path, int flags, mode_t mode = 0)
      : path_(path), fd_(::open(path.shown().c_str(), flags | O_CLOEXEC, mode)) {
    if (fd_ < 0) Fail(path_, errno);
  }
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  // Refuses folders, which open() lets through for reading.
  off_t RegularFileSize() {
    struct stat st;
    if (::fstat(fd_, &st) != 0) Fail(path_, errno);
    if (S_ISDIR(st.st_mode)) Fail(path_, EISDIR);
    return st.st_size;
  }
  size_t Read(std::uint8_t* buf, size_t len) {
    for (;;) {
      const ssize_t n = ::read(fd_, buf, len);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR) Fail(path_, errno);
    }
  }
  void WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) Fail(path_, n < 0 ? errno : ENOSPC);
      bytes.remove_prefix(static_cast<size_t>(n));
    }
  }
  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::fsync(fd) != 0 || ::close(fd) != 0) Fail(path_, errno);
  }
  int fd() const { return fd_; }

 private:
  const Path& path_;
  int fd_;
};

}  // namespace

Path::Path(std::string utf8) : shown_(std::move(utf8)) {}

std::string Path::ForLibrary() const { return shown_; }

Path Path::Join(std::string_view name) const {
  std::string joined = shown_;
  if (!joined.empty() && joined.back() != '/') joined += '/';
  joined += name;
  return Path(joined);
}

bool IsFile(const Path& path) {
  struct stat st;
  return ::stat(path.shown().c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Exists(const Path& path) {
  struct stat st;
  return ::lstat(path.shown().c_str(), &st) == 0;
}

void ReadInPieces(const Path& path, const std::function<void(const std::uint8_t*, size_t)>& take) {
  Descriptor file(path, O_RDONLY);
  file.RegularFileSize();
  std::vector<std::uint8_t> buf(size_t{1} << 20);
  while (const size_t n = file.Read(buf.data(), buf.size())) take(buf.data(), n);
}

std::string ReadWholeFile(const Path& path) {
  std::string bytes;
  ReadInPieces(path, [&](const std::uint8_t* p, size_t n) {
    bytes.append(reinterpret_cast<const char*>(p), n);
  });
  return bytes;
}

std::string ReadTail(const Path& path, size_t count) {
  Descriptor file(path, O_RDONLY);
  const off_t size = file.RegularFileSize();
  const off_t from = size > static_cast<off_t>(count) ? size - static_cast<off_t>(count) : 0;
  if (::lseek(file.fd(), from, SEEK_SET) < 0) Fail(path, errno);
  std::string tail(static_cast<size_t>(size - from), '\0');
  size_t got = 0;
  while (got < tail.size()) {
    const size_t n =
        file.Read(reinterpret_cast<std::uint8_t*>(tail.data()) + got, tail.size() - got);
    if (n == 0) break;
    got += n;
  }
  tail.resize(got);
  return tail;
}

void CreateOwnerOnlyFile(const Path& path, std::string_view bytes) {
  Descriptor file(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
  try {
    // The creation mode passed through the umask; this sets it exactly.
    if (::fchmod(file.fd(), 0600) != 0) Fail(path, errno);
    file.WriteAll(bytes);
    file.Close();
  } catch (...) {
    ::unlink(path.shown().c_str());
    throw;
  }
}

void RemoveFile(const Path& path) {
  if (::unlink(path.shown().c_str()) != 0 && errno != ENOENT) Fail(path, errno);
}

void RenameFile(const Path& from, const Path& to) {
  if (::rename(from.shown().c_str(), to.shown().c_str()) != 0) Fail(to, errno);
}

}  // namespace quorix::cli
