#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "platform/files.h"

namespace quorix::platform {
namespace {

[[noreturn]] void Fail(std::string_view what, const std::string& path, int err) {
  std::string text(what);
  text += path;
  text += " (";
  text += std::strerror(err);
  text += ")";
  throw Failure(text);
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

void DeleteFileAt(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) Fail(msg::kCannotDeleteFile, path, errno);
}

OutputFile::OutputFile(const std::string& path) : path_(path), handle_(-1) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail(msg::kCannotCreateFile, path, errno);
  handle_ = fd;
}

OutputFile::~OutputFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

void OutputFile::Write(const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(static_cast<int>(handle_), data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(msg::kCannotWriteFile, path_, errno);
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void OutputFile::Close() {
  const int fd = static_cast<int>(handle_);
  handle_ = -1;
  if (::close(fd) != 0) Fail(msg::kCannotWriteFile, path_, errno);
}

}  // namespace quorix::platform
