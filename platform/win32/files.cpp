#include <windows.h>

#include <cstdint>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "platform/files.h"

namespace quorix::platform {
namespace {

[[noreturn]] void Fail(std::string_view what, const std::string& path, DWORD err) {
  std::string text(what);
  text += path;
  text += " (erro ";
  text += std::to_string(err);
  text += ")";
  throw Failure(text);
}

HANDLE AsHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteFileAt(const std::string& path) {
  if (!DeleteFileA(path.c_str())) {
    const DWORD err = GetLastError();
    if (err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND)
      Fail(msg::kCannotDeleteFile, path, err);
  }
}

OutputFile::OutputFile(const std::string& path) : path_(path), handle_(-1) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail(msg::kCannotCreateFile, path, GetLastError());
  handle_ = reinterpret_cast<intptr_t>(h);
}

OutputFile::~OutputFile() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
}

void OutputFile::Write(const char* data, size_t size) {
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle_), data, chunk, &written, nullptr))
      Fail(msg::kCannotWriteFile, path_, GetLastError());
    data += written;
    size -= written;
  }
}

void OutputFile::Close() {
  HANDLE h = AsHandle(handle_);
  handle_ = -1;
  if (!CloseHandle(h)) Fail(msg::kCannotWriteFile, path_, GetLastError());
}

}  // namespace quorix::platform
