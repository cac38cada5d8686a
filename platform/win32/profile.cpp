// The Windows profile functions, called as they are, on a copy of the file:
// the first write of a ProfileFile copies the file to its temporary file
// (named after it), every write and later read of that ProfileFile uses the
// copy, and Flush renames the copy over the file. A failure on the way
// leaves the file as it was and removes the copy. The file's lock is held
// from the first read to the end, so no other writer comes in between.
#include "platform/profile.h"

#include <windows.h>

#include <memory>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "platform/win32/files.h"

namespace quorix::platform {

namespace {

// Runs call unless the seam makes it fail; the failure's text in failure.
template <class Call>
bool Checked(FileOp op, std::string_view what, const std::string& file, std::string& failure,
             Call&& call) {
  DWORD err = static_cast<DWORD>(TakeNativeFault(op));
  if (err == 0) {
    if (call()) return true;
    err = GetLastError();
  }
  failure = FileFailureText(what, file, static_cast<int>(err));
  return false;
}

}  // namespace

struct ProfileFile::Engine {
  // Held from the first read until the engine is done with the file.
  std::unique_ptr<FileLock> lock;
  std::string temp;  // the copy, once a write began
  bool staged = false;

  std::string lockFailure;  // why the lock could not be had: nothing is written then

  // Waits for this writer's turn on the file.
  void Turn(const std::string& path) {
    if (lock || !lockFailure.empty()) return;
    try {
      lock = std::make_unique<FileLock>(path, true);
    } catch (const std::exception& e) {
      lockFailure = FailureText(e);
    }
  }

  // Makes the copy that the writes go to; false with the failure's text.
  bool Stage(const std::string& path, std::string& failure) {
    if (staged) return true;
    if (path.find('\0') != std::string::npos) return false;
    Turn(path);
    if (!lockFailure.empty()) {
      failure = lockFailure;
      return false;
    }
    if (!lock->held()) {
      // A folder that holds no lock file holds no copy either: say why.
      failure = FileFailureText(msg::kCannotCreateFile, path, ERROR_ACCESS_DENIED);
      const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        failure = FileFailureText(msg::kCannotWriteFile, path, ERROR_ACCESS_DENIED);
      return false;
    }
    temp = TemporaryPathFor(path);
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      failure = FileFailureText(msg::kCannotWriteFile, path, ERROR_ACCESS_DENIED);
      return false;
    }
    // A missing file starts as an empty copy (which also empties one left
    // by a crash).
    staged = Checked(FileOp::Create, msg::kCannotCreateFile, path, failure, [&] {
      if (attributes != INVALID_FILE_ATTRIBUTES)
        return CopyFileW(WidePath(path).c_str(), WidePath(temp).c_str(), FALSE) != 0;
      HANDLE h = CreateFileW(WidePath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      return h != INVALID_HANDLE_VALUE && CloseHandle(h) != 0;
    });
    return staged;
  }

  // The file the profile functions are given: the copy once a write began.
  std::string Current(const std::string& path) const {
    return PathForOutsideLibrary(staged ? temp : path);
  }
};

std::string ResolveProfilePath(const std::string& path) {
  if (path.empty() || path.find_first_of("\\/") != std::string::npos) return path;
  if (path.size() >= 2 && path[1] == ':') return path;  // drive-relative: not the Windows folder
  char buf[MAX_PATH];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
  if (n == 0 || n >= sizeof buf) return ".\\" + path;
  return std::string(buf, n);
}

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)), engine_(new Engine) {}

ProfileFile::~ProfileFile() {
  if (engine_->staged) {
    Checked(FileOp::Delete, msg::kCannotDeleteFile, path_, failure_,
            [&] { return DeleteFileW(WidePath(engine_->temp).c_str()) != 0; });
  }
}

bool ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  failure_.clear();
  if (!engine_->Stage(path_, failure_)) return false;
  return Checked(FileOp::Write, msg::kCannotWriteFile, path_, failure_, [&] {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      engine_->Current(path_).c_str()) != 0;
  });
}

bool ProfileFile::DeleteKey(const std::string& section, const std::string& key) {
  failure_.clear();
  if (!engine_->Stage(path_, failure_)) return false;
  // A null value removes the key.
  return Checked(FileOp::Write, msg::kCannotWriteFile, path_, failure_, [&] {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr,
                                      engine_->Current(path_).c_str()) != 0;
  });
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, size_t bufferSize) {
  if (bufferSize == 0) return {};
  engine_->Turn(path_);
  std::string buf(bufferSize, '\0');
  const DWORD n =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buf.data(),
                               static_cast<DWORD>(bufferSize), engine_->Current(path_).c_str());
  buf.resize(n < bufferSize ? n : bufferSize - 1);
  return buf;
}

std::vector<std::string> ProfileFile::KeyNames(const std::string& section, size_t bufferSize) {
  std::vector<std::string> names;
  if (bufferSize < 3) return names;
  engine_->Turn(path_);
  std::string buf(bufferSize, '\0');
  const DWORD n =
      GetPrivateProfileStringA(section.c_str(), nullptr, "", buf.data(),
                               static_cast<DWORD>(bufferSize), engine_->Current(path_).c_str());
  size_t start = 0;
  for (size_t i = 0; i < n && i < bufferSize; ++i) {
    if (buf[i] != '\0') continue;
    names.emplace_back(buf, start, i - start);
    start = i + 1;
  }
  if (start < n && n < bufferSize) names.emplace_back(buf, start, n - start);
  return names;
}

bool ProfileFile::Flush() {
  Engine& e = *engine_;
  if (!e.staged) return true;
  failure_.clear();
  // Writes the profile functions may still hold for the copy reach it first.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, e.Current(path_).c_str());
  if (!Checked(FileOp::Rename, msg::kCannotReplaceFile, path_, failure_,
               [&] { return MoveOver(e.temp, path_); }))
    return false;  // the destructor removes the copy
  e.staged = false;
  return true;
}

}  // namespace quorix::platform
