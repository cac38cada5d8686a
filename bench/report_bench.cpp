// The identification header through the exported entry, and finishing a
// report of 1,000,000 lines against the floor of writing the same bytes and
// taking their MD5.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench_support.h"

namespace {

constexpr int kLines = 1000000;
constexpr size_t kLineBytes = 94;

void AppendHeaders(int count) {
  qb::Text type("E1");
  for (int i = 0; i < count; ++i)
    if (!quorix_Header(type)) std::abort();
}

void BM_HeaderThroughExport(benchmark::State& state) {
  qb::Text type("E1");
  qb::LinesThroughExport(state, [&] { return quorix_Header(type); });
}
BENCHMARK(BM_HeaderThroughExport);

// Heap held by the report buffer for 1,000,000 header lines, against the
// bytes of those lines.
void BM_ReportBufferMemory(benchmark::State& state) {
  qb::ReportHeap(state, kLines, kLineBytes, [] { AppendHeaders(kLines); });
}
BENCHMARK(BM_ReportBufferMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Finish1MLines(benchmark::State& state) {
  const auto& keys = qb::KeyPair();
  const std::string path = qb::TempFile("finish.txt");
  qb::Text file(path);
  for (auto _ : state) {
    state.PauseTiming();
    qb::OpenReport();
    AppendHeaders(kLines);
    state.ResumeTiming();
    if (!quorix_FinalizarPAF(keys.publicKey, keys.privateKey, file, 0)) std::abort();
  }
  std::remove(path.c_str());
  state.counters["peak_RSS_MB"] = static_cast<double>(qb::PeakResidentBytes()) / 1e6;
}
BENCHMARK(BM_Finish1MLines)->Iterations(3)->Unit(benchmark::kMillisecond);

// The floor: the same 96,000,000 bytes written to a file, then their MD5.
void BM_WriteAndMd5SameBytes(benchmark::State& state) {
  std::string line(kLineBytes, 'E');
  line += "\r\n";
  std::string bytes;
  bytes.reserve(line.size() * kLines);
  for (int i = 0; i < kLines; ++i) bytes += line;
  const std::string path = qb::TempFile("floor.txt");
  for (auto _ : state) {
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    unsigned char digest[16];
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_md5(), nullptr);
    benchmark::DoNotOptimize(digest);
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_WriteAndMd5SameBytes)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
