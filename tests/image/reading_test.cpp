// Decoding a configuration area that is not what programming wrote: bad
// table entries, blocks past the data, the event table of an older
// vocabulary; and the checks made before anything is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "image/image_check.h"
#include "image/image_reader.h"
#include "image/image_writer.h"
#include "image/relay_blocks.h"
#include "image_test_support.h"
#include "model/addressee_rules.h"
#include "model/events.h"
#include "model/relays.h"

namespace vorsin {
namespace {

using namespace image_test;

class Reading : public ::testing::Test {
 protected:
  Reading() : vocabulary(ShippedVocabulary()) {
    ResetToDefaults(ws, vocabulary);
    ResetToDefaults(fresh, vocabulary);
  }
  void Program() {
    const auto prepared = image::PrepareForImage(ws.config);
    plan = image::BuildImage(prepared.config, ws.codeDefinitions, device.table, {}, messenger);
    device.Apply(plan);
  }
  int Decode(std::vector<uint8_t> area) {
    image::DecodeResult result;
    return image::DecodeConfigurationArea(fresh, vocabulary, device.table, device.firmware, area, messenger,
                                          result);
  }
  int Decode() { return Decode(device.Area()); }

  Vocabulary vocabulary;
  Workspace ws, fresh;
  MemoryDevice device;
  RecordingMessenger messenger;
  image::ImagePlan plan;
};

TEST_F(Reading, EntryBelowTheAreaFailsTheReadWithoutEndingAnything) {
  Program();
  SetTableEntry(device.table, image::kEntryGeneral, 0x00F0);
  EXPECT_EQ(1, Decode());
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Cp("адрес при операции чтения отрицательный"), messenger.shown[0].text);
  EXPECT_EQ(Cp("Неисправимая ошибка"), messenger.shown[0].caption);
  EXPECT_EQ(Icon::Error, messenger.shown[0].icon);
}

TEST_F(Reading, BlocksPastTheDataReadAreRefused) {
  Program();
  const auto area = device.Area();
  // A fixed block whose end lies past the area.
  SetTableEntry(device.table, image::kEntryKeys, static_cast<uint16_t>(0x100 + area.size() - 10));
  EXPECT_EQ(1, Decode(area));
  EXPECT_TRUE(messenger.Saw("за пределами считанных данных"));
  // Each chained block lying at or past the end of a shorter area.
  for (int entry : {image::kEntryPhones, image::kEntryEvents, image::kEntryLevelTables, image::kEntryRelays,
                    image::kEntryRelayPatterns, image::kEntrySms, image::kEntryTimeEvents}) {
    MemoryDevice d = device;
    d.table = plan.table;
    messenger.shown.clear();
    const size_t cut = TableEntry(plan.table, entry) - 0x100u;
    image::DecodeResult result;
    Workspace w = fresh;
    EXPECT_EQ(1, image::DecodeConfigurationArea(w, vocabulary, d.table, 7,
                                                std::span<const uint8_t>(area).first(cut), messenger, result))
        << "entry " << entry;
    EXPECT_FALSE(messenger.shown.empty()) << "entry " << entry;
  }
}

TEST_F(Reading, DescriptionsChunkLongerThanTheAreaLeavesDefaultNames) {
  ws.config.addressees.push_back(NamedAddressee(1, 1));
  ws.config.addressees[0].name = Cp("Пульт");
  ws.config.ownNumber = "123";
  Program();
  device.table = plan.table;
  auto area = device.Area();
  area.resize(area.size() - 5);
  EXPECT_EQ(0, Decode(area));
  EXPECT_TRUE(messenger.Saw("Ошибка чтения установочной информации"));
  EXPECT_EQ("123", fresh.config.ownNumber);
  ASSERT_EQ(1u, fresh.config.addressees.size());
  EXPECT_EQ(Cp("Адресат1"), fresh.config.addressees[0].name);
}

TEST_F(Reading, AreaSizeIsChecked) {
  AddressTable t = device.table;
  EXPECT_EQ(0x378, image::AreaSize(t, messenger));
  SetTableEntry(t, image::kEntryAreaEnd, 0x0080);
  EXPECT_EQ(-1, image::AreaSize(t, messenger));
  SetTableEntry(t, image::kEntryAreaEnd, 0x9000);
  EXPECT_EQ(-1, image::AreaSize(t, messenger));
  EXPECT_EQ(2u, messenger.shown.size());
}

TEST_F(Reading, GeneralEventsMissingFromTheDeviceAreInsertedAndTheBasesMove) {
  // The device was written with a vocabulary of fewer general events.
  const std::string dir = ::testing::TempDir() + "/vorsin_image_older";
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/RorEdad.ini";
  std::ofstream(path, std::ios::binary) << "[defEvent]\nName1=A\nEvent1=0, 111,00,000, 0,0, 0,0, 0\n"
                                        << "Name2=B\nEvent2=0, 222,00,000, 0,0, 0,0, 0\n";
  Vocabulary older(path);
  ResetToDefaults(ws, older);
  for (int L = 0; L < kLoops; ++L) UseTable(ws, L, 0);  // the older vocabulary has no tables
  Interval three;
  three.w[1] = 3;
  three.w[3] = 50;
  three.w[4] = 51;
  three.w[5] = 50;
  three.w[6] = 101;
  three.w[7] = 154;
  ws.config.intervals.push_back(three);
  ws.config.intervalDescriptions.push_back(ws.config.intervalDescriptions[0]);
  UseTable(ws, 0, 1);
  ws.config.events[2].w[2] = 345;  // first event of loop 1
  Program();
  ASSERT_EQ(0, Decode());
  const int g = fresh.definedEventCount;
  ASSERT_GT(g, 2);
  EXPECT_EQ(g, fresh.config.general.loopEventBase(0));
  EXPECT_EQ(g + 2, fresh.config.general.loopEventBase(1));
  EXPECT_EQ(g + 7, fresh.config.general.loopEventBase(3));
  EXPECT_EQ(345, fresh.config.events[g].w[2]);
  EXPECT_EQ(static_cast<size_t>(g + 10), fresh.config.events.size());
  EXPECT_EQ(111, fresh.config.events[0].w[2]);  // records from the device keep their values
  EXPECT_EQ(DefEventName(vocabulary, 0), fresh.config.events[0].text);
  std::filesystem::remove_all(dir);
}

TEST_F(Reading, OnlyTheVocabularysLeadingEventsAreInserted) {
  // The reading side's vocabulary lacks Name3, so it defines two general
  // events; its Name4 is not one of them.
  const std::string dir = ::testing::TempDir() + "/vorsin_image_gap";
  std::filesystem::create_directories(dir);
  const auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir + "/" + name, std::ios::binary) << text;
    return dir + "/" + name;
  };
  Vocabulary three(write("three.ini", "[defEvent]\nName1=A\nName2=B\nName3=C\n"));
  Vocabulary gap(write("gap.ini", "[defEvent]\nName1=A\nName2=B\nName4=D\n"));
  ResetToDefaults(ws, three);
  for (int L = 0; L < kLoops; ++L) UseTable(ws, L, 0);
  Program();
  ResetToDefaults(fresh, gap);
  image::DecodeResult result;
  ASSERT_EQ(0, image::DecodeConfigurationArea(fresh, gap, device.table, device.firmware, device.Area(), messenger,
                                              result));
  EXPECT_EQ(3, fresh.config.general.loopEventBase(0));
  EXPECT_EQ(13u, fresh.config.events.size());
  EXPECT_EQ(Cp("Событие 2"), fresh.config.events[2].text);  // no Name3 to name it
  std::filesystem::remove_all(dir);
}

TEST_F(Reading, BasesFollowTheRebuiltBlocksWhenTheDeviceBlocksOverlap) {
  // Loops 3 and 4 use four events each but their blocks start only three
  // apart, sharing one record, as a table seeded without growing the blocks
  // leaves them.
  const int g = ws.definedEventCount;
  GeneralSettings& gs = ws.config.general;
  ASSERT_EQ(g + 8, gs.loopEventBase(3));
  ASSERT_EQ(5, LoopRangeCount(ws.config, 3));
  ws.config.events.erase(ws.config.events.begin() + g + 8);
  gs.loopEventBase(3) = static_cast<uint8_t>(g + 7);
  Program();
  ASSERT_EQ(0, Decode());
  const GeneralSettings& got = fresh.config.general;
  EXPECT_EQ(g + 4, got.loopEventBase(2));
  EXPECT_EQ(g + 8, got.loopEventBase(3));
  const auto& e = fresh.config.events;
  ASSERT_EQ(static_cast<size_t>(g + 12), e.size());
  for (int L = 0; L < kLoops; ++L)
    EXPECT_EQ(0u, e[got.loopEventBase(L)].text.find(Cp("Шлейф") + std::to_string(L + 1) + ":")) << L;
}

TEST_F(Reading, LoopWithOneRangeGetsPlaceholderEvents) {
  UseTable(ws, 0, 0);
  UseTable(ws, 3, 0);
  Program();
  ASSERT_EQ(0, Decode());
  const auto& e = fresh.config.events;
  const int b0 = fresh.config.general.loopEventBase(0);
  const int b3 = fresh.config.general.loopEventBase(3);
  EXPECT_EQ(Cp("Событие неопределено"), e[b0].text);
  EXPECT_EQ(Cp("Событие неопределено"), e[b0 + 1].text);
  EXPECT_EQ(static_cast<size_t>(b3 + 3), e.size());
  EXPECT_EQ(Cp("Событие неопределено"), e[b3 + 2].text);
}

class Checks : public Reading {};

TEST_F(Checks, ConfigurationsTheImageCannotHoldAreRefusedWithWhatToChange) {
  EXPECT_TRUE(image::ImageProblems(ws.config).empty());
  Configuration& c = ws.config;
  c.addressees.push_back(NamedAddressee(1, 16));
  for (auto& phone : c.addressees[0].phones) phone.phoneNumber = "8903";  // numbers that fit
  c.relayBindings[0][4].assign(26, RelayBinding{{0, 40, 0, 1}});
  c.relayPatterns[2].w[1] = 2;
  c.relayPatterns[2].w[3] = 0xBF;
  c.smsProfileTexts.resize(20);
  c.smsStrings.resize(61);
  c.smsSubStrings.resize(171);
  c.events[3].w[8] = 16;
  c.general.intervalIndex(2) = 200;
  const auto problems = image::ImageProblems(c);
  EXPECT_EQ(8u, problems.size());
  const std::string all = [&] {
    std::string s;
    for (const auto& p : problems) s += p + "\n";
    return s;
  }();
  for (const char* what : {"16 телефонов", "Реле 1", "последний шаг 191", "Профильных строк Sms 20",
                           "Sms строк 61", "Sms подстрок 171", "Событие 3 ", "голосовое сообщение 16", "Шлейф 3"})
    EXPECT_NE(std::string::npos, all.find(Cp(what))) << what;

  const auto prepared = image::PrepareForImage(c);
  EXPECT_FALSE(image::ConfirmImage(c, prepared, messenger));
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Cp("Ошибка"), messenger.shown[0].caption);
}

TEST_F(Checks, AnEventListEndingBeforeALoopBlockIsRefused) {
  Configuration& c = ws.config;
  const size_t last = c.general.loopEventBase(3);
  c.events.resize(last + 2);  // loop 4 keeps at least three events
  auto problems = image::ImageProblems(c);
  ASSERT_EQ(1u, problems.size());
  EXPECT_EQ(0u, problems[0].find(Cp("Шлейф 4: событий в таблице ") + std::to_string(last + 2)));

  c.events.clear();  // a project file may say 0 events
  problems = image::ImageProblems(c);
  ASSERT_EQ(4u, problems.size());
  for (int L = 0; L < kLoops; ++L) EXPECT_EQ(0u, problems[L].find(Cp("Шлейф ") + std::to_string(L + 1)));
}

TEST_F(Checks, TimeEventsAndUserNumbersTheImageWouldLoseAreRefused) {
  Configuration& c = ws.config;
  c.timeEvents.push_back({{0, 31, 23, 59, 127}, ""});  // the limits themselves fit
  c.users.push_back(c.users[0]);
  c.users[1].w[1] = 5;
  EXPECT_TRUE(image::ImageProblems(c).empty());
  c.timeEvents.push_back({{0, 255, 8, 0, 0}, ""});
  c.timeEvents.push_back({{0, 1, 24, 0, 1}, ""});
  c.timeEvents.push_back({{0, 1, 8, 0, 128}, ""});
  c.users.push_back(c.users[1]);
  c.users.push_back(c.users[1]);  // a third 5 is not named again
  const auto problems = image::ImageProblems(c);
  ASSERT_EQ(4u, problems.size());
  EXPECT_NE(std::string::npos, problems[0].find(Cp("Событие по времени 2 (событие 0): день 255")));
  EXPECT_NE(std::string::npos, problems[1].find(Cp("Событие по времени 3 (событие 1): время 24:0")));
  EXPECT_NE(std::string::npos, problems[2].find(Cp("Событие по времени 4 (событие 128)")));
  EXPECT_NE(std::string::npos, problems[3].find(Cp("Пользователь с номером 5 указан несколько раз")));
}

// Values a project file can carry but the device's bytes cannot: each would
// reach the device as another code, mask, step or password.
TEST_F(Checks, ValuesWiderThanTheirDeviceFieldsAreRefused) {
  Configuration& c = ws.config;
  c.events[0].w[9] = 255;  // the limits themselves fit
  c.events[1].w[2] = 999;
  c.events[2].w[4] = 4095;
  c.users[0].text = "???";  // a hidden password read from a device
  c.users.push_back(MakeUser(3, 0x80, "123456", 0x11));
  c.expressInNumber = "balance:123456";  // text form, 14 characters
  EXPECT_TRUE(image::ImageProblems(c).empty());

  c.events[0].w[9] = 9846784;
  c.events[1].w[2] = 1000;
  c.events[2].w[5] = -16;
  c.relayPatterns[1].w[2] = 2560;
  c.relayPatterns[2].w[1 + c.relayPatterns[2].w[1]] |= 0x40;  // the last step's mark would be lost
  c.smsCentre = "+7902000011)";
  c.deviceAddress = "12";
  c.pinCode = std::string("Z\0" "34", 4);  // reads back as "Z"
  c.expressInNumber = std::string("ba\0lance", 8);  // reads back as "ba"
  c.addressees.push_back(NamedAddressee(1, 1));
  c.addressees[0].confirmWait = 67108894;
  c.addressees[0].phones[0].phoneNumber = "890311]220";
  c.workPhones[1] = "12345678901234567";  // 17 digits in 8 bytes
  c.users[1].text = "12a";
  c.users.push_back(MakeUser(4, 0x40, "1234567", 0));
  const size_t table = c.general.intervalIndex(1);  // loop 2 alone on a copy of its table
  c.intervals.push_back(c.intervals[table]);
  c.intervals.back().w[3] = -231;
  c.intervalDescriptions.push_back(c.intervalDescriptions[table]);
  c.general.intervalIndex(1) = static_cast<uint8_t>(c.intervals.size() - 1);
  c.general.commonLoops(2) = 41;  // bit 5 names no loop
  // A binding keeps five bits of source, reaction bits 0-2 and 6-7, six bits of priority.
  c.relayBindings[1][0] = {{{0, 23, 129, 3}}, {{0, 23, -66, 16449532}}};
  c.relayBindings[1][kLoops] = {{{0, 40, 0xC5, 63}}, {{0, 36, 0, 0}}};  // source 36 wraps to 40
  const auto problems = image::ImageProblems(c);
  const char* const expected[] = {"Адресат \"Адресат1\": время подтверждения",
                                  "Реле 2, шлейф 1: привязка 2 (источник 23, признаки -66, приоритет 16449532)",
                                  "Реле 2, общие: привязка 2", "Реакция реле", "Реакция реле", "Событие 0 ", "Событие 1 ", "Событие 2 ",
                                  "PIN-код: допустимо не более 4 символов",
                                  "Входящий номер \"express\" баланса: допустимо не более 14 символов", "Адрес ПКД-РС \"12\": допустимы ровно 4 цифры", "Номер Sms-центра \"+7902000011)\"",
                                  "Адресат \"Адресат1\", \"Телефон 1\" \"890311]220\"", "Рабочий телефон 2 ",
                                  "Пользователь с номером 3: пароль \"12a\"", "Пользователь с номером 4: пароль",
                                  "Пользователь с номером 4: недопустимые признаки 64", "Шлейф 2: таблица интервалов",
                                  "Шлейф 3: общие шлейфы 41"};
  ASSERT_EQ(std::size(expected), problems.size());
  for (size_t i = 0; i < problems.size(); ++i) EXPECT_EQ(0u, problems[i].find(Cp(expected[i]))) << i;
  EXPECT_NE(std::string::npos, problems[4].find(Cp("будет прочитан без бита 6")));
  EXPECT_NE(std::string::npos, problems[5].find(Cp(": поле 9 (9846784) вне пределов от 0 до 255")));
  c.expressInNumber = "balance:1234567";  // the 15th character would be lost
  EXPECT_EQ(problems.size(), image::ImageProblems(c).size());
}

// An SMS string travels as its identifier byte, 19 above its number.
TEST_F(Checks, AnEventsSmsStringIsRefusedPastTheLastIdentifier) {
  Configuration& c = ws.config;
  c.events[0].w[EventEntry::kSmsNew] = 236;
  c.events[1].w[EventEntry::kSmsRestore] = 236;
  EXPECT_TRUE(image::ImageProblems(c).empty());
  c.events[1].w[EventEntry::kSmsRestore] = 237;
  const auto problems = image::ImageProblems(c);
  ASSERT_EQ(1u, problems.size());
  EXPECT_NE(std::string::npos, problems[0].find(Cp(": поле 6 (237) вне пределов от 0 до 236")));
}

// The general block keeps a relay's time limit in four bits; a project file
// may carry any byte, which would come back as another limit.
TEST_F(Checks, ARelayTimeLimitPastFourBitsIsRefused) {
  Configuration& c = ws.config;
  c.relayTimeLimit = {15, 15};
  EXPECT_TRUE(image::ImageProblems(c).empty());
  c.relayTimeLimit = {16, 15};
  const auto problems = image::ImageProblems(c);
  ASSERT_EQ(1u, problems.size());
  EXPECT_EQ(Cp("Реле 1: ограничение времени 16 вне пределов от 0 до 15"), problems[0]);
}

// What the pages store, and what reading a device gives, must program: the
// checks compare in the device's terms.
TEST_F(Checks, TheWidestValuesThePagesStoreAndWhatADeviceGivesBackAreAccepted) {
  FillWidest(ws);
  for (const auto& phone : ws.config.addressees[0].phones) EXPECT_TRUE(IsValidPhoneText(phone.phoneNumber)) << phone.phoneNumber;
  EXPECT_EQ(size_t{kMaxSmsStrings}, ws.config.smsStrings.size());
  EXPECT_EQ(size_t{kMaxSubstrings}, ws.config.smsSubStrings.size());
  EXPECT_GT(RelayBodySize(ws.config, 0), size_t{kMaxRelayBody} - 4);  // no further binding fits
  const auto problems = image::ImageProblems(ws.config);
  EXPECT_TRUE(problems.empty()) << ToUtf8(problems.empty() ? "" : problems[0]);
  Program();
  ASSERT_TRUE(image::PlanFitsMemory(plan));
  ASSERT_EQ(0, Decode());
  EXPECT_EQ("", ImageReadBackDifference(ws.config, fresh, ws.codeDefinitions, plan.withDescriptions));
  EXPECT_EQ("555t1234", fresh.config.workPhones[1]);
  EXPECT_EQ("???", fresh.config.addressees[0].phones[3].phoneNumber);
  const auto again = image::ImageProblems(fresh.config);
  EXPECT_TRUE(again.empty()) << ToUtf8(again.empty() ? "" : again[0]);
}

// A number is refused only for a character without a code (it would end the
// number there) or for more characters than its field holds.
TEST_F(Checks, NumbersAreRefusedOnlyWhereTheirFieldCannotHoldThem) {
  Configuration& c = ws.config;
  c.addressees.push_back(NamedAddressee(1, 2));
  auto& phones = c.addressees[0].phones;
  phones[0].phoneNumber = Cp("тТгГпП") + "pPtT";  // ten characters, every letter that has a code
  phones[1].phoneNumber = "12345?78901234";     // "?" makes it the unknown number, whatever its length
  c.ownNumber = "1234567890123456";
  c.expressInNumber = Cp("555Т0001п2");  // its number form
  EXPECT_TRUE(image::ImageProblems(c).empty());

  phones[0].phoneNumber = "12345678901";
  phones[1].cellPrefix = "8-";
  c.ownNumber = "12345678901234567";
  c.smsCentre = Cp("555ф1");
  c.expressInNumber = "55\b5";
  const auto problems = image::ImageProblems(c);
  const char* const expected[] = {"Собственный номер \"12345678901234567\": не более 16 символов",
                                  "Номер Sms-центра \"555ф1\": символ \"ф\"", "Входящий номер \"express\" баланса",
                                  "Адресат \"Адресат1\", \"Телефон 1\" \"12345678901\": не более 10 символов",
                                  "Адресат \"Адресат1\", \"Телефон 2\" \"8-\": символ \"-\""};
  ASSERT_EQ(std::size(expected), problems.size());
  for (size_t i = 0; i < problems.size(); ++i) EXPECT_EQ(0u, problems[i].find(Cp(expected[i]))) << ToUtf8(problems[i]);
}

TEST_F(Checks, OverlongTemplatesAreStoredAsErrorOnlyAfterAsking) {
  ws.config.smsStrings.push_back({{}, std::string(200, 'a')});
  ws.config.smsSubStrings.push_back({{}, std::string(199, 'b')});
  const auto overlong = image::OverlongTemplates(ws.config);
  ASSERT_EQ(1u, overlong.size());
  EXPECT_EQ(0u, overlong[0].find(Cp("Sms строка ") + std::to_string(ws.config.smsStrings.size())));
  const auto prepared = image::PrepareForImage(ws.config);
  messenger.answer = kAnswerCancel;
  EXPECT_FALSE(image::ConfirmImage(ws.config, prepared, messenger));
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Buttons::OkCancel, messenger.shown[0].buttons);
  EXPECT_EQ(Cp("Внимание"), messenger.shown[0].caption);
  messenger.answer = kAnswerOk;
  EXPECT_TRUE(image::ConfirmImage(ws.config, prepared, messenger));
}

TEST_F(Checks, AddresseesWithoutPhonesAreNamedAndLeftOutOfACopy) {
  ws.config.addressees = {NamedAddressee(1, 1), NamedAddressee(2, 0), NamedAddressee(3, 0), NamedAddressee(4, 1)};
  ws.config.events[0].w[9] = 0xF0;
  ws.config.events[1].w[9] = 0x10;
  const auto prepared = image::PrepareForImage(ws.config);
  ASSERT_EQ(2u, prepared.config.addressees.size());
  EXPECT_EQ(Cp("Адресат4"), prepared.config.addressees[1].name);
  EXPECT_EQ(0xC0, prepared.config.events[0].w[9]);
  EXPECT_EQ(0x40, prepared.config.events[1].w[9]);
  EXPECT_EQ(0xF0, ws.config.events[0].w[9]);
  EXPECT_TRUE(image::ConfirmImage(ws.config, prepared, messenger));
  ASSERT_EQ(2u, messenger.shown.size());
  EXPECT_NE(std::string::npos, messenger.shown[0].text.find(Cp("Адресат2")));
  EXPECT_EQ(Cp("Внимание"), messenger.shown[1].caption);
  EXPECT_EQ(Buttons::Ok, messenger.shown[1].buttons);
}

TEST_F(Checks, PlansOutsideTheMemoryAreRefused) {
  const auto prepared = image::PrepareForImage(ws.config);
  EXPECT_TRUE(image::PlanFitsMemory(image::BuildImage(prepared.config, {}, device.table, {}, messenger)));
  AddressTable noFlag = device.table;
  noFlag.address = 0;  // no byte below the table for the programming flag
  EXPECT_FALSE(image::PlanFitsMemory(image::BuildImage(prepared.config, {}, noFlag, {}, messenger)));
  AddressTable high = device.table;
  SetTableEntry(high, image::kEntryLoopLatch, 0x7FF0);  // the chained blocks would run past 0x8000
  EXPECT_FALSE(image::PlanFitsMemory(image::BuildImage(prepared.config, {}, high, {}, messenger)));
  AddressTable cramped = device.table;
  // The remote commands need more than the 3 bytes this device leaves before the addressee flags.
  SetTableEntry(cramped, image::kEntryAddresseeFlags, TableEntry(cramped, image::kEntryRemoteCommands) + 3);
  EXPECT_FALSE(image::PlanFitsMemory(image::BuildImage(prepared.config, {}, cramped, {}, messenger)));
}

}  // namespace
}  // namespace vorsin
