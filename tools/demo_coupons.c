/* A day's fiscal coupon with its items and payments, and a non-fiscal
 * document with its payment, as a point-of-sale host reports them. */
#include "demo.h"

#define SERIAL "BE091010100011223344"
#define MODEL "PX-2100 FI EX"

/* 2008-03-01 as days since 1899-12-30, and 13:05:09 as a fraction of a day. */
static const double kDay = 39508.0;
static const double kTime = (13 * 3600 + 5 * 60 + 9) / 86400.0;

static int coupon_item(const char *item, const char *code, const char *description, double quantity,
                       const char *unit, double unitValue, double discount, double net,
                       int quantityDecimals) {
  return check(quorix_DetalheCupomFiscal(T("E15"), T(SERIAL), T("A"), T(MODEL), T("1"), T("4567"),
                                         T("123"), T(item), T(code), T(description), quantity,
                                         T(unit), unitValue, discount, 0, net, T("01T1700"), 'N', 0,
                                         0, 0, 'A', 'T', quantityDecimals, 2),
               "quorix_DetalheCupomFiscal");
}

static int payment(const char *coo, const char *ccf, const char *gnf, const char *method,
                   double paid) {
  return check(quorix_DetalheDemaisDoctosEcf(T("E21"), T(SERIAL), T("A"), T(MODEL), T("1"), T(coo),
                                             T(ccf), T(gnf), T(method), paid, 'N', 0),
               "quorix_DetalheDemaisDoctosEcf");
}

int demo_coupon_report(const char *folder, quorix_text publicKey, quorix_text privateKey) {
  return check(quorix_InicializarPAF(T("11.222.333/0001-81"), T("110.042.490.114"), T(""),
                                     T("Padaria P\xE3o Dourado Ltda")),
               "quorix_InicializarPAF") &&
         check(quorix_Header(T("E1")), "quorix_Header") &&
         /* The coupon: 12.45 of goods, 0.45 off the subtotal, paid in cash and by card. */
         check(quorix_RelacaoCupomFiscal(T("E14"), T(SERIAL), T("A"), T(MODEL), T("1"), T("123"),
                                         T("4567"), kDay, 12.45, 0.45, 'V', 0, ' ', 12.00, 'N', 0,
                                         'D', T("Jos\xE9 da Silva"), T("529.982.247-25")),
               "quorix_RelacaoCupomFiscal") &&
         coupon_item("1", "2000000000024",
                     "A\xE7\xFA"
                     "car refinado 1kg",
                     1, "UN", 4.99, 0, 4.99, 0) &&
         coupon_item("2", "2000000000017", "P\xE3o franc\xEAs", 0.745, "KG", 10.0, 0.01, 7.44, 3) &&
         payment("4567", "123", "", "Dinheiro", 5.00) &&
         payment("4567", "123", "",
                 "Cart\xE3o D\xE9"
                 "bito",
                 7.00) &&
         /* A non-fiscal slip (cash supply) with its own payment. */
         check(
             quorix_RelacaoDemaisDoctosEcf(T("E16"), T(SERIAL), T("A"), T(MODEL), T("1"), T("4568"),
                                           T("17"), T(""), T(""), T("CN"), kDay, kTime),
             "quorix_RelacaoDemaisDoctosEcf") &&
         payment("4568", "", "17", "Dinheiro", 50.00) &&
         demo_finish(folder, "quorix-demo-coupons.txt", publicKey, privateKey);
}
