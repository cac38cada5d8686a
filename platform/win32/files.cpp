#include "platform/files.h"

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
      return FileError::InUse;
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

bool FileExists(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileReplacement::FileReplacement(const std::string& target)
    : shown_(target), target_(target), temp_(TemporaryPathFor(target)) {
  RefuseNul(target, msg::kOfFileName);
  // A file the host cannot write is not replaced behind its back.
  const DWORD attributes = GetFileAttributesA(target_.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) Fail(msg::kCannotWriteFile, shown_, ERROR_DIRECTORY);
    if (attributes & FILE_ATTRIBUTE_READONLY)
      Fail(msg::kCannotWriteFile, shown_, ERROR_ACCESS_DENIED);
  }
  // Opened without sharing: a second writer of the same target is refused
  // while this one writes. A temporary file left by a crash is truncated.
  HANDLE h = INVALID_HANDLE_VALUE;
  DWORD err = 0;
  if (!Checked(FileOp::Create, err, [&] {
        h = CreateFileA(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
      }))
    Fail(msg::kCannotCreateFile, shown_, err);
  handle_ = reinterpret_cast<intptr_t>(h);
}

FileReplacement::~FileReplacement() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
  DWORD err = 0;
  if (!committed_) Checked(FileOp::Delete, err, [&] { return DeleteFileA(temp_.c_str()) != 0; });
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
  if (!Checked(FileOp::Rename, err, [&] {
        return MoveFileExA(temp_.c_str(), target_.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
      }))
    Fail(msg::kCannotReplaceFile, shown_, err);
  committed_ = true;
}

}  // namespace quorix::platform
