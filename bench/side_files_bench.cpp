// quorix_GetDataSoftwareHouse on a file of 1,000 auxiliary files and 1,000
// digests: the whole file is parsed once per call and nothing is kept
// between calls. Also the cost of generating such a file, and of one grand
// total read.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

constexpr int kEntries = 1000;

quorix_bool QUORIX_CALL CountClear(void* context, char**) {
  *static_cast<size_t*>(context) = 0;
  return 1;
}
quorix_bool QUORIX_CALL CountAppend(void* context, quorix_text, char**) {
  ++*static_cast<size_t*>(context);
  return 1;
}

bool Generate(const std::string& path) {
  std::vector<qb::Text*> texts;
  auto text = [&](const std::string& s) {
    texts.push_back(new qb::Text(s));
    return static_cast<quorix_text>(*texts.back());
  };
  std::vector<quorix_text> files, digests;
  for (int i = 0; i < kEntries; ++i) {
    files.push_back(text("modulo_auxiliar_" + std::to_string(i) + ".dll"));
    digests.push_back(text("0123456789ABCDEF0123456789" + std::to_string(100000 + i)));
  }
  const quorix_bool ok = quorix_GenerateDataSoftwareHouse(
      text("11.222.333/0001-81"), text("110.042.490.114"), text("12345"),
      text("Software House Exemplo Ltda"), text("Rua das Flores, 100"), text("(11) 5555-1234"),
      text("Contato"), text("Caixa PDV"), text("2.1.0"), text("caixa.exe"),
      text("0123456789abcdef0123456789abcdef"), text("01.06"), text("LAUDO-123"), files.data(),
      kEntries - 1, digests.data(), kEntries - 1, text(path));
  for (qb::Text* t : texts) delete t;
  return ok;
}

void BM_GetDataSoftwareHouse1000x1000(benchmark::State& state) {
  const std::string path = qb::TempFile("house.ini");
  std::remove(path.c_str());
  if (!Generate(path)) std::abort();
  qb::Text file(path);
  size_t files = 0, digests = 0;
  const quorix_string_list fileList{&files, CountClear, CountAppend};
  const quorix_string_list digestList{&digests, CountClear, CountAppend};
  for (auto _ : state) {
    char* out[13] = {};
    if (!quorix_GetDataSoftwareHouse(&out[0], &out[1], &out[2], &out[3], &out[4], &out[5], &out[6],
                                     &out[7], &out[8], &out[9], &out[10], &out[11], &out[12],
                                     &fileList, &digestList, file))
      std::abort();
    for (char* t : out) quorix_text_release(t);
    if (files != kEntries || digests != kEntries) std::abort();
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_GetDataSoftwareHouse1000x1000)->Unit(benchmark::kMillisecond);

void BM_GenerateDataSoftwareHouse1000x1000(benchmark::State& state) {
  const std::string path = qb::TempFile("house-generate.ini");
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(path.c_str());
    state.ResumeTiming();
    if (!Generate(path)) std::abort();
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_GenerateDataSoftwareHouse1000x1000)->Unit(benchmark::kMillisecond);

void BM_GetInfoTotalizadorECF(benchmark::State& state) {
  const std::string path = qb::TempFile("totals.ini");
  std::remove(path.c_str());
  qb::Text file(path), serial("BE0909SC556100001234");
  if (!quorix_UpdateTotalizadorGeralECF(serial, 1234567.89, file)) std::abort();
  double total = 0;
  for (auto _ : state) {
    if (!quorix_GetInfoTotalizadorECF(serial, &total, file)) std::abort();
    benchmark::DoNotOptimize(total);
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_GetInfoTotalizadorECF)->Unit(benchmark::kMicrosecond);

}  // namespace
