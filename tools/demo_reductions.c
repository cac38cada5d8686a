/*
 * A report of an ECF's daily closings: the identification header, a
 * Reduction Z with its partial totalisers, the day's book-keeping movement
 * and totals lines that count them, finished into a signed file.
 */
#include "demo.h"

/* 2008-03-01 and 2008-03-02 as day counts since 1899-12-30; 23:15:42. */
#define DEMO_MOVEMENT_DAY 39508.0
#define DEMO_ISSUE_DAY 39509.0
#define DEMO_ISSUE_TIME ((23 * 3600 + 15 * 60 + 42) / 86400.0)

static int reduction_detail(const char *totalizer, double value) {
  return check(quorix_DetalheReducaoZ(T("R03"), T("BE050810100000012345"), T(""),
                                      T("PX-2100 FI EX"), T("1"), T("123"), T(totalizer), value),
               "quorix_DetalheReducaoZ");
}

int demo_reductions_report(const char *folder, quorix_text publicKey, quorix_text privateKey) {
  return check(quorix_InicializarPAF(T("11.222.333/0001-81"), T("110.042.490.114"), T(""),
                                     T("Padaria P\xE3o Dourado Ltda")),
               "quorix_InicializarPAF") &&
         check(quorix_Header(T("E1")), "quorix_Header") &&
         check(
             quorix_RelacaoReducoesZ(T("R02"), T("BE050810100000012345"), T(""), T("PX-2100 FI EX"),
                                     T("1"), T("123"), T("4567"), T("2"), DEMO_MOVEMENT_DAY,
                                     DEMO_ISSUE_DAY, DEMO_ISSUE_TIME, 3480.25, T("N")),
             "quorix_RelacaoReducoesZ") &&
         reduction_detail("T18,00", 2150.00) && reduction_detail("F1", 980.25) &&
         reduction_detail("Can-T", 350.00) &&
         check(quorix_RelacaoMovimentoDiario(T("E22"), DEMO_MOVEMENT_DAY, T("ECF-IF"), T("01"),
                                             T("4566"), T("4567"), T("BE050810100000012345"),
                                             T("123"), T("2D"), 3130.25, 2150.00, 18, 387.00,
                                             980.25, 0),
               "quorix_RelacaoMovimentoDiario") &&
         check(quorix_Totally(T("T9"), T("R0")), "quorix_Totally") &&
         check(quorix_Totally(T("T9"), T("E1")), "quorix_Totally") &&
         check(quorix_Totally(T("T9"), T("E2")), "quorix_Totally") &&
         demo_finish(folder, "quorix-demo-reductions.txt", publicKey, privateKey);
}
