// Loads the built shared library the way a host does, by name and at run
// time, to check what the linker settings are there for: the three entries
// under their plain names, and nothing else visible.
#include <gtest/gtest.h>

#include "sign_bema.h"
#include "test_util.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

class Library {
 public:
  Library() {
#ifdef _WIN32
    // The directory of the executable is searched first.
    handle_ = LoadLibraryA(SIGN_BEMA_LIBRARY_NAME);
#else
    const auto dir = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    handle_ = dlopen((dir / SIGN_BEMA_LIBRARY_NAME).c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
  }
  ~Library() {
#ifdef _WIN32
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
#else
    if (handle_ != nullptr) dlclose(handle_);
#endif
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  void* symbol(const char* name) const {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
  }

 private:
  void* handle_ = nullptr;
};

TEST(SharedLibrary, ExportsThePlainNamesOnly) {
  Library lib;
  ASSERT_TRUE(lib.loaded()) << SIGN_BEMA_LIBRARY_NAME;
  for (const char* name : {"genkkey", "generateEAD", "validateFile"}) {
    EXPECT_NE(lib.symbol(name), nullptr) << name;
  }
  const char* hidden[] = {
#ifdef _WIN32
      "genkkey@8",
      "_genkkey@8",
      "generateEAD@20",
      "validateFile@12",
#else
      "_ZN9sign_bema9sign_fileEPKcS1_S1_Pc",
      "_ZN9sign_bema7mod_expEPKhjS1_jS1_jPh",
      "_ZN9sign_bema7mod_expEPKhmS1_mS1_mPh",
#endif
  };
  for (const char* name : hidden) EXPECT_EQ(lib.symbol(name), nullptr) << name;
}

TEST(SharedLibrary, SignsAndValidatesThroughLoadedEntries) {
  Library lib;
  ASSERT_TRUE(lib.loaded());
  const auto gen = reinterpret_cast<sign_bema_genkkey_fn>(lib.symbol("genkkey"));
  const auto sign = reinterpret_cast<sign_bema_generate_ead_fn>(lib.symbol("generateEAD"));
  const auto check = reinterpret_cast<sign_bema_validate_file_fn>(lib.symbol("validateFile"));
  ASSERT_TRUE(gen != nullptr && sign != nullptr && check != nullptr);

  char pub[SIGN_BEMA_KEY_CHARS + 1] = {};
  char priv[SIGN_BEMA_KEY_CHARS + 1] = {};
  char sig[SIGN_BEMA_KEY_CHARS + 1] = {};
  ASSERT_EQ(gen(pub, priv), 1);

  sign_bema_test::TempDir dir;
  const std::string f = (dir / "report.txt").string();
  sign_bema_test::write_file(f, "Z1|report\r\n");
  // A wrong calling convention shows up here as a corrupted stack or a
  // wrong argument, not as a clean failure.
  ASSERT_GT(sign(f.c_str(), pub, priv, sig, SIGN_BEMA_MODE_FILE), 0);
  EXPECT_EQ(sign_bema_test::read_file(f), "Z1|report\r\nEAD" + std::string(sig) + "\r\n");
  EXPECT_EQ(check(f.c_str(), pub, priv), 1);
  sign_bema_test::write_file(f, "Z1|rep0rt\r\nEAD" + std::string(sig) + "\r\n");
  EXPECT_EQ(check(f.c_str(), pub, priv), 0);
}

}  // namespace
