#include "platform/signing_library.h"

#include <dlfcn.h>

#include <cerrno>
#include <string>

namespace quorix::platform {
namespace {

// The SONAME (libsign_bema.so.1): what a runtime package installs, without
// the development link.
constexpr const char* kLibraryName = QUORIX_SIGNING_LIBRARY;

// Our own folder first (where the two libraries are shipped together), then
// the dynamic linker's search (quorix's RUNPATH, LD_LIBRARY_PATH, system paths).
void* OpenLibrary() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&OpenLibrary), &info) != 0 && info.dli_fname) {
    std::string path(info.dli_fname);
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos) {
      path.resize(slash + 1);
      path += kLibraryName;
      if (void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return h;
    }
  }
  return dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

void* OpenSigningLibrary(int& error) {
  void* h = OpenLibrary();
  if (h) return h;
  // dlerror's text is the only account of why; errno is not kept.
  const char* why = dlerror();
  const std::string text = why ? why : "";
  error = text.find("No such file") != std::string::npos        ? ENOENT
          : text.find("Cannot allocate") != std::string::npos   ? ENOMEM
          : text.find("failed to map") != std::string::npos     ? ENOMEM
          : text.find("Permission denied") != std::string::npos ? EACCES
                                                                : EINVAL;
  return nullptr;
}

void* FindSigningFunction(void* library, const char* name) { return dlsym(library, name); }

}  // namespace quorix::platform
