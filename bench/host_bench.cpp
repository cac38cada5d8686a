// The library timed as a host runs it: every call through the exported
// entries, with texts the host made once, beside the host's own hand-written
// snprintf line for the same record, no checks at all, built for the same
// target. Builds natively and for 32-bit Windows (run under Wine against
// quorix.dll), so it depends on nothing but the public header and the C and
// C++ runtimes (plus the system's MD5 for the finishing floor).
//
// Prints one "key value" line per figure, for tools/bench.sh to put the two
// builds side by side:
//   item_ns, header_ns             best time per line through the exports
//   item_cpu_ns, header_cpu_ns     best processor time per line
//   printf_item_ns, printf_header_ns   the host's snprintf line
//   first_faults, second_faults    page faults while 1,000,000 header lines fill
//                                  the first and the second report of the process
//   buffer_bytes, line_bytes       memory the first report took, and its line bytes
//   finish_ms, floor_ms            quorix_FinalizarPAF of those lines (write,
//                                  sign), and writing the same bytes to the device
//                                  plus one MD5 pass over them
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host_text.h"
#include "quorix.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first
#include <bcrypt.h>
#include <io.h>
#include <psapi.h>
#else
#include <openssl/evp.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

#ifdef _WIN32
double ProcessorSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ticks = [](const FILETIME& f) {
    return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}
PROCESS_MEMORY_COUNTERS MemoryCounters() {
  PROCESS_MEMORY_COUNTERS c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
  return c;
}
uint64_t PageFaults() { return MemoryCounters().PageFaultCount; }
uint64_t ResidentBytes() { return MemoryCounters().WorkingSetSize; }
bool Md5(const char* data, size_t size, unsigned char digest[16]) {
  BCRYPT_ALG_HANDLE alg = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool ok = BCryptOpenAlgorithmProvider(&alg, BCRYPT_MD5_ALGORITHM, nullptr, 0) == 0 &&
            BCryptCreateHash(alg, &hash, nullptr, 0, nullptr, 0, 0) == 0;
  for (size_t done = 0; ok && done < size;) {
    const ULONG piece = static_cast<ULONG>(size - done < (1u << 30) ? size - done : (1u << 30));
    ok = BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(data + done)), piece, 0) ==
         0;
    done += piece;
  }
  ok = ok && BCryptFinishHash(hash, digest, 16, 0) == 0;
  if (hash) BCryptDestroyHash(hash);
  if (alg) BCryptCloseAlgorithmProvider(alg, 0);
  return ok;
}
bool FlushToDevice(FILE* f) {
  return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)))) != 0;
}
#else
double ProcessorSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
uint64_t PageFaults() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<uint64_t>(u.ru_minflt + u.ru_majflt);
}
uint64_t ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<uint64_t>(resident) * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}
bool Md5(const char* data, size_t size, unsigned char digest[16]) {
  unsigned int length = 0;
  return EVP_Digest(data, size, digest, &length, EVP_md5(), nullptr) == 1;
}
bool FlushToDevice(FILE* f) { return fsync(fileno(f)) == 0; }
#endif

[[noreturn]] void Fail(const char* what) {
  char* message = nullptr;
  quorix_GetMessageError(&message);
  std::fprintf(stderr, "host_bench: %s failed: %.*s\n", what, quorix_text_length(message),
               message ? message : "");
  std::exit(1);
}

using qb::Text;

// Invented sample data.
const char* const kCnpj = "11.222.333/0001-81";
const char* const kStateRegistration = "110.042.490.114";
const char* const kCompany = "Mercearia Exemplo Ltda";

void OpenReport() {
  Text cnpj(kCnpj), ie(kStateRegistration), im(""), name(kCompany);
  if (!quorix_InicializarPAF(cnpj, ie, im, name)) Fail("quorix_InicializarPAF");
}

// Ends the open report without writing a file (no keys: the call fails and
// closes the report all the same).
void DiscardReport() { quorix_FinalizarPAF(nullptr, nullptr, nullptr, 0); }

struct ItemTexts {
  Text type{"E15"}, serial{"QX0123456789ABCDEF01"}, mf{"A"}, model{"QX-2200 FI"}, user{"1"},
      coo{"4567"}, ccf{"123"}, item{"12"}, code{"7890000000017"},
      description{
          "A\xE7\xFA"
          "car cristal pacote 1kg"},
      unit{"kg"}, totalizer{"T1800"};
};

struct Run {
  double seconds = 0, processor = 0;
};

// Best of `rounds` runs of `lines` calls of `call` (one line each).
template <class Call>
Run Best(int rounds, int lines, bool inReport, Call call) {
  Run best{1e30, 0};
  for (int r = 0; r < rounds; ++r) {
    if (inReport) OpenReport();
    const double cpu0 = ProcessorSeconds();
    const Clock::time_point t0 = Clock::now();
    for (int i = 0; i < lines; ++i)
      if (!call(i)) Fail("a line");
    const double seconds = SecondsSince(t0);
    const double cpu = ProcessorSeconds() - cpu0;
    if (inReport) DiscardReport();
    // Each best on its own: on a shared machine a run's wall time also holds
    // the time other processes had the core.
    if (seconds < best.seconds) best.seconds = seconds;
    if (r == 0 || cpu < best.processor) best.processor = cpu;
  }
  return best;
}

void Print(const char* key, double value) { std::printf("%s %.6g\n", key, value); }

void PrintPerLine(const char* key, const Run& run, int lines) {
  Print(key, run.seconds * 1e9 / lines);
  std::string cpuKey(key);
  cpuKey.insert(cpuKey.size() - 3, "_cpu");
  Print(cpuKey.c_str(), run.processor * 1e9 / lines);
}

// The host's own line for an item: the same 268 characters, by one snprintf,
// into a reused region (the host keeps its lines somewhere).
class HostLines {
 public:
  HostLines() : region_(size_t{1} << 20) {}
  char* Next(size_t size) {
    if (at_ + size + 1 > region_.size()) at_ = 0;
    char* p = region_.data() + at_;
    at_ += size;
    return p;
  }
  unsigned Sum() const { return static_cast<unsigned char>(region_[region_.size() / 2]); }

 private:
  std::vector<char> region_;
  size_t at_ = 0;
};

bool PrintfItem(HostLines& host, double quantity) {
  char* at = host.Next(268);
  const int n = std::snprintf(
      at, 269,
      "%-3.3s%-20.20s%-1.1s%-20.20s%02d%06d%06d%03d%-14.14s%-100.100s%07.0f%-3.3s%08.0f%08.0f"
      "%08.0f%014.0f%-7.7s%c%07.0f%013.0f%013.0f%c%c%d%d",
      "E15", "QX0123456789ABCDEF01", "A", "QX-2200 FI", 1, 4567, 123, 12, "7890000000017",
      "ACUCAR CRISTAL PACOTE 1KG", quantity * 1000, "KG", 4.99 * 100, 0.23 * 100, 0.1 * 100,
      (quantity * 4.99 - 0.13) * 100, "T1800", 'N', 0.0, 0.0, 0.0, 'A', 'T', 3, 2);
  return n == 268;
}

bool PrintfHeader(HostLines& host) {
  char* at = host.Next(94);
  const int n = std::snprintf(at, 95, "%-2.2s%014.0f%-14.14s%-14.14s%-50.50s", "E1",
                              11222333000181.0, "110042490114", "ISENTO", "MERCEARIA EXEMPLO LTDA");
  return n == 94;
}

}  // namespace

int main(int argc, char** argv) {
  // host_bench [lines per run [lines]]: fewer lines for a quick look; "lines"
  // times the lines alone (for a profiler).
  const int lines = argc > 1 ? std::atoi(argv[1]) : 200000;
  const bool linesOnly = argc > 2 && std::strcmp(argv[2], "lines") == 0;
  const int rounds = 5;
  const int reportLines = 1000000;
  const size_t headerBytes = 94;
  if (lines <= 0) return 2;

  Text publicKey(""), privateKey("");
  if (!quorix_GenerateKeys(publicKey.out(), privateKey.out())) Fail("quorix_GenerateKeys");
#ifdef _WIN32
  const char* tmp = std::getenv("TEMP");
#else
  const char* tmp = std::getenv("TMPDIR");
#endif
  const std::string folder = tmp && *tmp ? tmp : ".";
  const std::string reportPath = folder + "/quorix-host-bench-report.txt";
  const std::string floorPath = folder + "/quorix-host-bench-floor.txt";
  Text reportFile(reportPath.c_str());
  Text e1("E1");

  // The first report of the process pays for fresh memory; the second one
  // should find the first one's memory ready.
  double finishBest = 1e30;
  for (int report = 0; report < (linesOnly ? 0 : 2); ++report) {
    const uint64_t resident0 = ResidentBytes();
    const uint64_t faults0 = PageFaults();
    OpenReport();
    for (int i = 0; i < reportLines; ++i)
      if (!quorix_Header(e1)) Fail("quorix_Header");
    const uint64_t faults = PageFaults() - faults0;
    if (report == 0) {
      Print("first_faults", static_cast<double>(faults));
      Print("buffer_bytes", static_cast<double>(ResidentBytes() - resident0));
      Print("line_bytes", static_cast<double>(reportLines * headerBytes));
    } else {
      Print("second_faults", static_cast<double>(faults));
    }
    const Clock::time_point t0 = Clock::now();
    if (!quorix_FinalizarPAF(publicKey, privateKey, reportFile, 0)) Fail("quorix_FinalizarPAF");
    const double seconds = SecondsSince(t0);
    if (seconds < finishBest) finishBest = seconds;
  }
  if (!linesOnly) {
    Print("finish_ms", finishBest * 1e3);
    std::remove(reportPath.c_str());
    std::string line(headerBytes, 'E');
    line += "\r\n";
    std::vector<char> bytes(line.size() * reportLines);
    for (size_t at = 0; at < bytes.size(); at += line.size())
      std::memcpy(bytes.data() + at, line.data(), line.size());
    double best = 1e30;
    for (int r = 0; r < 2; ++r) {
      const Clock::time_point t0 = Clock::now();
      FILE* f = std::fopen(floorPath.c_str(), "wb");
      unsigned char digest[16];
      if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
          std::fflush(f) != 0 || !FlushToDevice(f) || std::fclose(f) != 0 ||
          !Md5(bytes.data(), bytes.size(), digest)) {
        std::fprintf(stderr, "host_bench: the floor's write or MD5 failed\n");
        return 1;
      }
      const double seconds = SecondsSince(t0);
      if (seconds < best) best = seconds;
    }
    Print("floor_ms", best * 1e3);
    std::remove(floorPath.c_str());
  }

  {
    ItemTexts t;
    PrintPerLine("item_ns",
                 Best(rounds, lines, true,
                      [&](int i) {
                        const double quantity = 2.25 + 0.001 * (i & 1023);  // a new value each call
                        return quorix_DetalheCupomFiscal(
                            t.type, t.serial, t.mf, t.model, t.user, t.coo, t.ccf, t.item, t.code,
                            t.description, quantity, t.unit, 4.99, 0.23, 0.1,
                            quantity * 4.99 - 0.13, t.totalizer, 'N', 0, 0, 0, 'A', 'T', 3, 2);
                      }),
                 lines);
  }
  PrintPerLine("header_ns", Best(rounds, lines, true, [&](int) { return quorix_Header(e1); }),
               lines);

  HostLines host;
  PrintPerLine("printf_item_ns",
               Best(rounds, lines, false,
                    [&](int i) { return PrintfItem(host, 2.25 + 0.001 * (i & 1023)); }),
               lines);
  PrintPerLine("printf_header_ns",
               Best(rounds, lines, false, [&](int) { return PrintfHeader(host); }), lines);
  Print("host_check", host.Sum());
  return 0;
}
