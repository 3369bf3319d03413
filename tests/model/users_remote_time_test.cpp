// Rules of the users, remote-control and time-event editors, free of widgets.
#include <gtest/gtest.h>

#include "model/cp1251.h"
#include "model/remote.h"
#include "model/time_events.h"
#include "model/users.h"

namespace vorsin {
namespace {

std::string U(const std::string& cp1251) { return ToUtf8(cp1251); }

std::vector<User> Users(std::initializer_list<int> numbers) {
  std::vector<User> out;
  for (int n : numbers) out.push_back(NewUser(n));
  return out;
}

TEST(Users, CaptionsByNumber) {
  EXPECT_EQ(U(UserCaption(32)), "Инженер");
  EXPECT_EQ(U(UserCaption(5)), "Пользователь 05");
  EXPECT_EQ(U(UserCaption(12)), "Пользователь 12");
  EXPECT_EQ(U(UserCaption(27)), "Польз. 27 (\"Ручной запуск\" реле)");
  EXPECT_EQ(U(UserCaption(29)), "Польз. 29 (Периметр)");
  EXPECT_EQ(U(UserCaption(31)), "Польз. 31 (Периметр)");
  EXPECT_EQ(U(UserCaption(0)), "Пользователь 0");
  EXPECT_EQ(U(UserCaption(40)), "Пользователь 40");
}

TEST(Users, FreeNumbersAndDeletion) {
  std::vector<User> users = Users({32, 1, 3});
  const auto free = FreeUserNumbers(users);
  EXPECT_EQ(free.front(), 2);
  EXPECT_EQ(free.size(), 28u);  // 1..30 without 1 and 3
  for (int n = 1; n <= 30; ++n) users.push_back(NewUser(n));
  EXPECT_TRUE(FreeUserNumbers(users).empty());

  // The first row never goes, nor the engineer wherever it stands.
  const std::vector<User> moved = Users({5, 32, 6});
  EXPECT_FALSE(CanDeleteUser(moved, 0));
  EXPECT_FALSE(CanDeleteUser(moved, 1));
  EXPECT_TRUE(CanDeleteUser(moved, 2));
  EXPECT_FALSE(CanDeleteUser(moved, 3));

  // Adding refuses a number taken since the menu opened, and a full list;
  // deleting goes by CanDeleteUser.
  std::vector<User> list = Users({32, 5});
  EXPECT_FALSE(AddUser(list, 5));
  ASSERT_TRUE(AddUser(list, 3));
  EXPECT_EQ(list.back().w[1], 3);
  EXPECT_FALSE(DeleteUser(list, 0));
  ASSERT_TRUE(DeleteUser(list, 1));
  EXPECT_EQ(FindUser(list, 5), -1);
  EXPECT_EQ(list.size(), 2u);
  while (list.size() < static_cast<size_t>(kMaxUsers)) list.push_back(NewUser(0));
  EXPECT_FALSE(AddUser(list, 7));
}

TEST(Users, RowTextsRelayResetAndPasswords) {
  std::vector<User> users = Users({27});
  AssignKey(users, 27, {1, 2, 3, 4, 5, 6});
  users[0].w[2] = 0x100 | 0x08 | 0x02;  // loops 1 and 3, a bit past the low byte
  const auto row = UserRowTexts(users[0]);
  EXPECT_EQ(U(row[0]), "Польз. 27 (\"Ручной запуск\" реле)");
  EXPECT_EQ(row[1] + "|" + row[2] + "|" + row[3] + "|" + row[4] + "|" + row[kKeyColumn], "+||+||+");
  EXPECT_EQ(UserRowTexts(NewUser(1))[kKeyColumn], "");

  EXPECT_FALSE(RelayReset(users[0]));
  SetRelayReset(users[0], true);
  EXPECT_EQ(users[0].w[2], 0x12A);
  EXPECT_TRUE(RelayReset(users[0]));
  SetRelayReset(users[0], false);
  EXPECT_EQ(users[0].w[2], 0x10A);

  users[0].text = "12";
  EXPECT_FALSE(StorePassword(users[0], "12a"));
  EXPECT_EQ(users[0].text, "12");
  EXPECT_TRUE(StorePassword(users[0], "???"));
  EXPECT_EQ(users[0].text, "???");
  EXPECT_EQ(UserPasswordKey("12", 'a'), PasswordKey::Drop);
  EXPECT_EQ(UserPasswordKey("???", '5'), PasswordKey::ClearFirst);
  EXPECT_EQ(UserPasswordKey("???", '?'), PasswordKey::Drop);
  EXPECT_EQ(UserPasswordKey("12", '3'), PasswordKey::Type);
}

TEST(Users, LoopTogglesKeepTheOtherBits) {
  std::vector<User> users = Users({32, 1});
  users[0].w[2] = 0x80;
  users[1].w[2] = 0x20 | 0x08 | 0x02;  // loops 1 and 3, relay reset
  ToggleLoopForAll(users, 2);          // nobody has loop 2: everybody gets it
  EXPECT_EQ(users[0].w[2], 0x84);
  EXPECT_EQ(users[1].w[2], 0x2E);
  ToggleLoopForAll(users, 2);
  EXPECT_EQ(users[0].w[2], 0x80);
  EXPECT_EQ(users[1].w[2], 0x2A);
  ToggleLoopForAll(users, 5);  // "Dalas": nothing
  EXPECT_EQ(users[1].w[2], 0x2A);

  ToggleUserLoops(users[1], 0);  // some loops set: all four cleared
  EXPECT_EQ(users[1].w[2], 0x20);
  ToggleUserLoops(users[1], 0);
  EXPECT_EQ(users[1].w[2], 0x2F);
  ToggleUserLoops(users[1], 4);
  EXPECT_EQ(users[1].w[2], 0x2E);
  EXPECT_FALSE(HasLoop(users[1], 3));
  EXPECT_TRUE(HasLoop(users[1], 0));
}

TEST(Users, KeyMovesFromItsPreviousHolder) {
  std::vector<User> users = Users({32, 4, 7});
  EXPECT_EQ(KeyText(users[1]), "00000000000000");
  const TouchKey key{0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
  EXPECT_EQ(AssignKey(users, 4, key), -1);
  EXPECT_EQ(users[1].w[3], 1);
  EXPECT_EQ(KeyText(users[1]), "00060504030201");
  EXPECT_EQ(AssignKey(users, 7, key), 1);
  EXPECT_EQ(users[1].w[3], 0);
  EXPECT_EQ(KeyText(users[1]), "00000000000000");
  EXPECT_EQ(KeyText(users[2]), "00060504030201");
  EXPECT_EQ(AssignKey(users, 9, key), -1);  // nobody of that number: nothing stored
  EXPECT_EQ(users[2].w[3], 1);
}

TEST(Users, StorablePasswords) {
  for (const char* ok : {"", "1", "123456", "???"}) EXPECT_TRUE(IsStorablePassword(ok)) << ok;
  for (const char* bad : {"???123", "1234567", "12a", "??", "?1"}) EXPECT_FALSE(IsStorablePassword(bad)) << bad;
}

TEST(Remote, PhoneModeCaptionsAndBits) {
  RemoteCommand entry;
  SetPhoneBound(entry, 1, true);
  EXPECT_EQ(entry.w[1], 0x40);
  EXPECT_TRUE(PhoneBound(entry, 1));
  SetPhoneBound(entry, 0, true);
  SetPhoneBound(entry, 0, false);
  EXPECT_EQ(entry.w[1], 0x40);

  EXPECT_EQ(U(PhoneItemCaption(1, true, true, 0x80)), "Тел 2 у.з.");
  EXPECT_EQ(U(PhoneItemCaption(1, true, true, 0x04)), "Тел 2 в\\с.");
  EXPECT_EQ(U(PhoneItemCaption(1, true, false, 0x80)), "Тел 2");
  EXPECT_EQ(U(PhoneItemCaption(1, false, true, 0x80)), "Тел 2");

  uint8_t control = 0xE0 | 3;
  control = WithPhoneMode(control, 1);
  EXPECT_EQ(control, 0x63);  // bit 7 only
  control = WithPhoneUser(control, 4);
  EXPECT_EQ(control, 0x64);  // bits 5-6 kept
  EXPECT_EQ(WithPhoneMode(control, 0), 0xE4);
}

TEST(Remote, WorkPhoneKeysAndCommandPasswords) {
  EXPECT_EQ(WorkPhoneKey("123", '?'), PhoneKey::AnyNumber);
  EXPECT_EQ(WorkPhoneKey("???", '5'), PhoneKey::ClearFirst);
  EXPECT_EQ(WorkPhoneKey("123", '5'), PhoneKey::Type);
  EXPECT_EQ(WorkPhoneKey("123", 'a'), PhoneKey::Drop);
  EXPECT_EQ(WorkPhoneKey("123", 'p'), PhoneKey::Drop);
  EXPECT_EQ(WorkPhoneKey(std::string(15, '1'), '2'), PhoneKey::Drop);
  EXPECT_EQ(WorkPhoneKey(std::string(15, '1'), '\b'), PhoneKey::Type);

  EXPECT_FALSE(IsCommandPasswordChar(Cp("я")[0]));
  EXPECT_TRUE(IsCommandPasswordChar(Cp("Я")[0]));
  EXPECT_EQ(U(CommandPasswordText(Cp("я12я"))), "12");
}

TEST(TimeEvents, KthTimeRemoveClearAndText) {
  Configuration c;
  AddTimeEvent(c, 1);
  AddTimeEvent(c, 0);
  AddTimeEvent(c, 1);
  c.timeEvents[2].w[2] = 7;
  EXPECT_EQ(TimeEventIndex(c, 1, 1), 2);
  EXPECT_EQ(TimeEventIndex(c, 1, 2), -1);
  EXPECT_EQ(TimeEventCount(c, 1), 2);
  ASSERT_TRUE(RemoveTimeEvent(c, 1, 0));  // the second becomes the first
  EXPECT_EQ(c.timeEvents[TimeEventIndex(c, 1, 0)].w[2], 7);
  EXPECT_FALSE(RemoveTimeEvent(c, 1, 1));

  AddTimeEvent(c, 5);
  AddTimeEvent(c, 200);
  EXPECT_EQ(TimeEventRoots(c), (std::vector<int>{0, 1, 5, 200}));
  ClearTimeEvents(c, 1);
  EXPECT_FALSE(HasTimeEvent(c, 1));
  EXPECT_TRUE(HasTimeEvent(c, 0));

  TimeEvent t;
  t.w[2] = 8;
  t.w[3] = 30;
  EXPECT_EQ(TimeNodeText(t), "08:30:00");
  t.w[1] = 5;
  EXPECT_EQ(TimeNodeText(t), "05 08:30:00");
  EXPECT_EQ(TimeEventDayItem(t), 5);
  for (int day : {32, -1}) {
    t.w[1] = day;
    EXPECT_EQ(TimeEventDayItem(t), -1);
  }
}

TEST(TimeEvents, TreeTextsAndTheStoredPositions) {
  Configuration c;
  c.events.resize(3);
  c.events[2].text = Cp("Тест");
  AddTimeEvent(c, 2);
  AddTimeEvent(c, 0);
  AddTimeEvent(c, 2);
  c.timeEvents[2].w[2] = 9;
  EXPECT_EQ(TimeRootText(c, 2), Cp("Тест"));
  EXPECT_EQ(U(TimeRootText(c, 3)), "Ошибка: событие не определено");
  EXPECT_FALSE(IsDefinedEvent(c, -1) || IsDefinedEvent(c, 3));
  EXPECT_EQ(TimeNodeTexts(c, 2), (std::vector<std::string>{"00:00:00", "09:00:00"}));
  EXPECT_TRUE(TimeNodeTexts(c, 1).empty());
  EXPECT_TRUE(CanAddTimeEvent(0) && CanAddTimeEvent(kMaxTimedEvent));
  EXPECT_FALSE(CanAddTimeEvent(-1) || CanAddTimeEvent(kMaxTimedEvent + 1));
}

TEST(TimeEvents, TestDeliveryOptionFollowsPeriodOrTime) {
  Configuration c;
  EXPECT_FALSE(TestDeliveryOptionOpen(c, 0));
  c.general.testPeriod1() = 0x80;  // hours bit without a count
  EXPECT_FALSE(TestDeliveryOptionOpen(c, 0));
  AddTimeEvent(c, 0);
  EXPECT_TRUE(TestDeliveryOptionOpen(c, 0));
  EXPECT_FALSE(TestDeliveryOptionOpen(c, 1));
  c.general.testPeriod2() = 10;
  EXPECT_TRUE(TestDeliveryOptionOpen(c, 1));
}

}  // namespace
}  // namespace vorsin
