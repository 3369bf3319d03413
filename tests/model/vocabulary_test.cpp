#include "model/vocabulary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/cp1251.h"

namespace vorsin {
namespace {

class VocabularyFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("vorsin_voc_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "RorEdad.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void Put(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string Contents() {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(VocabularyFile, MissingFileSectionOrKeyGivesTheDefault) {
  Vocabulary v(path_);
  EXPECT_EQ(v.Read("1", "Name", "null"), "null");
  Put("[defEvent]\r\nName1=Alarm\r\n");
  EXPECT_EQ(v.Read("defEvent", "Name2", "0"), "0");
  EXPECT_EQ(v.Read("Other", "Name1", "0"), "0");
  EXPECT_FALSE(v.Has("defEvent", "Name2"));
}

TEST_F(VocabularyFile, NamesMatchWithoutCaseAndValuesAreTrimmed) {
  Put(Cp("[DefEvent]\r\n  name1 =   Тревога  \r\n[Секция]\r\nКлюч=1\r\n"));
  Vocabulary v(path_);
  EXPECT_EQ(v.Read("defevent", "NAME1", "0"), Cp("Тревога"));
  EXPECT_EQ(v.Read(Cp("СЕКЦИЯ"), Cp("ключ"), "0"), "1");
}

TEST_F(VocabularyFile, EmptyValueIsPresentWhileMissingKeyIsNot) {
  Put("[SmsString]\ns_1=\ns_2=0\n");
  Vocabulary v(path_);
  EXPECT_TRUE(v.Has("SmsString", "s_1"));
  EXPECT_EQ(v.Read("SmsString", "s_1", "0"), "");
  EXPECT_EQ(v.Read("SmsString", "s_2", "x"), "0");
  EXPECT_EQ(v.Read("SmsString", "s_3", "0"), "0");
}

TEST_F(VocabularyFile, LongValuesAreCutAt2047AndQuotesDropped) {
  Put("[A]\nlong=" + std::string(3000, 'x') + "\nq=\" a b \"\nhalf=\"a\n");
  Vocabulary v(path_);
  EXPECT_EQ(v.Read("A", "long", "").size(), 2047u);
  EXPECT_EQ(v.Read("A", "q", ""), " a b ");
  EXPECT_EQ(v.Read("A", "half", ""), "\"a");
}

TEST_F(VocabularyFile, FirstOfRepeatedSectionsAndKeysWins) {
  Put("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
  Vocabulary v(path_);
  EXPECT_EQ(v.Read("A", "k", ""), "1");
  EXPECT_EQ(v.Read("A", "j", "none"), "none");
}

TEST_F(VocabularyFile, WriteReplacesOneLineAndKeepsTheRest) {
  Put("; comment\r\n[1]\r\nName=Beeline\r\nServNum=+7903\r\n\r\n[2]\r\nName=MTS\r\n");
  Vocabulary v(path_);
  ASSERT_TRUE(v.Write("1", "servnum", "+7000"));
  EXPECT_EQ(Contents(), "; comment\r\n[1]\r\nName=Beeline\r\nservnum=+7000\r\n\r\n[2]\r\nName=MTS\r\n");
  ASSERT_TRUE(v.Write("2", "OutNum", "*100#"));
  EXPECT_EQ(Contents(),
            "; comment\r\n[1]\r\nName=Beeline\r\nservnum=+7000\r\n\r\n[2]\r\nName=MTS\r\nOutNum=*100#\r\n");
  EXPECT_EQ(v.Read("2", "outnum", ""), "*100#");
}

TEST_F(VocabularyFile, WriteAddsSectionsAndCreatesTheFile) {
  Vocabulary v(path_);
  ASSERT_TRUE(v.Write("0", "Name", "X"));
  EXPECT_EQ(Contents(), "[0]\r\nName=X\r\n");
  ASSERT_TRUE(v.Write("0", "InbNum", ""));
  EXPECT_EQ(Contents(), "[0]\r\nName=X\r\nInbNum=\r\n");
  ASSERT_TRUE(v.Write("5", "Name", "Y"));
  EXPECT_EQ(v.Read("5", "Name", ""), "Y");
  EXPECT_TRUE(v.Has("0", "InbNum"));
}

TEST_F(VocabularyFile, AWrittenValueStaysOnItsOwnLine) {
  Put("[1]\r\nName=A\r\n[IntervalDef1]\r\nName=Guard\r\n");
  Vocabulary v(path_);
  ASSERT_TRUE(v.Write("1", "InbNum", "Bal\r\n[IntervalDef1]\r\nName=0"));
  ASSERT_TRUE(v.Write("1", "OutNum", std::string("*100#\0tail", 10)));
  EXPECT_EQ(Contents(), "[1]\r\nName=A\r\nInbNum=Bal\r\nOutNum=*100#\r\n[IntervalDef1]\r\nName=Guard\r\n");
  EXPECT_EQ(v.Read("IntervalDef1", "Name", "0"), "Guard");
}

TEST_F(VocabularyFile, EraseSectionRemovesOnlyThatSection) {
  Put("[0]\r\nName=Old\r\nServNum=1\r\n[1]\r\nName=A\r\n");
  Vocabulary v(path_);
  ASSERT_TRUE(v.EraseSection("0"));
  EXPECT_EQ(Contents(), "[1]\r\nName=A\r\n");
  EXPECT_EQ(v.Read("0", "Name", "null"), "null");
  EXPECT_TRUE(v.EraseSection("missing"));
}

TEST_F(VocabularyFile, ChangesOnDiskAreSeenByTheNextRead) {
  Put("[A]\nk=1\n");
  Vocabulary v(path_);
  EXPECT_EQ(v.Read("A", "k", ""), "1");
  Put("[A]\nk=22\n");
  EXPECT_EQ(v.Read("A", "k", ""), "22");
}

TEST_F(VocabularyFile, SeveralKeysGoInOneRewrite) {
  Put("[1]\nName=A\nOutNum=1\nOutNum=2\n\n[2]\nName=B\n");
  Vocabulary v(path_);
  ASSERT_TRUE(v.Write("1", {{"outnum", "*100#"}, {"ServNum", "+7"}, {"Name", "C"}}));
  // The first of repeated keys takes the value (reads see the first); keys
  // the section lacks go after its last key line.
  EXPECT_EQ(Contents(), "[1]\nName=C\noutnum=*100#\nOutNum=2\nServNum=+7\n\n[2]\nName=B\n");
  ASSERT_TRUE(v.Write("9", {{"Name", "N"}, {"InbNum", "x\ny"}}));
  EXPECT_EQ(v.Read("9", "InbNum", "?"), "x");

  // A header that ends the file without a line break keeps its own line.
  Put("[1]\nName=A\n[5]");
  ASSERT_TRUE(v.Write("5", {{"Name", "P"}}));
  EXPECT_EQ(Contents(), "[1]\nName=A\n[5]\nName=P\n");
  EXPECT_EQ(Vocabulary(path_).Read("5", "Name", ""), "P");
}

TEST_F(VocabularyFile, ASnapshotReadsTheFileAsItWasButSeesItsOwnWrites) {
  Put("[A]\nk=1\n");
  Vocabulary v(path_);
  {
    const VocabularySnapshot snapshot(v);
    EXPECT_EQ(v.Read("A", "k", ""), "1");
    Put("[A]\nk=22\n");
    EXPECT_EQ(v.Read("A", "k", ""), "1");
    ASSERT_TRUE(v.Write("A", "j", "3"));
    EXPECT_EQ(v.Read("A", "j", ""), "3");
    EXPECT_EQ(v.Read("A", "k", ""), "22");  // the write read the file first
  }
  Put("[A]\nk=333\n");
  EXPECT_EQ(v.Read("A", "k", ""), "333");
}

TEST(VocabularyPath, LiesBesideTheExecutable) {
  EXPECT_EQ(VocabularyBeside("/opt/v/bin/vorsin"), "/opt/v/bin/RorEdad.ini");
  EXPECT_EQ(VocabularyBeside("vorsin"), "./RorEdad.ini");
}

}  // namespace
}  // namespace vorsin
