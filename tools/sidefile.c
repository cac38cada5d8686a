/*
 * Writes and reads back the two side files through the public interface, so
 * that a file written by one build can be read by the other.
 *
 * usage: quorix_sidefile write <file>   the sample software-house data and grand totals
 *        quorix_sidefile read <file>    prints everything the file holds, one item a line,
 *                                       bytes outside printable ASCII as \xNN
 * <file> is a Windows-1252 name in which \xNN stands for the byte NN, so that
 * both builds are handed the same bytes whatever their command lines do.
 */
#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "quorix.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

static const char *const kTexts[13] = {"11.222.333/0001-81",
                                       "110.042.490.114",
                                       "",
                                       "Software House Exemplo Ltda",
                                       "Rua das Flores, 100 - S\xE3o Paulo",
                                       "(11) 5555-1234",
                                       "Jo\xE3o da Silva \"JS\"",
                                       "Caixa R\xE1pida PDV",
                                       "2.1.0",
                                       "caixa.exe",
                                       "0123456789abcdef0123456789abcdef",
                                       "01.06",
                                       "LAUDO-123"};
static const char *const kNames[13] = {
    "CNPJ",     "INSCESTADUAL", "INSCMUNICIPAL", "RAZAOSOCIAL", "ENDERECO",  "TELEFONE", "CONTATO",
    "SOFTWARE", "VERSAO",       "FILE",          "MD5",         "VERSAO ER", "LAUDO"};
static const char *const kAuxFiles[3] = {"relat\xF3rios.dll", "tef.dll", "=[;]\t#"};
static const char *const kAuxDigests[2] = {"aaaabbbbccccddddeeeeffff00001111",
                                           "22223333444455556666777788889999"};
/* Integral totals: their text holds no decimal separator, so both builds
 * write the same bytes whatever their regional settings. */
static const char *const kSerials[4] = {"BE0909SC556100001234", "ecf-2", "ECF 3", "NEVER WRITTEN"};
static const double kTotals[3] = {123456789.0, -42.0, 1e15};

static void print_text(const char *label, const char *text, int length) {
  int i;
  printf("%s=", label);
  for (i = 0; i < length; ++i) {
    unsigned char c = (unsigned char)text[i];
    if (c >= 32 && c < 127 && c != '\\')
      putchar(c);
    else
      printf("\\x%02X", c);
  }
  putchar('\n');
}

static int fail(const char *what) {
  char *message = NULL;
  quorix_GetMessageError(&message);
  fprintf(stderr, "%s failed: %.*s\n", what, (int)quorix_text_length(message),
          message ? message : "");
  quorix_text_release(message);
  return 1;
}

static int write_files(quorix_text file) {
  quorix_text t[13], files[3], digests[2];
  int i, ok;
  for (i = 0; i < 13; ++i) t[i] = quorix_text_from(kTexts[i]);
  for (i = 0; i < 3; ++i) files[i] = quorix_text_from(kAuxFiles[i]);
  for (i = 0; i < 2; ++i) digests[i] = quorix_text_from(kAuxDigests[i]);
  ok = quorix_GenerateDataSoftwareHouse(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9],
                                        t[10], t[11], t[12], files, 2, digests, 1, file);
  for (i = 0; i < 13; ++i) quorix_text_release(t[i]);
  for (i = 0; i < 3; ++i) quorix_text_release(files[i]);
  for (i = 0; i < 2; ++i) quorix_text_release(digests[i]);
  if (!ok) return fail("quorix_GenerateDataSoftwareHouse");
  for (i = 0; i < 3; ++i) {
    char *serial = quorix_text_from(kSerials[i]);
    ok = quorix_UpdateTotalizadorGeralECF(serial, kTotals[i], file);
    quorix_text_release(serial);
    if (!ok) return fail("quorix_UpdateTotalizadorGeralECF");
  }
  return 0;
}

struct printed_list {
  const char *label;
  int count;
};

static quorix_bool QUORIX_CALL list_clear(void *context, char **error) {
  (void)error;
  ((struct printed_list *)context)->count = 0;
  return 1;
}

static quorix_bool QUORIX_CALL list_append(void *context, quorix_text text, char **error) {
  struct printed_list *list = (struct printed_list *)context;
  char label[32];
  (void)error;
  snprintf(label, sizeof label, "%s[%d]", list->label, list->count++);
  print_text(label, text, quorix_text_length(text));
  return 1;
}

static int read_files(quorix_text file) {
  char *out[13] = {NULL};
  struct printed_list files = {"FILE AUX", 0}, digests = {"MD5 AUX", 0};
  quorix_string_list fileList = {&files, list_clear, list_append};
  quorix_string_list digestList = {&digests, list_clear, list_append};
  int i;
  if (!quorix_GetDataSoftwareHouse(&out[0], &out[1], &out[2], &out[3], &out[4], &out[5], &out[6],
                                   &out[7], &out[8], &out[9], &out[10], &out[11], &out[12],
                                   &fileList, &digestList, file))
    return fail("quorix_GetDataSoftwareHouse");
  for (i = 0; i < 13; ++i) {
    print_text(kNames[i], out[i], quorix_text_length(out[i]));
    quorix_text_release(out[i]);
  }
  for (i = 0; i < 4; ++i) {
    double total = -1;
    char *serial = quorix_text_from(kSerials[i]);
    char label[64];
    const int ok = quorix_GetInfoTotalizadorECF(serial, &total, file);
    quorix_text_release(serial);
    if (!ok) return fail("quorix_GetInfoTotalizadorECF");
    snprintf(label, sizeof label, "TOTAL %s", kSerials[i]);
    printf("%s=%.17g\n", label, total);
  }
  return 0;
}

/* Decodes the \xNN escapes of a name in place. */
static void unescape(char *name) {
  char *out = name;
  unsigned byte;
  while (*name) {
    if (name[0] == '\\' && name[1] == 'x' && isxdigit((unsigned char)name[2]) &&
        isxdigit((unsigned char)name[3]) && sscanf(name + 2, "%2x", &byte) == 1) {
      *out++ = (char)byte;
      name += 4;
    } else {
      *out++ = *name++;
    }
  }
  *out = '\0';
}

int main(int argc, char **argv) {
  char *file;
  int rc;
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (argc != 3 || (strcmp(argv[1], "write") != 0 && strcmp(argv[1], "read") != 0)) {
    fprintf(stderr, "usage: %s write|read <file>\n", argv[0]);
    return 2;
  }
  unescape(argv[2]);
  file = quorix_text_from(argv[2]);
  rc = strcmp(argv[1], "write") == 0 ? write_files(file) : read_files(file);
  quorix_text_release(file);
  return rc;
}
