#include <regex>

#include "model/config_json.h"
#include "model/defaults.h"
#include "model/loops.h"
#include "model/vocabulary_lists.h"
#include "model_test_support.h"

namespace vorsin {
namespace {

using testing::U;

bool StartsWith(const std::string& cp1251, const std::string& utf8) { return U(cp1251).rfind(utf8, 0) == 0; }

class Shipped : public testing::TempVocabulary {
 protected:
  void SetUp() override {
    TempVocabulary::SetUp();
    // A reset erases a section of the file, so work on a copy.
    std::filesystem::copy_file(std::string(VORSIN_SOURCE_DIR) + "/data/RorEdad.ini", path_);
    Vocabulary v(path_);
    ResetToDefaults(ws, v);
  }
  Workspace ws;
};

TEST_F(Shipped, HoldsEnoughOfEveryListForRealWork) {
  const Configuration& c = ws.config;
  ASSERT_GE(ws.profiles.size(), 5u);
  bool gap = false;
  for (size_t i = 1; i < ws.profiles.size(); ++i) gap = gap || ws.profiles[i].section != static_cast<int>(i);
  EXPECT_TRUE(gap);
  Vocabulary v(path_);
  for (size_t i = 1; i < ws.profiles.size(); ++i)
    EXPECT_EQ(ReadProfileNumbers(v, ws.profiles[i].section).smsCentre.substr(0, 2), "+7");

  ASSERT_GE(c.intervals.size(), 8u);
  // Positions 1..5: guard and control tables for loops 1-2, fire, guard and control for loops 3-4.
  const int kinds[] = {0, 0, 1, 1, 1};
  const int names[] = {2, 4, 1, 2, 4};
  for (int p = 1; p <= 5; ++p) {
    EXPECT_EQ(c.intervals[p].w[0], kinds[p - 1]) << p;
    EXPECT_EQ(c.intervalDescriptions[p].flags & 0x37, 16 * kinds[p - 1] | names[p - 1]) << p;
  }
  EXPECT_EQ(c.relayPatterns.size(), 7u);
  EXPECT_GE(ws.definedEventCount, 20);
  EXPECT_GE(c.events.size(), 30u);
  EXPECT_NE(U(c.events[0].text).find("1"), std::string::npos);
  EXPECT_NE(U(c.events[1].text).find("2"), std::string::npos);
  for (int i = 0; i < kLoops; ++i) EXPECT_TRUE(StartsWith(c.events[9 + i].text, "Шлейф " + std::to_string(i + 1))) << i;
  ASSERT_FALSE(ws.codeDefinitions.empty());
  EXPECT_EQ(ws.codeDefinitions[0].code, 151);
  EXPECT_GE(c.smsStrings.size(), 16u);
  EXPECT_GE(ws.remoteCommandCount, 8);
  EXPECT_GE(ws.remoteControlCount, 6);
  ASSERT_GE(ws.controlNames.size(), 4u);
  EXPECT_TRUE(StartsWith(ws.controlNames[3].name, "Режим телефона"));  // the phone-mode entry
}

// The installer's file is Windows text: CRLF line ends, no byte the code page leaves undefined.
TEST(ShippedFile, IsWindows1251WithCrLf) {
  std::ifstream in(std::string(VORSIN_SOURCE_DIR) + "/data/RorEdad.ini", std::ios::binary);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
    }
    if (text[i] == '\r') {
      ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
    }
    ASSERT_NE(static_cast<unsigned char>(text[i]), 0x98) << "byte " << i;
  }
}

TEST_F(Shipped, BlocksTileTheTableAndReferencesPointAtExistingTexts) {
  const Configuration& c = ws.config;
  size_t next = static_cast<size_t>(ws.definedEventCount);
  for (int L = 0; L < kLoops; ++L) {
    ASSERT_EQ(c.general.loopEventBase(L), next) << L;
    const int used = LoopRangeCount(c, L) - 1;
    for (int j = 0; j < used; ++j)
      EXPECT_TRUE(StartsWith(c.events[next + j].text, "Шлейф" + std::to_string(L + 1) + ": ")) << L;
    next += std::max(used, MinLoopEvents(L));
  }
  EXPECT_EQ(next, c.events.size());

  for (const auto& e : c.events) {
    EXPECT_LE(e.w[5], static_cast<int32_t>(c.smsStrings.size())) << U(e.text);
    EXPECT_LE(e.w[6], static_cast<int32_t>(c.smsStrings.size())) << U(e.text);
  }
  const std::regex ref("%[sdr]\\[(\\d+)\\]");
  const std::regex code("%\\(c_(\\d+)\\)");
  auto check = [&](const std::vector<ParamRecord>& list) {
    for (const auto& r : list) {
      EXPECT_LT(r.text.size(), 200u);
      for (std::sregex_iterator it(r.text.begin(), r.text.end(), ref), end; it != end; ++it)
        EXPECT_LE(std::stoul((*it)[1]), c.smsSubStrings.size()) << U(r.text);
      for (std::sregex_iterator it(r.text.begin(), r.text.end(), code), end; it != end; ++it)
        EXPECT_LT(std::stoi((*it)[1]) - 151, static_cast<int>(ws.codeDefinitions.size())) << U(r.text);
    }
  };
  check(c.smsStrings);
  check(c.smsSubStrings);
  check(c.smsProfileTexts);
}

TEST(ConfigJson, ShowsTheFallbacksByNameWithoutAVocabulary) {
  Workspace ws;
  Vocabulary v("/nonexistent/RorEdad.ini");
  ResetToDefaults(ws, v);
  const auto j = ToJson(ws);
  const auto& c = j["configuration"];
  EXPECT_EQ(j["profiles"].size(), 1u);
  EXPECT_EQ(j["profiles"][0]["name"], "Другой");
  EXPECT_EQ(c["intervals"].size(), 1u);
  EXPECT_EQ(c["intervalDescriptions"][0]["name"], "Шлейф отключен");
  EXPECT_EQ(c["relayPatterns"][4]["steps"], (std::vector<int>{133, 5, 133, 20}));
  EXPECT_EQ(c["relayPatterns"][6]["name"], "Выкл.");
  EXPECT_EQ(c["events"].size(), 10u);
  EXPECT_EQ(c["smsProfileTexts"].size(), 8u);
  EXPECT_TRUE(c["smsStrings"].empty() && c["remoteCommands"].empty() && j["codeDefinitions"].empty());
  EXPECT_EQ(c["general"]["loopBlock"]["intervalIndex"], (std::vector<int>{2, 2, 5, 5}));
  EXPECT_EQ(c["relayBindings"][1].size(), 5u);
}

}  // namespace
}  // namespace vorsin
