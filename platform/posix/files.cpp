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
#include "UConst/windows1252.h"

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
    case EBUSY:
      return FileError::InUse;
    case ENAMETOOLONG:
      return FileError::NameTooLong;
    case EILSEQ:
    case EINVAL:
      return FileError::InvalidName;
    case EMFILE:
    case ENFILE:
      return FileError::TooManyFiles;
    case ENOMEM:
      return FileError::OutOfMemory;
    case ELOOP:
      return FileError::LinkLoop;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
      return FileError::NotReady;
    case ESTALE:
    case EHOSTUNREACH:
    case ENETUNREACH:
    case ETIMEDOUT:
      return FileError::Network;
  }
  return FileError::Other;
}

int NativeError(FileFault fault) {
  static constexpr int kErrors[] = {0, ENOSPC, EIO, EACCES, EROFS};
  return kErrors[static_cast<int>(fault)];
}

std::string OtherErrorText(int err) {
  std::string text(msg::kReasonOther);
  text += std::to_string(err);
  return text;
}

std::string SystemPath(std::string_view name) {
  if (name.empty()) throw Failure(msg::kEmptyFileName);
  RefuseNul(name, msg::kOfFileName);
  std::string path;
  path.reserve(name.size() + name.size() / 4);
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(name[i]);
    if (b < 0x80) {
      path.push_back(static_cast<char>(b));
      continue;
    }
    if (IsUndefinedInWindows1252(b)) {
      std::string text(msg::kUndefinedCharacter);
      text += std::to_string(b);
      text += msg::kUndefinedCharacterAt;
      text += std::to_string(i + 1);
      text += ' ';
      text += msg::kOfFileName;
      throw Failure(text);
    }
    const char32_t c = Windows1252CodePoint(b);
    if (c < 0x800) {
      path.push_back(static_cast<char>(0xC0 | (c >> 6)));
    } else {
      path.push_back(static_cast<char>(0xE0 | (c >> 12)));
      path.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    }
    path.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return path;
}

bool FileExists(std::string_view name) {
  std::string path;
  try {
    path = SystemPath(name);
  } catch (const std::exception&) {
    return false;
  }
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string PathForOutsideLibrary(const std::string& path) { return path; }

FileLock::FileLock(std::string_view name, bool forReading, int waitMilliseconds) : shown_(name) {
  target_ = ResolveLink(SystemPath(name));
  lock_ = LockPathFor(target_);
  int fd = -1;
  try {
    // The holder removes the lock file when it is done, so a lock taken on
    // a file that lost its name meanwhile is no turn: it is taken again.
    WaitForLock(shown_, waitMilliseconds, [&] {
      if (fd < 0) {
        do {
          fd = ::open(lock_.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
          const int err = errno;
          if (forReading && (err == EACCES || err == EPERM || err == EROFS))
            return LockAttempt::Taken;
          Fail(msg::kCannotCreateFile, shown_, err);
        }
      }
      if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EWOULDBLOCK || err == EINTR) return LockAttempt::Busy;
        Fail(msg::kCannotCreateFile, shown_, err);
      }
      struct stat held, named;
      if (::fstat(fd, &held) == 0 && ::lstat(lock_.c_str(), &named) == 0 &&
          named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
        handle_ = fd;
        return LockAttempt::Taken;
      }
      ::close(fd);
      fd = -1;
      return LockAttempt::Again;
    });
  } catch (...) {
    if (fd >= 0) ::close(fd);
    throw;
  }
}

FileLock::~FileLock() {
  if (handle_ == -1) return;
  // Removed while still held: a writer waiting on it sees it lost its name.
  ::unlink(lock_.c_str());
  ::close(static_cast<int>(handle_));
}

void FileReplacement::Open(const FileLock& lock) {
  target_ = lock.target();
  temp_ = TemporaryPathFor(target_);
  struct stat st;
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  // A name the system refuses (too long, through a file) is refused before
  // anything is written; a missing folder is named by the creation below.
  if (!exists && errno != ENOENT) Fail(msg::kCannotCreateFile, shown_, errno);
  // A file the host cannot write is not replaced behind its back.
  if (exists && S_ISDIR(st.st_mode)) Fail(msg::kCannotWriteFile, shown_, EISDIR);
  if (exists && ::access(target_.c_str(), W_OK) != 0) Fail(msg::kCannotWriteFile, shown_, errno);
  // A folder that took no lock file takes no temporary file either: the
  // lock's own failure says why.
  if (!lock.held()) own_ = std::make_unique<FileLock>(shown_);
  // Only the lock's holder uses the temporary name; one left by a crash is
  // truncated and reused.
  const int fd = Checked(FileOp::Create, [&] {
    return ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  });
  if (fd < 0) Fail(msg::kCannotCreateFile, shown_, errno);
  if (::fchmod(fd, exists ? (st.st_mode & 07777) : 0644) != 0) {
    const int err = errno;
    ::close(fd);
    ::unlink(temp_.c_str());
    Fail(msg::kCannotCreateFile, shown_, err);
  }
  if (exists && ::fchown(fd, st.st_uid, st.st_gid) != 0) {
    // Keeping the owner needs privileges we may not have; the file stays ours.
  }
  handle_ = fd;
}

FileReplacement::~FileReplacement() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  if (!committed_ && !temp_.empty())
    Checked(FileOp::Delete, [&] { return ::unlink(temp_.c_str()); });
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
