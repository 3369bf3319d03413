#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "model/cp1251.h"
#include "model/vocabulary.h"
#include "sms/sms.h"

namespace vorsin {
namespace {

class SmsLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vorsin_sms_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "RorEdad.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(SmsLoadTest, ReplacesTemplatesAndCodeNamesButNotEventNumbers) {
  std::ofstream(path_, std::ios::binary)
      << "[CodeDefine]\r\nc_151=Arm\r\nc_152=\r\nc_153=0\r\nc_154=Late\r\n"
      << "[SmsProfile]\r\ns_smshead=" << Cp("Объект %(insNumM)") << "\r\ns_1=extra\r\n"
      << "[SmsSubString]\r\ns_1=" << Cp("Тревога") << "\r\ns_3=" << Cp("Норма") << "\r\n"
      << "[SmsString]\r\ns_1=%(c_151) %r[1]\r\n";
  Workspace ws;
  ws.config.smsStrings.resize(7);
  ws.codeDefinitions = {{200, "old"}};
  ws.config.events.resize(1);
  ws.config.events[0].w[5] = 7;
  Vocabulary voc(path_);
  LoadSmsTemplates(ws, voc);

  EXPECT_EQ(ws.codeDefinitions, (std::vector<CodeDefinition>{{151, "Arm"}, {152, ""}}));
  ASSERT_EQ(ws.config.smsProfileTexts.size(), 9u);
  EXPECT_EQ(ws.config.smsProfileTexts[0].text, "%(prfHSRL)");
  EXPECT_EQ(ws.config.smsProfileTexts[6].text, Cp("Объект %(insNumM)"));
  EXPECT_EQ(ws.config.smsProfileTexts[8].text, "extra");
  ASSERT_EQ(ws.config.smsSubStrings.size(), 2u);
  ASSERT_EQ(ws.config.smsStrings.size(), 1u);
  EXPECT_EQ(ws.config.events[0].w[5], 7);

  const SmsContext ctx = MakeSmsContext(ws);
  EXPECT_EQ(DisplaySms(ws.config.smsStrings[0].text, 0, ctx), Cp("Arm Тревога"));
  EXPECT_EQ(DisplaySms(ws.config.smsStrings[0].text, 1, ctx), Cp("Arm Норма"));
}

TEST_F(SmsLoadTest, MissingFileLeavesProfileDefaultsOnly) {
  Workspace ws;
  ws.config.smsSubStrings.resize(3);
  Vocabulary voc(path_ + ".missing");
  LoadSmsTemplates(ws, voc);
  EXPECT_TRUE(ws.codeDefinitions.empty());
  EXPECT_TRUE(ws.config.smsSubStrings.empty());
  EXPECT_TRUE(ws.config.smsStrings.empty());
  ASSERT_EQ(ws.config.smsProfileTexts.size(), 8u);
  EXPECT_EQ(DisplaySms(ws.config.smsProfileTexts[7].text, 0, MakeSmsContext(ws)), "<hh:mm:ss>");
}

}  // namespace
}  // namespace vorsin
