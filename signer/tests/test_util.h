#ifndef SIGN_BEMA_TEST_UTIL_H
#define SIGN_BEMA_TEST_UTIL_H

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace sign_bema_test {

inline std::vector<std::uint8_t> from_hex(std::string hex) {
  if (hex.size() % 2 != 0) hex.insert(hex.begin(), '0');
  std::vector<std::uint8_t> out(hex.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
  }
  return out;
}

inline std::string to_hex(const std::uint8_t* p, std::size_t len) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < len; ++i) {
    s += digits[p[i] >> 4];
    s += digits[p[i] & 15];
  }
  return s;
}

template <class C>
std::string to_hex(const C& c) {
  return to_hex(c.data(), c.size());
}

inline std::string read_file(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline void write_file(const std::filesystem::path& p, const std::string& content) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(content.data(), static_cast<std::streamsize>(content.size()));
}

// A fresh directory removed with everything in it when the test ends.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("sign_bema_test_" + std::to_string(rd()) + "_" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The fixed RSA-1024 key the known answers below were computed with.
constexpr const char* kKatModulus =
    "D6816A8A97B1EFADD4EDA2A639761BDBB90F09D69B6DC8252B83B422C02F9ED5C42D1B35FDBA212564131E6E98E0"
    "399C02A7D9CD35AE9BB3A41EFAC094D48EDC0F6FEEE702F52B3663453DA37549362E0220DE0C650C3DA78DE7D513"
    "4B501D0B6BF01F979445BDA5A23760B1E63BB53656BA2602E53F35AC79A56EB38F56AEA7";
constexpr const char* kKatPrivateExponent =
    "54EDD09D270A907727031F8EE8D956965C6313E6208C0ADE8CA80CBE65917535F60255EFBE91DF65CA85B75ADAB4"
    "8C9AB48278BDC32F6AFE6950CABF4D2E0B916399848CDF62C1BB1169512FE00B4814CAA2723014198A18E8EC6AC1"
    "C644C03FCEE6319B15EE9A22F7AD65458285B335FCAED7796D2A35957E32DB7CCC5C11C1";

}  // namespace sign_bema_test

#endif
