/*
 * An integrator's program, built against an installed quorix only: writes a
 * small report, finishes and signs it, validates it and writes the public-key
 * file that lets anyone else validate it.
 *
 * usage: consumer [folder]   (writes consumer-report.txt and
 *                             "Mercearia Exemplo.xml" there)
 */
#include <quorix.h>
#include <stdio.h>

static int ok(quorix_bool result, const char *what) {
  char *message = NULL;
  if (result) return 1;
  quorix_GetMessageError(&message);
  fprintf(stderr, "consumer: %s failed: %.*s\n", what, (int)quorix_text_length(message),
          message ? message : "");
  quorix_text_release(message);
  return 0;
}

int main(int argc, char **argv) {
  const char *folder = argc > 1 ? argv[1] : ".";
  char path[1024];
  char *publicKey = NULL, *privateKey = NULL;
  char *cnpj = quorix_text_from("11.222.333/0001-81");
  char *registration = quorix_text_from("110.042.490.114");
  char *name = quorix_text_from("Mercearia Exemplo Ltda");
  char *recordType = quorix_text_from("E1");
  char *developer = quorix_text_from("Mercearia Exemplo");
  char *exponent = quorix_text_from("010001");
  char *file, *where = quorix_text_from(folder);
  int done;

  snprintf(path, sizeof path, "%s/consumer-report.txt", folder);
  file = quorix_text_from(path);
  done =
      ok(quorix_GenerateKeys(&publicKey, &privateKey), "quorix_GenerateKeys") &&
      ok(quorix_InicializarPAF(cnpj, registration, NULL, name), "quorix_InicializarPAF") &&
      ok(quorix_Header(recordType), "quorix_Header") &&
      ok(quorix_FinalizarPAF(publicKey, privateKey, file, 0), "quorix_FinalizarPAF") &&
      ok(quorix_ValidateFilePAF(publicKey, privateKey, file), "quorix_ValidateFilePAF") &&
      ok(quorix_GenarateFileXml(developer, publicKey, where, exponent), "quorix_GenarateFileXml");
  if (done) printf("consumer: %s written and signed\n", path);

  quorix_text_release(publicKey);
  quorix_text_release(privateKey);
  quorix_text_release(cnpj);
  quorix_text_release(registration);
  quorix_text_release(name);
  quorix_text_release(recordType);
  quorix_text_release(developer);
  quorix_text_release(exponent);
  quorix_text_release(file);
  quorix_text_release(where);
  return done ? 0 : 1;
}
