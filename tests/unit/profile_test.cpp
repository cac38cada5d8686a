// The profile store as the platform gives it: on Windows the real profile
// functions, on POSIX our own engine. The same expectations run on both
// builds, so each one here is a place where the two must agree.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include "support.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using quorix::platform::ProfileFile;

// A file written by hand the way people and other programs write INI files.
const std::string kHandWritten =
    "junk=1\r\n"
    "\r\n"
    "[ A ]\r\n"
    "  x = \"q v\" \r\n"
    " y='z'\r\n"
    "noeq\r\n"
    ";c=1\r\n"
    "q=\"\r\n"
    "w= 'ab\"\r\n"
    "[V\r\n"
    "v=after a broken header\r\n"
    "[W]x]\r\n"
    "t=\ttabbed\t\r\n"
    "[B]\n"
    "lf=1\n"
    "[a]\r\n"
    "z=second section of the same name\r\n";

std::string Read(ProfileFile& f, const char* section, const char* key, size_t size = 2048) {
  return f.ReadString(section, key, "DEF", size);
}

TEST(Profile, ReadsHandWrittenFilesLikeTheProfileFunctions) {
  qt::TempDir dir;
  const std::string path = dir.file("hand.ini");
  qt::WriteFile(path, kHandWritten);
  ProfileFile f(path);
  struct Case {
    const char* section;
    const char* key;
    std::string value;
  } cases[] = {
      {"A", "x", "q v"},    // trimmed, then one pair of quotes removed
      {" a ", "X", "q v"},  // names trimmed and matched without regard to case
      {"A", "y", "z"},
      {"A", "noeq", "DEF"},  // a line without "=" holds no value
      {"A", ";c", "1"},
      {"A", "q", "\""},                     // a lone quote is no pair
      {"A", "w", "'ab\""},                  // nor are two different quotes
      {"A", "v", "after a broken header"},  // a header without "]" is skipped
      {"W]x", "t", "tabbed"},               // the name ends at the last "]"
      {"B", "lf", "1"},                     // lines may end in LF alone
      {"A", "z", "DEF"},                    // only the first section of a name counts
      {"", "junk", "1"},                    // keys before any header
      {"A", "absent", "DEF"},
      {"absent", "x", "DEF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.value, Read(f, c.section, c.key)) << c.section << "/" << c.key;
}

TEST(Profile, ListsTheKeysThatHoldValues) {
  qt::TempDir dir;
  const std::string path = dir.file("list.ini");
  qt::WriteFile(path, kHandWritten);
  ProfileFile f(path);
  EXPECT_EQ((std::vector<std::string>{"x", "y", "q", "w", "v"}), f.KeyNames("a", 16384));
  EXPECT_TRUE(f.KeyNames("absent", 16384).empty());
  EXPECT_TRUE(ProfileFile(dir.file("missing.ini")).KeyNames("a", 16384).empty());

  // A buffer too small: the names that fit, the last one cut.
  const std::string many = dir.file("many.ini");
  std::string text = "[T]\r\n";
  for (int i = 0; i < 20; ++i) text += "key" + std::to_string(10 + i) + "=1\r\n";
  qt::WriteFile(many, text);
  ProfileFile m(many);
  EXPECT_EQ((std::vector<std::string>{"key10", "key11", "key12", "key13", "key14", "key15", "ke"}),
            m.KeyNames("T", 40));
  EXPECT_EQ(20u, m.KeyNames("T", 16384).size());
}

TEST(Profile, ReadsAreCutToTheBuffer) {
  qt::TempDir dir;
  const std::string path = dir.file("long.ini");
  const std::string big(2500, 'x');
  qt::WriteFile(path, "[L]\r\nk=" + big + "\r\nq=\"abcd\"\r\n");
  ProfileFile f(path);
  EXPECT_EQ(std::string(2047, 'x'), Read(f, "L", "k"));
  EXPECT_EQ("abcd", Read(f, "L", "q", 6));
  // Quotes are dropped whole only when the value fits the buffer.
  EXPECT_EQ("abc", Read(f, "L", "q", 5));
  EXPECT_EQ("abc", Read(f, "L", "q", 4));
  EXPECT_EQ("DE", Read(f, "L", "absent", 3));
}

TEST(Profile, WritesCreateAndLayOutTheFile) {
  qt::TempDir dir;
  const std::string path = dir.file("new.ini");
  {
    ProfileFile f(path);
    EXPECT_EQ("DEF", Read(f, "S1", "k1"));
    ASSERT_TRUE(f.WriteString("S1", "k1", "v1"));
    ASSERT_TRUE(f.WriteString("S2", "k1", "v2"));
    ASSERT_TRUE(f.WriteString("S1", "k2", ""));
    ASSERT_TRUE(f.WriteString("s1", "K1", "v1b"));  // the names already there stay
    ASSERT_TRUE(f.WriteString(" S3 ", " k ", "  v w "));
    EXPECT_EQ("v1b", Read(f, "S1", "k1"));
    EXPECT_EQ("", Read(f, "S1", "k2"));
    EXPECT_EQ("v w", Read(f, "S3", "k"));
    ASSERT_TRUE(f.Flush());
  }
  // Leading white space never reaches the file; trailing white space does.
  EXPECT_EQ("[S1]\r\nk1=v1b\r\nk2=\r\n[S2]\r\nk1=v2\r\n[S3 ]\r\nk =v w \r\n", qt::ReadFile(path));
  ProfileFile again(path);
  EXPECT_EQ("v2", Read(again, "S2", "K1"));
}

TEST(Profile, RewritingAFileKeepsEveryEntryInItsPlace) {
  qt::TempDir dir;
  const std::string path = dir.file("hand.ini");
  qt::WriteFile(path, kHandWritten);
  {
    ProfileFile f(path);
    ASSERT_TRUE(f.WriteString("B", "new", "n"));
    ASSERT_TRUE(f.WriteString("A", "noeq", "now"));
    ASSERT_TRUE(f.Flush());
  }
  EXPECT_EQ(
      "junk=1\r\n[A]\r\nx=\"q v\"\r\ny='z'\r\nnoeq=now\r\n;c=1\r\nq=\"\r\nw='ab\"\r\n"
      "[V\r\nv=after a broken header\r\n[W]x]\r\nt=tabbed\r\n[B]\r\nlf=1\r\nnew=n\r\n"
      "[a]\r\nz=second section of the same name\r\n",
      qt::ReadFile(path));
}

// A header with no name ends the section before it when the file is read,
// but is not written back: the profile functions do so, and the engine too.
TEST(Profile, AnEmptySectionHeaderIsLostOnARewrite) {
  qt::TempDir dir;
  const std::string path = dir.file("empty.ini");
  qt::WriteFile(path, "[S]\r\na=1\r\n[]\r\nb=2\r\n");
  {
    ProfileFile f(path);
    EXPECT_EQ("DEF", Read(f, "S", "b"));
    ASSERT_TRUE(f.WriteString("S", "c", "3"));
    ASSERT_TRUE(f.Flush());
  }
  EXPECT_EQ("[S]\r\na=1\r\nc=3\r\nb=2\r\n", qt::ReadFile(path));
}

TEST(Profile, LinesMayEndInCrAlone) {
  qt::TempDir dir;
  const std::string path = dir.file("cr.ini");
  qt::WriteFile(path, "[S]\ra=1\rb=2\r");
  ProfileFile f(path);
  EXPECT_EQ("1", Read(f, "S", "a"));
  EXPECT_EQ("2", Read(f, "S", "b"));
}

TEST(Profile, ReadingNeverCreatesTheFile) {
  qt::TempDir dir;
  const std::string path = dir.file("absent.ini");
  {
    ProfileFile f(path);
    EXPECT_EQ("DEF", Read(f, "S", "k"));
    EXPECT_TRUE(f.Flush());
  }
  EXPECT_FALSE(qt::Exists(path));
}

TEST(Profile, AWriteIntoAMissingFolderFails) {
  qt::TempDir dir;
  const std::string path = dir.file("no-such-folder/x.ini");
  ProfileFile f(path);
  EXPECT_FALSE(f.WriteString("S", "k", "v") && f.Flush());
  EXPECT_FALSE(qt::Exists(path));
}

#if !defined(_WIN32)
// What only our engine does: replacing the file whole, never in place.

TEST(ProfileEngine, ReplacesTheFileAtomicallyAndKeepsItsMode) {
  qt::TempDir dir;
  const std::string path = dir.file("side.ini");
  qt::WriteFile(path, "[S]\r\nk=old\r\n");
  ASSERT_EQ(0, chmod(path.c_str(), 0640));
  struct stat before;
  ASSERT_EQ(0, stat(path.c_str(), &before));
  {
    ProfileFile f(path);
    ASSERT_TRUE(f.WriteString("S", "k", "new"));
    // Nothing reaches the file before the flush.
    EXPECT_EQ("[S]\r\nk=old\r\n", qt::ReadFile(path));
    ASSERT_TRUE(f.Flush());
  }
  struct stat after;
  ASSERT_EQ(0, stat(path.c_str(), &after));
  EXPECT_NE(before.st_ino, after.st_ino);  // a new file took the name
  EXPECT_EQ(0640u, after.st_mode & 07777);
  EXPECT_EQ("[S]\r\nk=new\r\n", qt::ReadFile(path));
  EXPECT_EQ(std::vector<std::string>{"side.ini"}, qt::FolderEntries(dir.path()));
}

TEST(ProfileEngine, AFlushWithNothingChangedLeavesTheFileAlone) {
  qt::TempDir dir;
  const std::string path = dir.file("same.ini");
  qt::WriteFile(path, "[S]\r\n\r\nk=v\r\n");
  struct stat before, after;
  ASSERT_EQ(0, stat(path.c_str(), &before));
  {
    ProfileFile f(path);
    ASSERT_TRUE(f.WriteString("S", "k", "v"));  // the value it already has
    ASSERT_TRUE(f.Flush());
  }
  ASSERT_EQ(0, stat(path.c_str(), &after));
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ("[S]\r\n\r\nk=v\r\n", qt::ReadFile(path));
}

TEST(ProfileEngine, WritesThroughALinkToItsTarget) {
  qt::TempDir dir;
  const std::string target = dir.file("target.ini"), link = dir.file("link.ini");
  qt::WriteFile(target, "[S]\r\nk=1\r\n");
  ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));
  {
    ProfileFile f(link);
    ASSERT_TRUE(f.WriteString("S", "k", "2"));
    ASSERT_TRUE(f.Flush());
  }
  struct stat st;
  ASSERT_EQ(0, lstat(link.c_str(), &st));
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ("[S]\r\nk=2\r\n", qt::ReadFile(target));
}

TEST(ProfileEngine, AFolderInPlaceOfTheFileIsNotReplaced) {
  qt::TempDir dir;
  const std::string path = dir.file("folder.ini");
  ASSERT_EQ(0, mkdir(path.c_str(), 0700));
  {
    ProfileFile f(path);
    ASSERT_TRUE(f.WriteString("S", "k", "v"));
    EXPECT_FALSE(f.Flush());
  }
  struct stat st;
  ASSERT_EQ(0, stat(path.c_str(), &st));
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(std::vector<std::string>{"folder.ini"}, qt::FolderEntries(dir.path()));
}
#endif

}  // namespace
