#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>

#include "project/project_file.h"
#include "project_test_support.h"

namespace vorsin {
namespace {

using testing::RecordingMessenger;

class ProjectSave : public testing::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    target_ = Path("site.dat");
    Put(target_, "old contents");
  }
  // Only the target and the vocabulary may be left in the folder.
  void ExpectNoLeftovers() {
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      const auto name = entry.path().filename().string();
      EXPECT_TRUE(name == "site.dat" || name == "RorEdad.ini") << name;
    }
  }
  void ExpectRefusedSave(Workspace& ws, int status, const std::string& mentions) {
    ws.projectFileName = "before.dat";
    RecordingMessenger m;
    EXPECT_EQ(WriteProjectFile(ws, target_, m), status);
    ASSERT_EQ(m.shown.size(), 1u);
    EXPECT_EQ(m.shown[0].caption, Cp("Ошибка"));
    EXPECT_EQ(m.shown[0].icon, Icon::Error);
    EXPECT_NE(m.shown[0].text.find(mentions), std::string::npos) << ToUtf8(m.shown[0].text);
    EXPECT_EQ(ws.projectFileName, "before.dat");
    EXPECT_EQ(Bytes(target_), std::vector<uint8_t>({'o', 'l', 'd', ' ', 'c', 'o', 'n', 't', 'e', 'n', 't', 's'}));
    ExpectNoLeftovers();
  }
  std::string target_;
};

TEST_F(ProjectSave, TooLongTextOrListIsRefusedNotWrapped) {
  Workspace ws = Defaults();
  ws.config.addressees.push_back({});
  ws.config.addressees[0].name = std::string(256, 'x');
  ExpectRefusedSave(ws, kProjectNotRepresentable, Cp("адресат 1, имя"));

  ws = Defaults();
  ws.config.smsStrings.resize(256);
  ExpectRefusedSave(ws, kProjectNotRepresentable, Cp("SMS-строки"));

  ws = Defaults();
  ws.config.addressees.push_back({});
  ws.config.addressees[0].phones.resize(256);
  ExpectRefusedSave(ws, kProjectNotRepresentable, Cp("телефоны"));

  // Exactly 255 of each still fits.
  ws = Defaults();
  ws.config.smsStrings.assign(255, testing::Rec({}, std::string(255, 's')));
  RecordingMessenger m;
  ASSERT_EQ(WriteProjectFile(ws, target_, m), kProjectOk);
  Workspace back;
  Vocabulary v(vocabularyPath_);
  ASSERT_EQ(ReadProjectFile(back, v, target_, m), kProjectOk);
  EXPECT_EQ(back.config.smsStrings, ws.config.smsStrings);
}

TEST_F(ProjectSave, UnwritableTargetIsReportedAndTheOldFileStays) {
  Workspace ws = Defaults();
  testing::FillRich(ws);
  RecordingMessenger m;
  size_t messages = 0;
#ifndef _WIN32
  // A file size limit makes the write fail part-way, even for root.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  ws.projectFileName = "before.dat";
  const int status = WriteProjectFile(ws, target_, m);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(status, kProjectCannotWrite);
  ASSERT_EQ(m.shown.size(), 1u);
  EXPECT_EQ(m.shown[0].caption, Cp("Ошибка"));
  EXPECT_EQ(ws.projectFileName, "before.dat");
  const auto kept = Bytes(target_);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "old contents");
  ExpectNoLeftovers();
  messages = 1;
#endif

  // A folder that does not exist, and a target that is a folder.
  EXPECT_EQ(WriteProjectFile(ws, Path("no/such/dir.dat"), m), kProjectCannotWrite);
  std::filesystem::create_directories(Path("folder.dat/inside"));
  EXPECT_EQ(WriteProjectFile(ws, Path("folder.dat"), m), kProjectCannotWrite);
  EXPECT_TRUE(std::filesystem::is_directory(Path("folder.dat/inside")));
  EXPECT_EQ(m.shown.size(), messages + 2);
}

TEST_F(ProjectSave, ReplacesAnExistingFile) {
  Workspace ws = Defaults();
  RecordingMessenger m;
  ASSERT_EQ(WriteProjectFile(ws, target_, m), kProjectOk);
  EXPECT_EQ(ws.projectFileName, target_);
  EXPECT_EQ(Bytes(target_)[0], 7);
  ExpectNoLeftovers();
}

#ifndef _WIN32
TEST_F(ProjectSave, KeepsPermissionsAndSavesThroughLinks) {
  namespace fs = std::filesystem;
  Workspace ws = Defaults();
  RecordingMessenger m;
  // The old file's bits survive the replacing rename.
  fs::permissions(target_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_EQ(WriteProjectFile(ws, target_, m), kProjectOk);
  EXPECT_EQ(fs::status(target_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // A link (relative, then a link to that link) stays a link; the file it names is replaced.
  fs::create_directories(Path("real"));
  const std::string real = Path("real/site.dat");
  {
    std::ofstream(real, std::ios::binary) << "old";
  }
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real/site.dat", Path("link.dat"));
  fs::create_symlink(Path("link.dat"), Path("link2.dat"));
  ASSERT_EQ(WriteProjectFile(ws, Path("link2.dat"), m), kProjectOk);
  EXPECT_TRUE(fs::is_symlink(Path("link.dat")));
  EXPECT_TRUE(fs::is_symlink(Path("link2.dat")));
  EXPECT_EQ(Bytes(real)[0], 7);
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

  // A dangling link creates the file it names.
  fs::create_symlink("real/new.dat", Path("dangling.dat"));
  ASSERT_EQ(WriteProjectFile(ws, Path("dangling.dat"), m), kProjectOk);
  EXPECT_TRUE(fs::is_symlink(Path("dangling.dat")));
  EXPECT_EQ(Bytes(Path("real/new.dat"))[0], 7);
  EXPECT_TRUE(m.shown.empty());
}
#endif

TEST(ProjectNames, DatIsAppendedOnlyWithoutAnExtension) {
  EXPECT_EQ(WithDatExtension("site"), "site.dat");
  EXPECT_EQ(WithDatExtension("/home/x/site"), "/home/x/site.dat");
  EXPECT_EQ(WithDatExtension("site.bak"), "site.bak");
  EXPECT_EQ(WithDatExtension("site.dat"), "site.dat");
  EXPECT_EQ(WithDatExtension("dir.v2/site"), "dir.v2/site.dat");
  EXPECT_EQ(WithDatExtension("C:\\dir.v2\\site"), "C:\\dir.v2\\site.dat");
  EXPECT_EQ(WithDatExtension("site."), "site.dat");
  EXPECT_EQ(SettingsDirectory("/opt/vorsin"), "/opt/vorsin/Settings");
  EXPECT_EQ(SettingsDirectory("C:\\Vorsin\\"), "C:\\Vorsin\\Settings");
  EXPECT_EQ(SettingsDirectoryBeside("/opt/vorsin/vorsin"), "/opt/vorsin/Settings");
}

}  // namespace
}  // namespace vorsin
