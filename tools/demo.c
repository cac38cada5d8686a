/*
 * The main job, end to end, as a host would do it: make a key pair, open
 * reports for a sample taxpayer, append their lines, finish each into a
 * signed file, validate it and show where it is and what it holds.
 *
 * usage: quorix_demo [output-folder]
 */
#include "demo.h"

#include <stdio.h>
#include <string.h>

static char *g_error = NULL;

#define MAX_TEXTS 4096
static char *g_texts[MAX_TEXTS];
static int g_count = 0;

quorix_text T(const char *s) {
  char *t = quorix_text_from(s);
  if (g_count < MAX_TEXTS) g_texts[g_count++] = t;
  return t;
}

void demo_release_texts(void) {
  while (g_count > 0) quorix_text_release(g_texts[--g_count]);
  quorix_text_release(g_error);
  g_error = NULL;
}

int check(quorix_bool ok, const char *what) {
  if (ok) return 1;
  quorix_GetMessageError(&g_error);
  fprintf(stderr, "%s failed: %.*s\n", what, (int)quorix_text_length(g_error),
          g_error ? g_error : "");
  return 0;
}

void show_file(const char *path) {
  char line[1024];
  int n = 0;
  FILE *f = fopen(path, "rb");
  if (!f) return;
  while (fgets(line, sizeof line, f)) {
    size_t len = strcspn(line, "\r\n");
    printf("  %3d | %.*s\n", ++n, (int)len, line);
  }
  fclose(f);
}

/* Finishes the open report into folder/name and validates it; tools/demo.sh
 * then shows it through quorix show, which reads its Windows-1252 right. */
int demo_finish(const char *folder, const char *name, quorix_text publicKey,
                quorix_text privateKey) {
  char path[1024];
  snprintf(path, sizeof path, "%s/%s", folder, name);
  if (!check(quorix_FinalizarPAF(publicKey, privateKey, T(path), 0), "quorix_FinalizarPAF"))
    return 0;
  if (!check(quorix_ValidateFilePAF(publicKey, privateKey, T(path)), "quorix_ValidateFilePAF"))
    return 0;
  printf("Signed report %s (validated with the public key)\n", path);
  return 1;
}

int demo_identification_report(const char *folder, quorix_text publicKey,
                               quorix_text privateKey) {
  return check(quorix_InicializarPAF(T("11.222.333/0001-81"), T("110.042.490.114"), T(""),
                                     T("Padaria P\xE3o Dourado Ltda")),
               "quorix_InicializarPAF") &&
         check(quorix_Header(T("E1")), "quorix_Header") &&
         demo_finish(folder, "quorix-demo-identification.txt", publicKey, privateKey);
}

int main(int argc, char **argv) {
  char *publicKey = NULL, *privateKey = NULL;
  const char *folder = argc > 1 ? argv[1] : ".";
  int ok = check(quorix_GenerateKeys(&publicKey, &privateKey), "quorix_GenerateKeys");
  if (ok) printf("Developer key pair generated; public key (modulus):\n  %.*s\n",
                 (int)quorix_text_length(publicKey), publicKey);

  ok = ok && demo_identification_report(folder, publicKey, privateKey);
  ok = ok && demo_goods_reports(folder, publicKey, privateKey);
  ok = ok && demo_reductions_report(folder, publicKey, privateKey);
  ok = ok && demo_coupon_report(folder, publicKey, privateKey);
  ok = ok && demo_anexo_vi_report(folder, publicKey, privateKey);

  quorix_text_release(publicKey);
  quorix_text_release(privateKey);
  demo_release_texts();
  printf(ok ? "\nAll reports written, signed and validated.\n" : "\nDemo FAILED.\n");
  return ok ? 0 : 1;
}
