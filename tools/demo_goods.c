/* Demo reports of the DAVs issued, the goods in stock and the goods and
 * services table: each opens with its header line, lists its lines and ends
 * with a totals line, and is finished and signed into its own file. */
#include "demo.h"

#define DAY_2024_05_31 45443.0 /* days since 1899-12-30 */
#define DAY_2024_06_03 45446.0

static quorix_text taxpayer_name(void) { return T("Padaria P\xE3o Dourado Ltda"); }

static int open_report(void) {
  return check(
      quorix_InicializarPAF(T("11.222.333/0001-81"), T("110.042.490.114"), T(""), taxpayer_name()),
      "quorix_InicializarPAF");
}

/* A totals line counting the lines of one type already in the report. */
static int totals_line(const char *recordType, const char *countedType) {
  return check(quorix_Totally(T(recordType), T(countedType)), "quorix_Totally");
}

static int dav_report(const char *folder, quorix_text publicKey, quorix_text privateKey) {
  static const struct {
    int coo;
    const char *number, *title;
    double date, total;
  } davs[] = {
      {1021, "2024000117",
       "Or\xE7"
       "amento",
       DAY_2024_05_31, 152.75},
      {1022, "2024000118", "Pedido de venda", DAY_2024_05_31 + 0.6, 1890.00},
      {1025, "2024000119", "Encomenda de bolo", DAY_2024_06_03, 85.40},
  };
  size_t i;
  if (!open_report() || !check(quorix_Header(T("D1")), "quorix_Header")) return 0;
  for (i = 0; i < sizeof davs / sizeof davs[0]; ++i)
    if (!check(quorix_RelacaoDavEmitido(T("D2"), T("BE091010100011223344"), T("A"), T("ECF-IF"),
                                        T("Fabricante X"), T("PX-4000 FI EX"), davs[i].coo,
                                        T(davs[i].number), davs[i].date, T(davs[i].title),
                                        davs[i].total),
               "quorix_RelacaoDavEmitido"))
      return 0;
  return totals_line("D9", "D2") &&
         demo_finish(folder, "quorix-demo-dav.txt", publicKey, privateKey);
}

static int stock_report(const char *folder, quorix_text publicKey, quorix_text privateKey) {
  static const struct {
    const char *code, *description, *unit;
    double quantity;
  } goods[] = {
      {"2000000000024",
       "A\xE7\xFA"
       "car cristal 1kg",
       "PCT", 148},
      {"7896005800027", "Farinha de trigo tipo 1 5kg", "SC", 36.5},
      {"1001", "P\xE3o franc\xEAs", "KG", 12.35},
      {"1002", "Fermento biol\xF3gico fresco", "KG", -1.2}, /* sold before it was entered */
      {"1003", "Sonho de creme", "UN", 0},
  };
  size_t i;
  if (!open_report() || !check(quorix_Header(T("E1")), "quorix_Header")) return 0;
  for (i = 0; i < sizeof goods / sizeof goods[0]; ++i)
    if (!check(quorix_RelacaoMercadoriaEstoque(T("E2"), T(goods[i].code), T(goods[i].description),
                                               T(goods[i].unit), goods[i].quantity, DAY_2024_05_31),
               "quorix_RelacaoMercadoriaEstoque"))
      return 0;
  return totals_line("E9", "E2") &&
         demo_finish(folder, "quorix-demo-stock.txt", publicKey, privateKey);
}

static int goods_services_report(const char *folder, quorix_text publicKey,
                                 quorix_text privateKey) {
  static const struct {
    const char *code, *description, *unit;
    char rounding, production, situation;
    double rate, price;
  } goods[] = {
      {"1001", "P\xE3o franc\xEAs", "KG", 'A', 'P', 'F', 0, 14.90},
      {"1003", "Sonho de creme", "UN", 'T', 'P', 'T', 18, 6.50},
      {"2000000000031", "Refrigerante cola 2l", "UN", 'A', 'T', 'F', 0, 9.99},
      {"2000000000024",
       "A\xE7\xFA"
       "car cristal 1kg",
       "PCT", 'A', 'T', 'T', 7, 5.49},
      {"S01", "Servi\xE7o de entrega", "UN", 'T', 'P', 'S', 5, 8.00},
  };
  size_t i;
  if (!open_report() || !check(quorix_Header(T("P1")), "quorix_Header")) return 0;
  for (i = 0; i < sizeof goods / sizeof goods[0]; ++i)
    if (!check(quorix_RelacaoMercadoriaServicos(
                   T("P2"), T(goods[i].code), T(goods[i].description), T(goods[i].unit),
                   (quorix_slot)(unsigned char)goods[i].rounding,
                   (quorix_slot)(unsigned char)goods[i].production,
                   (quorix_slot)(unsigned char)goods[i].situation, goods[i].rate, goods[i].price),
               "quorix_RelacaoMercadoriaServicos"))
      return 0;
  return totals_line("P9", "P2") &&
         demo_finish(folder, "quorix-demo-goods-services.txt", publicKey, privateKey);
}

int demo_goods_reports(const char *folder, quorix_text publicKey, quorix_text privateKey) {
  return dav_report(folder, publicKey, privateKey) && stock_report(folder, publicKey, privateKey) &&
         goods_services_report(folder, publicKey, privateKey);
}
