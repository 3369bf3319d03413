#include "model/loop_rules.h"

#include <filesystem>

#include "../link/recording_messenger.h"
#include "model/defaults.h"
#include "model/loops.h"
#include "model_test_support.h"

namespace vorsin {
namespace {

using testing::U;

// The shipped vocabulary: tables 1..5 are the kind presets, 6..8 extras.
class LoopRules : public testing::TempVocabulary {
 protected:
  void SetUp() override {
    TempVocabulary::SetUp();
    std::filesystem::copy_file(VORSIN_BIN_DIR "/RorEdad.ini", path_,
                               std::filesystem::copy_options::overwrite_existing);
    Vocabulary v(path_);
    ResetToDefaults(ws, v);
  }
  std::vector<int> Bases() {
    std::vector<int> out;
    for (int L = 0; L < kLoops; ++L) out.push_back(ws.config.general.loopEventBase(L));
    return out;
  }
  std::vector<EventEntry> Block(int loop, int size) {
    const auto first = ws.config.events.begin() + ws.config.general.loopEventBase(loop);
    return std::vector<EventEntry>(first, first + size);
  }
  Workspace ws;
  testing::RecordingMessenger messages;
};

TEST_F(LoopRules, IntervalMenuOffersTheTablesOfTheLoopsKindAndSide) {
  EXPECT_EQ(OfferedIntervals(ws.config, 0), (std::vector<int>{0, 2, 6}));  // control, loops 1-2
  ASSERT_TRUE(ChangeLoopKind(ws, 0, LoopKind::Guard));
  EXPECT_EQ(OfferedIntervals(ws.config, 0), (std::vector<int>{0, 1, 6}));
  EXPECT_EQ(OfferedIntervals(ws.config, 2), (std::vector<int>{0, 5}));
  ASSERT_TRUE(ChangeLoopKind(ws, 2, LoopKind::Guard));
  EXPECT_EQ(OfferedIntervals(ws.config, 2), (std::vector<int>{0, 4, 8}));
  ASSERT_TRUE(ChangeLoopKind(ws, 2, LoopKind::Fire));
  EXPECT_EQ(OfferedIntervals(ws.config, 2), (std::vector<int>{0, 3, 7}));

  // Loops 1 and 2 cannot be fire loops; positions beyond the list are no table.
  const Configuration before = ws.config;
  EXPECT_FALSE(ChangeLoopKind(ws, 1, LoopKind::Fire));
  EXPECT_FALSE(ChangeLoopInterval(ws, 1, 9));
  EXPECT_EQ(ws.config, before);
  EXPECT_EQ(U(LoopNodeText(ws.config, 2)), "Шлейф 3: Пожарный");
  EXPECT_EQ(U(LoopNodeText(ws.config, 0)), "Шлейф 1: Охранный");
  EXPECT_EQ(U(LoopKindSuffix(24)), ": Контрольный");
}

TEST_F(LoopRules, ResetQuestionNamesTheEditedPartsAndOkClearsTheMarks) {
  EXPECT_EQ(ConfirmLoopDefaults(ws, messages, 1), kAnswerOk);
  EXPECT_TRUE(messages.shown.empty());  // nothing edited: no question

  ws.marks.loopRelayEdited[1] = ws.marks.loopEventsEdited[1] = true;
  messages.answer = kAnswerCancel;
  EXPECT_EQ(ConfirmLoopDefaults(ws, messages, 1), kAnswerCancel);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.LastUtf8(),
            "Следующие параметры будут установленны по умолчанию:\n   Шлейф2: параметры реле\n"
            "   Шлейф2: параметры событий");
  EXPECT_EQ(U(messages.shown[0].caption), "Внимание");
  EXPECT_EQ(messages.shown[0].buttons, Buttons::OkCancel);
  EXPECT_TRUE(ws.marks.loopRelayEdited[1] && ws.marks.loopEventsEdited[1]);
  messages.answer = kAnswerOk;
  EXPECT_EQ(ConfirmLoopDefaults(ws, messages, 1), kAnswerOk);
  EXPECT_FALSE(ws.marks.loopRelayEdited[1] || ws.marks.loopEventsEdited[1]);
}

TEST_F(LoopRules, DefaultTablesFollowEachLoopsKind) {
  ASSERT_TRUE(ChangeLoopKind(ws, 0, LoopKind::Guard));
  ASSERT_TRUE(ChangeLoopKind(ws, 3, LoopKind::Fire));
  ASSERT_TRUE(ChangeLoopInterval(ws, 3, 7));  // six ranges
  ws.config.general.loopFlags(3) |= 0x10;     // powered by relay 2
  ws.marks.loopEventsEdited[2] = true;
  ws.config.relayBindings[0][2].push_back(RelayBinding{{0, 21, 0, 1}});
  Vocabulary v(path_);

  const Configuration before = ws.config;
  messages.answer = kAnswerCancel;
  EXPECT_EQ(LoadDefaultIntervals(ws, v, messages), kAnswerCancel);
  EXPECT_EQ(messages.LastUtf8(), "Следующие параметры будут установленны по умолчанию:\n   Шлейф3: параметры событий");
  EXPECT_EQ(ws.config, before);
  EXPECT_TRUE(ws.marks.loopEventsEdited[2]);

  messages.answer = kAnswerOk;
  EXPECT_EQ(LoadDefaultIntervals(ws, v, messages), kAnswerOk);
  EXPECT_FALSE(ws.marks.loopEventsEdited[2]);
  const GeneralSettings& g = ws.config.general;
  EXPECT_EQ((std::vector<int>{g.intervalIndex(0), g.intervalIndex(1), g.intervalIndex(2), g.intervalIndex(3)}),
            (std::vector<int>{1, 2, 5, 3}));
  EXPECT_EQ(int(g.loopFlags(3)), 0x15);  // kind and options kept
  EXPECT_TRUE(ws.config.relayBindings[0][2].empty());
  // Every used entry of a guard or fire loop is a real alarm, never code 000.
  for (int L : {0, 3}) {
    const int used = LoopRangeCount(ws.config, L) - 1;
    for (const auto& e : Block(L, used)) EXPECT_NE(e.w[2], 0) << U(e.text);
  }
  EXPECT_EQ(U(ws.config.events[g.loopEventBase(3) + 1].text), "Шлейф4: Пожар");
  EXPECT_EQ(ws.config.events.size(), ws.definedEventCount + 2u + 2u + 4u + 3u);
}

TEST_F(LoopRules, BlocksAboveTheChangedLoopMoveWhateverTheLoopOrder) {
  // A file may bring the blocks in any order: here loop 4 comes first.
  GeneralSettings& g = ws.config.general;
  const int G = ws.definedEventCount;
  ASSERT_TRUE(ChangeLoopInterval(ws, 2, 0));  // blocks of 2, 2, 3, 3
  ASSERT_TRUE(ChangeLoopInterval(ws, 3, 0));
  const std::vector<int> shuffled{G + 8, G + 3, G + 5, G};
  for (int L = 0; L < kLoops; ++L) g.loopEventBase(L) = static_cast<uint8_t>(shuffled[L]);
  for (int L = 0; L < kLoops; ++L) FillLoopEvents(ws, L);
  const auto loop1 = Block(0, 2);
  const auto loop3 = Block(2, 3);
  ASSERT_TRUE(ChangeLoopInterval(ws, 3, 5));  // five ranges: one entry more
  EXPECT_EQ(Bases(), (std::vector<int>{G + 9, G + 4, G + 6, G}));
  EXPECT_EQ(Block(0, 2), loop1);
  EXPECT_EQ(Block(2, 3), loop3);
  ASSERT_TRUE(ChangeLoopInterval(ws, 3, 0));
  EXPECT_EQ(Bases(), shuffled);
  EXPECT_EQ(Block(0, 2), loop1);
}

TEST(LoopTyping, ReactionTimeAndDelaysHaveTheirOwnLimits) {
  const struct {
    const char* text;
    int reaction;  // from 8
    int delay;     // from 15
  } cases[] = {
      {"0", 1, 15},     {"30", 0, 30},       {"1549", 30, 15}, {"1550", 8, 15},
      {"255", 5, 255},  {"256", 5, 15},      {" 22 сек", 0, 22}, {"мс", 8, 15},
      {"1", 0, 1},      {"99999999999", 8, 15},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseReactionTime(Cp(c.text), 8), c.reaction) << c.text;
    EXPECT_EQ(ParseDelay(Cp(c.text), 15), c.delay) << c.text;
  }
  EXPECT_EQ(U(FormatReactionTime(30)), "1500 мс.");
  EXPECT_EQ(U(FormatReactionTime(0)), "0 мс.");
}

}  // namespace
}  // namespace vorsin

namespace vorsin {
namespace {

// "Норма" of a control input and the open-door tactic of a guard loop
// decide whether the loop's own event is listed; the others do not.
TEST(LoopOptionsTest, OnlyOptionsThatDecideTheListedEventsMarkTheListsStale) {
  for (size_t i = 0; i < LoopOptions().size(); ++i) {
    Workspace ws;
    ws.config.general.loopFlags(2) = 0;
    ws.marks.eventsStale = ws.marks.reportsStale = false;
    SetLoopOption(ws, 2, i, true);
    EXPECT_TRUE(LoopOptionSet(ws.config.general, 2, i)) << i;
    EXPECT_EQ(ws.config.general.loopFlags(2), 1u << LoopOptions()[i].bit) << i;
    EXPECT_EQ(ws.marks.eventsStale && ws.marks.reportsStale, i == 1 || i == 6) << i;
  }
}

}  // namespace
}  // namespace vorsin
