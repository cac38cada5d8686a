#include <windows.h>

#include <vector>

#include "console.h"
#include "native.h"

namespace quorix::cli {
namespace {

[[noreturn]] void Fail(const Path& path, DWORD error) {
  std::string reason;
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      reason = "arquivo não encontrado";
      break;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
      reason = "nome de arquivo inválido";
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      reason = "permissão negada";
      break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      reason = "o arquivo já existe";
      break;
    case ERROR_DIRECTORY:
      reason = "é uma pasta";
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      reason = "disco cheio";
      break;
    default:
      reason = "erro do sistema " + std::to_string(error);
  }
  throw Failure(kUsageError, path.shown() + ": " + reason);
}

DWORD Attributes(const Path& path) { return GetFileAttributesW(path.wide().c_str()); }

// Refuses a folder, which the file functions would report as access denied.
HANDLE Open(const Path& path, DWORD access, DWORD creation, SECURITY_ATTRIBUTES* security) {
  const DWORD attributes = Attributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    Fail(path, ERROR_DIRECTORY);
  HANDLE h = CreateFileW(path.wide().c_str(), access, FILE_SHARE_READ, security, creation,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail(path, GetLastError());
  return h;
}

// An access list that grants the current user everything and no one else
// anything, protected from the folder's inherited entries.
class OwnerOnly {
 public:
  OwnerOnly() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user_.resize(size);
    const bool got = size > 0 && GetTokenInformation(token, TokenUser, user_.data(), size, &size);
    CloseHandle(token);
    if (!got) return;
    PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
    const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid);
    acl_.resize(aclSize);
    PACL acl = reinterpret_cast<PACL>(acl_.data());
    ok_ = InitializeAcl(acl, aclSize, ACL_REVISION) &&
          AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) &&
          InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
          SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
          SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
  }
  SECURITY_ATTRIBUTES* get() { return ok_ ? &attributes_ : nullptr; }

 private:
  std::vector<BYTE> user_, acl_;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool ok_ = false;
};

}  // namespace

std::string Utf8FromWide(std::wstring_view wide, std::string_view what) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(),
                                    static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) throw Failure(kUsageError, std::string(what) + ": texto UTF-16 inválido");
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), static_cast<int>(wide.size()),
                      out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WideFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

Path::Path(std::string utf8) : shown_(std::move(utf8)), wide_(WideFromUtf8(shown_)) {}

std::string Path::ForLibrary() const {
  if (wide_.empty()) return {};
  const UINT page = GetACP();
  BOOL lost = FALSE;
  // The UTF-8 code page takes no "default character used" report.
  BOOL* const report = page == CP_UTF8 ? nullptr : &lost;
  const DWORD flags = page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int n = WideCharToMultiByte(page, flags, wide_.data(), static_cast<int>(wide_.size()),
                                    nullptr, 0, nullptr, report);
  if (n <= 0 || lost) {
    throw Failure(kUsageError, shown_ + ": o nome tem caracteres que a página de código do " +
                                   "Windows (" + std::to_string(page) + ") não representa");
  }
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(page, flags, wide_.data(), static_cast<int>(wide_.size()), out.data(), n,
                      nullptr, report);
  return out;
}

Path Path::Join(std::string_view name) const {
  std::string joined = shown_;
  if (!joined.empty() && joined.back() != '\\' && joined.back() != '/') joined += '\\';
  joined += name;
  return Path(joined);
}

bool Exists(const Path& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

InputFile::InputFile(const Path& path)
    : path_(path),
      handle_(reinterpret_cast<std::intptr_t>(Open(path, GENERIC_READ, OPEN_EXISTING, nullptr))) {}

InputFile::~InputFile() { CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

std::uint64_t InputFile::Size() {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(reinterpret_cast<HANDLE>(handle_), &size)) Fail(path_, GetLastError());
  return static_cast<std::uint64_t>(size.QuadPart);
}

void InputFile::Seek(std::uint64_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(reinterpret_cast<HANDLE>(handle_), at, nullptr, FILE_BEGIN))
    Fail(path_, GetLastError());
}

size_t InputFile::Read(std::uint8_t* buf, size_t len) {
  DWORD n = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buf, static_cast<DWORD>(len), &n, nullptr))
    Fail(path_, GetLastError());
  return n;
}

void CreateOwnerOnlyFile(const Path& path, std::string_view bytes) {
  OwnerOnly security;
  if (!security.get())
    throw Failure(kUsageError, path.shown() + ": não foi possível restringir o acesso ao dono");
  HANDLE h = Open(path, GENERIC_WRITE, CREATE_NEW, security.get());
  DWORD error = ERROR_SUCCESS;
  for (std::string_view rest = bytes; !rest.empty() && error == ERROR_SUCCESS;) {
    DWORD n = 0;
    if (!WriteFile(h, rest.data(), static_cast<DWORD>(rest.size()), &n, nullptr) || n == 0)
      error = GetLastError();
    rest.remove_prefix(n);
  }
  if (error == ERROR_SUCCESS && !FlushFileBuffers(h)) error = GetLastError();
  if (!CloseHandle(h) && error == ERROR_SUCCESS) error = GetLastError();
  if (error != ERROR_SUCCESS) {
    DeleteFileW(path.wide().c_str());
    Fail(path, error);
  }
}

void RemoveFile(const Path& path) {
  if (!DeleteFileW(path.wide().c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
    Fail(path, GetLastError());
}

}  // namespace quorix::cli
