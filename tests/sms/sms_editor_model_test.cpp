// The editor's rules below what its window tests reach: bounds, the
// character classes of the counters, indirect cycles, the limits.
#include <gtest/gtest.h>

#include "model/cp1251.h"
#include "sms/sms_editor_model.h"
#include "sms_test_util.h"

namespace vorsin {
namespace {

using sms_test::Records;

Workspace Sample() {
  Workspace ws;
  ws.config.smsSubStrings = Records({Cp("Тревога"), Cp("Норма")});
  ws.config.smsProfileTexts = Records({"p0", "p1", "p2", "p3", "p4", "p5", "<head>"});
  ws.config.smsStrings = Records({"one", "two"});
  return ws;
}

TEST(SmsEditorModel, RowsAndSelectionsMapBothWaysWithinBounds) {
  Workspace ws = Sample();
  const SmsListLayout layout = LayOutSmsList(ws.config);
  const std::vector<SmsListRow> rows = SmsListRows(ws);
  ASSERT_EQ(int(rows.size()), layout.rowCount);
  ASSERT_EQ(layout.rowCount, 8);
  for (int r = 0; r < layout.rowCount; ++r) {
    const SmsSelection s = SmsRowSelection(layout, r);
    EXPECT_EQ(SmsSelectionRow(layout, s), rows[r].caption ? -1 : r) << r;
    EXPECT_EQ(SmsSelectedTemplate(ws.config, s) != nullptr, !rows[r].caption) << r;
  }
  EXPECT_EQ(SmsSelectedTemplate(ws.config, {kSmsHeader, 1}), &ws.config.smsProfileTexts[6]);
  for (const SmsSelection s : {SmsSelection{kSmsStrings, 3}, SmsSelection{kSmsHeader, 2},
                               SmsSelection{kSmsStrings, -1}, SmsSelection{7, 1}}) {
    EXPECT_EQ(SmsSelectionRow(layout, s), -1);
    EXPECT_EQ(SmsSelectedTemplate(ws.config, s), nullptr);
  }
  EXPECT_EQ(SmsRowSelection(layout, 8), SmsSelection{});
  // Without a seventh profile string the header group is its caption alone.
  ws.config.smsProfileTexts.resize(6);
  EXPECT_EQ(LayOutSmsList(ws.config).rowCount, 7);
  EXPECT_EQ(SmsSelectedTemplate(ws.config, {kSmsHeader, 1}), nullptr);
}

TEST(SmsEditorModel, CountersLookAtEveryCharacter) {
  EXPECT_EQ(SmsLengthCounter("abc" + Cp("я")), "4:70");  // the last character counts too
  EXPECT_EQ(SmsLengthCounter("\xA8"), "1:70");
  EXPECT_EQ(SmsLengthCounter("\xB8"), "1:70");
  EXPECT_EQ(SmsLengthCounter("\xA7\xBF\xB9"), "3:160");
  Workspace ws = Sample();
  const auto tooLong = EditSmsTemplate(ws, {kSmsStrings, 2}, std::string(200, 'x'));
  EXPECT_EQ(tooLong->newEvent, "Error");
  EXPECT_EQ(tooLong->newEventCounter, "5:160");
  EXPECT_EQ(ws.config.smsStrings[1].text, std::string(200, 'x'));  // only previews are limited
}

TEST(SmsEditorModel, CyclesThroughPairsAndDanglingReferences) {
  Workspace ws = Sample();
  // «%r[1]» names substrings 1 and 2.
  EXPECT_EQ(EditSmsTemplate(ws, {kSmsSubstrings, 2}, "a%r[1]")->newEvent, "Error");
  EXPECT_EQ(ws.config.smsSubStrings[1].text, Cp("Норма"));
  // Substring 1 refers to a missing substring 9; it closes a loop once 9 exists.
  EXPECT_NE(EditSmsTemplate(ws, {kSmsSubstrings, 1}, "%s[9] %r[3]")->newEvent, "Error");
  ws.config.smsSubStrings.resize(8);
  SmsSelection sel{kSmsStrings, 1};
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsSubstrings, "x%s[1]"), SmsAddResult::kCycle);
  EXPECT_EQ(sel, (SmsSelection{kSmsStrings, 1}));
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsStrings, "%s[9]"), SmsAddResult::kAdded);  // no SMS string is referred to
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsSubstrings, "x%s[3]"), SmsAddResult::kAdded);
  EXPECT_EQ(sel, (SmsSelection{kSmsSubstrings, 9}));
}

TEST(SmsEditorModel, AddingStopsAtTheDeviceLimits) {
  Workspace ws;
  SmsSelection sel;
  ws.config.smsStrings.resize(59);
  ws.config.smsSubStrings.resize(169);
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsStrings, "s"), SmsAddResult::kAdded);
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsSubstrings, ""), SmsAddResult::kAdded);
  EXPECT_EQ(sel, (SmsSelection{kSmsSubstrings, 170}));
  for (int g : {kSmsStrings, kSmsSubstrings, kSmsHeader})
    EXPECT_EQ(AddSmsTemplate(ws, sel, g, ""), SmsAddResult::kFull);
  EXPECT_EQ(ws.config.smsStrings.size(), 60u);
  EXPECT_EQ(ws.config.smsSubStrings.size(), 170u);
}

TEST(SmsEditorModel, DeletingTheLastMovesTheSelectionBack) {
  Workspace ws = Sample();
  ws.marks.eventsStale = false;
  SmsSelection sel{kSmsStrings, 2};
  ASSERT_TRUE(DeleteSmsTemplate(ws, sel));
  EXPECT_EQ(sel, (SmsSelection{kSmsStrings, 1}));
  EXPECT_TRUE(ws.marks.eventsStale);  // events may have lost their SMS
  ASSERT_TRUE(DeleteSmsTemplate(ws, sel));
  EXPECT_EQ(sel, (SmsSelection{kSmsStrings, 0}));
  const Configuration before = ws.config;
  for (SmsSelection s : {sel, SmsSelection{kSmsHeader, 1}, SmsSelection{kSmsSubstrings, 3}})
    EXPECT_FALSE(DeleteSmsTemplate(ws, s));
  EXPECT_FALSE(EditSmsTemplate(ws, {kSmsSubstrings, 3}, "x"));
  EXPECT_EQ(ws.config, before);
}

}  // namespace
}  // namespace vorsin
