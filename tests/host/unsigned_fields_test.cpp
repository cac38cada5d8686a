// Fields that hold no sign: a negative value that would be written as another
// number is refused, naming the field and its positions; one that rounds to
// zero is written as zeros; a field the builder tests itself keeps its own
// message.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "builder_cases.h"
#include "ecf_documents.h"
#include "expected_messages.h"
#include "side_files_support.h"
#include "support.h"

namespace {

using qt::LastError;
using qt::T;
using qt::ecf::Regionalized;

constexpr double k2008_03_31 = 39538;

quorix_bool Dav(int32_t coo, double total, const char* number = "4567") {
  return quorix_RelacaoDavEmitido(T("D2"), T("SN1"), T("A"), T("ECF-IF"), T("Fabricante X"),
                                  T("PX-4000 FI EX"), coo, T(number), k2008_03_31, T("Pedido"),
                                  total);
}
quorix_bool Goods(double rate, double price) {
  return quorix_RelacaoMercadoriaServicos(T("P2"), T("123"), T("P\xE3o"), T("kg"), 'A', 'P', 'T',
                                          rate, price);
}
quorix_bool ZList(double gross) {
  return quorix_RelacaoReducoesZ(T("E12"), T("SN1"), T("A"), T("PX-4000 FI EX"), T("1"), T("12"),
                                 T("345"), T("6"), k2008_03_31, k2008_03_31, 0.5, gross, T("N"));
}
quorix_bool Coupon(double cancelledIncrease) {
  return quorix_RelacaoCupomFiscal(T("E14"), T("SN1"), T("A"), T("PX-4000 FI EX"), T("1"), T("12"),
                                   T("345"), k2008_03_31, 10, 0, 'V', 0, 'A', 10, 'N',
                                   cancelledIncrease, 'D', T(""), T(""));
}
struct ItemCancelled {
  double quantity = 0, value = 0, increase = 0, netTotal = 4.99;
  int32_t quantityDecimals = 2, unitValueDecimals = 2;
};
quorix_bool Item(const ItemCancelled& c) {
  return quorix_DetalheCupomFiscal(T("E15"), T("SN1"), T("A"), T("PX-4000 FI EX"), T("1"), T("345"),
                                   T("12"), T("1"), T("789"), T("P\xE3o"), 1, T("kg"), 4.99, 0, 0,
                                   c.netTotal, T("T1700"), 'N', c.quantity, c.value, c.increase,
                                   'A', 'T', c.quantityDecimals, c.unitValueDecimals);
}

std::string Refused(const std::string& field, const std::string& value) {
  return Regionalized("\r\nValor negativo em campo sem sinal: " + field + " = #", value);
}

struct Case {
  const char* what;
  std::function<quorix_bool()> call;
  std::string message;  // empty: accepted
};

void NegativesInUnsignedFields() {
  qt::TempDir dir;
  const std::string house = dir.file("house.ini");
  ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), house)) << LastError();
  const auto anexo = [&](int32_t order) {
    return quorix_HeaderAnexoVI(T("E01"), T("SN1"), T("A"), T("ECF-IF"), T("Fabricante X"),
                                T("PX-4000 FI EX"), T("01.00.01"), 0, 0, order, T(house),
                                k2008_03_31, k2008_03_31, T("0107"));
  };
  const Case cases[] = {
      {"DAV total", [] { return Dav(1, -152.75); },
       Refused("valor total do DAV (posi\xE7\xF5"
               "es 142-149)",
               "-152,75")},
      {"DAV COO", [] { return Dav(-5, 1); },
       Refused("COO (posi\xE7\xF5"
               "es 85-90)",
               "-5")},
      {"goods tax rate", [] { return Goods(-7.5, 1); },
       Refused("al\xEDquota (posi\xE7\xF5"
               "es 90-93)",
               "-7,50")},
      {"goods price", [] { return Goods(18, -1.5); },
       Refused("pre\xE7o unit\xE1rio (posi\xE7\xF5"
               "es 94-105)",
               "-1,50")},
      {"Reduction Z gross sales", [] { return ZList(-1234.5); },
       Refused("venda bruta di\xE1ria (posi\xE7\xF5"
               "es 87-100)",
               "-1.234,50")},
      {"coupon cancelled increase", [] { return Coupon(-12.5); },
       Refused("acr\xE9scimo cancelado (posi\xE7\xF5"
               "es 124-136)",
               "-12,50")},
      {"item cancelled quantity",
       [] {
         return Item({-1, 0, 0});
       },
       Refused("quantidade cancelada (posi\xE7\xF5"
               "es 232-238)",
               "-1,00")},
      {"item cancelled value",
       [] {
         return Item({0, -0.01, 0});
       },
       Refused("valor cancelado (posi\xE7\xF5"
               "es 239-251)",
               "-0,01")},
      {"item cancelled increase",
       [] {
         return Item({0, 0, -2});
       },
       Refused("acr\xE9scimo cancelado (posi\xE7\xF5"
               "es 252-264)",
               "-2,00")},
      {"item decimals of the quantity",
       [] {
         return Item({0, 0, 0, 4.99, -1});
       },
       Refused("casas decimais da quantidade (posi\xE7\xE3o 267)", "-1")},
      {"item decimals of the unit value",
       [] {
         return Item({0, 0, 0, 4.99, 2, -1});
       },
       Refused("casas decimais do valor unit\xE1rio (posi\xE7\xE3o 268)", "-1")},
      // A value below zero that rounds to zero is the number zero; the success
      // also empties the message that the Anexo VI block, without an entry
      // clear, would chain to.
      {"DAV total rounding to zero", [] { return Dav(1, -0.004); }, ""},
      {"Anexo VI order number", [&] { return anexo(-5); },
       Refused("n\xFAmero de ordem do ECF (posi\xE7\xF5"
               "es 96-98)",
               "-5")},
      // The builders' own checks come first.
      {"DAV number before the total", [] { return Dav(1, -1, " "); }, qt::msg::kDavNumber},
      {"item values before the cancelled value",
       [] {
         return Item({0, -1, 0, -1});
       },
       Regionalized(qt::msg::kItemValuesShown, "4,99|0,00|0,00|-1,00")},
      {"item cancelled value rounding to zero",
       [] {
         return Item({0, -0.001, 0});
       },
       ""},
  };
  qt::OpenSampleReport();
  size_t accepted = 0;
  for (const Case& c : cases) {
    const bool expected = c.message.empty();
    EXPECT_EQ(expected ? 1 : 0, c.call()) << c.what;
    EXPECT_EQ(c.message, LastError()) << c.what;
    accepted += expected;
  }
  const auto lines = qt::FinishedLines();
  ASSERT_EQ(accepted, lines.size());
  EXPECT_EQ("00000000", lines[0].substr(141, 8));
  EXPECT_EQ(std::string(13, '0'), lines[1].substr(238, 13));
}

QUORIX_TEST_IN_EVERY_REGIONAL(NegativesInUnsignedFields, NegativesInUnsignedFields)

}  // namespace
