/* The side files in the demo: the software house's data written to its
 * scrambled file and read back, a report opened by the Anexo VI block that
 * prints part of them, a grand total kept for the ECF, and the developer's
 * public key published as an XML file. */
#include <stdio.h>

#include "demo.h"

static quorix_bool QUORIX_CALL print_clear(void *context, char **error) {
  (void)context;
  (void)error;
  return 1;
}

static quorix_bool QUORIX_CALL print_append(void *context, quorix_text text, char **error) {
  (void)error;
  say("  %-14s %.*s\n", (const char *)context, (int)quorix_text_length(text), text);
  return 1;
}

static int demo_software_house(const char *file) {
  static const char *const names[13] = {"CNPJ",     "INSCESTADUAL", "INSCMUNICIPAL", "RAZAOSOCIAL",
                                        "ENDERECO", "TELEFONE",     "CONTATO",       "SOFTWARE",
                                        "VERSAO",   "FILE",         "MD5",           "VERSAO ER",
                                        "LAUDO"};
  quorix_text files[2], digests[2];
  char *out[13] = {NULL};
  quorix_string_list fileList = {(void *)"FILE AUX", print_clear, print_append};
  quorix_string_list digestList = {(void *)"MD5 AUX", print_clear, print_append};
  int i, ok;
  files[0] = T("caixa_relatorios.dll");
  files[1] = T("caixa_tef.dll");
  digests[0] = T("9E107D9D372BB6826BD81D3542A419D6");
  digests[1] = T("E4D909C290D0FB1CA068FFADDF22CBD0");
  if (!check(quorix_GenerateDataSoftwareHouse(
                 T("11.222.333/0001-81"), T("110.042.490.114"), T("12345"),
                 T("Software House Exemplo Ltda"), T("Rua das Flores, 100 - S\xE3o Paulo"),
                 T("(11) 5555-1234"), T("Jo\xE3o da Silva"), T("Caixa R\xE1pida PDV"), T("2.1.0"),
                 T("caixa.exe"), T("0123456789abcdef0123456789abcdef"), T("01.06"), T("LAUDO-123"),
                 files, 1, digests, 1, T(file)),
             "quorix_GenerateDataSoftwareHouse"))
    return 0;
  say("\nSoftware-house data written to %s (scrambled) and read back:\n", file);
  ok = check(quorix_GetDataSoftwareHouse(&out[0], &out[1], &out[2], &out[3], &out[4], &out[5],
                                         &out[6], &out[7], &out[8], &out[9], &out[10], &out[11],
                                         &out[12], &fileList, &digestList, T(file)),
             "quorix_GetDataSoftwareHouse");
  for (i = 0; i < 13; ++i) {
    if (ok) say("  %-14s %.*s\n", names[i], (int)quorix_text_length(out[i]), out[i] ? out[i] : "");
    quorix_text_release(out[i]);
  }
  return ok;
}

static int demo_grand_total(const char *file) {
  double total = 0;
  if (!check(quorix_UpdateTotalizadorGeralECF(T("BE0909SC556100001234"), 1234567.89, T(file)),
             "quorix_UpdateTotalizadorGeralECF") ||
      !check(quorix_GetInfoTotalizadorECF(T("BE0909SC556100001234"), &total, T(file)),
             "quorix_GetInfoTotalizadorECF"))
    return 0;
  say("\nGrand total of ECF BE0909SC556100001234 kept in %s: %.2f\n", file, total);
  return 1;
}

int demo_anexo_vi_report(const char *folder, quorix_text publicKey, quorix_text privateKey) {
  char house[1024], totals[1024], xml[1024];
  snprintf(house, sizeof house, "%s/quorix-demo-software-house.ini", folder);
  snprintf(totals, sizeof totals, "%s/quorix-demo-grand-totals.ini", folder);
  snprintf(xml, sizeof xml, "%s/Software House Exemplo.xml", folder);
  if (!demo_software_house(house) || !demo_grand_total(totals)) return 0;

  /* The Anexo VI block loads the software-house file by itself. Dates are
   * days since 1899-12-30: 2007-11-20, 2008-03-01 and 2008-03-31. */
  if (!check(quorix_InicializarPAF(T("11.222.333/0001-81"), T("110.042.490.114"), T(""),
                                   T("Padaria P\xE3o Dourado Ltda")),
             "quorix_InicializarPAF") ||
      !check(quorix_HeaderAnexoVI(T("E01"), T("BE0909SC556100001234"), T("A"), T("ECF-IF"),
                                  T("Fabricante X"), T("PX-4000 FI EX"), T("01.00.01"), 39406.0,
                                  47109.0 / 86400, 1, T(house), 39508.0, 39538.0, T("0107")),
             "quorix_HeaderAnexoVI") ||
      !demo_finish(folder, "quorix-demo-anexo-vi.txt", publicKey, privateKey))
    return 0;

  /* The stand-in signing library's public key is the modulus in hexadecimal;
   * its public exponent is always 65537. */
  if (!check(quorix_GenarateFileXml(T("Software House Exemplo"), publicKey, T(folder), T("010001")),
             "quorix_GenarateFileXml"))
    return 0;
  say("\nDeveloper public-key file %s:\n", xml);
  show_file(xml);
  return 1;
}
