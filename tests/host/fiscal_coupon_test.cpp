// Fiscal coupon lines and their item lines, through the exported entries as a
// host calls them: exact line bytes, the order of the checks, their messages
// and what a call leaves behind.
#include <gtest/gtest.h>

#include "ecf_documents.h"
#include "expected_messages.h"
#include "support.h"

namespace {

using namespace qt;
using namespace qt::ecf;
using namespace qt::msg;

// The arguments of one coupon line, valid as they stand.
struct Coupon {
  std::string type = "E14", serial = "BE091010100011223344", mf = "A", model = "PX-2100 FI EX",
              user = "1", ccf = "123", coo = "4567";
  double startDate = k2008_03_01, subtotal = 100.5, discount = 0.5;
  quorix_slot discountKind = 'v';
  double increase = 1.25;
  quorix_slot increaseKind = 'p';
  double net = 101.25;
  quorix_slot cancel = 'N';
  double cancelledIncrease = 0;
  quorix_slot order = 'D';
  std::string buyerName = "Jos\xE9 da Silva", buyerId = "529.982.247-25";

  quorix_bool Call() const {
    return quorix_RelacaoCupomFiscal(T(type), T(serial), T(mf), T(model), T(user), T(ccf), T(coo),
                                     startDate, subtotal, discount, discountKind, increase,
                                     increaseKind, net, cancel, cancelledIncrease, order,
                                     T(buyerName), T(buyerId));
  }
};

// The line of Coupon{} as it stands, field by field.
const std::string kCouponLine = std::string("E14") +  // 1 record type
                                "BE091010100011223344" + "A" + "PX-2100 FI EX       " +  // 25 model
                                "01" + "000123" + "004567" +  // 45 user, 47 CCF, 53 COO
                                "20080301" +                  // 59 start of issue
                                "00000000010050" +            // 67 subtotal
                                "0000000000050" + "V" +       // 81 discount, 94 its kind
                                "0000000000125" + "P" +       // 95 increase, 108 its kind
                                "00000000010125" + "N" +      // 109 net total, 123 cancelled
                                "0000000000000" + "D" +       // 124 cancelled increase, 137
                                "JOSE DA SILVA" + std::string(27, ' ') +  // 138 buyer
                                "52998224725   ";                         // 178 buyer's id

// The arguments of one item line, valid as they stand.
struct Item {
  std::string type = "E15", serial = "BE091010100011223344", mf = "", model = "PX-2100 FI EX",
              user = "2", coo = "4567", ccf = "123", item = "1", code = "2000000000024",
              description =
                  "A\xE7\xFA"
                  "car refinado 1kg";
  double quantity = 2.25;
  std::string unit = "kg";
  double unitValue = 4.99, discount = 0.23, increase = 0, net = 11;
  std::string totalizer = "T1700";
  quorix_slot cancel = 'n';
  double cancelledQuantity = 0, cancelledValue = 0, cancelledIncrease = 0;
  quorix_slot rounding = 'A', production = 'T';
  int32_t quantityDecimals = 3, unitValueDecimals = 2;

  quorix_bool Call() const {
    return quorix_DetalheCupomFiscal(T(type), T(serial), T(mf), T(model), T(user), T(coo), T(ccf),
                                     T(item), T(code), T(description), quantity, T(unit), unitValue,
                                     discount, increase, net, T(totalizer), cancel,
                                     cancelledQuantity, cancelledValue, cancelledIncrease, rounding,
                                     production, quantityDecimals, unitValueDecimals);
  }
};

const std::string kItemLine =
    std::string("E15") + "BE091010100011223344" + " " + "PX-2100 FI EX       " + "02" + "004567" +
    "000123" + "001" +                                         // 45 user, 47 COO, 53 CCF, 59 item
    "2000000000024 " +                                         // 62 product code
    "ACUCAR REFINADO 1KG" + std::string(81, ' ') +             // 76 description
    "0002250" + "KG " +                                        // 176 quantity, 183 unit
    "00000499" + "00000023" + "00000000" + "00000000001100" +  // 186 unit value .. 210 net
    "T1700  " + "N" +                                          // 224 totaliser, 231 cancelled
    "0000000" + "0000000000000" + "0000000000000" +            // 232 cancelled q, value, incr.
    "A" + "T" + "3" + "2";                                     // 265 .. 268

using FiscalCoupon = qt::OpenReport;

TEST_F(FiscalCoupon, SampleLinesAreWrittenFieldByField) {
  ASSERT_EQ(191u, kCouponLine.size());
  ASSERT_EQ(268u, kItemLine.size());
  quorix_Header(T("X"));  // leaves a message behind
  ASSERT_EQ(1, Coupon{}.Call()) << LastError();
  EXPECT_EQ("", LastError());  // emptied at entry
  ASSERT_EQ(1, Item{}.Call()) << LastError();
  Item bad;
  bad.coo = "1234567";  // fails only at the length of its line
  EXPECT_EQ(0, bad.Call());
  const auto lines = FinishedLines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(kCouponLine, lines[0]);
  EXPECT_EQ(kItemLine, lines[1]);
}

TEST_F(FiscalCoupon, CouponFieldRenderings) {
  const std::vector<LineCase<Coupon>> cases = {
      {"user cut on the left", [](Coupon& c) { c.user = "123"; }, {Field(45, "23")}},
      {"no user", [](Coupon& c) { c.user = ""; }, {Field(45, "00")}},
      {"counters as passed",
       [](Coupon& c) {
         c.ccf = " 1 2";
         c.coo = "";
       },
       {Field(47, "00 1 2"), Field(53, "000000")}},
      {"serial trimmed and cut",
       [](Coupon& c) { c.serial = " \tbe0910101000112233445566"; },
       {Field(4, "BE091010100011223344")}},
      {"no mf letter", [](Coupon& c) { c.mf = ""; }, {Field(24, " ")}},
      {"all amounts zero",
       [](Coupon& c) { c.subtotal = c.discount = c.increase = c.net = 0; },
       {Field(67, std::string(14, '0')), Field(81, std::string(13, '0')),
        Field(95, std::string(13, '0')), Field(109, std::string(14, '0'))}},
      {"largest amounts that fit",
       [](Coupon& c) {
         c.subtotal = 1e12 - 0.01;
         c.discount = 1e11 - 0.01;
       },
       {Field(67, std::string(14, '9')), Field(81, std::string(13, '9'))}},
      {"cancelled increase below zero rounding to zero",
       [](Coupon& c) { c.cancelledIncrease = -0.004; },
       {Field(124, "0000000000000")}},
      {"indicators upper-cased, folded or blank",
       [](Coupon& c) {
         c.discountKind = 'a';
         c.increaseKind = 0;
         c.cancel = ' ';
         c.order = '\xE9';
       },
       {Field(94, "A"), Field(108, " "), Field(123, " "), Field(137, "E")}},
      {"only the lowest byte of a slot",
       [](Coupon& c) {
         c.discountKind = 0xABCDEF00u | 'x';
         c.increaseKind = 0x00000100u;
         c.cancel = 0xFFFFFF00u | 's';
         c.order = 0x41424300u | 'i';
       },
       {Field(94, "X"), Field(108, " "), Field(123, "S"), Field(137, "I")}},
      {"buyer name cut at 40, accents folded",
       [](Coupon& c) { c.buyerName = "  Cl\xE1udia " + std::string(40, 'x'); },
       {Field(138, "CLAUDIA " + std::string(32, 'X'))}},
      {"buyer's CNPJ digits",
       [](Coupon& c) { c.buyerId = "11.222.333/0001-81"; },
       {Field(178, "11222333000181")}},
      {"no buyer",
       [](Coupon& c) { c.buyerName = c.buyerId = ""; },
       {Field(138, std::string(54, ' '))}},
      {"date part only",
       [](Coupon& c) { c.startDate = k2008_03_01 + 0.99; },
       {Field(59, "20080301")}},
  };
  ExpectAcceptedLines<Coupon>(cases, kCouponLine);
}

TEST_F(FiscalCoupon, CouponChecksInOrder) {
  const std::vector<RefusalCase<Coupon>> cases = {
      {"type before all",
       [](Coupon& c) {
         c.type = "E1";
         c.serial = "";
       },
       kBadType + "E1"},
      {"blank type", [](Coupon& c) { c.type = "   "; }, kBadType + "   "},
      {"no type", [](Coupon& c) { c.type = ""; }, kBadType},
      {"long type", [](Coupon& c) { c.type = "E141"; }, kBadType + "E141"},
      {"serial before amounts",
       [](Coupon& c) {
         c.serial = " \r\n";
         c.subtotal = -1;
       },
       kBadSerial},
      {"zero date", [](Coupon& c) { c.startDate = 0; }, kBadPeriod},
      {"negative date", [](Coupon& c) { c.startDate = -1; }, kBadPeriod},
      {"date not a number", [](Coupon& c) { c.startDate = kNaN; }, kBadPeriod},
      {"date past year 9999", [](Coupon& c) { c.startDate = 3e6; }, kDateOutOfRange},
      {"date infinite", [](Coupon& c) { c.startDate = kInf; }, kNotANumber},
      {"untested amount not a number", [](Coupon& c) { c.cancelledIncrease = kNaN; }, kNotANumber},
      {"untested amount infinite", [](Coupon& c) { c.cancelledIncrease = -kInf; }, kNotANumber},
      {"tested amount infinite", [](Coupon& c) { c.net = kInf; }, kNotANumber},
      {"all four amounts not numbers",
       [](Coupon& c) { c.subtotal = c.discount = c.increase = c.net = kNaN; },
       Listed(kCouponValuesShown, {"NAN", "NAN", "NAN", "NAN"})},
  };
  ExpectRefusals<Coupon>(cases);
  // A negative amount is reported before a zero date; its values are in the
  // regional suites.
  Coupon coupon;
  coupon.discount = -0.001;
  coupon.startDate = 0;
  EXPECT_EQ(0, coupon.Call());
  EXPECT_EQ(kCouponValues, LastError().substr(0, kCouponValues.size()));
  EXPECT_TRUE(FinishedLines().empty());  // no failure left a line behind
}

TEST_F(FiscalCoupon, CouponLinesThatComeOutTooLong) {
  const std::vector<LineCase<Coupon>> cases = {
      {"CCF of 7", [](Coupon& c) { c.ccf = "1234567"; }, {{47, 6, "1234567"}}},
      {"COO of 7", [](Coupon& c) { c.coo = "4567890"; }, {{53, 6, "4567890"}}},
      {"type with a blank", [](Coupon& c) { c.type = " E14"; }, {{1, 3, " E14"}}},
      {"subtotal of 10^12", [](Coupon& c) { c.subtotal = 1e12; }, {{67, 14, "100000000000000"}}},
      {"discount of 10^11", [](Coupon& c) { c.discount = 1e11; }, {{81, 13, "10000000000000"}}},
      {"net total rounding up to 10^12",
       [](Coupon& c) { c.net = 1e12 - 0.004; },
       {{109, 14, "100000000000000"}}},
  };
  ExpectLayoutRefusals<Coupon>(cases, kCouponLine, 192);
}

TEST_F(FiscalCoupon, BothNeedAnOpenReport) {
  qt::ExpectRefusedWithNoReport({
      {"coupon", qt::SampleCall<Coupon>, kNoTaxpayer},
      {"coupon's type before the taxpayer",
       [] {
         Coupon bad;
         bad.type = "E1";
         return bad.Call();
       },
       kBadType + "E1"},
      {"item", qt::SampleCall<Item>, kNoTaxpayer},
  });
}

TEST_F(FiscalCoupon, ItemQuantityFollowsItsCountOfDecimals) {
  const struct Case {
    double quantity;
    int32_t decimals;
    std::string field;  // positions 176-182
  } cases[] = {
      {2.25, 0, "0000002"},     {2.25, 2, "0000225"},     {2.25, 3, "0002250"},
      {2.25, 1, "0000225"},     {2.2561, 4, "0000226"},   {0.0001, 0, "0000000"},
      {0.0001, 2, "0000000"},   {0.0005, 3, "0000001"},   {9999999, 0, "9999999"},
      {9999.999, 3, "9999999"}, {99999.99, 2, "9999999"}, {2.5, 0, "0000003"},
  };
  for (const auto& c : cases) {
    Item item;
    item.quantity = c.quantity;
    item.quantityDecimals = c.decimals;
    EXPECT_EQ(1, item.Call()) << c.quantity << " " << c.decimals << ": " << LastError();
  }
  const auto lines = FinishedLines();
  ASSERT_EQ(std::size(cases), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto& c = cases[i];
    const std::string expected =
        Edited(kItemLine, {Field(176, c.field), Field(267, std::to_string(c.decimals))});
    EXPECT_EQ(expected, lines[i]) << c.quantity << " " << c.decimals;
  }
}

TEST_F(FiscalCoupon, ItemFieldRenderings) {
  const std::vector<LineCase<Item>> cases = {
      {"unit value in hundredths whatever its decimals",
       [](Item& c) {
         c.unitValue = 1.234;
         c.unitValueDecimals = 3;
       },
       {Field(186, "00000123"), Field(268, "3")}},
      {"cancelled quantity in hundredths",
       [](Item& c) {
         c.cancelledQuantity = 2.25;
         c.quantityDecimals = 0;
       },
       {Field(176, "0000002"), Field(232, "0000225"), Field(267, "0")}},
      {"cancelled values below zero rounding to zero",
       [](Item& c) {
         c.cancelledQuantity = -0.001;
         c.cancelledValue = -0.004;
         c.cancelledIncrease = -0.0049;
       },
       {Field(232,
              "0000000"
              "0000000000000"
              "0000000000000")}},
      {"zero discount passes", [](Item& c) { c.discount = 0; }, {Field(194, "00000000")}},
      {"largest unit value that fits",
       [](Item& c) { c.unitValue = 999999.99; },
       {Field(186, "99999999")}},
      {"description trimmed and cut at 100",
       [](Item& c) { c.description = "  " + std::string(99, 'd') + "\xC9xtra"; },
       {Field(76, std::string(99, 'D') + "E")}},
      {"code cut at 14",
       [](Item& c) { c.code = "abc-123456789012345"; },
       {Field(62, "ABC-1234567890")}},
      {"content the rendering blanks still passes",
       [](Item& c) {
         c.code = "?";
         c.unit = "\xA4";
       },
       {Field(62, std::string(14, ' ')), Field(183, "   ")}},
      {"no totaliser, blank cancel, lowest byte only",
       [](Item& c) {
         c.totalizer = "";
         c.cancel = 0x0000FF00u;
         c.rounding = 0x11223300u | 'T';
         c.production = 0xFFFFFF00u | 'P';
       },
       {Field(224, std::string(8, ' ')), Field(265, "TP")}},
      {"larger net total than quantity times unit value",
       [](Item& c) { c.net = 1e6; },
       {Field(210, "00000100000000")}},
  };
  ExpectAcceptedLines<Item>(cases, kItemLine);
}

TEST_F(FiscalCoupon, ItemChecksInOrder) {
  const std::vector<RefusalCase<Item>> cases = {
      {"type first",
       [](Item& c) {
         c.type = "E";
         c.serial = "";
       },
       kBadType + "E"},
      {"serial",
       [](Item& c) {
         c.serial = "  ";
         c.code = "";
       },
       kBadSerial},
      {"code",
       [](Item& c) {
         c.code = " \t ";
         c.description = "";
       },
       kBadProductCode},
      {"description",
       [](Item& c) {
         c.description = "\r\n";
         c.unit = "";
       },
       kBadDescription},
      {"unit",
       [](Item& c) {
         c.unit = " ";
         c.quantity = 0;
       },
       kBadUnit},
      {"quantity not a number",
       [](Item& c) {
         c.quantity = kNaN;
         c.rounding = 'x';
       },
       kBadQuantity + "NAN"},
      {"lower-case rounding",
       [](Item& c) {
         c.rounding = 'a';
         c.production = 'x';
       },
       kBadRounding},
      {"rounding in an upper byte", [](Item& c) { c.rounding = 'A' << 8; }, kBadRounding},
      {"lower-case production",
       [](Item& c) {
         c.production = 'p';
         c.net = 0;
       },
       kBadProduction},
      {"production blank", [](Item& c) { c.production = ' '; }, kBadProduction},
      {"amounts not numbers", [](Item& c) { c.unitValue = c.discount = c.increase = c.net = kNaN; },
       Listed(kItemValuesShown, {"NAN", "NAN", "NAN", "NAN"})},
      {"untested cancelled value not a number", [](Item& c) { c.cancelledValue = kNaN; },
       kNotANumber},
      {"untested cancelled quantity infinite", [](Item& c) { c.cancelledQuantity = kInf; },
       kNotANumber},
      {"tested unit value infinite", [](Item& c) { c.unitValue = kInf; }, kNotANumber},
  };
  ExpectRefusals<Item>(cases);
  // The messages that show values: their text starts as below in every
  // regional setting.
  qt::ExpectRefusalsStartingWith<Item>({
      {[](Item& c) {
         c.quantity = 0;
         c.rounding = 'x';
       },
       kBadQuantity},
      {[](Item& c) { c.quantity = -2; }, kBadQuantity},
      {[](Item& c) { c.net = 0; }, kItemValues},
      {[](Item& c) { c.unitValue = 0; }, kItemValues},
      {[](Item& c) { c.discount = -0.001; }, kItemValues},
      {[](Item& c) { c.increase = -1; }, kItemValues},
  });
  EXPECT_TRUE(FinishedLines().empty());
}

TEST_F(FiscalCoupon, ItemLinesThatComeOutTooLong) {
  const std::vector<LineCase<Item>> cases = {
      {"item number of 4", [](Item& c) { c.item = "1000"; }, {{59, 3, "1000"}}},
      {"COO of 7", [](Item& c) { c.coo = "1234567"; }, {{47, 6, "1234567"}}},
      {"CCF of 7", [](Item& c) { c.ccf = "1234567"; }, {{53, 6, "1234567"}}},
      {"hundredths of 100000",
       [](Item& c) {
         c.quantity = 100000;
         c.quantityDecimals = 2;
       },
       {{176, 7, "10000000"}, Field(267, "2")}},
      {"thousandths of 10000", [](Item& c) { c.quantity = 10000; }, {{176, 7, "10000000"}}},
      {"unit value of 10^6", [](Item& c) { c.unitValue = 1e6; }, {{186, 8, "100000000"}}},
      {"ten decimals of the quantity",
       [](Item& c) { c.quantityDecimals = 10; },
       {Field(176, "0000225"), {267, 1, "10"}}},
      {"ten decimals of the unit value",
       [](Item& c) { c.unitValueDecimals = 10; },
       {{268, 1, "10"}}},
  };
  ExpectLayoutRefusals<Item>(cases, kItemLine, 269);
}

// The value messages, with the values as the user's regional settings show
// them (written below as in pt-BR).
void CouponValueMessages() {
  qt::CloseAnyReport();
  qt::OpenSampleReport();
  const struct Case {
    double subtotal, discount, increase, net;
    std::string values;  // discount, increase, subtotal, net
  } cases[] = {
      {-1234.5, 0.5, 1234567.891, 10, "0,50|1.234.567,89|-1.234,50|10,00"},
      {0, -0.001, 0, 0, "-0,00|0,00|0,00|0,00"},
      {1, 2, -3, 4, "2,00|-3,00|1,00|4,00"},
      {1, 2, 3, -1e-300, "2,00|3,00|1,00|-0,00"},
      {kNaN, 0, 1000, 999999.996, "0,00|1.000,00|NAN|1.000.000,00"},
  };
  for (const auto& c : cases) {
    Coupon coupon;
    coupon.subtotal = c.subtotal;
    coupon.discount = c.discount;
    coupon.increase = c.increase;
    coupon.net = c.net;
    coupon.startDate = 0;  // reported after the amounts
    EXPECT_EQ(0, coupon.Call());
    EXPECT_EQ(Regionalized(kCouponValuesShown, c.values), LastError());
  }
  const struct ItemCase {
    double quantity, unitValue, discount, increase, net;
    std::string message;
  } items[] = {
      {-1234.5, 0, 0, 0, 0, Regionalized(kBadQuantity + "#", "-1.234,50")},
      {0, -1, -1, -1, -1, Regionalized(kBadQuantity + "#", "0,00")},
      {1, 1234.5, -0.001, 0, 1, Regionalized(kItemValuesShown, "1.234,50|-0,00|0,00|1,00")},
      {1, 0, 0, 0, 1, Regionalized(kItemValuesShown, "0,00|0,00|0,00|1,00")},
      {1, 1, 5, 6, -7654321, Regionalized(kItemValuesShown, "1,00|5,00|6,00|-7.654.321,00")},
  };
  for (const auto& c : items) {
    Item item;
    item.quantity = c.quantity;
    item.quantityDecimals = 3;  // the message shows hundredths all the same
    item.unitValue = c.unitValue;
    item.discount = c.discount;
    item.increase = c.increase;
    item.net = c.net;
    EXPECT_EQ(0, item.Call());
    EXPECT_EQ(c.message, LastError());
  }
  qt::CloseAnyReport();
}

QUORIX_TEST_IN_EVERY_REGIONAL(CouponValueMessages, CouponValueMessages)

}  // namespace
