#include <dlfcn.h>

#include <string>

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "platform/signing_library.h"

namespace quorix::platform {
namespace {

constexpr const char* kLibraryName = "libsign_bema.so";

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

template <class Fn>
void Bind(void* handle, const char* name, Fn& fn) {
  void* p = dlsym(handle, name);
  if (!p) throw Failure(std::string(msg::kSignerFunctionMissing) + name);
  fn = reinterpret_cast<Fn>(p);
}

}  // namespace

const SigningLibrary& Signer() {
  static SigningLibrary library{};
  static bool bound = false;
  if (bound) return library;
  void* handle = OpenLibrary();
  if (!handle) throw Failure(msg::kSignerMissing);
  SigningLibrary candidate{};
  Bind(handle, "genkkey", candidate.genkkey);
  Bind(handle, "generateEAD", candidate.generateEAD);
  Bind(handle, "validateFile", candidate.validateFile);
  library = candidate;
  bound = true;
  return library;
}

}  // namespace quorix::platform
