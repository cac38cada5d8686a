// The reader of report files on a signed report of 1,000,000 lines built
// through the exports: lines per second for reading and checking every field.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "UPAF/report_reader.h"
#include "bench_support.h"

namespace {

constexpr int kStockLines = 999998;  // with the header, the totals and the EAD: 1,000,001

std::string SignedReport() {
  const auto& keys = qb::KeyPair();
  const std::string path = qb::TempFile("reader.txt");
  qb::OpenReport();
  if (!quorix_Header(qb::Text("E1"))) std::abort();
  qb::Text type("E2"), code("1001"), description("P\xE3o franc\xEAs"), unit("KG");
  for (int i = 0; i < kStockLines; ++i)
    if (!quorix_RelacaoMercadoriaEstoque(type, code, description, unit, 12.35 + i, 45443))
      std::abort();
  if (!quorix_Totally(qb::Text("E9"), qb::Text("E2"))) std::abort();
  if (!quorix_FinalizarPAF(keys.publicKey, keys.privateKey, qb::Text(path), 0)) std::abort();
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  std::remove(path.c_str());
  return bytes.str();
}

void BM_ReadAndCheck1MLines(benchmark::State& state) {
  const std::string file = SignedReport();
  size_t lines = 0;
  for (auto _ : state) {
    const auto reading = quorix::upaf::reader::Read(file);
    if (!reading.findings.empty()) std::abort();  // a sound file
    lines = reading.lines.size();
    benchmark::DoNotOptimize(reading.lines.data());
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["lines_per_s"] =
      benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadAndCheck1MLines)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
