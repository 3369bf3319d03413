// Programming and reading pkd-sim over a pseudo-terminal.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "../link/cut_line.h"
#include "../link/sim_process.h"
#include "image/device_io.h"
#include "image_test_support.h"
#include "link/transaction.h"

namespace vorsin {
namespace {

using namespace image_test;
using testing::LogLines;
using testing::SimProcess;
using testing::TempPath;

class CountingProgress final : public Progress {
 public:
  void SetMaximum(int m) override { maximum = m; }
  void SetPosition(int p) override { position = p; }
  void Advance(int by) override { position += by; }
  void Breathe() override {}
  int maximum = 0, position = 0;
};

class DeviceTest : public ::testing::Test {
 protected:
  DeviceTest() : vocabulary(ShippedVocabulary()) {
    ResetToDefaults(ws, vocabulary);
    ResetToDefaults(fresh, vocabulary);
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    logPath = TempPath(name + ".log");
    imagePath = TempPath(name + ".eeprom");
    options.clock = [] { return image::Stamp{2024, 5, 17, 8, 3, 0}; };
  }
  ~DeviceTest() override {
    sim.reset();
    std::remove(logPath.c_str());
    std::remove(imagePath.c_str());
  }
  void Start(std::vector<std::string> args = {}) {
    sim.reset();
    std::remove(logPath.c_str());
    args.insert(args.end(), {"--log", logPath, "--save", imagePath});
    sim = std::make_unique<SimProcess>(args);
    ASSERT_TRUE(sim->ok()) << sim->error();
    port.portName = sim->path();
  }
  // Stops the simulator (saving its memory) and starts it again from it.
  void Restart(std::vector<std::string> args = {}) {
    sim->Stop();
    args.insert(args.end(), {"--load", imagePath});
    Start(args);
  }
  int Program() { return ProgramDevice(ws, port, options, messenger, progress); }
  int Read() { return ReadDevice(fresh, vocabulary, port, ReadOptions{}, messenger, progress, readResult); }

  // (address, data) of every WriteEEPROM request the simulator logged.
  std::vector<std::pair<int, std::vector<int>>> Writes() const {
    std::vector<std::pair<int, std::vector<int>>> out;
    for (const auto& line : LogLines(logPath, "> 00 ")) {
      std::istringstream in(line.substr(2));
      std::vector<int> b;
      for (std::string h; in >> h;) b.push_back(std::stoi(h, nullptr, 16));
      if (b.size() < 9 || b[3] != 0x23) continue;
      out.push_back({b[4] << 8 | b[5], std::vector<int>(b.begin() + 7, b.end() - 2)});
    }
    return out;
  }

  Vocabulary vocabulary;
  Workspace ws, fresh;
  ComPort port;
  RecordingMessenger messenger;
  CountingProgress progress;
  ProgramOptions options;
  ReadResult readResult;
  std::unique_ptr<SimProcess> sim;
  std::string logPath, imagePath;
};

TEST_F(DeviceTest, ProgrammingThenReadingGivesTheConfigurationBack) {
  FillRich(ws);
  options.vgr = 12;
  options.vgt = 34;
  Start();
  std::vector<bool> pages;
  port.enablePages = [&](bool enabled) { pages.push_back(enabled); };
  ASSERT_EQ(0, Program()) << ToUtf8(messenger.shown.empty() ? "" : messenger.shown.back().text);
  ASSERT_GE(pages.size(), 2u);  // disabled while the device works, enabled again at the end
  EXPECT_FALSE(pages[pages.size() - 2]);
  EXPECT_TRUE(pages.back());
  EXPECT_EQ("17.05.2024 08:03", ws.config.lastLoadTime);
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Cp("Устройство запрограммированно"), messenger.shown[0].text);
  EXPECT_EQ("", messenger.shown[0].caption);
  EXPECT_EQ(0, progress.position);
  EXPECT_GT(progress.maximum, 1000);

  ASSERT_EQ(0, Read());
  EXPECT_EQ(Cp("Настройки считаны"), messenger.shown.back().text);
  EXPECT_EQ("Read", fresh.projectFileName);
  EXPECT_TRUE(readResult.haveVg);
  EXPECT_EQ(12, readResult.vgr);
  EXPECT_EQ(34, readResult.vgt);
  EXPECT_EQ(7, readResult.firmwareVersion);
  ExpectSameConfiguration(AsReadBack(ws.config, fresh, ws.codeDefinitions), fresh.config);
  EXPECT_EQ(ws.config.lastLoadTime, fresh.config.lastLoadTime);
}

// Every key the number fields take programs and reads back in the device's
// form: "555T1234" as "555t1234", "?" as "???".
TEST_F(DeviceTest, TheWidestValuesThePagesStoreProgramAndReadBackInTheDevicesTerms) {
  FillWidest(ws);
  Start();
  ASSERT_EQ(0, Program()) << ToUtf8(messenger.shown.empty() ? "" : messenger.shown.back().text);
  ASSERT_EQ(0, Read()) << ToUtf8(messenger.shown.back().text);
  ExpectSameConfiguration(AsReadBack(ws.config, fresh, ws.codeDefinitions), fresh.config);
  EXPECT_EQ("*100#t1t25550001", fresh.config.expressOutNumber);
  EXPECT_EQ("5550001p2", fresh.config.addressees[0].phones[0].phoneNumber);
  EXPECT_EQ("???", fresh.config.cusdForwardNumber);
}

TEST_F(DeviceTest, ReadingStartsTheControlEntriesAfresh) {
  // The device keeps the masks of the first six control entries only; the
  // others must not keep what the configuration held before the read.
  Start();
  ASSERT_EQ(0, Program());
  ASSERT_GT(fresh.config.remoteControls.size(), 6u);
  fresh.config.remoteControls[6].w[1] = 0x55;
  ASSERT_EQ(0, Read());
  EXPECT_EQ(0, fresh.config.remoteControls[6].w[1]);
}

TEST_F(DeviceTest, BlocksGoOutByAddressWithTheTableAndTheClearedFlagLast) {
  FillRich(ws);
  Start();
  ASSERT_EQ(0, Program());
  const auto w = Writes();
  ASSERT_GE(w.size(), 4u);
  EXPECT_EQ(0x1F, w.front().first);
  EXPECT_EQ(std::vector<int>{1}, w.front().second);
  for (size_t i = 1; i + 3 < w.size(); ++i) EXPECT_LT(w[i - 1].first, w[i].first) << i;
  for (const auto& [address, data] : w) EXPECT_LE(data.size(), 50u);
  // The table (86 bytes at 0x20, two frames) and then the flag cleared.
  EXPECT_EQ(0x20, w[w.size() - 3].first);
  EXPECT_EQ(0x20 + 50, w[w.size() - 2].first);
  EXPECT_EQ(0x1F, w.back().first);
  EXPECT_EQ(std::vector<int>{0}, w.back().second);
}

TEST_F(DeviceTest, FailureHalfwayLeavesTheProgrammingFlagSetAndSaysSo) {
  FillRich(ws);
  Start();
  // Cut before the first write: the device is as it was, and the message too.
  port.makePort = [] { return std::make_unique<testing::CutLine>(MakeSerialPort(), 0x22, 0); };
  EXPECT_EQ(1, Program());
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Cp("Отсутствие связи с устройством"), messenger.shown[0].text);
  EXPECT_TRUE(Writes().empty());

  messenger.shown.clear();
  port.makePort = [] { return std::make_unique<testing::CutLine>(MakeSerialPort(), 0x23, 5); };
  const std::string before = ws.config.lastLoadTime;
  EXPECT_EQ(1, Program());
  EXPECT_EQ(0, progress.position);
  EXPECT_EQ(before, ws.config.lastLoadTime);
  ASSERT_EQ(1u, messenger.shown.size());  // one box, never a success note
  EXPECT_EQ(Cp("Отсутствие связи с устройством\n"
               "Устройство запрограммировано не полностью, запрограммируйте его заново."),
            messenger.shown[0].text);
  EXPECT_EQ(Cp("Ошибка"), messenger.shown[0].caption);

  port.makePort = nullptr;
  RecordingMessenger m;
  ASSERT_EQ(0, OpenComPort(port, m));
  uint8_t flag = 0;
  SilentProgress silent;
  ASSERT_EQ(0, ReadRange(port, m, silent, &flag, 0x1F, 1));
  CloseComPort(port);
  EXPECT_EQ(1, flag);
  EXPECT_EQ(5u, Writes().size());
}

TEST_F(DeviceTest, OldFirmwareIsReadButNotProgrammed) {
  FillRich(ws);
  Start();
  ASSERT_EQ(0, Program());
  Restart({"--firmware", "6"});
  messenger.shown.clear();
  EXPECT_EQ(1, Program());
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Cp("Необходимо обновить версию программного обеспечения устройства."), messenger.shown[0].text);
  EXPECT_EQ(Cp("Ошибка"), messenger.shown[0].caption);
  EXPECT_TRUE(Writes().empty());

  ASSERT_EQ(0, Read());
  EXPECT_EQ("", fresh.config.cusdForwardNumber);
  EXPECT_EQ(ws.config.ownNumber, fresh.config.ownNumber);
  EXPECT_EQ(ws.config.users, fresh.config.users);
}

TEST_F(DeviceTest, NewerImageFormatIsRefusedBothWaysAndReadingKeepsTheConfiguration) {
  FillRich(ws);
  Start({"--format", "3"});
  EXPECT_EQ(1, Program());
  EXPECT_EQ(Cp("Необходимо обновить версию Ворсина.\nCвяжитесь с производителем."), messenger.shown.back().text);
  EXPECT_TRUE(Writes().empty());

  fresh = ws;
  fresh.projectFileName = "site.dat";
  EXPECT_EQ(1, Read());
  EXPECT_TRUE(readResult.accessed);
  EXPECT_EQ(ws.config, fresh.config);
  EXPECT_EQ("site.dat", fresh.projectFileName);
}

TEST_F(DeviceTest, NeverProgrammedDeviceIsToldApart) {
  FillRich(ws);
  Start();  // the factory's memory
  fresh = ws;
  EXPECT_EQ(1, Read());
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Cp("В устройстве ещё нет настроек: оно ни разу не было запрограммировано."), messenger.shown[0].text);
  EXPECT_EQ(ws.config, fresh.config);
  // Unset bounds say the same.
  AddressTable table;
  EXPECT_TRUE(HoldsNoConfiguration(table));
  for (int i = 0; i < kTableEntries; ++i) SetTableEntry(table, i, 0xFFFF);
  EXPECT_TRUE(HoldsNoConfiguration(table));
}

TEST_F(DeviceTest, RefusedAccessKeepsTheConfiguration) {
  FillRich(ws);
  Start({"--password", "1234"});
  options.password = "9999";
  EXPECT_EQ(1, Program());
  ASSERT_EQ(1u, messenger.shown.size());  // nothing was written: nothing to program again
  EXPECT_EQ(Cp("TakeAccess: неверный пароль или оштбка доступа"), messenger.shown[0].text);
  fresh = ws;
  ReadOptions wrong;
  wrong.password = "4321";
  EXPECT_EQ(1, ReadDevice(fresh, vocabulary, port, wrong, messenger, progress, readResult));
  EXPECT_FALSE(readResult.accessed);
  EXPECT_EQ(ws.config, fresh.config);
  options.password = "1234";
  EXPECT_EQ(0, Program());
}

TEST_F(DeviceTest, SimCodesAreCheckedBeforeThePortIsOpened) {
  port.portName = "/nonexistent/port";
  ws.config.pukCode.clear();
  EXPECT_EQ(1, Program());
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Cp("Незаполнены обезательные поля Pin/Puk кодов (Вкладка \"Общие\")"), messenger.shown[0].text);
  // Out-of-range VGR and VGT are refused by name, not wrapped into a byte.
  ws = fresh;
  options.vgr = 999;
  EXPECT_EQ(1, Program());
  EXPECT_EQ(Cp("Значение поля VGR должно быть числом от 0 до 255"), messenger.shown.back().text);
  options.vgr = 0;
  options.vgt = -5;
  EXPECT_EQ(1, Program());
  EXPECT_EQ(Cp("Значение поля VGT должно быть числом от 0 до 255"), messenger.shown.back().text);
}

TEST_F(DeviceTest, RefusedImageWritesNothing) {
  ws.config.relayPatterns[0].w[2] = 0xBF;
  Start();
  EXPECT_EQ(1, Program());
  EXPECT_EQ(Cp("Ошибка"), messenger.shown.back().caption);
  EXPECT_TRUE(LogLines(logPath, "> ").empty());  // the port was never used
}

TEST_F(DeviceTest, DeviceHeldByteIsTakenFromTheDeviceAndWrittenBack) {
  Start();
  ASSERT_EQ(0, Program());
  sim->Stop();
  {
    std::fstream f(imagePath, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(0x108 + 8);
    f.put(static_cast<char>(0xA7));
  }
  Restart();
  ws.config.general.deviceHeldByte() = 3;
  ASSERT_EQ(0, Program());
  EXPECT_EQ(0xA7, ws.config.general.deviceHeldByte());
  bool written = false;
  for (const auto& [address, data] : Writes())
    if (address <= 0x108 + 8 && address + static_cast<int>(data.size()) > 0x108 + 8)
      written = data[0x108 + 8 - address] == 0xA7;
  EXPECT_TRUE(written);
}

TEST_F(DeviceTest, VerificationReadsBackWhatWasWrittenAndNamesAFaultyCell) {
  FillRich(ws);
  Start();
  options.verify = true;
  ProgramResult result;
  ASSERT_EQ(0, ProgramDevice(ws, port, options, messenger, progress, &result));
  ASSERT_EQ(1u, messenger.shown.size());  // one note: programmed and checked
  EXPECT_EQ(0u, messenger.shown[0].text.find(Cp("Устройство запрограммированно\nЗапись проверена")));
  EXPECT_TRUE(result.verified && result.verification.equal);
  EXPECT_EQ(0, progress.position);
  // Read back in the frames a read uses, each written stretch once and no more.
  std::vector<image::StagedBlock> written;
  for (const auto& [address, data] : Writes())
    written.push_back({static_cast<uint32_t>(address), std::vector<uint8_t>(data.begin(), data.end())});
  size_t frames = 0, bytes = 0;
  for (const auto& stretch : image::ExpectedContent(written)) {
    frames += (stretch.bytes.size() + 199) / 200;
    bytes += stretch.bytes.size();
  }
  EXPECT_EQ(bytes, result.verification.bytesCompared);
  std::vector<int> reads;  // the sizes asked for after the last write
  for (const auto& line : LogLines(logPath, "> 00 ")) {
    if (line.substr(11, 2) == "23") reads.clear();
    if (line.substr(11, 2) == "22") reads.push_back(std::stoi(line.substr(20, 2), nullptr, 16));
  }
  EXPECT_EQ(frames, reads.size());
  for (const int n : reads) EXPECT_LE(n, 200);

  // A cell that keeps a wrong bit in the general block.
  Restart({"--stuck-byte", "0x0112"});
  messenger.shown.clear();
  const std::string before = ws.config.lastLoadTime;
  ws.config.lastLoadTime.clear();
  EXPECT_EQ(1, ProgramDevice(ws, port, options, messenger, progress, &result));
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Cp("Ошибка"), messenger.shown[0].caption);
  EXPECT_NE(std::string::npos, messenger.shown[0].text.find(Cp("по адресу 0x0112")));
  EXPECT_EQ(0x112u, result.verification.address);
  EXPECT_EQ(image::kEntryGeneral, result.verification.block.entry);
  EXPECT_EQ(1u, result.verification.bytesDiffering);
  EXPECT_EQ("", ws.config.lastLoadTime);  // not programmed as far as the user is told
  EXPECT_EQ(0, progress.position);

  // Without verification the same device reports success, as it always did.
  options.verify = false;
  messenger.shown.clear();
  EXPECT_EQ(0, Program());
  ASSERT_EQ(1u, messenger.shown.size());
  EXPECT_EQ(Cp("Устройство запрограммированно"), messenger.shown[0].text);
  EXPECT_EQ(before, ws.config.lastLoadTime);
}

}  // namespace
}  // namespace vorsin
