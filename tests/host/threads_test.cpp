// One host calling from several threads at once, every family of exports
// among them: the exports take turns, so every call gives what it gives
// alone, and the sanitizers (AddressSanitizer, ThreadSanitizer) see no
// use-after-free and no data race.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "side_files_support.h"
#include "support.h"

namespace {

using qt::T;

constexpr int kRounds = 60;

TEST(Threads, EveryFamilyOfExportsFromSeveralThreads) {
  qt::TempDir dir;
  const auto& keys = qt::Keys();
  qt::CloseAnyReport();
  std::atomic<int> wrong{0};
  auto expect = [&](bool ok, const char* what) {
    if (!ok) {
      ++wrong;
      ADD_FAILURE() << what;
    }
  };
  const std::string signedFile = dir.file("signed.txt");
  qt::WriteFile(signedFile, "a line\r\n");
  const std::function<void()> families[] = {
      // A report built and finished, line by line.
      [&] {
        for (int r = 0; r < kRounds / 6; ++r) {
          const std::string file = dir.file("report" + std::to_string(r) + ".txt");
          expect(quorix_InicializarPAF(T(qt::kCnpj), nullptr, nullptr, T("Loja")) == 1, "open");
          for (int i = 0; i < 6; ++i) expect(quorix_Header(T("E1")) == 1, "header");
          expect(quorix_FinalizarPAF(keys.publicKey, keys.privateKey, T(file), 0) == 1, "finish");
          expect(qt::ReportLines(qt::ReadFile(file)).size() == 7, "lines of the report");
        }
      },
      // A failing builder and the message it leaves, as a callback thread
      // would: whole, whichever thread's message it is.
      [&] {
        for (int i = 0; i < kRounds * 4; ++i) {
          expect(quorix_Header(T("X")) == 0, "refused type");
          const std::string message = qt::LastError();
          expect(message.empty() || message.find("X") != std::string::npos ||
                     message.find("Arquivo") != std::string::npos,
                 "a whole message");
        }
      },
      // Both side files.
      [&] {
        const std::string totals = dir.file("totals.ini"), house = dir.file("house.ini");
        for (int i = 1; i <= kRounds; ++i) {
          double total = 0;
          expect(quorix_UpdateTotalizadorGeralECF(T("ECF 1"), i, T(totals)) == 1, "update");
          expect(quorix_GetInfoTotalizadorECF(T("ECF 1"), &total, T(totals)) == 1 && total == i,
                 "grand total read back");
          if (i % 10 != 0) continue;
          expect(qt::GenerateHouse(qt::SampleHouse(), house) == 1, "software house written");
          qt::HouseRead read;
          qt::GetHouse(house, read);
          expect(read.result == 1 && read.data.auxFiles == qt::SampleHouse().auxFiles,
                 "software house read back");
        }
      },
      // Signing, validation, the MD5 entry point and the public-key file.
      [&] {
        for (int i = 0; i < kRounds / 4; ++i) {
          expect(quorix_SignatureFileHash(keys.publicKey, keys.privateKey, T(signedFile)) == 1,
                 "sign");
          expect(quorix_ValidateFilePAF(keys.publicKey, keys.privateKey, T(signedFile)) == 1,
                 "validate");
          qt::HostText digest;
          quorix_GenerateMD5(digest.out(), T("abc"));
          expect(digest.str() == "abc", "MD5 entry point");
          expect(quorix_GenarateFileXml(T("dev"), T("AB"), T(dir.path()), T("3")) == 1, "xml");
        }
      },
  };
  std::vector<std::thread> threads;
  for (const auto& family : families) threads.emplace_back(family);
  for (auto& t : threads) t.join();
  EXPECT_EQ(0, wrong.load());
}

}  // namespace
