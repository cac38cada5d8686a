#include "platform/files.h"

#include <chrono>
#include <thread>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "UConst/text_checks.h"

namespace quorix::platform {
namespace {

// Where the folder part of a system path ends (0 for a bare name).
size_t FolderEnd(const std::string& path) {
#if defined(_WIN32)
  const size_t at = path.find_last_of("\\/:");
#else
  const size_t at = path.rfind('/');
#endif
  return at == std::string::npos ? 0 : at + 1;
}

// Windows names one file by names that differ in letter case.
char FoldForTag(char c) {
#if defined(_WIN32)
  const unsigned char b = static_cast<unsigned char>(c);
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
    return static_cast<char>(b - 0x20);
#endif
  return c;
}

std::string BesideTarget(const std::string& target, std::string_view extension) {
  const size_t folder = FolderEnd(target);
  std::string path = target.substr(0, folder);
  path += ".quorix-";
  path += NameTag(std::string_view(target).substr(folder));
  path += extension;
  return path;
}

}  // namespace

std::string NameTag(std::string_view name) {
  uint32_t hash = 2166136261u;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(FoldForTag(c));
    hash *= 16777619u;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string tag(8, '0');
  for (int i = 7; i >= 0; --i, hash >>= 4) tag[static_cast<size_t>(i)] = kHex[hash & 15];
  return tag;
}

std::string LockPathFor(const std::string& target) { return BesideTarget(target, ".lck"); }
std::string TemporaryPathFor(const std::string& target) { return BesideTarget(target, ".tmp"); }

std::string FileFailureText(std::string_view what, const std::string& file, int nativeError) {
  static constexpr std::string_view kReasons[] = {
      {},
      msg::kReasonDiskFull,
      msg::kReasonIoError,
      msg::kReasonAccessDenied,
      msg::kReasonReadOnly,
      msg::kReasonNotFound,
      msg::kReasonIsFolder,
      msg::kReasonInUse,
      msg::kReasonNameTooLong,
      msg::kReasonInvalidName,
      msg::kReasonTooManyFiles,
      msg::kReasonOutOfMemory,
      msg::kReasonLinkLoop,
      msg::kReasonNotReady,
      msg::kReasonNetwork,
  };
  const FileError kind = ClassifyError(nativeError);
  std::string text(what);
  text += Visible(file);
  text += " (";
  if (kind == FileError::Other)
    text += OtherErrorText(nativeError);
  else
    text += kReasons[static_cast<int>(kind)];
  text += ")";
  return text;
}

void FailLockTimeout(const std::string& file, int waitMilliseconds) {
  std::string text(msg::kCannotWriteFile);
  text += Visible(file);
  text += " (";
  text += msg::kReasonLockTimeout;
  text += std::to_string((waitMilliseconds + 999) / 1000);
  text += msg::kReasonLockTimeoutUnit;
  text += ")";
  throw Failure(text);
}

int64_t SteadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void PauseMilliseconds(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int TakeNativeFault(FileOp op) {
  const FileFault fault = TakeFileFault(op);
  return fault == FileFault::None ? 0 : NativeError(fault);
}

}  // namespace quorix::platform
