#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "UConst/text_checks.h"

namespace quorix::platform {
namespace {

[[noreturn]] void Fail(std::string_view what, const std::string& path, int err) {
  throw Failure(FileFailureText(what, path, err));
}

// Calls op unless the seam makes it fail; the result of a failed call is -1
// with errno set, as the system gives it.
template <class Call>
int Checked(FileOp op, Call&& call) {
  if (const int fault = TakeNativeFault(op)) {
    errno = fault;
    return -1;
  }
  int r;
  do {
    r = call();
  } while (r < 0 && errno == EINTR);
  return r;
}

// The file a link points to is replaced, not the link.
std::string ResolveLink(const std::string& path) {
  struct stat st;
  char resolved[PATH_MAX];
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(path.c_str(), resolved))
    return resolved;
  return path;
}

void SyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  ::fsync(dir);
  ::close(dir);
}

}  // namespace

FileError ClassifyError(int err) {
  switch (err) {
    case ENOSPC:
    case EDQUOT:
      return FileError::DiskFull;
    case EIO:
      return FileError::IoError;
    case EACCES:
    case EPERM:
      return FileError::AccessDenied;
    case EROFS:
      return FileError::ReadOnly;
    case ENOENT:
    case ENOTDIR:
      return FileError::NotFound;
    case EISDIR:
      return FileError::IsFolder;
    case ETXTBSY:
      return FileError::InUse;
  }
  return FileError::Other;
}

int NativeError(FileFault fault) {
  static constexpr int kErrors[] = {0, ENOSPC, EIO, EACCES, EROFS};
  return kErrors[static_cast<int>(fault)];
}

std::string OtherErrorText(int err) { return std::strerror(err); }

bool FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && path.find('\0') == std::string::npos && ::stat(path.c_str(), &st) == 0 &&
         !S_ISDIR(st.st_mode);
}

FileReplacement::FileReplacement(const std::string& target) : shown_(target) {
  RefuseNul(target, msg::kOfFileName);
  target_ = ResolveLink(target);
  temp_ = TemporaryPathFor(target_);
  struct stat st;
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  // A file the host cannot write is not replaced behind its back.
  if (exists && S_ISDIR(st.st_mode)) Fail(msg::kCannotWriteFile, shown_, EISDIR);
  if (exists && ::access(target_.c_str(), W_OK) != 0) Fail(msg::kCannotWriteFile, shown_, errno);

  // The temporary file's name is fixed, so two writers of one target take
  // turns on its lock; a lock on a name that was renamed or removed
  // meanwhile is taken again on the new file.
  for (;;) {
    const int lock = Checked(FileOp::Create, [&] {
      return ::open(temp_.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    });
    if (lock < 0) Fail(msg::kCannotCreateFile, shown_, errno);
    struct stat held, named;
    int locked;
    do {
      locked = ::flock(lock, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0 || ::fstat(lock, &held) != 0) {
      const int err = errno;
      ::close(lock);
      Fail(msg::kCannotCreateFile, shown_, err);
    }
    if (::lstat(temp_.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
        named.st_ino == held.st_ino) {
      lock_ = lock;
      break;
    }
    ::close(lock);
  }
  const int fd = ::open(temp_.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
  const int err = errno;
  if (fd < 0 || ::fchmod(fd, exists ? (st.st_mode & 07777) : 0644) != 0) {
    if (fd >= 0) ::close(fd);
    ::unlink(temp_.c_str());
    ::close(static_cast<int>(lock_));
    Fail(msg::kCannotCreateFile, shown_, fd < 0 ? err : errno);
  }
  if (exists && ::fchown(fd, st.st_uid, st.st_gid) != 0) {
    // Keeping the owner needs privileges we may not have; the file stays ours.
  }
  handle_ = fd;
}

FileReplacement::~FileReplacement() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  if (!committed_) Checked(FileOp::Delete, [&] { return ::unlink(temp_.c_str()); });
  if (lock_ >= 0) ::close(static_cast<int>(lock_));
}

void FileReplacement::Write(const char* data, size_t size) {
  while (size > 0) {
    const size_t chunk = size > (size_t{1} << 30) ? (size_t{1} << 30) : size;
    const int n = Checked(FileOp::Write, [&] {
      return static_cast<int>(::write(static_cast<int>(handle_), data, chunk));
    });
    if (n < 0) Fail(msg::kCannotWriteFile, shown_, errno);
    data += n;
    size -= static_cast<size_t>(n);
  }
}

void FileReplacement::Close() {
  const int fd = static_cast<int>(handle_);
  if (Checked(FileOp::Sync, [&] { return ::fsync(fd); }) != 0)
    Fail(msg::kCannotWriteFile, shown_, errno);
  handle_ = -1;
  // The descriptor is released whatever close reports (EINTR included).
  const int fault = TakeNativeFault(FileOp::Close);
  if (::close(fd) != 0 && errno != EINTR && fault == 0) Fail(msg::kCannotWriteFile, shown_, errno);
  if (fault != 0) Fail(msg::kCannotWriteFile, shown_, fault);
}

void FileReplacement::Commit() {
  if (Checked(FileOp::Rename, [&] { return ::rename(temp_.c_str(), target_.c_str()); }) != 0)
    Fail(msg::kCannotReplaceFile, shown_, errno);
  committed_ = true;
  // Make the rename itself survive a power loss.
  SyncFolderOf(target_);
}

}  // namespace quorix::platform
