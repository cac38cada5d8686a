/*
 * A host run from a folder that holds quorix but not the signing library:
 * the signing calls must fail clearly while everything else keeps working.
 * Exits 0 when every call behaved so; prints each mismatch otherwise.
 */
#include <stdio.h>
#include <string.h>

#include "quorix.h"

static int failures = 0;

static void expect_message(const char *what, const char *expected) {
  char *message = NULL;
  quorix_GetMessageError(&message);
  if (quorix_text_length(message) != (int32_t)strlen(expected) ||
      memcmp(message, expected, strlen(expected)) != 0) {
    printf("%s: message \"%.*s\", expected \"%s\"\n", what, (int)quorix_text_length(message),
           message ? message : "", expected);
    ++failures;
  }
  quorix_text_release(message);
}

static void expect(int ok, const char *what) {
  if (!ok) {
    printf("%s: wrong result\n", what);
    ++failures;
  }
}

int main(void) {
  char key[257];
  char *pub = NULL, *priv = NULL, *k, *file, *type, *cnpj, *name;
  FILE *f;
  memset(key, 'A', 256);
  key[256] = 0;
  k = quorix_text_from(key);
  file = quorix_text_from("probe-report.txt");

  expect(quorix_GenerateKeys(&pub, &priv) == 0, "quorix_GenerateKeys");
  expect_message("quorix_GenerateKeys", "Comando n\xE3o executado ");
  expect(quorix_text_length(pub) == 256 && quorix_text_length(priv) == 256, "key lengths");

  f = fopen("probe-report.txt", "wb");
  if (f) fclose(f);
  expect(quorix_SignatureFileHash(k, k, file) == 0, "quorix_SignatureFileHash");
  expect_message("quorix_SignatureFileHash",
                 "Erro durante o processo de gera\xE7\xE3o do Registro Chave\r\n"
                 "Biblioteca de assinatura sign_bema n\xE3o encontrada");
  expect(quorix_ValidateFilePAF(k, k, file) == 0, "quorix_ValidateFilePAF");
  expect_message("quorix_ValidateFilePAF", "Arquivo Inv\xE1lido ");

  cnpj = quorix_text_from("11222333000181");
  name = quorix_text_from("Probe");
  type = quorix_text_from("E1");
  expect(quorix_InicializarPAF(cnpj, NULL, NULL, name) == 1, "quorix_InicializarPAF");
  expect(quorix_Header(type) == 1, "quorix_Header");
  expect(quorix_FinalizarPAF(k, k, file, 0) == 0, "quorix_FinalizarPAF");
  expect_message("quorix_FinalizarPAF",
                 "Erro durante o processo de gera\xE7\xE3o do Registro Chave\r\n"
                 "Biblioteca de assinatura sign_bema n\xE3o encontrada\r\n"
                 "O relat\xF3rio n\xE3o foi gravado em probe-report.txt");
  /* No unsigned report took the name: the empty file made above is still there. */
  f = fopen("probe-report.txt", "rb");
  expect(f != NULL && fgetc(f) == EOF, "report file left as it was");
  if (f) fclose(f);

  quorix_text_release(pub);
  quorix_text_release(priv);
  quorix_text_release(k);
  quorix_text_release(file);
  quorix_text_release(cnpj);
  quorix_text_release(name);
  quorix_text_release(type);
  printf("%s\n", failures ? "probe: FAILED" : "probe: ok");
  return failures ? 1 : 0;
}
