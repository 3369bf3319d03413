#include <gtest/gtest.h>

#include "sms/sms.h"
#include "sms_test_util.h"

namespace vorsin {
namespace {

using sms_test::Records;

TEST(SmsReferences, WhichTokensReferToASubstring) {
  const std::vector<CodeDefinition> none;
  for (const char* t : {"%s[2]", "x%d[2]y", "%r[2]", "%r[1]", "%s [ 2 ]", "%sd[02]"})
    EXPECT_TRUE(SubstringReferenced(t, 2, none)) << t;
  for (const char* t : {"%c[2]", "%r[3]", "%s[1]%s[3]", "s[2]", "%%(s[2])", "%(insCmd %s[2])", ""})
    EXPECT_FALSE(SubstringReferenced(t, 2, none)) << t;
  // A %r[0] is no token, so substring 1 is referred to only by n or n - 1 >= 1.
  EXPECT_FALSE(SubstringReferenced("%r[0]", 1, none));
  // The reference inside a code definition's parentheses is part of that token.
  EXPECT_TRUE(SubstringReferenced("%(c_151 %s[2])", 2, none));
  EXPECT_FALSE(SubstringReferenced("%(c_151 %s[2])", 2, std::vector<CodeDefinition>{{151, "Arm"}}));
}

TEST(SmsReferences, DropSubstringRemovesAndRenumbersInEveryList) {
  Configuration c;
  c.smsSubStrings = Records({"%s[1]%s[2]%s[3]", "%r[1]a%r[2]b%r[3]c%r[4]"});
  c.smsProfileTexts = Records({"%(insCmd)%d[3]", "%( ins Cmd ) %s [ 4 ] %c[9]"});
  c.smsStrings = Records({"50% %d[2]!", std::string(250, 'x') + "%s[5]"});
  DropSubstring(c, 2, {});
  EXPECT_EQ(c.smsSubStrings[0].text, "%s[1]%s[2]");
  EXPECT_EQ(c.smsSubStrings[1].text, "ab%r[2]c%r[3]");
  EXPECT_EQ(c.smsProfileTexts[0].text, "%(insCmd)%d[2]");
  EXPECT_EQ(c.smsProfileTexts[1].text, "%( ins Cmd ) %s[3] %c[9]");  // others keep their spelling
  EXPECT_EQ(c.smsStrings[0].text, "50% !");
  EXPECT_EQ(c.smsStrings[1].text, std::string(250, 'x') + "%s[4]");  // no length limit here
}

TEST(SmsReferences, DropSubstringOneKeepsNothingReferringToIt) {
  Configuration c;
  c.smsStrings = Records({"%r[1]%s[1]%r[2]%s[9]"});
  DropSubstring(c, 1, {});
  EXPECT_EQ(c.smsStrings[0].text, "%r[1]%s[8]");
  DropSubstring(c, 0, {});  // no such substring: nothing changes
  EXPECT_EQ(c.smsStrings[0].text, "%r[1]%s[8]");
}

TEST(SmsReferences, DropSmsStringUpdatesEvents) {
  Configuration c;
  c.events.resize(3);
  c.events[0].w[5] = 2, c.events[0].w[6] = 3;
  c.events[1].w[5] = 1, c.events[1].w[6] = 0;
  c.events[2].w[5] = 5, c.events[2].w[6] = 2;
  c.events[2].w[4] = 2;  // not an SMS number
  DropSmsString(c, 2);
  EXPECT_EQ(c.events[0].w[5], 0);
  EXPECT_EQ(c.events[0].w[6], 2);
  EXPECT_EQ(c.events[1].w[5], 1);
  EXPECT_EQ(c.events[1].w[6], 0);
  EXPECT_EQ(c.events[2].w[5], 4);
  EXPECT_EQ(c.events[2].w[6], 0);
  EXPECT_EQ(c.events[2].w[4], 2);
  DropSmsString(c, 0);  // "none" is never removed
  EXPECT_EQ(c.events[0].w[6], 2);
}

}  // namespace
}  // namespace vorsin
