// Coupon lines and their item lines through the exported entries, as a host
// appends them: the item line is the widest (25 arguments, 268 characters)
// and the most frequent line of a report.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_support.h"

namespace {

void BM_DetalheCupomFiscalThroughExport(benchmark::State& state) {
  qb::Text type("E15"), serial("BE091010100011223344"), mf("A"), model("PX-2100 FI EX"), user("1"),
      coo("4567"), ccf("123"), item("12"), code("2000000000024"),
      description(
          "A\xE7\xFA"
          "car refinado pacote 1kg"),
      unit("kg"), totalizer("T1700");
  double quantity = 2.25;
  qb::LinesThroughExport(state, [&] {
    quantity += 0.001;  // a different value each call
    return quorix_DetalheCupomFiscal(
        type, serial, mf, model, user, coo, ccf, item, code, description, quantity, unit, 4.99,
        0.23, 0.1, quantity * 4.99 - 0.13, totalizer, 'N', 0, 0, 0, 'A', 'T', 3, 2);
  });
}
BENCHMARK(BM_DetalheCupomFiscalThroughExport);

void BM_RelacaoCupomFiscalThroughExport(benchmark::State& state) {
  qb::Text type("E14"), serial("BE091010100011223344"), mf("A"), model("PX-2100 FI EX"), user("1"),
      ccf("123"), coo("4567"), name("Jos\xE9 da Silva"), id("529.982.247-25");
  double subtotal = 100.5;
  qb::LinesThroughExport(state, [&] {
    subtotal += 0.01;
    return quorix_RelacaoCupomFiscal(type, serial, mf, model, user, ccf, coo, 39508.0, subtotal,
                                     0.5, 'V', 1.25, 'A', subtotal + 0.75, 'N', 0, 'D', name, id);
  });
}
BENCHMARK(BM_RelacaoCupomFiscalThroughExport);

}  // namespace
