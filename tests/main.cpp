#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "regional.h"
#include "support.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace qt {
namespace {

const RegionalCase* g_current = nullptr;

#if defined(_WIN32)
constexpr const char* kInternational = "Control Panel\\International";
constexpr const char* kRegionalValues[] = {"sDecimal", "sThousand", "sDate", "sShortDate"};
constexpr int kValueCount = 4;

bool ReadUserValue(const char* name, std::string& value) {
  char buf[64];
  DWORD size = sizeof buf, type = 0;
  if (RegGetValueA(HKEY_CURRENT_USER, kInternational, name, RRF_RT_REG_SZ, &type, buf, &size) !=
      ERROR_SUCCESS)
    return false;
  value.assign(buf);
  return true;
}

void WriteUserValue(const char* name, const char* value) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kInternational, name, REG_SZ, value,
                  static_cast<DWORD>(std::strlen(value) + 1));
}
#endif

int RunRegionalChild(const RegionalCase& c, const std::string& self) {
  const std::vector<std::string> args{std::string("--regional=") + c.suite,
                                      std::string("--gtest_filter=") + c.suite + ".*"};
#if defined(_WIN32)
  const char* values[] = {c.decimal, c.thousand, c.date, c.shortDate};
  std::string saved[kValueCount];
  bool had[kValueCount];
  for (int i = 0; i < kValueCount; ++i) {
    had[i] = ReadUserValue(kRegionalValues[i], saved[i]);
    WriteUserValue(kRegionalValues[i], values[i]);
  }
  const int rc = RunProgram(self, args, "");
  for (int i = 0; i < kValueCount; ++i) {
    if (had[i])
      WriteUserValue(kRegionalValues[i], saved[i].c_str());
    else
      RegDeleteKeyValueA(HKEY_CURRENT_USER, kInternational, kRegionalValues[i]);
  }
  return rc;
#else
  const char* old = std::getenv("LC_ALL");
  const std::string saved = old ? old : "";
  setenv("LC_ALL", c.posixLocale, 1);
  const int rc = RunProgram(self, args, "");
  if (old)
    setenv("LC_ALL", saved.c_str(), 1);
  else
    unsetenv("LC_ALL");
  return rc;
#endif
}

std::string SelfPath() {
#if defined(_WIN32)
  char buf[MAX_PATH];
  return std::string(buf, GetModuleFileNameA(nullptr, buf, sizeof buf));
#else
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
#endif
}

}  // namespace

const RegionalCase* CurrentRegional() { return g_current; }

}  // namespace qt

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--regional=", 11) != 0) continue;
    for (const auto& c : qt::kRegionalCases)
      if (std::strcmp(argv[i] + 11, c.suite) == 0) qt::g_current = &c;
  }
  // A child, or a developer's own selection: run what was asked.
  if (qt::g_current || testing::GTEST_FLAG(filter) != "*") return RUN_ALL_TESTS();

  testing::GTEST_FLAG(filter) = "-Regional*";
  int rc = RUN_ALL_TESTS();
  const std::string self = qt::SelfPath();
  for (const auto& c : qt::kRegionalCases) {
    std::printf("\n==== regional settings %s (decimal '%s', thousands '%s', date '%s') ====\n",
                c.suite, c.decimal, c.thousand, c.date);
    std::fflush(stdout);
    const int child = qt::RunRegionalChild(c, self);
    if (child != 0) {
      std::printf("==== %s FAILED (exit %d) ====\n", c.suite, child);
      rc = 1;
    }
  }
  return rc;
}
