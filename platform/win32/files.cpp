#include "platform/win32/files.h"

#include <windows.h>

#include <cstdint>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "UConst/text_checks.h"

namespace quorix::platform {
namespace {

[[noreturn]] void Fail(std::string_view what, const std::string& path, DWORD err) {
  throw Failure(FileFailureText(what, path, static_cast<int>(err)));
}

HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

// The plain functions take whole paths below MAX_PATH characters (a folder
// 12 fewer); from there on the library names its files by the "\\?\" form.
constexpr size_t kPlainPathLimit = MAX_PATH - 12;

// Runs call unless the seam makes it fail; false with the error in err.
template <class Call>
bool Checked(FileOp op, DWORD& err, Call&& call) {
  if (const int fault = TakeNativeFault(op)) {
    err = static_cast<DWORD>(fault);
    return false;
  }
  if (call()) return true;
  err = GetLastError();
  return false;
}

}  // namespace

bool MoveOver(const std::string& from, const std::string& to) {
  const std::wstring target = WidePath(to);
  if (MoveFileExW(WidePath(from).c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  const DWORD err = GetLastError();
  if (err != ERROR_ACCESS_DENIED) return false;
  // Tells a target held open by another program from one this user may not
  // replace: asking for the right to delete it then meets the other's handle.
  HANDLE h = CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) return false;
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  SetLastError(err);
  return false;
}

std::wstring WidePath(const std::string& path) {
  std::wstring wide(path.size(), L'\0');
  if (!path.empty())
    wide.resize(
        static_cast<size_t>(MultiByteToWideChar(1252, 0, path.data(), static_cast<int>(path.size()),
                                                wide.data(), static_cast<int>(wide.size()))));
  if (wide.size() < kPlainPathLimit || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  const DWORD room = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (room == 0) return wide;
  std::wstring full(room, L'\0');
  const DWORD n = GetFullPathNameW(wide.c_str(), room, full.data(), nullptr);
  if (n == 0 || n >= room) return wide;
  full.resize(n);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::string PathForOutsideLibrary(const std::string& path) {
  if (path.size() < MAX_PATH) return path;
  // The file's short (8.3) name, where the volume keeps them: ASCII, and short.
  const std::wstring wide = WidePath(path);
  const DWORD room = GetShortPathNameW(wide.c_str(), nullptr, 0);
  std::wstring brief(room, L'\0');
  const DWORD n = room ? GetShortPathNameW(wide.c_str(), brief.data(), room) : 0;
  if (n == 0 || n >= room) return path;
  brief.resize(n);
  if (brief.rfind(L"\\\\?\\", 0) == 0) brief.erase(0, 4);
  std::string narrow(brief.size() * 2, '\0');
  narrow.resize(static_cast<size_t>(
      WideCharToMultiByte(1252, 0, brief.data(), static_cast<int>(brief.size()), narrow.data(),
                          static_cast<int>(narrow.size()), nullptr, nullptr)));
  return narrow.empty() || narrow.size() >= MAX_PATH ? path : narrow;
}

FileError ClassifyError(int err) {
  switch (static_cast<DWORD>(err)) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileError::DiskFull;
    case ERROR_IO_DEVICE:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
      return FileError::IoError;
    case ERROR_ACCESS_DENIED:
      return FileError::AccessDenied;
    case ERROR_WRITE_PROTECT:
      return FileError::ReadOnly;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return FileError::NotFound;
    case ERROR_DIRECTORY:
      return FileError::IsFolder;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return FileError::InUse;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
      return FileError::NameTooLong;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_PARAMETER:
      return FileError::InvalidName;
    case ERROR_TOO_MANY_OPEN_FILES:
      return FileError::TooManyFiles;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
      return FileError::OutOfMemory;
    case ERROR_CANT_RESOLVE_FILENAME:
      return FileError::LinkLoop;
    case ERROR_NOT_READY:
    case ERROR_INVALID_DRIVE:
      return FileError::NotReady;
    case ERROR_BAD_NETPATH:
    case ERROR_NETNAME_DELETED:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_BAD_NET_NAME:
    case ERROR_UNEXP_NET_ERR:
      return FileError::Network;
  }
  return FileError::Other;
}

int NativeError(FileFault fault) {
  static constexpr DWORD kErrors[] = {0, ERROR_DISK_FULL, ERROR_IO_DEVICE, ERROR_ACCESS_DENIED,
                                      ERROR_WRITE_PROTECT};
  return static_cast<int>(kErrors[static_cast<int>(fault)]);
}

std::string OtherErrorText(int err) {
  std::string text(msg::kReasonOther);
  text += std::to_string(static_cast<unsigned long>(static_cast<DWORD>(err)));
  return text;
}

std::string SystemPath(std::string_view name) {
  if (name.empty()) throw Failure(msg::kEmptyFileName);
  RefuseNul(name, msg::kOfFileName);
  return std::string(name);
}

bool FileExists(std::string_view name) {
  if (name.empty() || name.find('\0') != std::string_view::npos) return false;
  const DWORD attributes = GetFileAttributesW(WidePath(std::string(name)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The lock is the lock file itself, opened without sharing: a second writer
// cannot open it until the first closes it, and the system removes it when
// its holder closes it or dies, so nothing is left behind.
FileLock::FileLock(std::string_view name, bool forReading, int waitMilliseconds)
    : shown_(name), target_(SystemPath(name)) {
  lock_ = LockPathFor(target_);
  const std::wstring lock = WidePath(lock_);
  WaitForLock(shown_, waitMilliseconds, [&] {
    HANDLE h = CreateFileW(lock.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<intptr_t>(h);
      return LockAttempt::Taken;
    }
    const DWORD err = GetLastError();
    // A lock file being removed refuses access until its last handle closes.
    const bool taken =
        err == ERROR_SHARING_VIOLATION ||
        (err == ERROR_ACCESS_DENIED && GetFileAttributesW(lock.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (taken) return LockAttempt::Busy;
    if (forReading && (err == ERROR_ACCESS_DENIED || err == ERROR_WRITE_PROTECT))
      return LockAttempt::Taken;
    Fail(msg::kCannotCreateFile, shown_, err);
  });
}

FileLock::~FileLock() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
}

void FileReplacement::Open(const FileLock& lock) {
  target_ = lock.target();
  temp_ = TemporaryPathFor(target_);
  // A file the host cannot write is not replaced behind its back.
  const DWORD attributes = GetFileAttributesW(WidePath(target_).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // A name the system refuses is refused before anything is written.
    const DWORD err = GetLastError();
    if (err == ERROR_FILENAME_EXCED_RANGE || err == ERROR_INVALID_NAME || err == ERROR_BAD_PATHNAME)
      Fail(msg::kCannotCreateFile, shown_, err);
  } else {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) Fail(msg::kCannotWriteFile, shown_, ERROR_DIRECTORY);
    if (attributes & FILE_ATTRIBUTE_READONLY)
      Fail(msg::kCannotWriteFile, shown_, ERROR_ACCESS_DENIED);
  }
  // A folder that took no lock file takes no temporary file either: the
  // lock's own failure says why.
  if (!lock.held()) own_ = std::make_unique<FileLock>(shown_);
  // Only the lock's holder uses the temporary name; one left by a crash is
  // truncated and reused.
  HANDLE h = INVALID_HANDLE_VALUE;
  DWORD err = 0;
  if (!Checked(FileOp::Create, err, [&] {
        h = CreateFileW(WidePath(temp_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
      }))
    Fail(msg::kCannotCreateFile, shown_, err);
  handle_ = reinterpret_cast<intptr_t>(h);
}

FileReplacement::~FileReplacement() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
  DWORD err = 0;
  if (!committed_ && !temp_.empty())
    Checked(FileOp::Delete, err, [&] { return DeleteFileW(WidePath(temp_).c_str()) != 0; });
}

void FileReplacement::Write(const char* data, size_t size) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0, err = 0;
    if (!Checked(FileOp::Write, err,
                 [&] { return WriteFile(AsHandle(handle_), data, chunk, &written, nullptr) != 0; }))
      Fail(msg::kCannotWriteFile, shown_, err);
    data += written;
    size -= written;
  }
}

void FileReplacement::Close() {
  HANDLE h = AsHandle(handle_);
  DWORD err = 0;
  if (!Checked(FileOp::Sync, err, [&] { return FlushFileBuffers(h) != 0; }))
    Fail(msg::kCannotWriteFile, shown_, err);
  handle_ = -1;
  const int fault = TakeNativeFault(FileOp::Close);
  if (!CloseHandle(h) && fault == 0) Fail(msg::kCannotWriteFile, shown_, GetLastError());
  if (fault != 0) Fail(msg::kCannotWriteFile, shown_, static_cast<DWORD>(fault));
}

void FileReplacement::Commit() {
  DWORD err = 0;
  if (!Checked(FileOp::Rename, err, [&] { return MoveOver(temp_, target_); }))
    Fail(msg::kCannotReplaceFile, shown_, err);
  committed_ = true;
}

}  // namespace quorix::platform
