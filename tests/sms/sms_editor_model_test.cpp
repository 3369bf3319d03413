#include <gtest/gtest.h>

#include "model/cp1251.h"
#include "sms/sms_editor_model.h"
#include "sms_test_util.h"

namespace vorsin {
namespace {

using sms_test::Records;

// Substrings «Тревога», «Норма»; seven profile strings; three SMS strings.
Workspace Sample() {
  Workspace ws;
  ws.config.smsSubStrings = Records({Cp("Тревога"), Cp("Норма")});
  ws.config.smsProfileTexts = Records({"p0", "p1", "p2", "p3", "p4", "p5", "<head>"});
  ws.config.smsStrings = Records({Cp("Шлейф %r[1]"), "two %s[2]", "three"});
  return ws;
}

TEST(SmsEditorModel, RowsAndSelectionsMapBothWaysWithinBounds) {
  Workspace ws = Sample();
  const SmsListLayout layout = LayOutSmsList(ws.config);
  EXPECT_EQ(layout.rowCount, 9);
  const std::vector<SmsListRow> rows = SmsListRows(ws);
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_TRUE(rows[0].caption && rows[3].caption && rows[5].caption);
  EXPECT_EQ(rows[2].text, Cp("2: Норма"));
  EXPECT_EQ(rows[4].text, "<head>");
  EXPECT_EQ(rows[6].newEvent, Cp("Шлейф Тревога"));
  EXPECT_EQ(rows[6].restore, Cp("Шлейф Норма"));
  for (int r = 0; r < layout.rowCount; ++r) {
    const SmsSelection s = SmsRowSelection(layout, r);
    EXPECT_EQ(SmsSelectionRow(layout, s), rows[r].caption ? -1 : r) << r;
    EXPECT_EQ(SmsSelectedTemplate(ws.config, s) != nullptr, !rows[r].caption) << r;
  }
  EXPECT_EQ(SmsRowSelection(layout, 4), (SmsSelection{kSmsHeader, 1}));
  EXPECT_EQ(SmsSelectedTemplate(ws.config, {kSmsHeader, 1}), &ws.config.smsProfileTexts[6]);
  EXPECT_EQ(SmsRowSelection(layout, 9), SmsSelection{});
  EXPECT_EQ(SmsRowSelection(layout, -1), SmsSelection{});
  for (const SmsSelection s : {SmsSelection{kSmsStrings, 4}, SmsSelection{kSmsSubstrings, 0},
                               SmsSelection{kSmsHeader, 2}, SmsSelection{kSmsStrings, -1}, SmsSelection{7, 1}}) {
    EXPECT_EQ(SmsSelectionRow(layout, s), -1);
    EXPECT_EQ(SmsSelectedTemplate(ws.config, s), nullptr);
  }
  // Without a seventh profile string the header group is its caption alone.
  ws.config.smsProfileTexts.resize(6);
  EXPECT_EQ(LayOutSmsList(ws.config).rowCount, 8);
  EXPECT_EQ(SmsSelectedTemplate(ws.config, {kSmsHeader, 1}), nullptr);
}

TEST(SmsEditorModel, CountersLookAtEveryCharacter) {
  Workspace ws = Sample();
  const auto p = EditSmsTemplate(ws, {kSmsStrings, 1}, Cp("Шлейф %r[1]"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->newEventCounter, "13:70");
  EXPECT_EQ(p->restoreCounter, "11:70");
  EXPECT_EQ(SmsLengthCounter("abc" + Cp("я")), "4:70");  // the last character counts too
  EXPECT_EQ(SmsLengthCounter("\xA8"), "1:70");
  EXPECT_EQ(SmsLengthCounter("\xB8"), "1:70");
  EXPECT_EQ(SmsLengthCounter("\xA7\xBF\xB9"), "3:160");
  EXPECT_EQ(SmsLengthCounter(""), "0:160");
  const auto tooLong = EditSmsTemplate(ws, {kSmsStrings, 3}, std::string(200, 'x'));
  EXPECT_EQ(tooLong->newEvent, "Error");
  EXPECT_EQ(tooLong->newEventCounter, "5:160");
  EXPECT_EQ(ws.config.smsStrings[2].text, std::string(200, 'x'));  // only previews are limited
}

TEST(SmsEditorModel, SubstringsNeverReachThemselves) {
  Workspace ws = Sample();
  const auto refused = EditSmsTemplate(ws, {kSmsSubstrings, 2}, "%s[2]");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->newEvent, "Error");
  EXPECT_EQ(refused->restore, "Error");
  EXPECT_EQ(refused->newEventCounter, "");
  EXPECT_EQ(ws.config.smsSubStrings[1].text, Cp("Норма"));
  // Through another substring, and through the second half of a %r pair.
  ASSERT_EQ(EditSmsTemplate(ws, {kSmsSubstrings, 2}, "%s[1]")->newEvent, Cp("Тревога"));
  EXPECT_EQ(EditSmsTemplate(ws, {kSmsSubstrings, 1}, "%d[2]")->newEvent, "Error");
  EXPECT_EQ(EditSmsTemplate(ws, {kSmsSubstrings, 1}, "a%r[1]")->newEvent, "Error");
  EXPECT_EQ(ws.config.smsSubStrings[0].text, Cp("Тревога"));
  // References to missing substrings and from SMS strings close no cycle.
  EXPECT_NE(EditSmsTemplate(ws, {kSmsSubstrings, 1}, "%s[9] %r[3]")->newEvent, "Error");
  EXPECT_NE(EditSmsTemplate(ws, {kSmsStrings, 1}, "%s[1]%s[2]")->newEvent, "Error");

  // Adding: «%s[3]» as substring 3, and a text closing a loop through the
  // dangling «%s[9]» of substring 1 once it becomes substring 9.
  SmsSelection sel{kSmsStrings, 1};
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsSubstrings, "%s[3]"), SmsAddResult::kCycle);
  EXPECT_EQ(ws.config.smsSubStrings.size(), 2u);
  EXPECT_EQ(sel, (SmsSelection{kSmsStrings, 1}));
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsStrings, "%s[3]"), SmsAddResult::kAdded);
  while (ws.config.smsSubStrings.size() < 8) ws.config.smsSubStrings.push_back({});
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsSubstrings, "x%s[1]"), SmsAddResult::kCycle);
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsSubstrings, "x%s[3]"), SmsAddResult::kAdded);
  EXPECT_EQ(sel, (SmsSelection{kSmsSubstrings, 9}));
}

TEST(SmsEditorModel, AddingStopsAtTheDeviceLimits) {
  Workspace ws;
  SmsSelection sel;
  for (int i = 0; i < 60; ++i) ASSERT_EQ(AddSmsTemplate(ws, sel, kSmsStrings, "s"), SmsAddResult::kAdded);
  EXPECT_EQ(sel, (SmsSelection{kSmsStrings, 60}));
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsStrings, "s"), SmsAddResult::kFull);
  for (int i = 0; i < 170; ++i) ASSERT_EQ(AddSmsTemplate(ws, sel, kSmsSubstrings, ""), SmsAddResult::kAdded);
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsSubstrings, ""), SmsAddResult::kFull);
  EXPECT_EQ(AddSmsTemplate(ws, sel, kSmsHeader, ""), SmsAddResult::kFull);
  EXPECT_EQ(ws.config.smsStrings.size(), 60u);
  EXPECT_EQ(ws.config.smsSubStrings.size(), 170u);
  EXPECT_EQ(sel, (SmsSelection{kSmsSubstrings, 170}));
}

TEST(SmsEditorModel, DeletingKeepsReferencesAndEventsInStep) {
  Workspace ws = Sample();
  ws.config.smsSubStrings.push_back({{}, "third"});
  ws.config.smsStrings[2].text = "%s[1]%s[2]%s[3]";
  ws.config.events.resize(2);
  ws.config.events[0].w[5] = 1, ws.config.events[0].w[6] = 3;
  ws.config.events[1].w[5] = 2, ws.config.events[1].w[6] = 2;

  SmsSelection sel{kSmsSubstrings, 2};
  ASSERT_TRUE(DeleteSmsTemplate(ws, sel));
  EXPECT_EQ(sel, (SmsSelection{kSmsSubstrings, 2}));  // the old third now stands here
  EXPECT_EQ(ws.config.smsSubStrings[1].text, "third");
  EXPECT_EQ(ws.config.smsStrings[2].text, "%s[1]%s[2]");
  EXPECT_EQ(ws.config.smsStrings[0].text, Cp("Шлейф "));  // «%r[1]» named substring 2 too

  ws.marks.eventsStale = false;
  sel = {kSmsStrings, 2};
  ASSERT_TRUE(DeleteSmsTemplate(ws, sel));
  EXPECT_EQ(sel, (SmsSelection{kSmsStrings, 2}));
  EXPECT_EQ(ws.config.events[0].w[6], 2);
  EXPECT_EQ(ws.config.events[1].w[5], 0);
  EXPECT_TRUE(ws.marks.eventsStale);
  ASSERT_TRUE(DeleteSmsTemplate(ws, sel));  // the last one: the one before is selected
  EXPECT_EQ(sel, (SmsSelection{kSmsStrings, 1}));
  ASSERT_TRUE(DeleteSmsTemplate(ws, sel));  // the only one: nothing is selected
  EXPECT_EQ(sel, (SmsSelection{kSmsStrings, 0}));
  EXPECT_FALSE(DeleteSmsTemplate(ws, sel));

  const Configuration before = ws.config;
  for (SmsSelection s : {SmsSelection{kSmsHeader, 1}, SmsSelection{kSmsSubstrings, 3}, SmsSelection{kSmsStrings, 1}})
    EXPECT_FALSE(DeleteSmsTemplate(ws, s));
  EXPECT_FALSE(EditSmsTemplate(ws, {kSmsSubstrings, 3}, "x"));
  EXPECT_EQ(ws.config, before);
}

}  // namespace
}  // namespace vorsin
