/*
 * A host process of its own, for what one process cannot show: several of
 * them writing the same files at once, or one that fills its memory.
 *
 * In the races each process owns one ECF serial number (or one report tag)
 * and checks, after every call, that the file says what the call's result
 * says: an update reported as success is there, one reported as failure is
 * not.
 *
 * usage: quorix_race_host totals <file> <serial> <count> <result-file>
 *          updates the serial's grand total to 1, 2, ... count; writes the
 *          last value reported as stored to <result-file>
 *        quorix_race_host report <file> <tag> <count> <result-file>
 *          finishes <count> one-line reports named <tag> into <file>; writes
 *          the number that succeeded; ends with one more report open
 *        quorix_race_host fill <file> <tag> <megabytes> <result-file>
 *          leaves itself <megabytes> of address space (the rest is
 *          limited on Linux, reserved on 32-bit Windows, a job's limit on
 *          64-bit Windows);
 *          adds stock lines until the library finds no memory, then
 *          finishes the report, which must be written and signed whole;
 *          writes the number of stock lines accepted, or -1 where the
 *          system does not enforce the limit
 *        quorix_race_host churn <house file> <grand-total file> <passes> <result-file>
 *          rewrites both side files, alternating two versions of each, for
 *          <passes> passes (0: until killed); creates <result-file> once the
 *          first pass is done
 * Exits 0 when every call's result matched the file, 1 otherwise.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "quorix.h"

static void print_message(const char *what) {
  char *message = NULL;
  quorix_GetMessageError(&message);
  fprintf(stderr, "%s: %.*s\n", what, (int)quorix_text_length(message), message ? message : "");
  quorix_text_release(message);
}

static int totals(quorix_text file, quorix_text serial, int count, int *stored) {
  int k, mismatches = 0;
  for (k = 1; k <= count; ++k) {
    double read = -1;
    const int ok = quorix_UpdateTotalizadorGeralECF(serial, k, file);
    if (!ok) print_message("update");
    if (ok) *stored = k;
    if (!quorix_GetInfoTotalizadorECF(serial, &read, file)) {
      print_message("read");
      ++mismatches;
    } else if (read != *stored) {
      fprintf(stderr, "update %d reported %s, the file holds %g\n", k, ok ? "stored" : "failed",
              read);
      ++mismatches;
    }
  }
  return mismatches;
}

static int reports(quorix_text file, quorix_text tag, int count, int *stored) {
  char *pub = NULL, *priv = NULL;
  int k, mismatches = 0;
  quorix_text cnpj = quorix_text_from("11222333000181"), type = quorix_text_from("E1");
  if (!quorix_GenerateKeys(&pub, &priv)) return 1;
  for (k = 0; k < count; ++k) {
    int ok;
    quorix_InicializarPAF(cnpj, NULL, NULL, tag);
    quorix_Header(type);
    ok = quorix_FinalizarPAF(pub, priv, file, 0);
    if (!ok) print_message("finish");
    *stored += ok;
    /* Whatever writer came last, the file is one whole signed report. */
    if (!quorix_ValidateFilePAF(pub, priv, file)) {
      fprintf(stderr, "report %d: the file does not validate\n", k);
      ++mismatches;
    }
  }
  /* A host may end with a report open (a till closed mid-report): the
   * process must still end cleanly, its lines' memory given back in order. */
  if (!quorix_InicializarPAF(cnpj, NULL, NULL, tag) || !quorix_Header(type)) ++mismatches;
  quorix_text_release(pub);
  quorix_text_release(priv);
  quorix_text_release(cnpj);
  quorix_text_release(type);
  return mismatches;
}

/* 1: limited; 0: failed; -1: this system does not enforce the limit. */
static int limit_memory(int megabytes) {
#if defined(_WIN64)
  /* A 64-bit address space cannot be filled (the system's own bookkeeping of
   * 128 TiB reserved would take more memory than the machine has): the
   * process's committed memory is limited through a job instead. wine64
   * accepts the limit but does not enforce it, which a commit past it shows. */
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION info;
  HANDLE job = CreateJobObjectA(NULL, NULL);
  const size_t limit = (size_t)megabytes << 20;
  void *past;
  memset(&info, 0, sizeof info);
  info.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
  info.ProcessMemoryLimit = limit;
  if (!job ||
      !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &info, sizeof info) ||
      !AssignProcessToJobObject(job, GetCurrentProcess()))
    return 0;
  past = VirtualAlloc(NULL, limit + ((size_t)64 << 20), MEM_COMMIT, PAGE_READWRITE);
  if (past) {
    VirtualFree(past, 0, MEM_RELEASE);
    return -1;
  }
  return 1;
#elif defined(_WIN32)
  /* Reserve every free range of the address space, largest pieces first,
   * then give back the first <megabytes> of them. */
  static struct {
    void *at;
    size_t size;
  } taken[65536];
  size_t piece, n = 0, k, left = (size_t)megabytes << 20;
  void *at;
  for (piece = (size_t)256 << 20; piece >= (size_t)64 << 10; piece /= 2)
    while (n < sizeof taken / sizeof taken[0] &&
           (at = VirtualAlloc(NULL, piece, MEM_RESERVE, PAGE_NOACCESS)) != NULL) {
      taken[n].at = at;
      taken[n++].size = piece;
    }
  for (k = 0; k < n && left > 0; ++k) {
    VirtualFree(taken[k].at, 0, MEM_RELEASE);
    left = left > taken[k].size ? left - taken[k].size : 0;
  }
  return n > 0 && left == 0;
#else
  unsigned long pages = 0;
  struct rlimit limit;
  FILE *statm = fopen("/proc/self/statm", "r");
  if (!statm || fscanf(statm, "%lu", &pages) != 1) return 0;
  fclose(statm);
  limit.rlim_cur = limit.rlim_max =
      (rlim_t)pages * (rlim_t)sysconf(_SC_PAGESIZE) + ((rlim_t)megabytes << 20);
  return setrlimit(RLIMIT_AS, &limit) == 0;
#endif
}

static int message_is(const char *expected) {
  char *message = NULL;
  int same;
  quorix_GetMessageError(&message);
  same = (size_t)quorix_text_length(message) == strlen(expected) &&
         memcmp(message, expected, strlen(expected)) == 0;
  if (!same)
    fprintf(stderr, "message: %.*s\n", (int)quorix_text_length(message), message ? message : "");
  quorix_text_release(message);
  return same;
}

static int fill(quorix_text file, quorix_text tag, int megabytes, int *stored) {
  char *pub = NULL, *priv = NULL;
  int mismatches = 0;
  quorix_text cnpj = quorix_text_from("11222333000181"), e1 = quorix_text_from("E1"),
              e2 = quorix_text_from("E2"), code = quorix_text_from("1001"),
              product = quorix_text_from("P\xE3o de queijo congelado"),
              unit = quorix_text_from("KG");
  int limited;
  if (!quorix_GenerateKeys(&pub, &priv)) return 1;
  limited = limit_memory(megabytes);
  if (limited <= 0) {
    *stored = limited;
    return limited == 0;
  }
  if (!quorix_InicializarPAF(cnpj, NULL, NULL, tag) || !quorix_Header(e1)) {
    print_message("open");
    return 1;
  }
  while (quorix_RelacaoMercadoriaEstoque(e2, code, product, unit, 12.5, 45443.0)) ++*stored;
  if (!message_is("Mem\xF3ria insuficiente")) ++mismatches;
  /* What was accepted is written and signed: finishing needs nothing new. */
  if (!quorix_FinalizarPAF(pub, priv, file, 0)) {
    print_message("finish");
    ++mismatches;
  } else if (!quorix_ValidateFilePAF(pub, priv, file)) {
    print_message("validate");
    ++mismatches;
  }
  quorix_text_release(pub);
  quorix_text_release(priv);
  quorix_text_release(cnpj);
  quorix_text_release(e1);
  quorix_text_release(e2);
  quorix_text_release(code);
  quorix_text_release(product);
  quorix_text_release(unit);
  return mismatches;
}

/* Version 0 and version 1 of both side files; every pass writes one. */
static int write_side_files(quorix_text house, quorix_text totals, int version) {
  static const char *const aux[2][3] = {{"relatorios.dll"}, {"x.dll", "y.dll", "z.dll"}};
  const char *company = version ? "Outra Software House Ltda" : "Software House Exemplo Ltda";
  quorix_text t[13], files[3], serial = quorix_text_from("ECF 1");
  int k, last = version ? 2 : 0, ok;
  for (k = 0; k < 13; ++k)
    t[k] = quorix_text_from(k == 3 ? company : k == 0 ? "11222333000181" : "");
  for (k = 0; k <= last; ++k) files[k] = quorix_text_from(aux[version][k]);
  ok = quorix_GenerateDataSoftwareHouse(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9],
                                        t[10], t[11], t[12], files, last, NULL, -1, house) &&
       quorix_UpdateTotalizadorGeralECF(serial, version ? 98765.25 : 1234.5, totals);
  quorix_text_release(serial);
  for (k = 0; k < 13; ++k) quorix_text_release(t[k]);
  for (k = 0; k <= last; ++k) quorix_text_release(files[k]);
  return ok;
}

static int churn(quorix_text house, quorix_text totals, int passes, const char *started) {
  int n;
  for (n = 0; passes == 0 || n < passes; ++n) {
    if (!write_side_files(house, totals, n % 2)) {
      print_message("write");
      return 1;
    }
    if (n == 0) {
      FILE *signal = fopen(started, "w");
      if (signal) fclose(signal);
    }
  }
  return 0;
}

int main(int argc, char **argv) {
  quorix_text file, name;
  int mismatches, stored = 0;
  FILE *out;
  if (argc != 6) {
    fprintf(stderr,
            "usage: quorix_race_host totals|report|fill|churn <file> <name> <count> <result>\n");
    return 2;
  }
  file = quorix_text_from(argv[2]);
  name = quorix_text_from(argv[3]);
  if (strcmp(argv[1], "churn") == 0)
    mismatches = churn(file, name, atoi(argv[4]), argv[5]);
  else if (strcmp(argv[1], "totals") == 0)
    mismatches = totals(file, name, atoi(argv[4]), &stored);
  else if (strcmp(argv[1], "fill") == 0)
    mismatches = fill(file, name, atoi(argv[4]), &stored);
  else
    mismatches = reports(file, name, atoi(argv[4]), &stored);
  out = fopen(argv[5], "w");
  if (!out) return 1;
  fprintf(out, "%d\n", stored);
  fclose(out);
  quorix_text_release(file);
  quorix_text_release(name);
  return mismatches == 0 ? 0 : 1;
}
