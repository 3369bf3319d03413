#include "model/vocabulary_lists.h"

#include "model/loops.h"
#include "model/relays.h"
#include "model_test_support.h"

namespace vorsin {
namespace {

using testing::U;

class Lists : public testing::TempVocabulary {};

TEST_F(Lists, ProfilesKeepTheirSectionNumbersAndOtherIsErasedFirst) {
  Put("[0]\nName=Другой\nServNum=+70\n[1]\nName=Первый\nServNum=+7901\nOutNum=*100#\nInbNum=Balance\n"
      "[2]\nName=null\n[3]\nName=Третий\n[49]\nName=Last\n[50]\nName=TooFar\n");
  Workspace ws;
  Vocabulary v(path_);
  ReadOperatorProfiles(ws, v);
  ASSERT_EQ(ws.profiles.size(), 4u);
  EXPECT_EQ(ws.profiles[0], (OperatorProfile{0, Cp("Другой")}));
  EXPECT_EQ(ws.profiles[1], (OperatorProfile{1, Cp("Первый")}));
  EXPECT_EQ(ws.profiles[2].section, 3);
  EXPECT_EQ(ws.profiles[3].section, 49);
  EXPECT_FALSE(v.Has("0", "ServNum"));

  const ProfileNumbers one = ReadProfileNumbers(v, 1);
  EXPECT_EQ(one.smsCentre, "+7901");
  EXPECT_EQ(one.expressOut, "*100#");
  EXPECT_EQ(one.expressIn, "Balance");
  EXPECT_EQ(ReadProfileNumbers(v, 3).smsCentre, "");

  Configuration c;
  c.smsCentre = "+7999";
  c.expressOutNumber = "*102#";
  WriteProfile(v, 3, Cp("Третий"), c);
  WriteProfile(v, 0, Cp("Другой"), c);
  EXPECT_EQ(ReadProfileNumbers(v, 3).smsCentre, "+7999");
  EXPECT_EQ(ReadProfileNumbers(v, 0).expressOut, "*102#");
  EXPECT_EQ(ReadProfileNumbers(v, 3).expressIn, "");
  ReadOperatorProfiles(ws, v);
  EXPECT_EQ(ReadProfileNumbers(v, 0).smsCentre, "");
  EXPECT_EQ(ReadProfileNumbers(v, 3).smsCentre, "+7999");
}

TEST_F(Lists, SmsTextsCodeNamesAndCommandsFollowTheirStopRules) {
  Put("[CodeDefine]\nc_151=Arm\nc_152=\nc_153=0\nc_154=Never\n"
      "[SmsProfile]\ns_answok=Готово\ns_1=Extra 1\ns_2=Extra 2\ns_3=\ns_4=Never\n"
      "[SmsSubString]\ns_1=Тревога\ns_3=\ns_49=Last\ns_50=TooFar\n"
      "[SmsString]\ns_2=Two\ns_40=Forty\ns_41=0\n"
      "[Command]\nName1=Взять\nForm1=<пароль> ARM\nName2=Снять\nName3=null\nName4=Never\n"
      "[Control]\nName1=A\nName2=B\nName3=C\nName4=Режим\n");
  Workspace ws;
  Vocabulary v(path_);
  LoadCodeDefinitions(ws, v);
  EXPECT_EQ(ws.codeDefinitions, (std::vector<CodeDefinition>{{151, "Arm"}, {152, ""}}));

  LoadSmsLists(ws.config, v);
  const auto texts = [](const std::vector<ParamRecord>& list) {
    std::vector<std::string> out;
    for (const auto& r : list) out.push_back(U(r.text));
    return out;
  };
  EXPECT_EQ(texts(ws.config.smsProfileTexts),
            (std::vector<std::string>{"%(prfHSRL)", "%(prfUser)", "%(prfDest)", "%(prfCommn)", "Готово",
                                      "%(insCmd): Error;", "<%(insNumM),%(insNumC)>",
                                      "<%(inscHours):%(inscMin):%(inscSec)>", "Extra 1", "Extra 2"}));
  EXPECT_EQ(texts(ws.config.smsSubStrings), (std::vector<std::string>{"Тревога", "", "Last"}));
  EXPECT_EQ(texts(ws.config.smsStrings), (std::vector<std::string>{"Two", "Forty"}));

  ws.config.remoteCommands.assign(5, RemoteCommand{});
  LoadRemoteCommands(ws, v);
  EXPECT_EQ(ws.remoteCommandCount, 2);
  EXPECT_EQ(ws.remoteControlCount, 4);
  ASSERT_EQ(ws.config.remoteCommands.size(), 2u);
  EXPECT_EQ(ws.config.remoteCommands[0], RemoteCommand{});
  EXPECT_EQ(U(ws.commandNames[0].form), "<пароль> ARM");
  EXPECT_EQ(ws.commandNames[1].form, "");
  EXPECT_EQ(U(ws.controlNames[3].name), "Режим");
}

TEST_F(Lists, EndlessListsStopAtWhatAProjectFileHolds) {
  std::string text = "[Command]\n";
  for (int k = 1; k <= 300; ++k) text += "Name" + std::to_string(k) + "=C\n";
  text += "[SmsProfile]\n";
  for (int k = 1; k <= 300; ++k) text += "s_" + std::to_string(k) + "=P\n";
  for (int k = 1; k <= 300; ++k)
    text += "[IntervalDef" + std::to_string(k) + "]\nName=T\nType=0\nVal1=0,255\nVal1_NameGuard=N\n";
  Put(text);
  Workspace ws;
  Vocabulary v(path_);
  LoadRemoteCommands(ws, v);
  EXPECT_EQ(ws.config.remoteCommands.size(), kMaxVocabularyList);
  EXPECT_EQ(ws.commandNames.size(), kMaxVocabularyList);
  LoadSmsLists(ws.config, v);
  EXPECT_EQ(ws.config.smsProfileTexts.size(), kMaxVocabularyList);
  LoadIntervals(ws.config, v);
  EXPECT_EQ(ws.config.intervals.size(), kMaxVocabularyList);
  EXPECT_EQ(ws.config.intervalDescriptions.size(), kMaxVocabularyList);
}

TEST_F(Lists, RelayPatternsFallBackKeyByKeyAndAreCutToSixteenSteps) {
  Put("[RelayReaction]\nName2=Пульс\nVal2=3, 129, 1, 140\nVal3=20, 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20\n");
  Configuration c;
  Vocabulary v(path_);
  LoadRelayPatterns(c, v);
  ASSERT_EQ(c.relayPatterns.size(), 7u);
  EXPECT_EQ(U(c.relayPatterns[0].text), "Вкл. непрерывно");
  EXPECT_EQ(c.relayPatterns[0].w[1], 1);
  EXPECT_EQ(c.relayPatterns[0].w[2], 153);
  EXPECT_EQ(U(c.relayPatterns[1].text), "Пульс");
  EXPECT_EQ(c.relayPatterns[1].w[4], 140);
  EXPECT_EQ(U(c.relayPatterns[2].text), "Меандр 2");
  EXPECT_EQ(c.relayPatterns[2].w[1], 16);
  EXPECT_EQ(c.relayPatterns[2].w[17], 16);
  EXPECT_EQ((std::vector<int32_t>(c.relayPatterns[4].w.begin() + 1, c.relayPatterns[4].w.begin() + 6)),
            (std::vector<int32_t>{4, 133, 5, 133, 20}));
  EXPECT_EQ(U(c.relayPatterns[6].text), "Выкл.");
}

TEST(Relays, EventNamesAndFirePower) {
  EXPECT_EQ(U(RelayEventName(45, 4)), "Touch memory (Отжатие)");
  EXPECT_EQ(U(RelayEventName(30, 4)), "ошибка: неверный тип");

  Configuration c;
  IntervalDescription d;
  d.blocks[kGuardBlock][1].name = Cp("Обрыв");
  c.intervals.assign(2, Interval{});
  c.intervals[1].w[1] = 2;
  c.intervalDescriptions = {IntervalDescription{}, d};
  c.general.intervalIndex(1) = 1;
  c.general.loopFlags(1) = 4;
  EXPECT_EQ(U(RelayEventName(c, 1, 1)), "Обрыв");
  EXPECT_EQ(U(RelayEventName(c, 5, 1)), "Интервал 5");
  EXPECT_EQ(U(RelayEventName(c, 1, 4)), "ошибка: неверный тип");
  EXPECT_EQ(U(RelayEventName(c, 22, 1)), "взятие");

  for (int L = 0; L < kLoops; ++L) c.general.loopFlags(L) = 24;  // control inputs only
  EXPECT_EQ(FireLoopRelay(c, 0), -1);
  EXPECT_EQ(FireLoopRelay(c, 1), -1);
  c.general.loopFlags(2) = 0x15;  // fire loop powered by relay 2
  EXPECT_EQ(FireLoopRelay(c, 0), -1);
  EXPECT_EQ(FireLoopRelay(c, 1), 2);
  c.general.loopFlags(3) = 0x05;
  EXPECT_EQ(FireLoopRelay(c, 0), 3);
}

}  // namespace
}  // namespace vorsin
