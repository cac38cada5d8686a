#include "platform/signing_library.h"

#include <windows.h>

#include <string>

namespace quorix::platform {
namespace {

constexpr const char* kLibraryName = "sign_bema.dll";

// Our own folder first (the two DLLs are shipped side by side), then the
// standard search (the host's folder, the system folders, PATH).
HMODULE OpenLibrary() {
  HMODULE self = nullptr;
  if (GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&OpenLibrary), &self)) {
    char buf[MAX_PATH];
    const DWORD n = GetModuleFileNameA(self, buf, sizeof buf);
    if (n > 0 && n < sizeof buf) {
      std::string path(buf, n);
      const size_t slash = path.find_last_of("\\/");
      if (slash != std::string::npos) {
        path.resize(slash + 1);
        path += kLibraryName;
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
          if (HMODULE h = LoadLibraryA(path.c_str())) return h;
      }
    }
  }
  return LoadLibraryA(kLibraryName);
}

}  // namespace

void* OpenSigningLibrary(int& error) {
  HMODULE h = OpenLibrary();
  if (!h) {
    const DWORD err = GetLastError();
    error = err == ERROR_MOD_NOT_FOUND ? ERROR_FILE_NOT_FOUND : static_cast<int>(err);
  }
  return reinterpret_cast<void*>(h);
}

void* FindSigningFunction(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace quorix::platform
