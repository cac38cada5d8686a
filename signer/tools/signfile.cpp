// Command-line front end to sign_bema, for scripts and for checking one
// build's files against the other's.
#include <cstdio>
#include <cstring>
#include <string>

#include "sign_bema.h"

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int usage() {
  std::fputs(
      "usage: signfile genkey <pubfile> <privfile>\n"
      "       signfile sign <pubfile> <privfile> <file>\n"
      "       signfile validate <pubfile> <privfile> <file>\n"
      "exit status: 0 done / valid, 1 failed / invalid, 2 bad usage\n",
      stderr);
  return kUsage;
}

// Key files are written without a line end, but one added by an editor is
// tolerated.
bool read_key(const char* path, std::string& key) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) {
    std::fprintf(stderr, "signfile: cannot read %s\n", path);
    return false;
  }
  char buf[1024];
  const std::size_t n = std::fread(buf, 1, sizeof buf, f);
  std::fclose(f);
  key.assign(buf, n);
  while (!key.empty() && std::strchr(" \t\r\n", key.back()) != nullptr) key.pop_back();
  return true;
}

bool write_key(const char* path, const char* key) {
  std::FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(key, 1, SIGN_BEMA_KEY_CHARS, f) == SIGN_BEMA_KEY_CHARS;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string cmd = argv[1];

  if (cmd == "genkey" && argc == 4) {
    char pub[SIGN_BEMA_KEY_CHARS + 1] = {};
    char priv[SIGN_BEMA_KEY_CHARS + 1] = {};
    if (genkkey(pub, priv) != 1) {
      std::fputs("signfile: key generation failed\n", stderr);
      return kFailed;
    }
    if (!write_key(argv[2], pub) || !write_key(argv[3], priv)) {
      std::fputs("signfile: cannot write the key files\n", stderr);
      return kFailed;
    }
    return kOk;
  }

  if ((cmd == "sign" || cmd == "validate") && argc == 5) {
    std::string pub, priv;
    if (!read_key(argv[2], pub) || !read_key(argv[3], priv)) return kFailed;
    if (cmd == "validate") {
      const bool valid = validateFile(argv[4], pub.c_str(), priv.c_str()) == 1;
      std::puts(valid ? "valid" : "invalid");
      return valid ? kOk : kFailed;
    }
    char signature[SIGN_BEMA_KEY_CHARS + 1] = {};
    if (generateEAD(argv[4], pub.c_str(), priv.c_str(), signature, SIGN_BEMA_MODE_FILE) <= 0) {
      std::fprintf(stderr, "signfile: cannot sign %s\n", argv[4]);
      return kFailed;
    }
    std::puts(signature);
    return kOk;
  }

  return usage();
}
