#include "bench_support.h"

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace qb {

const Keys& KeyPair() {
  static Keys* keys = [] {
    auto* k = new Keys;
    if (!quorix_GenerateKeys(k->publicKey.out(), k->privateKey.out())) {
      std::fprintf(stderr, "key generation failed\n");
      std::abort();
    }
    return k;
  }();
  return *keys;
}

void OpenReport() {
  Text cnpj("11.222.333/0001-81"), ie("110.042.490.114"), im(""), name("Padaria Exemplo");
  if (!quorix_InicializarPAF(cnpj, ie, im, name)) {
    std::fprintf(stderr, "quorix_InicializarPAF failed\n");
    std::abort();
  }
}

void CloseReport() { quorix_FinalizarPAF(nullptr, nullptr, nullptr, 0); }

namespace {
size_t StatusField(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(in, line))
    if (line.compare(0, key.size(), key) == 0)
      return std::strtoull(line.c_str() + key.size(), nullptr, 10) * 1024;
  return 0;
}
}  // namespace

size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

size_t ResidentBytes() { return StatusField("VmRSS"); }
size_t PeakResidentBytes() { return StatusField("VmHWM"); }

std::string TempFile(const char* name) {
  const char* t = std::getenv("TMPDIR");
  return std::string(t && *t ? t : "/tmp") + "/quorix-bench-" + name;
}

}  // namespace qb
