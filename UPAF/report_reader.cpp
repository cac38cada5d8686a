#include "UPAF/report_reader.h"

#include <array>

#include "UFuncoes/field_rules.h"

namespace quorix::upaf::reader {
namespace {

constexpr std::string_view kLineField = "linha";
constexpr std::string_view kEadField = "EAD";
constexpr std::string_view kSignatureField = "assinatura";

using readback::AllDigits;
using readback::Forbidden;
using readback::Quoted;

bool Hex(char c) { return readback::Digit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

std::string ByteName(char c) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "0x";
  out += kHex[static_cast<unsigned char>(c) >> 4];
  out += kHex[static_cast<unsigned char>(c) & 15];
  return out;
}

// The kind of each of the thirteen line lengths.
struct KindsByLength {
  std::array<const RecordKind*, 512> kinds{};
  KindsByLength() {
    for (const RecordKind* k : kRecordKinds) kinds[k->lineLength] = k;
  }
  const RecordKind* operator[](size_t length) const {
    return length < kinds.size() ? kinds[length] : nullptr;
  }
};
const KindsByLength& Kinds() {
  static const KindsByLength kinds;
  return kinds;
}

std::string KnownLengths() {
  std::array<size_t, std::size(kRecordKinds)> lengths{};
  size_t n = 0;
  for (const RecordKind* k : kRecordKinds) lengths[n++] = k->lineLength;
  for (size_t i = 1; i < n; ++i)
    for (size_t j = i; j > 0 && lengths[j - 1] > lengths[j]; --j)
      std::swap(lengths[j - 1], lengths[j]);
  std::string out;
  for (size_t i = 0; i < n; ++i) (out += i ? ", " : "") += std::to_string(lengths[i]);
  return out;
}

// Lines counted by their first two characters, a-z folded, as the totals
// line counts them.
class TypeCounts {
 public:
  TypeCounts() : counts_(65536, 0) {}
  void Add(std::string_view line) {
    if (line.size() < 2) return;
    const size_t key = Key(line[0], line[1]);
    if (counts_[key]++ == 0) seen_.push_back(key);
  }
  bool AnyTypeCounts(uint64_t n) const {
    if (n == 0) return true;  // a type the file holds no line of
    for (size_t key : seen_)
      if (counts_[key] == n) return true;
    return false;
  }
  std::string Listed() const {
    std::string out;
    for (size_t key : seen_) {
      if (!out.empty()) out += ", ";
      out += static_cast<char>(key >> 8);
      out += static_cast<char>(key & 0xFF);
      out += ": ";
      out += std::to_string(counts_[key]);
    }
    return out;
  }

 private:
  static size_t Key(char a, char b) {
    return static_cast<size_t>(static_cast<unsigned char>(UpperAscii(a))) << 8 |
           static_cast<unsigned char>(UpperAscii(b));
  }
  std::vector<uint64_t> counts_;
  std::vector<size_t> seen_;
};

class LineChecker {
 public:
  LineChecker(std::vector<Finding>& findings) : findings_(findings) {}

  void Report(size_t line, std::string_view field, size_t first, size_t last, std::string what) {
    findings_.push_back({line, std::string(field), first, last, std::move(what)});
  }

  void CheckRecord(const Line& l, std::string_view text, const TypeCounts& counts) {
    const RecordKind& kind = *l.kind;
    size_t at = 0;
    for (const Field& f : kind.layout) {
      const std::string_view raw = text.substr(at, static_cast<size_t>(f.width));
      const size_t first = at + 1, last = at + raw.size();
      at += raw.size();
      const auto report = [&](std::string what) {
        Report(l.number, f.name, first, last, std::move(what));
      };
      size_t bad = 0;
      while (bad < raw.size() && !Forbidden(raw[bad])) ++bad;
      if (bad < raw.size()) {
        report((static_cast<unsigned char>(raw[bad]) < 32 || raw[bad] == 127
                    ? "caractere de controle "
                    : "byte sem caractere no Windows-1252 ") +
               ByteName(raw[bad]) + " na posi\xE7\xE3o " + std::to_string(first + bad));
        continue;
      }
      std::string what =
          WithKind(f.kind, [&](auto k) { return decltype(k)::Check(f, raw, counts); });
      if (!what.empty()) report(std::move(what));
    }
  }

 private:
  std::vector<Finding>& findings_;
};

bool LooksLikeEad(std::string_view text) { return text.substr(0, 3) == "EAD"; }

}  // namespace

Reading Read(std::string_view file, const Options& options) {
  Reading r;
  LineChecker checker(r.findings);
  if (file.empty()) {
    checker.Report(1, kLineField, 1, 1, "arquivo vazio");
    return r;
  }
  r.lines.reserve(file.size() / 100 + 1);
  TypeCounts counts;
  const KindsByLength& kinds = Kinds();
  size_t at = 0;
  for (size_t number = 1; at < file.size(); ++number) {
    size_t end = file.find('\n', at);
    const bool ended = end != std::string_view::npos;
    if (!ended) end = file.size();
    size_t length = end - at;
    const bool crlf = ended && length > 0 && file[end - 1] == '\r';
    if (crlf) --length;
    const std::string_view text = file.substr(at, length);
    Line line{number, at, length};
    if (length == kEadLength && LooksLikeEad(text)) {
      line.ead = true;
    } else {
      line.kind = kinds[length];
      line.ead = !line.kind && LooksLikeEad(text);
    }
    if (!ended)
      checker.Report(number, kLineField, 1, length ? length : 1,
                     "a \xFAltima linha n\xE3o termina em CR LF");
    else if (!crlf)
      checker.Report(number, kLineField, 1, length ? length : 1, "termina em LF sem CR");
    if (line.kind) {
      checker.CheckRecord(line, text, counts);
    } else if (line.ead && length != kEadLength) {
      checker.Report(number, kLineField, 1, length ? length : 1,
                     "linha EAD com " + std::to_string(length) + " caracteres; deve ter " +
                         std::to_string(kEadLength));
    } else if (!line.ead) {
      checker.Report(number, kLineField, 1, length ? length : 1,
                     "comprimento " + std::to_string(length) +
                         " n\xE3o \xE9 o de nenhum tipo de registro (" + KnownLengths() + ")");
    }
    if (!line.ead) counts.Add(text);
    r.lines.push_back(line);
    at = end + (ended ? 1 : 0);
  }

  // The signature closes the file: one EAD line, the last.
  const Line& lastLine = r.lines.back();
  for (const Line& l : r.lines)
    if (l.ead && &l != &lastLine)
      checker.Report(l.number, kEadField, 1, l.length ? l.length : 1,
                     "linha EAD antes do fim do arquivo: s\xF3 a \xFAltima linha pode ser a EAD");
  if (!lastLine.ead) {
    checker.Report(lastLine.number + 1, kEadField, 1, kEadLength,
                   "falta a linha EAD (assinatura) no fim do arquivo");
  } else if (lastLine.length == kEadLength) {
    const std::string_view digits = file.substr(lastLine.offset + 3, kEadDigits);
    size_t bad = 0;
    while (bad < digits.size() && Hex(digits[bad])) ++bad;
    if (bad < digits.size())
      checker.Report(lastLine.number, kSignatureField, 4, kEadLength,
                     "o caractere " + Quoted(digits.substr(bad, 1)) + " na posi\xE7\xE3o " +
                         std::to_string(bad + 4) + " n\xE3o \xE9 hexadecimal");
    else if (options.signatureHolds &&
             !options.signatureHolds(file.substr(0, lastLine.offset), digits))
      checker.Report(lastLine.number, kSignatureField, 4, kEadLength,
                     "a assinatura n\xE3o confere com a chave p\xFA"
                     "blica (arquivo alterado depois de assinado, ou outra chave)");
  }
  return r;
}

Value Decode(const RecordKind& kind, size_t index, std::string_view line) {
  const Field& f = kind.layout[index];
  const std::string_view raw =
      line.substr(Position(kind.layout, index) - 1, static_cast<size_t>(f.width));
  for (char c : raw)
    if (Forbidden(c)) return {Value::Unreadable, std::string(raw)};
  return WithKind(f.kind, [&](auto k) { return decltype(k)::Decode(f, raw, kind, line); });
}

}  // namespace quorix::upaf::reader

namespace quorix::upaf::readback {

bool ValidDate(std::string_view s) {
  if (s.size() != 8 || !AllDigits(s)) return false;
  const int year = Number(s.substr(0, 4)), month = Number(s.substr(4, 2)),
            day = Number(s.substr(6, 2));
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month != 2 || day < 29 || leap;
}

bool ValidTime(std::string_view s) {
  return s.size() == 6 && AllDigits(s) && Number(s.substr(0, 2)) < 24 &&
         Number(s.substr(2, 2)) < 60 && Number(s.substr(4, 2)) < 60;
}

// A CNPJ that starts with "000" is told from a zero-filled CPF by neither of
// them, so either reading may pass.
bool ValidCnpjCpf(std::string_view s) {
  return rules::CheckDigitsValid(s) ||
         (s.substr(0, 3) == "000" && rules::CheckDigitsValid(s.substr(3)));
}

std::string Quoted(std::string_view raw) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (char c : raw) {
    if (Forbidden(c)) {
      out += "\\x";
      out += kHex[static_cast<unsigned char>(c) >> 4];
      out += kHex[static_cast<unsigned char>(c) & 15];
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

FieldValue Decimal(std::string_view raw, std::string_view digits, int decimals, bool negative) {
  if (!AllDigits(digits)) return {FieldValue::Unreadable, std::string(raw)};
  size_t lead = 0;
  const size_t keep = static_cast<size_t>(decimals) + 1;
  while (digits.size() - lead > keep && digits[lead] == '0') ++lead;
  std::string out = negative ? "-" : "";
  const std::string_view d = digits.substr(lead);
  if (d.size() < keep) out.append(keep - d.size(), '0');
  out += d;
  if (decimals > 0) out.insert(out.size() - static_cast<size_t>(decimals), 1, '.');
  return {FieldValue::Number, out};
}

}  // namespace quorix::upaf::readback
