// The DAV issued, goods in stock and goods and services lines, driven through
// the exported entries: exact lines, messages in their order, and what the
// report holds afterwards (read back from the finished file).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "builder_cases.h"
#include "expected_messages.h"
#include "support.h"

namespace {

using namespace qt;
using namespace qt::msg;

constexpr double k2008_03_31 = 39538;

std::string Pad(std::string s, size_t width) {
  s.resize(width, ' ');
  return s;
}

// The builders' arguments, valid by default; a case changes what it tests.
struct Dav {
  std::string type = "D2", serial = "BE0123456789", mf = "a", ecfType = "ECF-IF",
              brand = "Fabricante X", model = "PX-4000 FI EX";
  int32_t coo = 123;
  std::string number = "4567";
  double date = k2008_03_31 + 0.75;
  std::string title =
      "Or\xE7"
      "amento n\xBA 7";
  double total = 1234.5;

  unsigned char Call() const {
    return quorix_RelacaoDavEmitido(T(type), T(serial), T(mf), T(ecfType), T(brand), T(model), coo,
                                    T(number), date, T(title), total);
  }
  static std::vector<std::string> Pieces() {
    return {"D2",
            qt::kCnpjDigits,
            Pad("BE0123456789", 20),
            "A",
            "ECF-IF ",
            Pad("FABRICANTE X", 20),
            Pad("PX-4000 FI EX", 20),
            "000123",
            "0000000004567",
            "20080331",
            Pad("ORCAMENTO N  7", 30),
            "00123450"};
  }
  enum { kSerial = 2, kMf, kEcfType, kBrand, kModel, kCoo, kNumber, kDate, kTitle, kTotal };
  static constexpr size_t kLength = 149;
  void BreakEveryField() {
    number = " ";
    date = 0;
  }
};

struct Stock {
  std::string type = "E2", code = "2000000000024",
              description =
                  "A\xE7\xFA"
                  "car cristal 1kg",
              unit = "pct";
  double quantity = 12.5;
  double date = k2008_03_31;

  unsigned char Call() const {
    return quorix_RelacaoMercadoriaEstoque(T(type), T(code), T(description), T(unit), quantity,
                                           date);
  }
  static std::vector<std::string> Pieces() {
    return {"E2",     qt::kCnpjDigits, "02000000000024", Pad("ACUCAR CRISTAL 1KG", 50),
            "PCT   ", "000001250",     "20080331"};
  }
  enum { kCode = 2, kDescription, kUnit, kQuantity, kDate };
  static constexpr size_t kLength = 103;
  void BreakEveryField() {
    code = description = unit = "";
    date = 0;
  }
};

struct Goods {
  std::string type = "P2", code = "ABC-123", description = "P\xE3o franc\xEAs", unit = "kg";
  quorix_slot rounding = 'A', production = 'P', situation = 'T';
  double rate = 18, price = 1.5;

  unsigned char Call() const {
    return quorix_RelacaoMercadoriaServicos(T(type), T(code), T(description), T(unit), rounding,
                                            production, situation, rate, price);
  }
  static std::vector<std::string> Pieces() {
    return {"P2", qt::kCnpjDigits, "0000000ABC-123", Pad("PAO FRANCES", 50), "KG    ", "A", "P",
            "T",  "1800",          "000000000150"};
  }
  enum { kCode = 2, kDescription, kUnit, kRounding, kProduction, kSituation, kRate, kPrice };
  static constexpr size_t kLength = 105;
  void BreakEveryField() {
    code = description = unit = "\t";
    rounding = production = situation = 'x';
  }
};

template <class B>
std::string DefaultLine() {
  std::string line;
  for (const auto& p : B::Pieces()) line += p;
  return line;
}

// One field rendered differently from the default line. When the line then
// has the wrong length the call must fail with the layout message instead.
template <class B>
struct FieldCase {
  const char* what;
  std::function<void(B&)> change;
  int field;
  std::string rendered;
};

class DavGoods : public qt::OpenReport {
 protected:
  template <class B>
  void Run(const std::vector<FieldCase<B>>& fields, const std::vector<RefusalCase<B>>& refusals) {
    std::vector<std::string> appended;
    for (const auto& c : fields) {
      B b;
      c.change(b);
      auto pieces = B::Pieces();
      pieces[c.field] = c.rendered;
      std::string line;
      for (const auto& p : pieces) line += p;
      // A message left by the call before must not survive either outcome.
      LeaveAnOlderMessage();
      if (line.size() == B::kLength) {
        EXPECT_EQ(1, b.Call()) << c.what << ": " << LastError();
        EXPECT_EQ("", LastError()) << c.what;
        appended.push_back(line);
      } else {
        EXPECT_EQ(0, b.Call()) << c.what;
        EXPECT_EQ(kLayout + line, LastError()) << c.what;
      }
    }
    qt::ExpectRefusals<B>(refusals);
    EXPECT_EQ(appended, FinishedLines());
  }
};

TEST_F(DavGoods, DefaultLinesAreExact) {
  EXPECT_EQ(1, Dav().Call()) << LastError();
  EXPECT_EQ(1, Stock().Call()) << LastError();
  EXPECT_EQ(1, Goods().Call()) << LastError();
  // clang-format off
  const std::vector<std::string> expected = {
      "D2" "11222333000181" "BE0123456789        " "A" "ECF-IF " "FABRICANTE X        "
          "PX-4000 FI EX       " "000123" "0000000004567" "20080331"
          "ORCAMENTO N  7                " "00123450",
      "E2" "11222333000181" "02000000000024" "ACUCAR CRISTAL 1KG" + std::string(32, ' ') +
          "PCT   " "000001250" "20080331",
      "P2" "11222333000181" "0000000ABC-123" "PAO FRANCES" + std::string(39, ' ') +
          "KG    " "APT" "1800" "000000000150",
  };
  // clang-format on
  const auto lines = FinishedLines();
  EXPECT_EQ(expected, lines);
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ(149u, lines[0].size());
  EXPECT_EQ(103u, lines[1].size());
  EXPECT_EQ(105u, lines[2].size());
  EXPECT_EQ(DefaultLine<Dav>(), lines[0]);
  EXPECT_EQ(DefaultLine<Stock>(), lines[1]);
  EXPECT_EQ(DefaultLine<Goods>(), lines[2]);
}

// What the three builders share: the frame's steps in their order, the entry
// clear, and a report left unchanged by every failure.
struct BuilderCase {
  const char* name;
  unsigned char (*call)(const std::string& type);
  unsigned char (*callWithBadFields)();
  std::string fieldMessage;  // the first field check's message
  std::string line;          // the line of a valid call with type "D2"
};

template <class B>
unsigned char CallWithType(const std::string& type) {
  B b;
  b.type = type;
  return b.Call();
}

template <class B>
unsigned char CallWithEveryFieldBad() {
  B b;
  b.BreakEveryField();
  return b.Call();
}

template <class B>
BuilderCase Builder(const char* name, const std::string& fieldMessage) {
  return {name, CallWithType<B>, CallWithEveryFieldBad<B>, fieldMessage,
          "D2" + DefaultLine<B>().substr(2)};
}

std::vector<BuilderCase> Builders() {
  return {Builder<Dav>("RelacaoDavEmitido", kDavNumber),
          Builder<Stock>("RelacaoMercadoriaEstoque", kBadProductCode),
          Builder<Goods>("RelacaoMercadoriaServicos", kBadProductCode)};
}

TEST_F(DavGoods, FrameStepsRunInOrderAndClearTheMessage) {
  std::vector<std::string> appended;
  for (const auto& b : Builders()) {
    for (const char* type : {"", "   ", "D", "D22", "\tD", "D\xE7x"}) {
      EXPECT_EQ(0, b.call(type)) << b.name << " [" << type << "]";
      EXPECT_EQ(kBadType + type, LastError()) << b.name;
    }
    // Blanks around a good type pass the type check; the line is built with them.
    EXPECT_EQ(0, b.call(" D2")) << b.name;
    EXPECT_EQ(kLayout + " " + b.line, LastError()) << b.name;
    EXPECT_EQ(0, b.call("D2 ")) << b.name;
    EXPECT_EQ(kLayout + "D2 " + b.line.substr(2), LastError()) << b.name;

    // The first field check's own message, with nothing chained before it.
    LeaveAnOlderMessage();
    EXPECT_EQ(0, b.callWithBadFields()) << b.name;
    EXPECT_EQ(b.fieldMessage, LastError()) << b.name;

    // Success empties an older message.
    EXPECT_EQ(1, b.call("D2")) << b.name << ": " << LastError();
    EXPECT_EQ("", LastError()) << b.name;
    appended.push_back(b.line);
  }
  EXPECT_EQ(appended, FinishedLines());

  // Closed report: the type is checked before the taxpayer, the taxpayer
  // before the fields.
  for (const auto& b : Builders()) {
    EXPECT_EQ(0, b.call("D")) << b.name;
    EXPECT_EQ(kBadType + "D", LastError()) << b.name;
    EXPECT_EQ(0, b.callWithBadFields()) << b.name;
    EXPECT_EQ(kNoTaxpayer, LastError()) << b.name;
    EXPECT_EQ(0, b.call("D2")) << b.name;
    EXPECT_EQ(kNoTaxpayer, LastError()) << b.name;
  }
}

TEST_F(DavGoods, ATaxpayerIdentifiedByCpfIsAccepted) {
  qt::CloseAnyReport();
  ASSERT_EQ(1, quorix_InicializarPAF(T(qt::kCpf), nullptr, nullptr, T("Loja")));
  EXPECT_EQ(1, Dav().Call()) << LastError();
  EXPECT_EQ(1, Stock().Call()) << LastError();
  EXPECT_EQ(1, Goods().Call()) << LastError();
  const auto lines = FinishedLines();
  ASSERT_EQ(3u, lines.size());
  for (const auto& line : lines) EXPECT_EQ("00052998224725", line.substr(2, 14)) << line;
}

TEST_F(DavGoods, DavFieldsAndRefusals) {
  using B = Dav;
  const std::string fourteen = "12345678901234";
  Run<B>(
      {
          {"blank serial", [](B& b) { b.serial = "   "; }, B::kSerial, Pad("", 20)},
          {"serial cut, folded", [](B& b) { b.serial = " s\xE9rie-0123456789abcdefgh"; },
           B::kSerial, "SERIE-0123456789ABCD"},
          {"no MF letter", [](B& b) { b.mf = ""; }, B::kMf, " "},
          {"MF letter cut", [](B& b) { b.mf = "xyz"; }, B::kMf, "X"},
          {"ECF type cut", [](B& b) { b.ecfType = "abcdefghij"; }, B::kEcfType, "ABCDEFG"},
          {"brand", [](B& b) { b.brand = "Marca \xFCnica?"; }, B::kBrand, Pad("MARCA UNICA", 20)},
          {"model", [](B& b) { b.model = "a+b=c"; }, B::kModel, Pad("A+B=C", 20)},
          {"coo zero", [](B& b) { b.coo = 0; }, B::kCoo, "000000"},
          {"coo largest", [](B& b) { b.coo = 999999; }, B::kCoo, "999999"},
          {"coo too long", [](B& b) { b.coo = 1234567; }, B::kCoo, "1234567"},
          {"number as passed", [](B& b) { b.number = "ab-1 2"; }, B::kNumber, "0000000ab-1 2"},
          {"number with blanks", [](B& b) { b.number = " 12 "; }, B::kNumber, "000000000 12 "},
          {"number full", [](B& b) { b.number = "1234567890123"; }, B::kNumber, "1234567890123"},
          {"number too long", [=](B& b) { b.number = fourteen; }, B::kNumber, fourteen},
          {"date part only", [](B& b) { b.date = k2008_03_31 + 0.999999; }, B::kDate, "20080331"},
          {"date just above zero", [](B& b) { b.date = 1e-9; }, B::kDate, "18991230"},
          {"last date", [](B& b) { b.date = 2958465.5; }, B::kDate, "99991231"},
          {"title cut", [](B& b) { b.title = "abcdefghijklmnopqrstuvwxyz0123456789"; }, B::kTitle,
           "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"},
          {"empty title", [](B& b) { b.title = ""; }, B::kTitle, Pad("", 30)},
          {"total zero", [](B& b) { b.total = 0; }, B::kTotal, "00000000"},
          {"total below zero rounding to zero", [](B& b) { b.total = -0.004; }, B::kTotal,
           "00000000"},
          {"total rounds half up", [](B& b) { b.total = 0.005; }, B::kTotal, "00000001"},
          {"exact half away from zero", [](B& b) { b.total = 0.125; }, B::kTotal, "00000013"},
          {"largest total", [](B& b) { b.total = 999999.994; }, B::kTotal, "99999999"},
          {"total rounds too long", [](B& b) { b.total = 999999.996; }, B::kTotal, "100000000"},
          {"total too long", [](B& b) { b.total = 1000000; }, B::kTotal, "100000000"},
      },
      {
          {"coo negative", [](B& b) { b.coo = -5; }, kNegativeCoo + "-5"},
          {"coo lowest", [](B& b) { b.coo = INT32_MIN; }, kNegativeCoo + "-2147483648"},
          {"empty number", [](B& b) { b.number = ""; }, kDavNumber},
          {"blank number", [](B& b) { b.number = " \t\r\n "; }, kDavNumber},
          {"number with CR LF inside", [](B& b) { b.number = "12\r\n34"; }, kDavNumber},
          {"number ending in LF", [](B& b) { b.number = "1234\n"; }, kDavNumber},
          {"date zero", [](B& b) { b.date = 0; }, kDavDate},
          {"date negative zero", [](B& b) { b.date = -0.0; }, kDavDate},
          {"date negative", [](B& b) { b.date = -1; }, kDavDate},
          {"date not a number", [](B& b) { b.date = kNaN; }, kDavDate},
          {"number before date",
           [](B& b) {
             b.number = "";
             b.date = kNaN;
           },
           kDavNumber},
          {"date infinite", [](B& b) { b.date = kInf; }, kNotANumber},
          {"date after 9999", [](B& b) { b.date = 2958466; }, kDateOutOfRange},
          {"total not a number", [](B& b) { b.total = kNaN; }, kNotANumber},
          {"total infinite", [](B& b) { b.total = kInf; }, kNotANumber},
          {"total minus infinite", [](B& b) { b.total = -kInf; }, kNotANumber},
          {"bad type before all",
           [](B& b) {
             b.type = "D";
             b.number = "";
           },
           kBadType + "D"},
      });
}

TEST_F(DavGoods, StockFieldsAndRefusals) {
  using B = Stock;
  Run<B>(
      {
          {"quantity zero", [](B& b) { b.quantity = 0; }, B::kQuantity, "000000000"},
          {"negative zero is zero", [](B& b) { b.quantity = -0.0; }, B::kQuantity, "000000000"},
          {"negative", [](B& b) { b.quantity = -12.5; }, B::kQuantity, "-00001250"},
          {"below zero, rounds to zero", [](B& b) { b.quantity = -0.001; }, B::kQuantity,
           "-00000000"},
          {"tiny below zero", [](B& b) { b.quantity = -1e-300; }, B::kQuantity, "-00000000"},
          {"negative rounds away", [](B& b) { b.quantity = -0.005; }, B::kQuantity, "-00000001"},
          {"negative exact half", [](B& b) { b.quantity = -0.125; }, B::kQuantity, "-00000013"},
          {"rounds to zero", [](B& b) { b.quantity = 0.004; }, B::kQuantity, "000000000"},
          {"thousands", [](B& b) { b.quantity = 1234567.891; }, B::kQuantity, "123456789"},
          {"largest", [](B& b) { b.quantity = 9999999.99; }, B::kQuantity, "999999999"},
          {"one digit too many", [](B& b) { b.quantity = 9999999.996; }, B::kQuantity,
           "1000000000"},
          {"most negative", [](B& b) { b.quantity = -999999.99; }, B::kQuantity, "-99999999"},
          {"negative one digit too many", [](B& b) { b.quantity = -1000000; }, B::kQuantity,
           "-100000000"},
          {"date before day zero", [](B& b) { b.date = -1; }, B::kDate, "18991229"},
          {"day zero at noon", [](B& b) { b.date = 0.5; }, B::kDate, "18991230"},
          {"before day zero, time part", [](B& b) { b.date = -0.5; }, B::kDate, "18991230"},
          {"first date", [](B& b) { b.date = -693593; }, B::kDate, "00010101"},
          {"code as passed", [](B& b) { b.code = "ab c-1"; }, B::kCode, "00000000ab c-1"},
          {"code with blanks", [](B& b) { b.code = " 7 "; }, B::kCode, "00000000000 7 "},
          {"code too long", [](B& b) { b.code = "123456789012345"; }, B::kCode, "123456789012345"},
          {"description cut", [](B& b) { b.description = std::string(49, 'x') + "yz"; },
           B::kDescription, std::string(49, 'X') + "Y"},
          {"unit cut", [](B& b) { b.unit = "unidade"; }, B::kUnit, "UNIDAD"},
      },
      {
          {"empty code", [](B& b) { b.code = ""; }, kBadProductCode},
          {"blank code", [](B& b) { b.code = "  \t"; }, kBadProductCode},
          {"code with LF", [](B& b) { b.code = "78\n91"; }, kBadProductCode},
          {"code with CR", [](B& b) { b.code = "7891\r"; }, kBadProductCode},
          {"blank description", [](B& b) { b.description = " "; }, kBadDescription},
          {"blank unit", [](B& b) { b.unit = "\t"; }, kBadUnit},
          {"date zero", [](B& b) { b.date = 0; }, kStockDate},
          {"date negative zero", [](B& b) { b.date = -0.0; }, kStockDate},
          {"date not a number", [](B& b) { b.date = kNaN; }, kStockDate},
          {"code first",
           [](B& b) {
             b.code = b.description = b.unit = "";
             b.date = 0;
           },
           kBadProductCode},
          {"description next",
           [](B& b) {
             b.description = b.unit = "";
             b.date = 0;
           },
           kBadDescription},
          {"unit next",
           [](B& b) {
             b.unit = "";
             b.date = 0;
           },
           kBadUnit},
          {"date before quantity",
           [](B& b) {
             b.date = 0;
             b.quantity = kNaN;
           },
           kStockDate},
          {"quantity not a number", [](B& b) { b.quantity = kNaN; }, kNotANumber},
          {"quantity infinite", [](B& b) { b.quantity = kInf; }, kNotANumber},
          {"quantity minus infinite", [](B& b) { b.quantity = -kInf; }, kNotANumber},
          {"date infinite", [](B& b) { b.date = -kInf; }, kNotANumber},
          {"date before year 1", [](B& b) { b.date = -693594; }, kDateOutOfRange},
      });
}

TEST_F(DavGoods, GoodsAndServicesFieldsAndRefusals) {
  using B = Goods;
  Run<B>(
      {
          {"rate zero", [](B& b) { b.rate = 0; }, B::kRate, "0000"},
          {"rate with decimals", [](B& b) { b.rate = 7.5; }, B::kRate, "0750"},
          {"rate below zero rounding to zero", [](B& b) { b.rate = -0.001; }, B::kRate, "0000"},
          {"largest rate", [](B& b) { b.rate = 99.99; }, B::kRate, "9999"},
          {"rate rounds too long", [](B& b) { b.rate = 99.995; }, B::kRate, "10000"},
          {"rate too long", [](B& b) { b.rate = 100; }, B::kRate, "10000"},
          {"price below zero rounding to zero", [](B& b) { b.price = -0.004; }, B::kPrice,
           "000000000000"},
          {"price rounds to zero", [](B& b) { b.price = 0.001; }, B::kPrice, "000000000000"},
          {"largest price", [](B& b) { b.price = 9999999999.99; }, B::kPrice, "999999999999"},
          {"price too long", [](B& b) { b.price = 1e10; }, B::kPrice, "1000000000000"},
          {"code as passed", [](B& b) { b.code = "x.Y/9"; }, B::kCode, "000000000x.Y/9"},
          {"code too long", [](B& b) { b.code = "ABCDEFGHIJKLMNO"; }, B::kCode, "ABCDEFGHIJKLMNO"},
          {"description cut", [](B& b) { b.description = std::string(55, 'q'); }, B::kDescription,
           std::string(50, 'Q')},
          {"unit cut", [](B& b) { b.unit = "litros"; }, B::kUnit, "LITROS"},
      },
      {
          {"empty code", [](B& b) { b.code = ""; }, kBadProductCode},
          {"code with CR LF", [](B& b) { b.code = "A\r\nB"; }, kBadProductCode},
          {"blank description", [](B& b) { b.description = "\r\n"; }, kBadDescription},
          {"blank unit", [](B& b) { b.unit = "   "; }, kBadUnit},
          {"lower-case rounding", [](B& b) { b.rounding = 'a'; }, kBadRounding},
          {"lower-case production", [](B& b) { b.production = 'p'; }, kBadProduction},
          {"lower-case situation", [](B& b) { b.situation = 't'; }, kSituation},
          {"rate not a number", [](B& b) { b.rate = kNaN; }, kNotANumber},
          {"price infinite", [](B& b) { b.price = kInf; }, kNotANumber},
          {"price minus infinite", [](B& b) { b.price = -kInf; }, kNotANumber},
      });
}

TEST_F(DavGoods, GoodsAndServicesChecksInOrder) {
  // Each row makes every field from the given one on invalid.
  struct Case {
    int firstBad;
    std::string message;
  } cases[] = {
      {0, kBadProductCode}, {1, kBadDescription}, {2, kBadUnit},
      {3, kBadRounding},    {4, kBadProduction},  {5, kSituation},
  };
  for (const auto& c : cases) {
    Goods g;
    if (c.firstBad <= 0) g.code = " ";
    if (c.firstBad <= 1) g.description = "";
    if (c.firstBad <= 2) g.unit = "";
    if (c.firstBad <= 3) g.rounding = 'R';
    if (c.firstBad <= 4) g.production = 'O';
    if (c.firstBad <= 5) g.situation = 'X';
    EXPECT_EQ(0, g.Call()) << c.firstBad;
    EXPECT_EQ(c.message, LastError()) << c.firstBad;
  }
  EXPECT_EQ(std::vector<std::string>{}, FinishedLines());
}

TEST_F(DavGoods, IndicatorsAreExactCharactersOfTheLowestByte) {
  struct Indicator {
    quorix_slot Goods::*slot;
    std::string accepted;
    std::string message;
    size_t position;
  } indicators[] = {
      {&Goods::rounding, "AT", kBadRounding, 86},
      {&Goods::production, "PT", kBadProduction, 87},
      {&Goods::situation, "FINST", kSituation, 88},
  };
  std::vector<std::string> appended;
  for (const auto& ind : indicators) {
    for (unsigned byte = 0; byte < 256; ++byte) {
      // The upper bytes of the slot are not the host's and must not count.
      for (quorix_slot upper : {0u, 0xFFFFFF00u, 0x4100u}) {
        Goods g;
        g.*ind.slot = upper | byte;
        // Any accepted indicator goes with any rate, zero included.
        if (upper == 0x4100u) g.rate = 0;
        const bool accepted =
            byte != 0 && ind.accepted.find(static_cast<char>(byte)) != std::string::npos;
        if (accepted) {
          ASSERT_EQ(1, g.Call()) << byte << ": " << LastError();
          std::string line = DefaultLine<Goods>();
          line[ind.position] = static_cast<char>(byte);
          if (upper == 0x4100u) line.replace(89, 4, "0000");
          appended.push_back(line);
        } else {
          ASSERT_EQ(0, g.Call()) << byte;
          ASSERT_EQ(ind.message, LastError()) << byte;
        }
      }
    }
  }
  EXPECT_EQ(3u * (2 + 2 + 5), appended.size());
  EXPECT_EQ(appended, FinishedLines());
}

// Amounts are digits only: the user's separators never reach a line.
void ExpectDigitsOnlyUnderTheRegionalSetting() {
  qt::CloseAnyReport();
  qt::OpenSampleReport();
  Dav d;
  d.total = 123456.78;
  Stock s;
  s.quantity = -123456.78;
  Goods g;
  g.rate = 12.34;
  g.price = 1234567.891;
  ASSERT_EQ(1, d.Call()) << LastError();
  ASSERT_EQ(1, s.Call()) << LastError();
  ASSERT_EQ(1, g.Call()) << LastError();
  qt::TempDir dir;
  const std::string file = dir.file("regional.txt");
  ASSERT_EQ(1, quorix_FinalizarPAF(qt::Keys().publicKey, qt::Keys().privateKey, T(file), 0))
      << LastError();
  const auto lines = qt::ReportLines(qt::ReadFile(file));
  ASSERT_EQ(4u, lines.size());
  EXPECT_EQ(DefaultLine<Dav>().substr(0, 141) + "12345678", lines[0]);
  EXPECT_EQ(DefaultLine<Stock>().substr(0, 86) + "-1234567820080331", lines[1]);
  EXPECT_EQ(DefaultLine<Goods>().substr(0, 89) +
                "1234"
                "000123456789",
            lines[2]);
}

QUORIX_TEST_IN_EVERY_REGIONAL(DavAndGoodsLinesHoldDigitsOnly,
                              ExpectDigitsOnlyUnderTheRegionalSetting)

}  // namespace
