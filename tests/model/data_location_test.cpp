#include "model/data_location.h"

#include <cctype>
#include <cstdlib>
#include <map>

#include "model/file_path.h"
#include "model_test_support.h"

namespace vorsin {
namespace {

class DataLocationTest : public testing::TempVocabulary {
 protected:
  std::string Dir(const std::string& name) {
    std::filesystem::create_directories(dir_ / PathFromUtf8(name));
    return PathNarrow(dir_ / PathFromUtf8(name));
  }
  EnvironmentLookup Env() {
    return [this](const char* name) -> const char* {
      const auto it = env_.find(name);
      return it == env_.end() ? nullptr : it->second.c_str();
    };
  }
  std::map<std::string, std::string> env_;
};

TEST_F(DataLocationTest, AFolderWithItsVocabularyIsPortable) {
  const std::string bin = Dir("portable");
  std::ofstream(bin + "/RorEdad.ini") << "[0]\n";
  env_["HOME"] = Dir("home");
  const DataLocation at = FindDataLocation(bin, Env());
  EXPECT_TRUE(at.portable);
  EXPECT_EQ(at.vocabularyPath, bin + "/RorEdad.ini");
  EXPECT_EQ(at.projectDirectory, bin + "/Settings");
  EXPECT_EQ(at.userDirectory, bin);
  EXPECT_EQ(at.settingsPath, bin + "/vorsin.ini");  // everything stays beside the program
  std::string error;
  EXPECT_TRUE(PrepareDataLocation(at, error));
}

#ifndef _WIN32
TEST_F(DataLocationTest, AnInstalledCopyUsesTheUsersFolders) {
  const std::string prefix = Dir("usr");
  const std::string bin = Dir("usr/bin");
  std::ofstream(Dir("usr/share/vorsin") + "/RorEdad.ini", std::ios::binary) << "shipped";
  const std::string home = Dir("home");
  env_["HOME"] = home;

  DataLocation at = FindDataLocation(bin, Env());
  EXPECT_FALSE(at.portable);
  EXPECT_EQ(at.vocabularyPath, home + "/.local/share/vorsin/RorEdad.ini");
  EXPECT_EQ(at.shippedVocabulary, bin + "/../share/vorsin/RorEdad.ini");
  EXPECT_EQ(at.projectDirectory, home + "/Vorsin");
  EXPECT_EQ(at.userDirectory, home + "/Vorsin");
  EXPECT_EQ(at.settingsPath, home + "/.config/Vorsin/vorsin.ini");

  // The documents folder from xdg-user-dirs, then from the environment.
  std::filesystem::create_directories(home + "/.config");
  std::ofstream(home + "/.config/user-dirs.dirs") << "# x\nXDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n";
  EXPECT_EQ(FindDataLocation(bin, Env()).projectDirectory, home + "/Документы/Vorsin");
  env_["XDG_DOCUMENTS_DIR"] = "/srv/docs";
  env_["XDG_DATA_HOME"] = home + "/data";
  at = FindDataLocation(bin, Env());
  EXPECT_EQ(at.projectDirectory, "/srv/docs/Vorsin");
  EXPECT_EQ(at.vocabularyPath, home + "/data/vorsin/RorEdad.ini");
  env_["XDG_CONFIG_HOME"] = home + "/conf";
  EXPECT_EQ(FindDataLocation(bin, Env()).settingsPath, home + "/conf/Vorsin/vorsin.ini");

  // The first start copies the shipped file; later starts keep the user's own.
  std::string error;
  ASSERT_TRUE(PrepareDataLocation(at, error)) << error;
  std::ifstream first(at.vocabularyPath, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(first), {}), "shipped");
  std::ofstream(at.vocabularyPath, std::ios::binary) << "edited";
  ASSERT_TRUE(PrepareDataLocation(at, error));
  std::ifstream again(at.vocabularyPath, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), "edited");

  // Nothing shipped: a reason, and no half-made file.
  at.vocabularyPath = home + "/other/RorEdad.ini";
  at.shippedVocabulary = prefix + "/missing.ini";
  EXPECT_FALSE(PrepareDataLocation(at, error));
  EXPECT_NE(error.find("missing.ini"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(at.vocabularyPath));
}

// Without HOME the account's home folder is used, not the current directory.
TEST_F(DataLocationTest, NoHomeVariableFallsBackToTheAccount) {
  const char* saved = std::getenv("HOME");
  const std::string home = saved ? saved : "";
  ::unsetenv("HOME");
  const DataLocation at = FindDataLocation(Dir("usr/bin"));
  if (!home.empty()) ::setenv("HOME", home.c_str(), 1);
  ASSERT_FALSE(at.portable);
  EXPECT_EQ(at.vocabularyPath.front(), '/') << at.vocabularyPath;
  EXPECT_EQ(at.projectDirectory.front(), '/') << at.projectDirectory;
}
#else
// Under Program Files the copy is installed whatever lies beside it; the
// user's vocabulary is made from the shipped one, in a folder with Cyrillic
// letters and a space.
TEST_F(DataLocationTest, UnderProgramFilesTheCopyIsInstalled) {
  const std::string programs = Dir("Program Files");
  const std::string bin = Dir("Program Files/Vorsin");
  std::ofstream(PathFromUtf8(bin) / "RorEdad.ini", std::ios::binary) << "shipped";
  env_["ProgramFiles"] = programs;
  env_["APPDATA"] = Dir("Иван Петров/AppData");
  env_["Documents"] = Dir("Иван Петров/Документы");
  const DataLocation at = FindDataLocation(bin, Env());
  EXPECT_FALSE(at.portable);
  EXPECT_EQ(at.vocabularyPath, env_["APPDATA"] + "/Vorsin/RorEdad.ini");
  EXPECT_EQ(at.settingsPath, env_["APPDATA"] + "/Vorsin/vorsin.ini");
  EXPECT_EQ(at.projectDirectory, env_["Documents"] + "/Vorsin");
  EXPECT_EQ(at.userDirectory, at.projectDirectory);
  std::string error;
  ASSERT_TRUE(PrepareDataLocation(at, error)) << error;
  std::ifstream copy(PathFromUtf8(at.vocabularyPath), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "shipped");

  // The same folder elsewhere, writable: portable. Case and slashes do not
  // hide Program Files.
  env_["ProgramFiles"] = Dir("Programs");
  EXPECT_TRUE(FindDataLocation(bin, Env()).portable);
  std::string upper = programs;
  for (char& c : upper) c = c == '/' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  env_["ProgramFiles"] = upper;
  EXPECT_FALSE(FindDataLocation(bin, Env()).portable);
}
#endif

}  // namespace
}  // namespace vorsin
