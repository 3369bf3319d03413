#include "model/file_replace.h"

#include "model/cp1251.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vorsin {
namespace {

class FileReplace : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("vorsin_replace_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static void Put(const FilePath& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Contents(const FilePath& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::filesystem::path dir_;
};

TEST_F(FileReplace, NewFileIsNeverAnExistingOne) {
  const std::string taken = Path("taken.tmp");
  Put(taken, "someone's");
  EXPECT_EQ(CreateNewFile(taken), nullptr);
  EXPECT_EQ(Contents(taken), "someone's");

  const std::string fresh = Path("fresh.tmp");
  std::FILE* f = CreateNewFile(fresh);
  ASSERT_NE(f, nullptr);
  // Binary: a line break goes out as it is.
  EXPECT_EQ(std::fwrite("a\nb", 1, 3, f), 3u);
  EXPECT_TRUE(FlushToDisk(f));
  EXPECT_EQ(std::fclose(f), 0);
  EXPECT_EQ(Contents(fresh), "a\nb");
}

TEST_F(FileReplace, RenameReplacesTheTargetOrLeavesItAlone) {
  const std::string from = Path("new.tmp"), to = Path("site.dat");
  Put(to, "old");
  Put(from, "new");
  ASSERT_TRUE(RenameOver(from, to));
  EXPECT_EQ(Contents(to), "new");
  EXPECT_FALSE(std::filesystem::exists(from));

  // Nothing to move: the target keeps what it had.
  EXPECT_FALSE(RenameOver(Path("missing.tmp"), to));
  EXPECT_EQ(Contents(to), "new");
}

TEST_F(FileReplace, ReplacingNeverOpensTheTargetBeforeTheRename) {
  const FilePath folder = dir_ / PathFromUtf8("Папка с пробелом");
  std::filesystem::create_directories(folder);
  const FilePath target = folder / PathFromUtf8("Объект.dat");
  Put(target, "mine");
  const auto before = std::filesystem::last_write_time(target);
  EXPECT_TRUE(CanReplace(target));
  EXPECT_TRUE(CanReplace(folder / "new.dat"));
  EXPECT_FALSE(CanReplace(folder));                    // a folder is no file to replace
  EXPECT_FALSE(CanReplace(folder / "no" / "x.dat"));   // nor is there a folder to put it in
  EXPECT_EQ(Contents(target), "mine");
  EXPECT_EQ(std::filesystem::last_write_time(target), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "a probe was left behind";

  ASSERT_TRUE(ReplaceFileWith(target, "new"));
  EXPECT_EQ(Contents(target), "new");
  EXPECT_FALSE(ReplaceFileWith(folder / "no" / "x.dat", "x"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST(FilePathText, NamesAreShownOnceEncoded) {
  const std::string utf8 = "/tmp/Папка с пробелом/Объект.dat";
  EXPECT_EQ(PathUtf8(PathFromUtf8(utf8)), utf8);
  EXPECT_EQ(PathNarrow(PathFromUtf8(utf8)), utf8);
  EXPECT_EQ(PathText(PathFromUtf8(utf8)), Cp(utf8));
#ifndef _WIN32
  // A Linux name in another encoding (Windows-1251 bytes) stays as it is on
  // disk and shows as valid UTF-8.
  const FilePath foreign(std::string("\xCE\xE1.dat"));
  EXPECT_EQ(PathNarrow(foreign), "\xCE\xE1.dat");
  EXPECT_EQ(PathUtf8(foreign), "\xEF\xBF\xBD\xEF\xBF\xBD.dat");
  EXPECT_EQ(PathUtf8(FilePath(std::string("a\xD0"))), "a\xEF\xBF\xBD");  // cut short
#endif
}

}  // namespace
}  // namespace vorsin
