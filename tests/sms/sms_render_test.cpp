#include <gtest/gtest.h>

#include "model/cp1251.h"
#include "sms/sms.h"
#include "sms_test_util.h"

namespace vorsin {
namespace {

using sms_test::B;
using sms_test::Records;

TEST(SmsToken, NamesMatchWithoutCaseAndBlanks) {
  const std::vector<CodeDefinition> none;
  for (const char* text : {"(INSCMD)", "( ins Cmd )", "(insCmd)rest"}) {
    const SmsToken t = ParseSmsToken(text, none);
    EXPECT_EQ(t.code, 139) << text;
    EXPECT_EQ(t.length, std::string_view(text).find(')') + 1) << text;
  }
  EXPECT_EQ(ParseSmsToken("(insevDestOk)", none).code, 137);
  EXPECT_EQ(ParseSmsToken("(prfHSRL)", none).code, 144);
  EXPECT_EQ(ParseSmsToken("(inscHours)", none).code, 148);  // not taken for inshours
  EXPECT_EQ(ParseSmsToken("(my insevnum!)", none).code, 129);  // found anywhere in the name
  // Several names inside: the one earlier in the search order wins, wherever it stands.
  EXPECT_EQ(ParseSmsToken("(insCmd insEvNum)", none).code, 129);
  EXPECT_EQ(ParseSmsToken("(insCmd ucs2)", none).code, 138);
}

TEST(SmsToken, NumberedTokens) {
  const std::vector<CodeDefinition> none;
  const SmsToken spaced = ParseSmsToken("s [ 2 ]x", none);
  EXPECT_EQ(spaced.code, 128);
  EXPECT_EQ(spaced.number, 2);
  EXPECT_EQ(spaced.length, 7u);
  EXPECT_EQ(ParseSmsToken("sd[3]", none).code, 142);  // the later letter wins
  EXPECT_EQ(ParseSmsToken("r[12abc]", none).number, 12);
  // Not tokens: number 0 or none, unknown letter, no letter, unclosed.
  for (const char* text : {"s[0]", "s[]", "q[1]", "[2]", "s[2", "(insCmd", "x", "", "(nothing)"})
    EXPECT_EQ(ParseSmsToken(text, none).length, 0u) << text;
  // A number too long for any integer saturates instead of overflowing.
  EXPECT_EQ(ParseSmsToken("c[99999999999999999999999]", none).number, kMaxTokenNumber);
}

TEST(SmsToken, CodeDefinitionsByName) {
  const std::vector<CodeDefinition> defs = {{151, "Arm"}, {152, "Disarm"}};
  const SmsToken t = ParseSmsToken("(C_152)", defs);
  EXPECT_EQ(t.code, 152);
  EXPECT_EQ(t.definition, 1);
  EXPECT_EQ(ParseSmsToken("(c_153)", defs).length, 0u);  // not defined
  EXPECT_EQ(ParseSmsToken("(c_151)", {}).length, 0u);
  // Definitions are tried in list order, not by where they stand in the name.
  EXPECT_EQ(ParseSmsToken("(c_152 c_151)", defs).code, 151);
  EXPECT_EQ(ParseSmsToken("(c_151 insSec)", defs).code, 135);  // token names come first
}

class SmsRenderTest : public ::testing::Test {
 protected:
  std::vector<ParamRecord> subs = Records({Cp("Тревога"), Cp("Норма")});
  std::vector<CodeDefinition> defs = {{151, "Arm"}};
  // A context views the lists, so it is taken afresh after they change.
  std::string Show(std::string_view tmpl, int offset) { return DisplaySms(tmpl, offset, {subs, defs}); }
  std::vector<uint8_t> Store(std::string_view tmpl) { return EncodeSms(tmpl, {subs, defs}); }
};

TEST_F(SmsRenderTest, NamedTokensDisplayAndStore) {
  const std::string tmpl = "Alarm %(insEvNum) zone %(insEvZone)";
  EXPECT_EQ(Show(tmpl, 0), "Alarm ccc zone zzz");
  EXPECT_EQ(Store(tmpl),
            B({0x41, 0x6C, 0x61, 0x72, 0x6D, 0x20, 0x81, 0x20, 0x7A, 0x6F, 0x6E, 0x65, 0x20, 0x82, 0xFF}));
  EXPECT_EQ(RenderSms(tmpl, true, 0, {subs, defs}), std::string("Alarm \x81 zone \x82\xFF"));
  EXPECT_EQ(Show("%(prfHSRL)", 0), Cp("{профиль шлейфов}"));
  EXPECT_EQ(Show("<%(insNumM),%(insNumC)>", 0), "<xx,xx>");
}

TEST_F(SmsRenderTest, PercentWithoutTokenIsText) {
  for (const char* tmpl : {"50%", "100% ok", "%x", "%s[0]", "%s[]", "%q[1]", "%[2]", "%(nothing)"}) {
    EXPECT_EQ(Show(tmpl, 0), tmpl);
    std::vector<uint8_t> stored = B(tmpl);
    stored.push_back(0xFF);
    EXPECT_EQ(Store(tmpl), stored) << tmpl;
  }
}

TEST_F(SmsRenderTest, SubstringReferences) {
  EXPECT_EQ(Show("%r[1]", 0), Cp("Тревога"));
  EXPECT_EQ(Show("%r[1]", 1), Cp("Норма"));
  EXPECT_EQ(Store("%r[1]"), B({132, 80, 255}));
  EXPECT_EQ(Show("%r[2]", 0), Cp("Норма"));
  EXPECT_EQ(Show("%r[2]", 1), "");
  EXPECT_EQ(Show("%s [ 2 ]!", 1), Cp("Норма!"));
  EXPECT_EQ(Store("%s[2]%d[1]"), B({128, 81, 142, 80, 255}));
  // A missing substring shows nothing and is not stored.
  EXPECT_EQ(Show("a%s[3]b", 0), "ab");
  EXPECT_EQ(Store("a%s[3]%d[3]b"), B({'a', 'b', 255}));
}

TEST_F(SmsRenderTest, CharacterTokens) {
  EXPECT_EQ(Show("%c[64]", 0), "A");
  EXPECT_EQ(Store("%c[64]"), B({136, 64, 255}));
  EXPECT_EQ(Store("%c[320]"), B({136, 64, 255}));  // low 8 bits
  // 255 would end the template on the device: neither shown nor stored.
  EXPECT_EQ(Store("a%c[255]b"), B({'a', 'b', 255}));
  EXPECT_EQ(Show("a%c[255]b", 0), "ab");
  EXPECT_EQ(Store("%(ucs2)x"), B({138, 'x', 255}));
  EXPECT_EQ(Show("%(ucs2)x", 0), "x");
}

TEST_F(SmsRenderTest, CodeDefinitions) {
  EXPECT_EQ(Show("%(c_151) now", 0), "Arm now");
  EXPECT_EQ(Store("%(c_151) now"), B({151, 0x20, 0x6E, 0x6F, 0x77, 255}));
}

TEST_F(SmsRenderTest, TooLongTemplatesReadError) {
  const std::string ok(199, 'a');
  const std::string tooLong(200, 'a');
  EXPECT_EQ(Show(ok, 0), ok);
  EXPECT_EQ(Show(tooLong, 0), "Error");
  EXPECT_EQ(Store(tooLong), B({'E', 'r', 'r', 'o', 'r', 255}));
  // The rule holds for each substring on its own.
  subs.push_back(ParamRecord{{}, tooLong});
  EXPECT_EQ(Show("<%s[3]>", 0), "<Error>");
}

// Literal characters whose byte is a token code would run as that macro on
// the device; they travel as «%c[byte - 1]» and still show as themselves.
TEST_F(SmsRenderTest, LiteralTokenCodeCharactersAreEscaped) {
  const std::string tmpl = Cp("Ждите…");  // "…" is 0x85
  EXPECT_EQ(Show(tmpl, 0), tmpl);
  const std::vector<uint8_t> stored = Store(tmpl);
  ASSERT_EQ(stored.size(), 5u + 2u + 1u);
  EXPECT_EQ(std::vector<uint8_t>(stored.end() - 3, stored.end()), B({136, 0x84, 255}));
  for (int c = 128; c <= 150; ++c)
    EXPECT_EQ(Store(std::string(1, static_cast<char>(c))), B({136, c - 1, 255})) << c;
  // Bytes above the token codes stay as they are.
  EXPECT_EQ(Store("\x97"), B({0x97, 255}));
}

TEST_F(SmsRenderTest, NestedSubstringsUseTheSameOffset) {
  subs = Records({"A%r[2]", "new", "restored"});
  EXPECT_EQ(Show("[%s[1]]", 0), "[Anew]");
  EXPECT_EQ(Show("[%s[1]]", 1), "[Arestored]");
}

TEST_F(SmsRenderTest, CyclicSubstringsEnd) {
  subs = Records({"a%s[2]", "b%s[1]"});
  EXPECT_EQ(Show("%s[1]", 0), "ab");
  EXPECT_EQ(Show("%s[2]", 1), "ba");
  subs = Records({"x%s[1]%r[1]"});  // itself, directly and through %r
  EXPECT_EQ(Show("%s[1]", 0), "x");
  // Stored forms only reference, so cycles do not matter there.
  EXPECT_EQ(Store("%s[1]"), B({128, 80, 255}));
}

TEST_F(SmsRenderTest, FanOutIsBounded) {
  // Each substring includes the next one twice: 2^40 copies if expanded fully.
  subs.clear();
  for (int k = 1; k <= 40; ++k)
    subs.push_back(ParamRecord{{}, "%s[" + std::to_string(k + 1) + "]%d[" + std::to_string(k + 1) + "]"});
  subs.push_back(ParamRecord{{}, "leaf"});
  const std::string shown = Show("%s[1]", 0);
  EXPECT_LE(shown.size(), 4096u * 4u);
  EXPECT_EQ(shown.find("leaf"), std::string::npos);  // deeper than the nesting limit
  subs.resize(4);
  subs.back().text = "leaf";
  EXPECT_EQ(Show("%s[1]", 0), "leafleafleafleafleafleafleafleaf");
}

TEST_F(SmsRenderTest, ReferencesBeyondOneByteAreNotStored) {
  subs.assign(180, ParamRecord{{}, "x"});
  EXPECT_EQ(Store("%s[175]"), B({128, 254, 255}));
  EXPECT_EQ(Store("%s[176]%r[177]"), B({255}));
  EXPECT_EQ(Show("%s[175]%s[176]", 0), "x");
}

}  // namespace
}  // namespace vorsin
