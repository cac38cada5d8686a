// A stock report of 200,000 products built through the exported entry and
// finished (written and signed), with the heap its lines hold against their
// bytes; and the per-call rate of the DAV, stock and goods and services lines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

constexpr int kProducts = 200000;
constexpr size_t kStockLineBytes = 103;
constexpr double kStockDate = 45443;  // 2024-05-31

// The host's product data, made once: distinct codes and descriptions.
struct Products {
  std::vector<std::unique_ptr<qb::Text>> codes, descriptions;
  std::vector<double> quantities;
  Products() {
    codes.reserve(kProducts);
    descriptions.reserve(kProducts);
    char buf[64];
    for (int i = 0; i < kProducts; ++i) {
      std::snprintf(buf, sizeof buf, "789%010d", i);
      codes.push_back(std::make_unique<qb::Text>(buf));
      std::snprintf(buf, sizeof buf, "Produto de teste n\xFAmero %d, embalagem %d", i, i % 12);
      descriptions.push_back(std::make_unique<qb::Text>(buf));
      quantities.push_back((i % 7 == 0 ? -1 : 1) * (i % 100000) / 100.0);
    }
  }
};
const Products& TheProducts() {
  static const Products* p = new Products;
  return *p;
}

void AppendStockLines(const Products& p) {
  qb::Text type("E2"), unit("UN");
  for (int i = 0; i < kProducts; ++i)
    if (!quorix_RelacaoMercadoriaEstoque(type, *p.codes[i], *p.descriptions[i], unit,
                                         p.quantities[i], kStockDate))
      std::abort();
}

// Open, header, 200,000 stock lines, finish: what a host waits for.
void BM_StockReport200kBuiltAndFinished(benchmark::State& state) {
  const auto& keys = qb::KeyPair();
  const Products& products = TheProducts();
  const std::string path = qb::TempFile("stock.txt");
  qb::Text file(path), header("E1");
  for (auto _ : state) {
    qb::OpenReport();
    if (!quorix_Header(header)) std::abort();
    AppendStockLines(products);
    if (!quorix_FinalizarPAF(keys.publicKey, keys.privateKey, file, 0)) std::abort();
  }
  std::remove(path.c_str());
  state.counters["lines/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * (kProducts + 1), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StockReport200kBuiltAndFinished)->Iterations(5)->Unit(benchmark::kMillisecond);

// Heap held by the open report after the 200,000 stock lines.
void BM_StockReportMemory(benchmark::State& state) {
  const Products& products = TheProducts();
  qb::ReportHeap(state, kProducts, kStockLineBytes, [&] { AppendStockLines(products); });
}
BENCHMARK(BM_StockReportMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_DavIssuedThroughExport(benchmark::State& state) {
  qb::Text type("D2"), serial("BE091010100011223344"), mf("A"), ecf("ECF-IF"),
      brand("Fabricante X"), model("PX-4000 FI EX"), number("2024000117"), title("Pedido de venda");
  qb::LinesThroughExport(state, [&] {
    return quorix_RelacaoDavEmitido(type, serial, mf, ecf, brand, model, 1021, number, kStockDate,
                                    title, 1890.0);
  });
}
BENCHMARK(BM_DavIssuedThroughExport);

void BM_StockThroughExport(benchmark::State& state) {
  qb::Text type("E2"), code("2000000000024"),
      description(
          "A\xE7\xFA"
          "car cristal 1kg"),
      unit("PCT");
  qb::LinesThroughExport(state, [&] {
    return quorix_RelacaoMercadoriaEstoque(type, code, description, unit, -12.5, kStockDate);
  });
}
BENCHMARK(BM_StockThroughExport);

void BM_GoodsAndServicesThroughExport(benchmark::State& state) {
  qb::Text type("P2"), code("2000000000024"),
      description(
          "A\xE7\xFA"
          "car cristal 1kg"),
      unit("PCT");
  qb::LinesThroughExport(state, [&] {
    return quorix_RelacaoMercadoriaServicos(type, code, description, unit, 'A', 'T', 'T', 7, 5.49);
  });
}
BENCHMARK(BM_GoodsAndServicesThroughExport);

}  // namespace
