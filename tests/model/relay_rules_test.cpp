#include "model/relay_rules.h"

#include "model/defaults.h"
#include "model/relays.h"
#include "model_test_support.h"

namespace vorsin {
namespace {

using testing::U;

class RelayRules : public testing::TempVocabulary {
 protected:
  // Defaults, with loop 1 on a three-range table.
  Workspace Fresh() {
    Put("[IntervalDef1]\nName=Three\nVal1=0,50\nVal1_Name=Низ\nVal2=51,150\nVal2_Name=Середина\nVal3=151,255\n"
        "Val3_Name=Верх\n");
    Workspace ws;
    Vocabulary v(path_);
    ResetToDefaults(ws, v);
    ws.config.general.intervalIndex(0) = 1;
    return ws;
  }
};

TEST_F(RelayRules, TimeLimitAndContactTypeItems) {
  std::vector<std::string> shown;
  for (const auto& item : RelayTimeLimitItems()) shown.push_back(U(item));
  EXPECT_EQ(shown, (std::vector<std::string>{"нет", "3 минуты", "5 минут", "7 минут", "9 минут", "12 минут",
                                             "14 минут"}));
  const int codes[] = {0, 12, 10, 8, 6, 3, 1};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(RelayTimeLimitCode(i), codes[i]);
    EXPECT_EQ(RelayTimeLimitItem(codes[i]), i);
  }
  EXPECT_EQ(RelayTimeLimitItem(7), -1);  // kept, shown as no item
  EXPECT_EQ(RelayTimeLimitCode(7), -1);
  EXPECT_EQ(ContactTypeItem(1), 0);
  EXPECT_EQ(ContactTypeItem(0), 1);
  EXPECT_EQ(NormallyClosedOf(0), 1);
  EXPECT_EQ(NormallyClosedOf(1), 0);
}

TEST_F(RelayRules, CheckListItemsAndIdentifiersMapBothWaysWithinTheLists) {
  Workspace ws = Fresh();
  const Configuration& c = ws.config;
  EXPECT_EQ(RelayReactItems().size(), 16u);
  EXPECT_EQ(U(RelayReactItems()[14]), "неисправность");
  EXPECT_EQ(U(RelayHs1Items()[8]), "неисправность ");
  EXPECT_EQ(RelayListIdentifier(c, RelayList::React, 0, kCommonGroup), 40);
  EXPECT_EQ(RelayListIdentifier(c, RelayList::React, 5, kCommonGroup), 45);
  EXPECT_EQ(RelayListIdentifier(c, RelayList::React, 6, kCommonGroup), 20);
  EXPECT_EQ(RelayListIdentifier(c, RelayList::React, 15, kCommonGroup), 29);
  EXPECT_EQ(RelayListIdentifier(c, RelayList::React, 16, kCommonGroup), -1);
  EXPECT_EQ(RelayListIdentifier(c, RelayList::Hs1, 1, 0), 21);
  EXPECT_EQ(RelayListIdentifier(c, RelayList::Hs2, 2, 0), 2);
  EXPECT_EQ(RelayListIdentifier(c, RelayList::Hs2, 3, 0), -1);  // three ranges
  EXPECT_EQ(U(RelayHs2Items(c, 0)[2]), "Верх");

  EXPECT_EQ(RelayItemOf(c, 43, kCommonGroup), (RelayListItem{RelayList::React, 3}));
  EXPECT_EQ(RelayItemOf(c, 29, kCommonGroup), (RelayListItem{RelayList::React, 15}));
  EXPECT_EQ(RelayItemOf(c, 21, 0), (RelayListItem{RelayList::Hs1, 1}));
  EXPECT_EQ(RelayItemOf(c, 2, 0), (RelayListItem{RelayList::Hs2, 2}));
  // Identifiers a file may bring that no item shows.
  for (int id : {5, 13, 14, 19, 30, 46}) EXPECT_FALSE(RelayItemOf(c, id, kCommonGroup)) << id;
  for (int id : {3, 19, 40, 45}) EXPECT_FALSE(RelayItemOf(c, id, 0)) << id;

  EXPECT_EQ(ListSelectionItem(c, ListSelectionCode(RelayList::Hs2, 2), 0), (RelayListItem{RelayList::Hs2, 2}));
  EXPECT_FALSE(ListSelectionItem(c, 0, 0));
  ws.config.general.intervalIndex(0) = 0;  // the table shrank to one range
  EXPECT_FALSE(ListSelectionItem(ws.config, ListSelectionCode(RelayList::Hs2, 2), 0));
  EXPECT_FALSE(ListSelectionItem(ws.config, ListSelectionCode(RelayList::React, 1), 0));
}

TEST_F(RelayRules, AddMenusOfferWhatIsNotBound) {
  Workspace ws = Fresh();
  std::vector<int> common = {40, 41, 42, 43, 44, 45, kMenuSeparator, 20, 21, 22, 23, 24, 25, 26, 27, 28};
  EXPECT_EQ(EventMenuIds(ws.config, 0, kCommonGroup), common);
  EXPECT_TRUE(IntervalMenuIds(ws.config, 0, kCommonGroup).empty());
  EXPECT_EQ(EventMenuIds(ws.config, 1, 2), (std::vector<int>{20, 21, 22, 23, 24, 25, 26, 27, 28}));
  EXPECT_EQ(IntervalMenuIds(ws.config, 1, 0), (std::vector<int>{0, 1, 2}));

  ASSERT_EQ(AddBinding(ws, 1, 0, 1), BindingChange::Added);
  ASSERT_EQ(AddBinding(ws, 1, 0, 22), BindingChange::Added);
  EXPECT_EQ(IntervalMenuIds(ws.config, 1, 0), (std::vector<int>{0, 2}));
  EXPECT_EQ(EventMenuIds(ws.config, 1, 0), (std::vector<int>{20, 21, 23, 24, 25, 26, 27, 28}));
  EXPECT_EQ(IntervalMenuIds(ws.config, 0, 0), (std::vector<int>{0, 1, 2}));  // the other relay
  EXPECT_EQ(U(RelayGroupCaption(ws.config, 0)), "Шлейф1: Контрольный");
  EXPECT_EQ(U(RelayGroupCaption(ws.config, kCommonGroup)), "Общие");
}

TEST_F(RelayRules, BindingsStopWhereTheRelayBlockIsFull) {
  Workspace ws = Fresh();
  // Toggling twice adds (id, 0, 1) and takes it away; both mark the loop.
  EXPECT_EQ(ToggleBinding(ws, 0, 0, 21), BindingChange::Added);
  RelayBinding added;
  added.w[1] = 21;
  added.w[3] = 1;
  EXPECT_EQ(ws.config.relayBindings[0][0], std::vector<RelayBinding>{added});
  EXPECT_TRUE(ws.marks.loopRelayEdited[0]);
  ws.marks.loopRelayEdited[0] = false;
  EXPECT_EQ(ToggleBinding(ws, 0, 0, 21), BindingChange::Removed);
  EXPECT_TRUE(ws.config.relayBindings[0][0].empty());
  EXPECT_TRUE(ws.marks.loopRelayEdited[0]);
  EXPECT_EQ(AddBinding(ws, 0, kCommonGroup, 40), BindingChange::Added);
  EXPECT_EQ(AddBinding(ws, 0, kCommonGroup, 40), BindingChange::Refused);

  // Fill relay 0 loop by loop until the block refuses.
  int last = -1;
  BindingChange change = BindingChange::Added;
  for (int group = 0; group < kLoops && change == BindingChange::Added; ++group) {
    for (int id = 20; id <= 29 && change == BindingChange::Added; ++id) {
      change = AddBinding(ws, 0, group, id);
      if (change == BindingChange::Added) last = group * 100 + id;
    }
  }
  EXPECT_EQ(change, BindingChange::TooLarge);
  EXPECT_EQ(RelayBodySize(ws.config, 0), 63u);
  EXPECT_EQ(last, 221);  // 25 bytes empty, then 19 pairs beyond the fillers' places
  EXPECT_EQ(ws.config.relayBindings[0][2].size(), 2u);
  EXPECT_EQ(ToggleBinding(ws, 0, 3, 20), BindingChange::Added);  // takes its filler's place
  EXPECT_EQ(ToggleBinding(ws, 0, 3, 21), BindingChange::TooLarge);
  EXPECT_EQ(ws.config.relayBindings[0][3].size(), 1u);
  EXPECT_EQ(ToggleBinding(ws, 0, 1, 20), BindingChange::Removed);  // removing always works
  EXPECT_EQ(ToggleBinding(ws, 0, 3, 21), BindingChange::Added);
  EXPECT_EQ(AddBinding(ws, 1, 0, 20), BindingChange::Added);  // relay 2 has its own block

  // The menu's delete finds the binding by identifier; clearing takes one group.
  AddBinding(ws, 1, 0, 22);
  EXPECT_EQ(DeleteBinding(ws.config, 1, 0, 22), 1);
  EXPECT_EQ(DeleteBinding(ws.config, 1, 0, 22), -1);
  EXPECT_EQ(DeleteBinding(ws.config, 1, 5, 20), -1);
  EXPECT_EQ(ws.config.relayBindings[1][0].size(), 1u);
  EXPECT_FALSE(ClearGroup(ws.config, 2, 0));
  EXPECT_TRUE(ClearGroup(ws.config, 0, 3));
  EXPECT_TRUE(ws.config.relayBindings[0][3].empty());
  EXPECT_FALSE(ws.config.relayBindings[0][2].empty());

  ClearRelay(ws.config, 0);
  for (const auto& list : ws.config.relayBindings[0]) EXPECT_TRUE(list.empty());
  EXPECT_EQ(ws.config.general.relayNormallyClosed(0), 0);
}

TEST_F(RelayRules, ReactionFlagsAndPatternBoxes) {
  Workspace ws = Fresh();
  RelayBinding b;
  b.w[2] = 0xC5;
  SetPatternIndex(b, 2);
  EXPECT_EQ(b.w[2], 0xC2);
  SetReactionBit(b, kCyclicBit, false);
  EXPECT_EQ(b.w[2], 0x42);
  EXPECT_TRUE(ReactionBit(b, kNoStopCheckBit));
  EXPECT_EQ(PatternBoxItems(ws.config).size(), 7u);
  ws.config.relayPatterns.resize(10);
  EXPECT_EQ(PatternBoxItems(ws.config).size(), 8u);  // three bits hold the index
}

TEST_F(RelayRules, PreviewPlaysStepsAndEndsSafely) {
  Workspace ws = Fresh();
  const auto& patterns = ws.config.relayPatterns;
  ASSERT_EQ(U(patterns[4].text), "Меандр 4");
  const auto play = [](RelayPreview& p, int ticks, const std::vector<RelayPattern>& list) {
    std::vector<std::pair<bool, int>> seen;
    for (int i = 0; i < ticks; ++i) {
      const auto step = p.tick(list);
      if (!step) break;
      seen.emplace_back(step->energised, step->intervalMs);
    }
    return seen;
  };
  const std::vector<std::pair<bool, int>> meander4 = {{true, 500}, {false, 500}, {true, 500}, {false, 2000}};
  RelayPreview once;
  once.start(4 | 0x40);  // bit 6 is not the preview's
  EXPECT_EQ(play(once, 10, patterns), meander4);
  EXPECT_TRUE(once.running());  // ended: the last look stays
  RelayPreview cyclic;
  cyclic.start(0x84);
  auto twice = meander4;
  twice.insert(twice.end(), meander4.begin(), meander4.end());
  EXPECT_EQ(play(cyclic, 8, patterns), twice);
  cyclic.stop();
  EXPECT_FALSE(cyclic.tick(patterns));

  // What files and devices may bring.
  std::vector<RelayPattern> three(patterns.begin(), patterns.begin() + 3);
  RelayPreview past;
  past.start(0x85);
  EXPECT_FALSE(past.tick(three));
  EXPECT_FALSE(past.running());
  RelayPattern odd;
  odd.w[1] = 0;
  std::vector<RelayPattern> bad = {odd};
  past.start(0x80);
  EXPECT_FALSE(past.tick(bad));
  EXPECT_FALSE(past.running());
  bad[0].w[1] = 3;
  bad[0].w[2] = 0x85;
  bad[0].w[3] = 0x80;  // no length
  past.start(0x80);
  EXPECT_EQ(play(past, 10, bad), (std::vector<std::pair<bool, int>>{{true, 500}}));
  bad[0].w[1] = 40;
  for (int i = 2; i < 18; ++i) bad[0].w[i] = 1;
  past.start(0);
  EXPECT_EQ(play(past, 40, bad).size(), 16u);  // cut to the sixteen steps a record holds
}

}  // namespace
}  // namespace vorsin
