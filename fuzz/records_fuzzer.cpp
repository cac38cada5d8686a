// Random sequences of report calls, as a careless or hostile host makes them:
// opening (with valid and invalid taxpayers), every record builder with
// arguments drawn from plausible and arbitrary values, finishing with the
// real key pair or with a broken one. Each finished report is held to:
//   - every line ends in CR LF and holds no other CR or LF;
//   - one line per accepted call, in call order, plus the EAD line;
//   - each line has its kind's length, its record type exactly as passed,
//     digits in its numeric fields and rendered text in its text fields;
//   - the signature validates with the public key;
//   - failed calls left the report as it was: replaying only the accepted
//     calls (and every opening) gives the same file, byte for byte, also
//     with the texts passed as constants and the upper bytes of character
//     slots cleared.
// Calls must also give back their argument texts untouched, explain every
// failure, and leave the message empty after the builders that clear it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "UPAF/record_call.h"
#include "support.h"

namespace {

constexpr std::string_view kHarness = "records_fuzzer";

// The builders in the order of the record kind list, then the other calls.
#define QUORIX_FUZZ_OP(kind, exportName) k##kind,
enum Op : uint8_t {
  QUORIX_RECORD_KINDS(QUORIX_FUZZ_OP) kBuilderCount,
  kOpen = kBuilderCount,
  kFinish,
  kFinishWithBrokenKey,
  kOpCount,
};
#undef QUORIX_FUZZ_OP

// What each builder's lines must be, stated here apart from the library's
// record tables so that the two check each other. Field classes:
//   t record type as passed    x rendered text (printable ASCII but "?", no a-z)
//   a one byte as passed       z text as passed, zero-filled (no CR, LF)
//   d digits                   b digits, or blanks only
//   s digits after an optional leading "-"
struct Kind {
  size_t lineLength;
  bool entryClear;
  const char* layout;
};

constexpr Kind kKinds[kBuilderCount] = {
    {94, false, "t2 x14 x14 x14 x50"},
    {310, false, "t3 x20 x1 x7 x20 x20 x10 b8 b6 d3 x14 x14 x14 x14 x14 x40 x40 x10 x32 d8 d8 x4"},
    {36, false, "t2 x14 x14 d6"},
    {149, true, "t2 x14 x20 x1 x7 x20 x20 d6 z13 d8 x30 d8"},
    {103, true, "t2 x14 z14 x50 x6 s9 d8"},
    {105, true, "t2 x14 z14 x50 x6 x1 x1 x1 d4 d12"},
    {101, true, "t3 x20 x1 x20 x2 z6 z6 z6 d8 d8 d6 d14 a1"},
    {72, true, "t3 x20 x1 x20 x2 z6 x7 d13"},
    {191, true, "t3 x20 x1 x20 x2 z6 z6 d8 d14 d13 x1 d13 x1 d14 x1 d13 x1 x40 x14"},
    {268, true,
     "t3 x20 x1 x20 x2 z6 z6 z3 x14 x100 d7 x3 d8 d8 d8 d14 x7 x1 d7 d13 d13 x1 x1 d1 d1"},
    {84, true, "t3 x20 x1 x20 x2 z6 z6 z6 z4 x2 d8 d6"},
    {106, true, "t3 x20 x1 x20 x2 z6 z6 z6 x15 d13 a1 d13"},
    {148, true, "t3 x14 d8 x10 x2 z6 z6 x20 z6 x4 d13 d13 d4 d13 d13 d13"},
};

// The export's name without "quorix_", for messages.
std::string NameOf(Op op) {
  if (op == kOpen) return "InicializarPAF";
  return std::string(quorix::upaf::ExportName(static_cast<quorix::upaf::RecordId>(op)).substr(7));
}

// One letter per argument of each builder, from its prototype: T text,
// R real, I integer, C character slot; F the software-house file.
const std::vector<std::string>& ArgumentLetters() {
  static const std::vector<std::string> letters = [] {
    std::vector<std::string> all;
    for (int op = 0; op < kBuilderCount; ++op) {
      std::string l;
      for (const auto k :
           quorix::upaf::ExportParameterKinds(static_cast<quorix::upaf::RecordId>(op)))
        l += k == quorix::upaf::ParamKind::Text      ? 'T'
             : k == quorix::upaf::ParamKind::Integer ? 'I'
             : k == quorix::upaf::ParamKind::Real    ? 'R'
                                                     : 'C';
      all.push_back(l);
    }
    // Only files of our own: a read of the software-house file writes to it.
    all[kAnexoVI][10] = 'F';
    return all;
  }();
  return letters;
}

struct Field {
  char kind;
  size_t width;
};

std::vector<Field> ParseLayout(const Kind& kind) {
  std::vector<Field> fields;
  size_t total = 0;
  for (const char* p = kind.layout; *p;) {
    const char c = *p++;
    size_t width = 0;
    while (*p >= '0' && *p <= '9') width = width * 10 + static_cast<size_t>(*p++ - '0');
    fields.push_back({c, width});
    total += width;
    while (*p == ' ') ++p;
  }
  if (total != kind.lineLength) fuzz::Violation(kHarness, "a layout of the wrong length");
  return fields;
}

// Sample values each argument kind is drawn from before arbitrary ones.
const std::vector<std::string> kTexts = {
    "",
    " ",
    "E1",
    "E2",
    "D2",
    "P2",
    "E01",
    "R02",
    "R03",
    "E14",
    "E15",
    "E16",
    "E21",
    "E22",
    "T9",
    " E1",
    "E1 ",
    "R02 ",
    "BE091010100011223344",
    "FX0101SC000000000042",
    "A",
    "a",
    "ECF-IF",
    "Fabricante X",
    "PX-4000 FI EX",
    "1",
    "12",
    "123",
    "4567",
    "0000123",
    "2000000000024",
    "P\xE3o franc\xEAs",
    "A\xE7\xFA"
    "car cristal 1kg",
    "UN",
    "KG",
    "T01",
    "F1",
    "Can-T",
    "Dinheiro",
    "CN",
    "RV",
    "N",
    "S",
    "01.00.01",
    "0107",
    "Jos\xE9 da Silva",
    "529.982.247-25",
    "1\r\n2",
    std::string(101, 'w'),
};
const std::vector<std::string> kCnpjs = {
    "11.222.333/0001-81",   "11222333000181",     "529.982.247-25",
    "52998224725",          "00000000000000",     "00.000.000/0000-00",
    "000.000.000-00",       "11.222.333/0001-82", "",
    " 11.222.333/0001-81 ",
};
const std::vector<std::string> kCompanies = {"Padaria P\xE3o Dourado Ltda", "", "  ",
                                             std::string(60, 'q')};
const double kReals[] = {0,
                         1,
                         2.25,
                         12.45,
                         0.005,
                         -0.004,
                         -152.75,
                         1e15,
                         1e300,
                         std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(),
                         39508,            // 2008-03-01
                         45443.5,          // 2024-05-31 12:00
                         45446.999999999,  // a time just before midnight
                         2958465.999,      // 9999-12-31
                         -693593,          // 0001-01-01
                         47109.0 / 86400,  // 13:05:09
                         -1,
                         std::numeric_limits<double>::denorm_min()};
const int32_t kIntegers[] = {0,
                             1,
                             2,
                             3,
                             7,
                             -1,
                             -5,
                             12,
                             999,
                             1000,
                             123456,
                             1000000,
                             std::numeric_limits<int32_t>::min(),
                             std::numeric_limits<int32_t>::max()};
const unsigned char kCharacters[] = {'A', 'T', 'P', 'F', 'I', 'N',  'S', 'D',  'V',  'X',
                                     'C', 'O', ' ', 0,   'a', 0xE7, '?', '\r', '\n', 0x7F};

struct Arg {
  char kind;
  std::string text;
  double real = 0;
  int32_t integer = 0;
  uint32_t slot = 0;
};

struct Call {
  Op op;
  std::vector<Arg> args;
  bool ok = false;
};

struct Paths {
  std::string folder, houseFile, missingFile, report, replayed, brokenKeyReport;
};

const Paths& Files() {
  static const Paths paths = [] {
    Paths p;
    p.folder = fuzz::ScratchFolder() + "/records";
    fuzz::ResetFolder(p.folder);
    p.houseFile = p.folder + "/software-house.ini";
    p.missingFile = p.folder + "/no-such-file.ini";
    p.report = p.folder + "/report.txt";
    p.replayed = p.folder + "/replayed.txt";
    p.brokenKeyReport = p.folder + "/broken-key.txt";
    return p;
  }();
  return paths;
}

struct Keys {
  std::string publicKey, privateKey;
};

const Keys& RealKeys() {
  static const Keys keys = [] {
    char *pub = nullptr, *priv = nullptr;
    if (!quorix_GenerateKeys(&pub, &priv)) fuzz::Violation(kHarness, "no key pair");
    Keys k{fuzz::TakeText(kHarness, pub), fuzz::TakeText(kHarness, priv)};
    return k;
  }();
  return keys;
}

void MakeSoftwareHouseFile() {
  const fuzz::HostText cnpj("11.222.333/0001-81"), ie("110.042.490.114"), im(""),
      name("Software House Exemplo Ltda"), address("Rua das Flores, 100"), phone("(11) 5555-1234"),
      contact("Jo\xE3o"), software("Caixa R\xE1pida PDV"), version("2.1.0"), file("caixa.exe"),
      md5("0123456789ABCDEF0123456789ABCDEF"), er("01.06"), report("LAUDO-123"), aux("caixa.dll"),
      path(Files().houseFile);
  const quorix_text auxFiles[] = {aux};
  if (!quorix_GenerateDataSoftwareHouse(cnpj, ie, im, name, address, phone, contact, software,
                                        version, file, md5, er, report, auxFiles, 0, auxFiles, 0,
                                        path))
    fuzz::Violation(kHarness, "no software-house file: " + fuzz::LastError(kHarness));
}

// Three picks in four come from the samples.
std::string DrawText(FuzzedDataProvider& in, const std::vector<std::string>& samples) {
  const size_t pick = in.ConsumeIntegral<uint8_t>();
  if (pick < 192) return samples[pick % samples.size()];
  return in.ConsumeRandomLengthString(pick < 250 ? 24 : 400);
}

template <class T, size_t N>
T DrawValue(FuzzedDataProvider& in, const T (&samples)[N], T (*arbitrary)(FuzzedDataProvider&)) {
  const size_t pick = in.ConsumeIntegral<uint8_t>();
  return pick < 192 ? samples[pick % N] : arbitrary(in);
}

Arg Draw(FuzzedDataProvider& in, char kind, Op op, size_t index) {
  Arg a{kind, {}};
  switch (kind) {
    case 'T':
      a.text = op == kOpen ? DrawText(in, index == 0   ? kCnpjs
                                          : index == 3 ? kCompanies
                                                       : kTexts)
                           : DrawText(in, kTexts);
      break;
    case 'F': {
      // Only files of our own: a read of the software-house file writes to it.
      const uint8_t pick = in.ConsumeIntegral<uint8_t>() % 3;
      a.text = pick == 0 ? Files().houseFile : pick == 1 ? Files().missingFile : "";
      break;
    }
    case 'R':
      a.real = DrawValue(
          in, kReals, +[](FuzzedDataProvider& p) { return p.ConsumeFloatingPoint<double>(); });
      break;
    case 'I':
      a.integer = DrawValue(
          in, kIntegers, +[](FuzzedDataProvider& p) { return p.ConsumeIntegral<int32_t>(); });
      break;
    case 'C': {
      // Only the lowest byte of a slot counts; the others are noise.
      const unsigned char low = DrawValue(
          in, kCharacters,
          +[](FuzzedDataProvider& p) { return p.ConsumeIntegral<unsigned char>(); });
      a.slot = low | (in.ConsumeIntegral<uint32_t>() & 0xFFFFFF00u);
      break;
    }
  }
  return a;
}

// How a call is made again: the same values passed another way, which must
// make no difference.
struct Passing {
  bool constants = false;     // texts as constants (count -1)
  bool lowBytesOnly = false;  // character slots without their upper bytes
};

// The arguments of one call as host texts and values, checked after the call.
class Bound {
 public:
  Bound(const Call& call, Passing how) : call_(call), how_(how) {
    for (const Arg& a : call.args)
      texts_.emplace_back(a.kind == 'T' || a.kind == 'F' ? new fuzz::HostText(a.text, how.constants)
                                                         : nullptr);
  }
  quorix_text t(size_t i) const { return *texts_.at(i); }
  // As the builders' call table reads them.
  quorix_text text(size_t i) const { return t(i); }
  double real(size_t i) const { return r(i); }
  int32_t integer(size_t i) const { return n(i); }
  quorix_slot slot(size_t i) const { return c(i); }
  double r(size_t i) const { return call_.args.at(i).real; }
  int32_t n(size_t i) const { return call_.args.at(i).integer; }
  quorix_slot c(size_t i) const {
    return how_.lowBytesOnly ? call_.args.at(i).slot & 0xFF : call_.args.at(i).slot;
  }
  void CheckTexts() const {
    for (const auto& t : texts_)
      if (t && !t->Damage().empty()) fuzz::Violation(kHarness, t->Damage());
  }

 private:
  const Call& call_;
  Passing how_;
  std::vector<std::unique_ptr<fuzz::HostText>> texts_;
};

bool Invoke(const Call& call, Passing how = {}) {
  const Bound a(call, how);
  bool ok = false;
  switch (call.op) {
    case kOpen:
      ok = quorix_InicializarPAF(a.t(0), a.t(1), a.t(2), a.t(3));
      break;
    default:
      if (call.op >= kBuilderCount) fuzz::Violation(kHarness, "not a call");
      ok = quorix::upaf::CallRecordExport(static_cast<quorix::upaf::RecordId>(call.op), a);
  }
  a.CheckTexts();
  return ok;
}

std::string Show(std::string_view bytes) {
  std::string out;
  for (const unsigned char c : bytes) {
    if (c >= 32 && c < 127 && c != '\\') {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

bool Digits(std::string_view s) {
  for (const char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

bool RenderedText(std::string_view s) {
  for (const unsigned char c : s)
    if (c < 32 || c > 126 || c == '?' || (c >= 'a' && c <= 'z')) return false;
  return true;
}

// What a field may hold, by its class.
bool FieldHolds(char kind, std::string_view field) {
  switch (kind) {
    case 'x':
      return RenderedText(field);
    case 'a':
    case 'z':
      return field.find_first_of("\r\n") == std::string_view::npos;
    case 'd':
      return Digits(field);
    case 'b':
      return Digits(field) || field.find_first_not_of(' ') == std::string_view::npos;
    case 's':
      return Digits(field.substr(field.empty() || field[0] != '-' ? 0 : 1));
  }
  return false;
}

void CheckLine(const Call& call, std::string_view line, size_t number,
               const std::vector<Field>& layout) {
  const Kind& kind = kKinds[call.op];
  auto fail = [&](const std::string& what) {
    fuzz::Violation(kHarness, "line " + std::to_string(number) + " (" + NameOf(call.op) +
                                  "): " + what + "\n" + Show(line));
  };
  if (line.size() != kind.lineLength)
    fail("length " + std::to_string(line.size()) + ", not " + std::to_string(kind.lineLength));
  const std::string& type = call.args[0].text;
  if (type.size() != layout[0].width || line.substr(0, type.size()) != type)
    fail("record type \"" + Show(type) + "\" not at its place as passed");
  size_t at = 0;
  for (const Field& f : layout) {
    if (f.kind != 't' && !FieldHolds(f.kind, line.substr(at, f.width)))
      fail(std::string("field '") + f.kind + "' at " + std::to_string(at + 1) + "-" +
           std::to_string(at + f.width) + " holds \"" + Show(line.substr(at, f.width)) + "\"");
    at += f.width;
  }
}

void CheckReport(const std::string& bytes, const std::vector<Call>& log,
                 const std::vector<std::vector<Field>>& layouts) {
  std::vector<std::string_view> lines;
  std::string_view rest = bytes;
  while (!rest.empty()) {
    const size_t end = rest.find("\r\n");
    if (end == std::string_view::npos) fuzz::Violation(kHarness, "a line without CR LF");
    const std::string_view line = rest.substr(0, end);
    if (line.find_first_of("\r\n") != std::string_view::npos)
      fuzz::Violation(kHarness, "a bare CR or LF inside a line: " + Show(line));
    lines.push_back(line);
    rest.remove_prefix(end + 2);
  }
  size_t appended = 0;
  for (const Call& c : log)
    if (c.op < kBuilderCount) ++appended;
  if (lines.size() != appended + 1)
    fuzz::Violation(kHarness, std::to_string(lines.size()) + " lines for " +
                                  std::to_string(appended) + " accepted calls and the EAD line");
  size_t number = 0;
  for (const Call& c : log)
    if (c.op < kBuilderCount) {
      CheckLine(c, lines[number], number + 1, layouts[c.op]);
      ++number;
    }
  const std::string_view ead = lines.back();
  if (ead.size() != 259 || ead.substr(0, 3) != "EAD" ||
      ead.find_first_not_of("0123456789ABCDEFabcdef", 3) != std::string_view::npos)
    fuzz::Violation(kHarness, "last line is no EAD line: " + Show(ead));
}

class Session {
 public:
  Session() : layouts_(kBuilderCount) {
    for (int k = 0; k < kBuilderCount; ++k) layouts_[k] = ParseLayout(kKinds[k]);
  }

  void Run(FuzzedDataProvider& in) {
    for (int steps = 0; steps < 48 && in.remaining_bytes() > 0; ++steps) {
      const Op op = static_cast<Op>(in.ConsumeIntegral<uint8_t>() % kOpCount);
      if (op == kFinish) {
        Finish();
      } else if (op == kFinishWithBrokenKey) {
        FinishWithBrokenKey(in);
      } else {
        Call call{op, {}};
        const std::string params = op == kOpen ? "TTTT" : ArgumentLetters()[op];
        for (size_t i = 0; i < params.size(); ++i) call.args.push_back(Draw(in, params[i], op, i));
        Step(std::move(call));
      }
    }
    // Closing without writing keeps the inputs that do not finish cheap.
    if (open_ || !log_.empty()) CloseUnwritten();
  }

 private:
  void Step(Call call) {
    call.ok = Invoke(call);
    const std::string message = fuzz::LastError(kHarness);
    if (trace_)
      std::fprintf(stderr, "%s %s %s\n", NameOf(call.op).c_str(),
                   call.ok ? "ok" : "refused:", Show(message).c_str());
    if (call.op == kOpen) {
      if (!call.ok && message.empty())
        fuzz::Violation(kHarness, "InicializarPAF failed without a message");
      if (call.ok) open_ = true;
      log_.push_back(std::move(call));
      return;
    }
    const Kind& kind = kKinds[call.op];
    if (!call.ok && message.empty())
      fuzz::Violation(kHarness, NameOf(call.op) + " failed without a message");
    if (call.ok && kind.entryClear && !message.empty())
      fuzz::Violation(kHarness, NameOf(call.op) + " succeeded leaving a message: " + Show(message));
    if (call.ok && !open_)
      fuzz::Violation(kHarness, NameOf(call.op) + " appended to no open report");
    if (call.ok) log_.push_back(std::move(call));
  }

  bool FinishInto(const std::string& path) {
    const Keys& keys = RealKeys();
    const fuzz::HostText pub(keys.publicKey), priv(keys.privateKey), file(path);
    const bool ok = quorix_FinalizarPAF(pub, priv, file, 0);
    if (!pub.Damage().empty() || !priv.Damage().empty() || !file.Damage().empty())
      fuzz::Violation(kHarness, "FinalizarPAF changed its arguments");
    return ok;
  }

  void Finish() {
    const bool wasOpen = open_;
    open_ = false;
    const bool ok = FinishInto(Files().report);
    const std::string message = fuzz::LastError(kHarness);
    if (!wasOpen) {
      if (ok || message.empty())
        fuzz::Violation(kHarness, "FinalizarPAF without an open report must fail and say why");
      log_.clear();
      return;
    }
    if (!ok) fuzz::Violation(kHarness, "FinalizarPAF failed: " + Show(message));
    if (!message.empty()) fuzz::Violation(kHarness, "FinalizarPAF left a message");
    std::string written;
    if (!fuzz::ReadFile(Files().report, written)) fuzz::Violation(kHarness, "no report file");
    CheckReport(written, log_, layouts_);
    if (trace_) std::fprintf(stderr, "FinalizarPAF ok, report checked:\n%s", written.c_str());
    const Keys& keys = RealKeys();
    const fuzz::HostText pub(keys.publicKey), priv(keys.privateKey), file(Files().report);
    if (!quorix_ValidateFilePAF(pub, priv, file))
      fuzz::Violation(kHarness, "the finished report does not validate");
    Replay(written);
    log_.clear();
  }

  // The accepted calls alone must build the same report: a failed call
  // that left anything behind (a line, a changed line, a state) shows here.
  // They are made with constant texts and bare character slots this time.
  void Replay(const std::string& written) {
    for (const Call& c : log_)
      if (Invoke(c, Passing{true, true}) != c.ok)
        fuzz::Violation(kHarness, std::string("replayed ") + NameOf(c.op) +
                                      " gave another result: " + Show(fuzz::LastError(kHarness)));
    if (!FinishInto(Files().replayed))
      fuzz::Violation(kHarness, "replay not finished: " + Show(fuzz::LastError(kHarness)));
    std::string replayed;
    if (!fuzz::ReadFile(Files().replayed, replayed) || replayed != written)
      fuzz::Violation(kHarness, "the accepted calls alone build another report");
  }

  // A key of the wrong length: refused before anything is written, and the
  // report is closed all the same.
  void FinishWithBrokenKey(FuzzedDataProvider& in) {
    const Keys& keys = RealKeys();
    std::string broken = keys.publicKey.substr(0, in.ConsumeIntegralInRange<size_t>(0, 255));
    if (in.ConsumeBool()) broken += keys.publicKey + "0";
    const fuzz::HostText pub(broken), priv(keys.privateKey), file(Files().brokenKeyReport);
    const bool ok = quorix_FinalizarPAF(pub, priv, file, 0);
    if (ok || fuzz::LastError(kHarness).empty())
      fuzz::Violation(kHarness, "a broken key was taken, or refused without a message");
    std::string bytes;
    if (fuzz::ReadFile(Files().brokenKeyReport, bytes))
      fuzz::Violation(kHarness, "a report was written with a broken key");
    CheckClosed();
  }

  void CheckClosed() {
    open_ = false;
    log_.clear();
    const fuzz::HostText type("T9"), counted("E1");
    if (quorix_Totally(type, counted)) fuzz::Violation(kHarness, "the report is still open");
  }

  void CloseUnwritten() {
    const fuzz::HostText none(""), file(Files().brokenKeyReport);
    quorix_FinalizarPAF(none, none, file, 0);
    CheckClosed();
  }

  // QUORIX_FUZZ_TRACE=1 shows what an input calls, e.g. when run on a reproducer.
  const bool trace_ = std::getenv("QUORIX_FUZZ_TRACE") != nullptr;
  std::vector<std::vector<Field>> layouts_;
  std::vector<Call> log_;  // since the last finish: openings, and calls that were accepted
  bool open_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RealKeys();
  MakeSoftwareHouseFile();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session session;
  FuzzedDataProvider in(data, size);
  session.Run(in);
  return 0;
}
