#include <gtest/gtest.h>

#include "model/config_from_json.h"
#include "model/config_json.h"
#include "project/project_file.h"
#include "project_test_support.h"

namespace vorsin {
namespace {

using json = nlohmann::ordered_json;

class JsonRoundTrip : public testing::ProjectTest {
 protected:
  // The path and reason a changed JSON is refused with.
  std::string Refusal(const std::function<void(json&)>& change) {
    json j = ToJson(ws_);
    change(j["configuration"]);
    Configuration out;
    std::string error;
    EXPECT_FALSE(ConfigurationFromJson(j, out, error));
    return error;
  }
  void SetUp() override {
    ProjectTest::SetUp();
    ws_ = Defaults();
    testing::FillRich(ws_);
  }
  Workspace ws_;
};

TEST_F(JsonRoundTrip, EveryFieldComesBackAndSavesToTheSameBytes) {
  Configuration back;
  std::string error;
  // Through text, as the command line does; both the workspace and the bare configuration.
  const json parsed = json::parse(ToJson(ws_).dump(2));
  ASSERT_TRUE(ConfigurationFromJson(parsed, back, error)) << error;
  EXPECT_TRUE(back == ws_.config);
  ASSERT_TRUE(ConfigurationFromJson(ToJson(ws_.config), back, error)) << error;
  std::vector<uint8_t> a, b;
  std::string problem;
  ASSERT_EQ(EncodeProject(ws_.config, a, problem), kProjectOk);
  ASSERT_EQ(EncodeProject(back, b, problem), kProjectOk);
  EXPECT_EQ(a, b);

  // A named field wins over its word; a range count beyond what is shown survives.
  json j = ToJson(ws_.config);
  j["events"][2]["code"] = 602;
  j["users"][0]["password"] = "4321";
  ASSERT_TRUE(ConfigurationFromJson(j, back, error)) << error;
  EXPECT_EQ(back.events[2].w[2], 602);
  EXPECT_EQ(back.users[0].text, "4321");
  ws_.config.intervals[1].w[1] = 9;
  ASSERT_TRUE(ConfigurationFromJson(ToJson(ws_.config), back, error)) << error;
  EXPECT_EQ(back.intervals[1].w[1], 9);
}

TEST_F(JsonRoundTrip, AMisfitIsRefusedNamingItsPath) {
  EXPECT_EQ(Refusal([](json& c) { c["addressees"][1]["phones"][0]["phoneNumber"] = 5; }),
            "configuration.addressees[1].phones[0].phoneNumber: must be a text");
  EXPECT_EQ(Refusal([](json& c) { c["addressees"][2]["phones"][1]["phoneNumber"] = "☎"; }),
            "configuration.addressees[2].phones[1].phoneNumber: the text is not UTF-8 or has a character "
            "Windows-1251 lacks");
  EXPECT_EQ(Refusal([](json& c) { c["general"]["loopBlock"]["loopFlags"][3] = 256; }),
            "configuration.general.loopBlock.loopFlags[3]: must lie in 0..255");
  EXPECT_EQ(Refusal([](json& c) { c["events"][0].erase("zone"); }), "configuration.events[0].zone: missing");
  EXPECT_EQ(Refusal([](json& c) { c["events"][0]["zone"] = 1.5; }),
            "configuration.events[0].zone: must be a whole number");
  EXPECT_EQ(Refusal([](json& c) { c["users"][0]["words"].erase(0); }),
            "configuration.users[0].words: must hold 18 entries, holds 17");
  EXPECT_EQ(Refusal([](json& c) { c["smsStrings"][0]["txt"] = ""; }), "configuration.smsStrings[0].txt: unknown field");
  EXPECT_EQ(Refusal([](json& c) { c["pinCode"] = std::string(256, '1'); }),
            "configuration.pinCode: a project file holds at most 255 characters of a text");
  EXPECT_EQ(Refusal([](json& c) { c["timeEvents"] = json::object(); }), "configuration.timeEvents: must be an array");
  // Opening would add a default description for the table that lacks one.
  EXPECT_EQ(Refusal([](json& c) { c["intervalDescriptions"].erase(c["intervalDescriptions"].size() - 1); }),
            "configuration.intervalDescriptions: must hold at least as many entries as intervals (" +
                std::to_string(ws_.config.intervals.size()) + "), holds " +
                std::to_string(ws_.config.intervals.size() - 1));

  std::string out;
  EXPECT_FALSE(StrictCp("\xC3\x28", out));      // broken sequence
  EXPECT_FALSE(StrictCp("\xC0\xAF", out));      // overlong "/"
  EXPECT_FALSE(StrictCp("\xED\xA0\x80", out));  // surrogate
  EXPECT_FALSE(StrictCp("\xD0", out));          // cut
  ASSERT_TRUE(StrictCp("Ёж №5 \xC2\x98", out));
  EXPECT_EQ(out, Cp("Ёж №5 ") + "\x98");
}

}  // namespace
}  // namespace vorsin
