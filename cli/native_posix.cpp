#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "console.h"
#include "native.h"
#include "text.h"

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

// The file written: created, filled, flushed to the device.
class OutputFile {
 public:
  OutputFile(const Path& path, int flags, mode_t mode)
      : path_(path), fd_(::open(path.shown().c_str(), flags | O_CLOEXEC, mode)) {
    if (fd_ < 0) Fail(path_, errno);
  }
  ~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

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

// The library takes file names in Windows-1252 like every other text and
// hands them to the system as UTF-8 again.
std::string Path::ForLibrary() const { return Cp1252FromUtf8(shown_, shown_); }

Path Path::Join(std::string_view name) const {
  std::string joined = shown_;
  if (!joined.empty() && joined.back() != '/') joined += '/';
  joined += name;
  return Path(joined);
}

bool Exists(const Path& path) {
  struct stat st;
  return ::lstat(path.shown().c_str(), &st) == 0;
}

InputFile::InputFile(const Path& path)
    : path_(path), handle_(::open(path.shown().c_str(), O_RDONLY | O_CLOEXEC)) {
  if (handle_ < 0) Fail(path_, errno);
  struct stat st;
  // open() lets a folder through for reading.
  const int error = ::fstat(static_cast<int>(handle_), &st) != 0 ? errno
                    : S_ISDIR(st.st_mode)                        ? EISDIR
                                                                 : 0;
  if (error != 0) {
    ::close(static_cast<int>(handle_));
    Fail(path_, error);
  }
}

InputFile::~InputFile() { ::close(static_cast<int>(handle_)); }

std::uint64_t InputFile::Size() {
  struct stat st;
  if (::fstat(static_cast<int>(handle_), &st) != 0) Fail(path_, errno);
  return static_cast<std::uint64_t>(st.st_size);
}

void InputFile::Seek(std::uint64_t offset) {
  if (::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) < 0)
    Fail(path_, errno);
}

size_t InputFile::Read(std::uint8_t* buf, size_t len) {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buf, len);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) Fail(path_, errno);
  }
}

void CreateOwnerOnlyFile(const Path& path, std::string_view bytes) {
  OutputFile file(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
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

}  // namespace quorix::cli
