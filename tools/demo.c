/*
 * The main job, end to end, as a host would do it: open a report for a sample
 * taxpayer, append its lines, make a key pair, finish the report into a
 * signed file, validate it and show where it is and what it holds.
 *
 * usage: quorix_demo [output-folder]
 */
#include <stdio.h>
#include <string.h>

#include "quorix.h"

static char *g_error = NULL;

static int check(quorix_bool ok, const char *what) {
  if (ok) return 1;
  quorix_GetMessageError(&g_error);
  fprintf(stderr, "%s failed: %.*s\n", what, (int)quorix_text_length(g_error),
          g_error ? g_error : "");
  return 0;
}

/* Texts made once and released at the end, as a host's string variables. */
#define MAX_TEXTS 64
static char *g_texts[MAX_TEXTS];
static int g_count = 0;
static quorix_text T(const char *s) {
  char *t = quorix_text_from(s);
  if (g_count < MAX_TEXTS) g_texts[g_count++] = t;
  return t;
}

static void show_file(const char *path) {
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

int main(int argc, char **argv) {
  char path[1024];
  char *publicKey = NULL, *privateKey = NULL;
  int ok = 1;
  const char *folder = argc > 1 ? argv[1] : ".";
  snprintf(path, sizeof path, "%s/quorix-demo-report.txt", folder);

  ok = ok && check(quorix_GenerateKeys(&publicKey, &privateKey), "quorix_GenerateKeys");
  ok = ok && check(quorix_InicializarPAF(T("11.222.333/0001-81"), T("110.042.490.114"), T(""),
                                         T("Padaria P\xE3o de A\xE7\xFA" "car Ltda")),
                   "quorix_InicializarPAF");
  ok = ok && check(quorix_Header(T("E1")), "quorix_Header");
  ok = ok && check(quorix_FinalizarPAF(publicKey, privateKey, T(path), 0), "quorix_FinalizarPAF");
  ok = ok && check(quorix_ValidateFilePAF(publicKey, privateKey, T(path)), "quorix_ValidateFilePAF");

  if (ok) {
    printf("Signed report: %s\n", path);
    printf("Public key:  %.*s\n", (int)quorix_text_length(publicKey), publicKey);
    printf("Validated with the public key: yes\nContents:\n");
    show_file(path);
  }
  quorix_text_release(publicKey);
  quorix_text_release(privateKey);
  quorix_text_release(g_error);
  while (g_count > 0) quorix_text_release(g_texts[--g_count]);
  return ok ? 0 : 1;
}
