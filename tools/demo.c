/*
 * The main job, end to end, as a host would do it: make a key pair, open
 * reports for a sample taxpayer, append their lines, finish each into a
 * signed file, validate it and show where it is and what it holds.
 *
 * usage: quorix_demo [output-folder]      (made when missing)
 */
#include "demo.h"

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <direct.h>
#define make_folder(path) _mkdir(path)
#else
#define make_folder(path) mkdir(path, 0777)
#endif

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

#ifndef _WIN32
/* What Windows-1252 puts at 0x80..0x9F; 0 where it leaves a byte undefined. */
static const unsigned short k1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
#endif

/* The library's texts are Windows-1252; a Linux terminal reads UTF-8. A
 * Windows console already reads the ANSI code page, so bytes go out as they are. */
static void put_1252(FILE *to, const char *text, size_t len) {
#ifdef _WIN32
  fwrite(text, 1, len, to);
#else
  size_t i;
  for (i = 0; i < len; ++i) {
    unsigned char c = (unsigned char)text[i];
    unsigned code = c >= 0x80 && c < 0xA0 ? k1252High[c - 0x80] : c;
    if (code == 0) code = 0xFFFD;
    if (code < 0x80) {
      fputc((int)code, to);
    } else if (code < 0x800) {
      fputc((int)(0xC0 | code >> 6), to);
      fputc((int)(0x80 | (code & 0x3F)), to);
    } else {
      fputc((int)(0xE0 | code >> 12), to);
      fputc((int)(0x80 | ((code >> 6) & 0x3F)), to);
      fputc((int)(0x80 | (code & 0x3F)), to);
    }
  }
#endif
}

void say(const char *format, ...) {
  char line[4096];
  va_list args;
  int n;
  va_start(args, format);
  n = vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (n < 0) return;
  put_1252(stdout, line, (size_t)n < sizeof line ? (size_t)n : sizeof line - 1);
}

/* A terminal's UTF-8 argument as the Windows-1252 text the library takes;
 * 0 when it holds a character Windows-1252 has no byte for. */
static int from_terminal(const char *in, char *out, size_t room) {
#ifdef _WIN32
  if (strlen(in) >= room) return 0;
  strcpy(out, in);
  return 1;
#else
  const unsigned char *p = (const unsigned char *)in;
  size_t n = 0;
  while (*p) {
    unsigned code;
    int extra, b;
    if (*p < 0x80)
      code = *p, extra = 0;
    else if ((*p & 0xE0) == 0xC0)
      code = *p & 0x1Fu, extra = 1;
    else if ((*p & 0xF0) == 0xE0)
      code = *p & 0x0Fu, extra = 2;
    else
      return 0;
    for (++p; extra > 0; --extra, ++p) {
      if ((*p & 0xC0) != 0x80) return 0;
      code = code << 6 | (*p & 0x3Fu);
    }
    if (code >= 0x80 && code < 0xA0) return 0;
    if (code > 0xFF) {
      for (b = 0; b < 32 && k1252High[b] != code; ++b) {
      }
      if (b == 32) return 0;
      code = 0x80u + (unsigned)b;
    }
    if (n + 1 >= room) return 0;
    out[n++] = (char)code;
  }
  out[n] = 0;
  return 1;
#endif
}

/* Makes folder and the folders above it that are missing, as mkdir -p. */
static int make_folders(const char *folder) {
  char path[1024];
  size_t i, len = strlen(folder);
  if (len == 0 || len >= sizeof path) return len == 0;
  memcpy(path, folder, len + 1);
  for (i = 1; i <= len; ++i) {
    if (path[i] != '/' && path[i] != '\\' && path[i] != 0) continue;
    path[i] = 0;
    if (make_folder(path) != 0 && errno != EEXIST) {
      fprintf(stderr, "quorix_demo: cannot make the folder %s: %s\n", path, strerror(errno));
      return 0;
    }
    path[i] = folder[i];
  }
  return 1;
}

int check(quorix_bool ok, const char *what) {
  if (ok) return 1;
  quorix_GetMessageError(&g_error);
  fprintf(stderr, "%s failed: ", what);
  put_1252(stderr, g_error ? g_error : "", (size_t)quorix_text_length(g_error));
  fputc('\n', stderr);
  return 0;
}

void show_file(const char *path) {
  char line[1024];
  int n = 0;
  FILE *f = fopen(path, "rb");
  if (!f) return;
  while (fgets(line, sizeof line, f)) {
    size_t len = strcspn(line, "\r\n");
    say("  %3d | %.*s\n", ++n, (int)len, line);
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
  say("Signed report %s (validated with the public key)\n", path);
  return 1;
}

int demo_identification_report(const char *folder, quorix_text publicKey, quorix_text privateKey) {
  return check(quorix_InicializarPAF(T("11.222.333/0001-81"), T("110.042.490.114"), T(""),
                                     T("Padaria P\xE3o Dourado Ltda")),
               "quorix_InicializarPAF") &&
         check(quorix_Header(T("E1")), "quorix_Header") &&
         demo_finish(folder, "quorix-demo-identification.txt", publicKey, privateKey);
}

int main(int argc, char **argv) {
  char *publicKey = NULL, *privateKey = NULL;
  char folder[1024];
  int ok;
  if (argc > 1 && !from_terminal(argv[1], folder, sizeof folder)) {
    fprintf(stderr, "quorix_demo: the folder name %s has a character Windows-1252 cannot hold\n",
            argv[1]);
    return 2;
  }
  if (argc <= 1) strcpy(folder, ".");
  if (!make_folders(argc > 1 ? argv[1] : ".")) return 1;
  ok = check(quorix_GenerateKeys(&publicKey, &privateKey), "quorix_GenerateKeys");
  if (ok)
    printf("Developer key pair generated; public key (modulus):\n  %.*s\n",
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
