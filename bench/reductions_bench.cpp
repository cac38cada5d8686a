// The totals line over a report of 1,000,000 lines: one call scans the whole
// buffer's line index and the first bytes of every line.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_support.h"

namespace {

constexpr int kLines = 1000000;

void BM_TotallyOver1MLines(benchmark::State& state) {
  qb::OpenReport();
  {
    // Two types in equal parts, so that the count (500,000) fits its field.
    qb::Text e1("E1"), e2("E2");
    for (int i = 0; i < kLines; ++i)
      if (!quorix_Header(i % 2 ? e2 : e1)) std::abort();
  }
  qb::Text totalsType("E9"), counted("E1");
  for (auto _ : state)
    if (!quorix_Totally(totalsType, counted)) std::abort();
  qb::CloseReport();
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kLines,
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TotallyOver1MLines)->Unit(benchmark::kMillisecond);

void BM_ReductionZListThroughExport(benchmark::State& state) {
  qb::Text type("R02"), serial("BE050810100000012345"), mf("A"), model("PX-2100 FI EX"), user("1"),
      crz("123"), coo("4567"), cro("2"), flag("N");
  qb::LinesThroughExport(state, [&] {
    return quorix_RelacaoReducoesZ(type, serial, mf, model, user, crz, coo, cro, 39508, 39509, 0.5,
                                   1234.56, flag);
  });
}
BENCHMARK(BM_ReductionZListThroughExport);

void BM_DailyMovementThroughExport(benchmark::State& state) {
  qb::Text type("E14"), longCode("CODIGO1"), shortCode("2D"), first("1"), second("22"),
      serial("BE050810100000012345"), third("333"), fourChars("ABCD");
  qb::LinesThroughExport(state, [&] {
    return quorix_RelacaoMovimentoDiario(type, 39508, longCode, shortCode, first, second, serial,
                                         third, fourChars, 1000, 800, 18, 144, 150, 50);
  });
}
BENCHMARK(BM_DailyMovementThroughExport);

}  // namespace
