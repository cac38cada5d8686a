// Shared pieces of the benchmarks: host texts, a key pair, peak memory.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host_text.h"
#include "quorix.h"

namespace qb {

struct Keys {
  Text publicKey{""}, privateKey{""};
};
const Keys& KeyPair();

// Opens a report for a sample taxpayer (aborts when that fails).
void OpenReport();
// Closes any open report without writing.
void CloseReport();

// The process's resident memory now and at its peak, in bytes.
size_t ResidentBytes();
size_t PeakResidentBytes();

std::string TempFile(const char* name);

// Bytes the C heap holds for the process (in-use arena plus mapped blocks).
size_t HeapInUse();

// Times `call` (one report line through an exported entry) per iteration in an
// open report that is reopened every 2^20 lines, so memory stays bounded; a
// refused call aborts, since timing failures would measure nothing.
template <class Call>
void LinesThroughExport(benchmark::State& state, Call call) {
  OpenReport();
  int64_t inReport = 0;
  for (auto _ : state) {
    if (!call()) std::abort();
    if (++inReport == (int64_t{1} << 20)) {
      state.PauseTiming();
      CloseReport();
      OpenReport();
      inReport = 0;
      state.ResumeTiming();
    }
  }
  CloseReport();
  state.counters["lines/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Heap that an open report holds after `append` put `lines` lines of
// `lineBytes` characters into it, against those bytes.
template <class Append>
void ReportHeap(benchmark::State& state, size_t lines, size_t lineBytes, Append append) {
  for (auto _ : state) {
    state.PauseTiming();
    const size_t before = HeapInUse();
    state.ResumeTiming();
    OpenReport();
    append();
    state.PauseTiming();
    const size_t held = HeapInUse() - before;
    state.counters["heap_MB"] = static_cast<double>(held) / 1e6;
    state.counters["x_line_bytes"] =
        static_cast<double>(held) / static_cast<double>(lines * lineBytes);
    CloseReport();
    state.ResumeTiming();
  }
}

}  // namespace qb
