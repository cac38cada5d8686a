// What Windows shows as a file's properties: each of our binaries carries
// its version resource, in the language and code page it declares.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "support.h"

namespace {

struct Expected {
  const char* file;
  const char* description;
};

std::string StringValue(const std::vector<char>& info, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\041604E4\\") + name;
  if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
      length == 0)
    return "(none)";
  return std::string(value, strnlen(value, length));
}

TEST(VersionResource, EachBinaryNamesItselfAndTheProjectVersion) {
  const Expected cases[] = {
      {"quorix.dll", "Biblioteca quorix dos arquivos do PAF-ECF"},
      {"sign_bema.dll", "Biblioteca de assinatura sign_bema"},
      {"quorix.exe", "Programa quorix: chaves, assinatura e arquivos do PAF-ECF"},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = qt::ProgramDir() + "\\" + c.file;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_NE(0u, size);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string fileVersion = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                    std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                    std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                                    std::to_string(LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(QUORIX_FILE_VERSION, fileVersion);
    EXPECT_EQ(std::string(c.file).substr(std::string(c.file).size() - 3) == "exe"
                  ? static_cast<DWORD>(VFT_APP)
                  : static_cast<DWORD>(VFT_DLL),
              fixed->dwFileType);

    EXPECT_EQ("quorix", StringValue(info, "CompanyName"));
    EXPECT_EQ("quorix", StringValue(info, "ProductName"));
    EXPECT_EQ(c.description, StringValue(info, "FileDescription"));
    EXPECT_EQ(QUORIX_FILE_VERSION, StringValue(info, "FileVersion"));
    EXPECT_EQ(c.file, StringValue(info, "OriginalFilename"));
  }
}

}  // namespace
