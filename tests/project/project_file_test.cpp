#include "project/project_file.h"

#include "model/bytes.h"
#include "project_test_support.h"

namespace vorsin {
namespace {

using testing::FillRich;
using testing::MarkerAt;
using testing::RecordingMessenger;

class ProjectFile : public testing::ProjectTest {
 protected:
  // A rich configuration saved with the current vocabulary.
  Workspace SaveRich(const std::string& path) {
    Workspace ws = Defaults();
    FillRich(ws);
    RecordingMessenger m;
    EXPECT_EQ(WriteProjectFile(ws, path, m), kProjectOk);
    EXPECT_TRUE(m.shown.empty());
    return ws;
  }
  int Read(Workspace& ws, const std::string& path, RecordingMessenger& m) {
    Vocabulary v(vocabularyPath_);
    return ReadProjectFile(ws, v, path, m);
  }
  // Expects the file refused and the workspace at its defaults, name unchanged.
  void ExpectRefused(const std::vector<uint8_t>& bytes, int status, const std::string& why) {
    SCOPED_TRACE(why);
    PutBytes(Path("bad.dat"), bytes);
    Workspace ws;
    ws.projectFileName = "before.dat";
    RecordingMessenger m;
    EXPECT_EQ(Read(ws, Path("bad.dat"), m), status);
    EXPECT_EQ(ws.config, Defaults().config);
    EXPECT_EQ(ws.projectFileName, "before.dat");
    ASSERT_EQ(m.shown.size(), 1u);
    EXPECT_EQ(m.shown[0].caption, Cp("Ошибка"));
    EXPECT_EQ(m.shown[0].icon, Icon::Error);
  }
};

TEST_F(ProjectFile, WriteThenReadGivesBackTheSameModel) {
  const Workspace saved = SaveRich(Path("rich.dat"));
  EXPECT_EQ(saved.projectFileName, Path("rich.dat"));
  const auto bytes = Bytes(Path("rich.dat"));
  const std::vector<uint8_t> head{7, 'V', 'e', 'r', ' ', '2', '.', '1', 1};
  ASSERT_GT(bytes.size(), head.size());
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));

  Workspace ws;
  RecordingMessenger m;
  ASSERT_EQ(Read(ws, Path("rich.dat"), m), kProjectOk);
  EXPECT_TRUE(m.shown.empty());
  EXPECT_EQ(ws.config, saved.config);
  EXPECT_EQ(ws.projectFileName, Path("rich.dat"));

  // Saving what was read gives the same bytes again.
  ASSERT_EQ(WriteProjectFile(ws, Path("again.dat"), m), kProjectOk);
  EXPECT_EQ(Bytes(Path("again.dat")), bytes);
}

// Built by hand rather than by the writer, so a field order mistake made
// alike in both directions cannot hide.
TEST_F(ProjectFile, ReadsAnOlderGenerationFileByteForByte) {
  const int d = Defaults().definedEventCount;
  ByteWriter w;
  std::array<uint8_t, GeneralSettings::kSize> general{};
  for (size_t i = 0; i < general.size(); ++i) general[i] = static_cast<uint8_t>(200 - i);
  for (int L = 0; L < kLoops; ++L) general[GeneralSettings::kLoopBlock + lb::kLoopEventBase + L] = static_cast<uint8_t>(d + L);
  for (const uint8_t b : general) w.u8(b);
  auto text = [&w](const std::string& s) { w.u8(static_cast<uint8_t>(s.size())), w.text(s); };
  for (const char* s : {"own", "sc", "eo", "ei", "w1", "w2", "w3", "w4", "w5", "w6", "w7", "w8", "1111", "22", "0007"})
    text(s);
  w.u8(1);                                          // one addressee
  w.u8(1);                                          // with one phone
  w.i32le(4), w.i32le(61), w.i32le(-3), w.u8(0x41), w.fill(3, 0xEE);  // filler is ignored
  text("A");
  w.i32le(2), w.i32le(0x32), w.u8(0xB1), w.fill(3, 0xEE);
  text("P"), text("123"), text("8"), text("9");
  w.u8(1), w.fill(4, 0), w.i32le(1), w.fill(64, 0), text("I");  // intervals
  for (int list = 0; list < 10; ++list) {                       // bindings: only relay 2, list 4
    w.u8(list == 9);
    if (list == 9) w.i32le(0), w.i32le(41), w.i32le(0x83), w.i32le(5);
  }
  for (int list = 10; list <= 18; ++list) w.u8(0);  // patterns .. time events
  PutBytes(Path("old.dat"), w.data());

  Workspace ws;
  RecordingMessenger m;
  ASSERT_EQ(Read(ws, Path("old.dat"), m), kProjectOk);
  const Configuration& c = ws.config;
  EXPECT_TRUE(std::equal(general.begin(), general.end(), c.general.bytes.begin()));
  EXPECT_EQ(c.ownNumber + c.smsCentre + c.expressOutNumber + c.expressInNumber, "ownsceoei");
  EXPECT_EQ(c.workPhones[7], "w8");
  EXPECT_EQ(c.pinCode + "|" + c.pukCode + "|" + c.deviceAddress, "1111|22|0007");
  ASSERT_EQ(c.addressees.size(), 1u);
  const Addressee& a = c.addressees[0];
  EXPECT_EQ(std::tie(a.autoNumber, a.deliveryLimit, a.confirmWait, a.addresseeFlags, a.name),
            std::make_tuple(4, 61, -3, uint8_t{0x41}, std::string("A")));
  ASSERT_EQ(a.phones.size(), 1u);
  const AddresseePhone& p = a.phones[0];
  EXPECT_EQ(std::tie(p.autoNumber, p.formats, p.phoneFlags, p.name, p.phoneNumber, p.cellPrefix, p.linePrefix),
            std::make_tuple(2, 0x32, uint8_t{0xB1}, std::string("P"), std::string("123"), std::string("8"),
                            std::string("9")));
  ASSERT_EQ(c.intervals.size(), 1u);
  EXPECT_EQ(c.intervals[0].w[1], 1);
  EXPECT_EQ(c.intervals[0].text, "I");
  for (int list = 0; list < 9; ++list) EXPECT_TRUE(c.relayBindings[list / 5][list % 5].empty());
  ASSERT_EQ(c.relayBindings[1][4].size(), 1u);
  EXPECT_EQ(c.relayBindings[1][4][0].w, (std::array<int32_t, 4>{0, 41, 0x83, 5}));
  EXPECT_TRUE(c.events.empty() && c.users.empty() && c.timeEvents.empty());
  // Lists the vocabulary declares grow back to its counts.
  EXPECT_EQ(c.remoteCommands.size(), 3u);
  EXPECT_EQ(c.remoteControls, std::vector<RemoteCommand>(2));
}

TEST_F(ProjectFile, OlderGenerationEndingAtEachMarkerKeepsTheDefaultsBeyond) {
  const Workspace saved = SaveRich(Path("rich.dat"));
  const auto full = Bytes(Path("rich.dat"));
  const std::vector<uint8_t> old(full.begin() + 9, full.end());  // without "Ver 2.1" and version
  const Workspace defaults = Defaults();

  struct Case { const char* endsBefore; bool descriptions, block2; };
  for (const Case k : {Case{"_block1", false, false}, Case{"_block2", true, false}, Case{"_block3", true, true}}) {
    SCOPED_TRACE(k.endsBefore);
    PutBytes(Path("old.dat"), {old.begin(), old.begin() + MarkerAt(old, k.endsBefore)});
    Workspace ws;
    RecordingMessenger m;
    ASSERT_EQ(Read(ws, Path("old.dat"), m), kProjectOk);
    const Configuration& c = ws.config;
    EXPECT_EQ(c.timeEvents, saved.config.timeEvents);
    EXPECT_EQ(c.users, saved.config.users);
    if (k.descriptions) {
      EXPECT_EQ(c.intervalDescriptions, saved.config.intervalDescriptions);
      EXPECT_EQ(c.lastLoadTime, saved.config.lastLoadTime);
    } else {
      // The reset's own descriptions stay; the intervals beyond them get default ones.
      const size_t kept = defaults.config.intervalDescriptions.size();
      ASSERT_EQ(c.intervalDescriptions.size(), c.intervals.size());
      for (size_t i = 0; i < kept; ++i) EXPECT_EQ(c.intervalDescriptions[i], defaults.config.intervalDescriptions[i]);
      const IntervalDescription& last = c.intervalDescriptions.back();
      EXPECT_EQ(last.flags, 6);
      EXPECT_EQ(last.name, Cp("Описание ") + std::to_string(c.intervals.size()));
      EXPECT_EQ(last.blocks[kGuardBlock][5].name, Cp("Интервал 5"));
      EXPECT_EQ(last.blocks[kFireBlock][7].code, "0, 000,00,000, 16,16, 0,0, 0");
      EXPECT_EQ(c.lastLoadTime, "");
    }
    EXPECT_EQ(c.workPhoneControl, k.block2 ? saved.config.workPhoneControl : defaults.config.workPhoneControl);
    EXPECT_EQ(c.loopLatch, k.block2 ? saved.config.loopLatch : defaults.config.loopLatch);
    EXPECT_EQ(c.relayTimeLimit, (std::array<uint8_t, 2>{0, 0}));
    EXPECT_EQ(c.cusdForwardNumber, "");
  }
}

TEST_F(ProjectFile, EventsOfALongerVocabularyAreInsertedBeforeTheLoopBlocks) {
  PutVocabulary(testing::SmallVocabulary(20, "Old"));
  const Workspace saved = SaveRich(Path("v20.dat"));
  PutVocabulary(testing::SmallVocabulary(22, "New"));

  Workspace ws;
  RecordingMessenger m;
  ASSERT_EQ(Read(ws, Path("v20.dat"), m), kProjectOk);
  const auto& before = saved.config.events;
  const auto& after = ws.config.events;
  ASSERT_EQ(after.size(), before.size() + 2);
  EXPECT_TRUE(std::equal(before.begin(), before.begin() + 20, after.begin()));  // the file's own events
  EXPECT_EQ(after[20].text, "New21");
  EXPECT_EQ(after[20].w[2], 121);
  EXPECT_EQ(after[21].text, "New22");
  EXPECT_TRUE(std::equal(before.begin() + 20, before.end(), after.begin() + 22));
  for (int L = 0; L < kLoops; ++L)
    EXPECT_EQ(ws.config.general.loopEventBase(L), saved.config.general.loopEventBase(L) + 2) << L;
}

TEST_F(ProjectFile, VersionByteZeroAndOneAreReadAndTwoIsRefused) {
  SaveRich(Path("rich.dat"));
  auto bytes = Bytes(Path("rich.dat"));
  for (uint8_t version : {0, 1}) {
    bytes[8] = version;
    PutBytes(Path("v.dat"), bytes);
    Workspace ws;
    RecordingMessenger m;
    EXPECT_EQ(Read(ws, Path("v.dat"), m), kProjectOk) << int{version};
  }
  bytes[8] = 2;
  ExpectRefused(bytes, kProjectNewerVersion, "version 2");
  RecordingMessenger m;
  Workspace ws;
  Read(ws, Path("bad.dat"), m);
  EXPECT_EQ(m.shown.at(0).text, Cp("Обновите программное обеспечение"));
}

TEST_F(ProjectFile, FileEndingInsideAnItemIsRefusedAndNothingIsTakenFromIt) {
  SaveRich(Path("rich.dat"));
  const auto full = Bytes(Path("rich.dat"));
  const size_t block1 = MarkerAt(full, "_block1");
  // Every cut before the end of the time events, in both generations.
  for (size_t cut = 0; cut < block1; cut += (cut < 200 ? 1 : 7))
    ExpectRefused({full.begin(), full.begin() + cut}, kProjectDamaged, "cut at " + std::to_string(cut));
  const std::vector<uint8_t> old(full.begin() + 9, full.begin() + block1 - 1);
  ExpectRefused(old, kProjectDamaged, "older generation, one byte short");

  // After the marker an item cut in the middle refuses the file too.
  const size_t block2 = MarkerAt(full, "_block2"), block3 = MarkerAt(full, "_block3");
  for (size_t cut : {block1 + 8 + 3, block2 - 2, block2 + 8 + 5, block3 + 8 + 1, full.size() - 1})
    ExpectRefused({full.begin(), full.begin() + cut}, kProjectDamaged, "tail cut at " + std::to_string(cut));

  // A marker cut short, or one with nothing after it, announces nothing.
  for (size_t cut : {block2 + 4, block2 + 8, block3 + 3, block3 + 8}) {
    PutBytes(Path("cut.dat"), {full.begin(), full.begin() + cut});
    Workspace ws;
    RecordingMessenger m;
    EXPECT_EQ(Read(ws, Path("cut.dat"), m), kProjectOk) << cut;
    EXPECT_EQ(ws.config.workPhoneControl == Defaults().config.workPhoneControl, cut < block3) << cut;
    EXPECT_EQ(ws.config.relayTimeLimit, Defaults().config.relayTimeLimit);
  }
}

TEST_F(ProjectFile, AFileThatCannotBeOpenedChangesNothing) {
  Workspace ws = Defaults();
  FillRich(ws);
  const Workspace before = ws;
  RecordingMessenger m;
  EXPECT_EQ(Read(ws, Path("missing.dat"), m), kProjectCannotOpen);
  EXPECT_EQ(Read(ws, dir_.string(), m), kProjectCannotOpen);
  EXPECT_EQ(ws.config, before.config);
  EXPECT_EQ(ws.projectFileName, before.projectFileName);
  ASSERT_EQ(m.shown.size(), 2u);
  EXPECT_EQ(m.shown[0].icon, Icon::Error);
  // A source that never ends is given up at the size limit, not read forever.
  EXPECT_EQ(Read(ws, "/dev/zero", m), kProjectDamaged);
  EXPECT_EQ(ws.config, before.config);
}

}  // namespace
}  // namespace vorsin
