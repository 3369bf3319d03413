// Firmware files and the upload: the loader checksum, every broken file
// refused before a byte is sent, and uploads the simulator verifies, from the
// core and from vorsin-cli.
#include <gtest/gtest.h>

#include <cstdlib>

#include "../link/recording_messenger.h"
#include "../link/sim_process.h"
#include "fake_line.h"
#include "hwr_files.h"
#include "tools/firmware_upload.h"

namespace vorsin {
namespace {

using namespace vorsin::testing;

const char kFormat[] = "Формат не поддерживается или файл повреждён";

std::vector<uint8_t> LineBytes(const std::string& line) { return SplitHexLines(line + "\r\n")->at(0).bytes; }

TEST(LoaderChecksumTest, KnownValues) {
  const uint8_t abc[] = {'a', 'b', 'c'};
  EXPECT_EQ(LoaderChecksum(abc, 3), 0x1EE4);
  const auto bytes = LineBytes(":0100000000FF");
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x01, 0x00, 0x00, 0x00, 0x00, 0xFF}));
  EXPECT_EQ(LoaderChecksum(bytes.data(), bytes.size()), 0x764B);
}

TEST(HwrFileTest, EntriesAndTheirLimits) {
  // Other entry types before the firmware are skipped; the end entry first
  // means nothing to do.
  const HwrContent skipped = ReadHwr(MakeHwr(kHexText, {2, 7}));
  EXPECT_EQ(skipped.status, HwrStatus::kOk);
  EXPECT_EQ(skipped.text, kHexText);
  EXPECT_EQ(ReadHwr(MakeHwr(kHexText, {0xFF})).status, HwrStatus::kNoFirmware);

  const auto good = MakeHwr(kHexText);
  auto oversize = good;  // the stream claims one byte more than follows it
  oversize[8] = static_cast<uint8_t>(good.size() - 9 + 1);
  auto corrupt = good;
  corrupt[12] ^= 0xFF;
  std::vector<uint8_t> longInner{'H', 'w', 'r', 0};
  const auto packed = Pack(Inner("abc", 4));
  Entry(longInner, 1, packed.size());
  longInner.insert(longInner.end(), packed.begin(), packed.end());
  std::vector<uint8_t> noEnd{'H', 'w', 'r', 0};
  Entry(noEnd, 2, 0);
  const struct {
    const char* what;
    std::vector<uint8_t> file;
    HwrStatus status;
  } kCases[] = {
      {"two bytes", {'H', 'w'}, HwrStatus::kBadFormat},
      {"not Hwr", {'H', 'W', 'r', 0, 0xFF, 0, 0, 0, 0}, HwrStatus::kBadFormat},
      {"entry header cut", {'H', 'w', 'r', 0, 1, 0, 0}, HwrStatus::kBadFormat},
      {"size beyond the bytes after the entry", oversize, HwrStatus::kBadFormat},
      {"inner length beyond what was unpacked", longInner, HwrStatus::kBadFormat},
      {"neither firmware nor end entry", noEnd, HwrStatus::kBadFormat},
      {"stream does not unpack", corrupt, HwrStatus::kUnpackFailed},
  };
  for (const auto& c : kCases) EXPECT_EQ(ReadHwr(c.file).status, c.status) << c.what;
}

TEST(HexLinesTest, SplittingAndRefusals) {
  // Blank lines are skipped; a last line without "\r\n" is kept.
  const auto lines = SplitHexLines("\r\n:020000040056A4\r\n  \r\n:00000001FF");
  ASSERT_TRUE(lines);
  ASSERT_EQ(lines->size(), 2u);
  EXPECT_EQ(lines->at(1).chars, ":00000001FF");
  for (const char* bad : {":00000001FF", ":00000001FF\n:00000001FF\n", ":0000G001FF\r\n", ":0000\r\n",
                          ":0200000400A4\r\n", "00000001FF\r\n", "\r\n\r\n"}) {
    EXPECT_FALSE(SplitHexLines(bad)) << bad;
  }
}

TEST(HexLinesTest, AddressLabelFollowsTheUpperAddress) {
  AddressLabel label;
  EXPECT_EQ(label.Follow(":10123400000102030405060708090A0B0C0D0E0F64"), "0x1234");
  EXPECT_FALSE(label.Follow(":020000040056A4"));
  EXPECT_EQ(label.Follow(":10780000000102030405060708090A0B0C0D0E0F64"), "0x567800");
  EXPECT_FALSE(label.Follow(":00000001FF"));
  EXPECT_FALSE(label.Follow(":0"));  // never reads past a short line
}

struct UploadTest : ::testing::Test {
  std::string Path(const std::string& name) {
    files.push_back(TempPath(name));
    return files.back();
  }
  void TearDown() override {
    for (const auto& f : files) std::remove(f.c_str());
  }
  int Upload(const std::string& path, std::vector<std::string>* labels = nullptr) {
    UploadHooks hooks;
    if (labels) hooks.address = [labels](const std::string& a) { labels->push_back(a); };
    port.LoaderShown = true;
    return UploadFirmware(port, path, messenger, progress, hooks);
  }
  ComPort port;
  RecordingMessenger messenger;
  RecordingProgress progress;
  std::vector<std::string> files;
};

TEST_F(UploadTest, BrokenFilesSendNothing) {
  auto line = std::make_shared<LineState>();
  UseFakeLine(port, line);
  const auto good = MakeHwr(kHexText);
  auto cut = good;  // its stream's own checksum spoiled
  cut.back() ^= 0xFF;
  const struct {
    const char* what;
    std::vector<uint8_t> file;
    const char* message;  // nullptr: says nothing
  } kCases[] = {
      {"empty", {}, kFormat},
      {"cut stream", cut, "Ошибка сжатия.\nФормат не поддерживается или файл повреждён"},
      {"end entry first", MakeHwr(kHexText, {0xFF}), nullptr},
      {"no complete line", MakeHwr(":00000001FF"), kFormat},
      {"LF line ends", MakeHwr(":00000001FF\n:00000001FF\n"), kFormat},
      {"not hexadecimal", MakeHwr(":020000040056A4\r\n:0000000XFF\r\n"), kFormat},
      {"line too short", MakeHwr(":020000040056A4\r\n:0001\r\n"), kFormat},
  };
  for (const auto& c : kCases) {
    messenger.shown.clear();
    const std::string path = Path("broken.hwr");
    WriteFile(path, c.file);
    EXPECT_NE(Upload(path), kUploaded) << c.what;
    EXPECT_TRUE(line->Written().empty()) << c.what;
    if (c.message == nullptr) {
      EXPECT_TRUE(messenger.shown.empty()) << c.what;
    } else {
      ASSERT_EQ(messenger.shown.size(), 1u) << c.what;
      EXPECT_EQ(messenger.LastUtf8(), c.message) << c.what;
      EXPECT_EQ(messenger.shown[0].caption, CaptionWarning());
      EXPECT_EQ(messenger.shown[0].icon, Icon::Error);
    }
    EXPECT_FALSE(port.IsOpen());
  }
  // A missing file: the port is not even opened.
  messenger.shown.clear();
  EXPECT_EQ(Upload(Path("missing.hwr")), kFirmwareUnreadable);
  EXPECT_EQ(messenger.LastUtf8(), "Cannot open file " + files.back());
  EXPECT_EQ(line->opened, int(std::size(kCases)));
  EXPECT_EQ(line->baud, kLoaderSpeed);
}

TEST_F(UploadTest, SilentLoaderAndSilentLine) {
  auto line = std::make_shared<LineState>();
  UseFakeLine(port, line);
  const std::string path = Path("fw.hwr");
  WriteFile(path, MakeHwr(kHexText));
  EXPECT_EQ(Upload(path), kLoaderSilent);
  EXPECT_EQ(messenger.LastUtf8(), "Нет связи.");
  EXPECT_EQ(line->Written(), std::vector<uint8_t>(std::begin(kLoaderStartCode), std::end(kLoaderStartCode)));
  // The start code answered, the first line not.
  line->answer = [](const std::vector<uint8_t>& m) {
    return m[0] == 0x5A ? std::vector<uint8_t>{'O', 'K'} : std::vector<uint8_t>{};
  };
  EXPECT_EQ(Upload(path), kLineUnanswered);
  EXPECT_EQ(messenger.LastUtf8(), "Нет ответа.\nПовторите загрузку");
}

TEST_F(UploadTest, SimulatorVerifiesEveryLine) {
  const std::string log = Path("sim.log");
  SimProcess sim({"--log", log});
  ASSERT_TRUE(sim.ok()) << sim.error();
  port.portName = sim.path();
  const std::string path = Path("fw.hwr");
  // The last line has no "\r\n" and is sent all the same.
  WriteFile(path, MakeHwr(std::string(kHexText, sizeof kHexText - 3)));
  std::vector<std::string> labels;
  EXPECT_EQ(Upload(path, &labels), kUploaded);
  EXPECT_EQ(messenger.LastUtf8(), "Устройство запрограммированно");
  EXPECT_EQ(messenger.shown.back().caption, "");
  EXPECT_EQ(labels, std::vector<std::string>{"0x567800"});
  EXPECT_EQ(progress.maximum, 3);
  EXPECT_EQ(progress.position, 3);
  EXPECT_FALSE(port.IsOpen());
  sim.Stop();
  EXPECT_EQ(LogLines(log, "# loader finished"), std::vector<std::string>{"# loader finished after 4 lines"});
  EXPECT_EQ(LogLines(log, "> 3A 00 00 00 01 FF").size(), 1u);
}

TEST_F(UploadTest, ChecksumMismatchStopsWithoutTheEndRecord) {
  const std::string log = Path("sim.log");
  SimProcess sim({"--log", log, "--loader-bad-line", "2"});
  ASSERT_TRUE(sim.ok()) << sim.error();
  port.portName = sim.path();
  const std::string path = Path("fw.hwr");
  WriteFile(path, MakeHwr(kHexText));
  EXPECT_EQ(Upload(path), kLineChecksumWrong);
  EXPECT_EQ(messenger.LastUtf8(), "Ошибка контрольной суммы.\nПовторите загрузку");
  EXPECT_EQ(messenger.shown.back().caption, CaptionError());
  sim.Stop();
  EXPECT_TRUE(LogLines(log, "# loader finished").empty());
  EXPECT_TRUE(LogLines(log, "> 3A 00 00 00 01 FF").empty());
  EXPECT_TRUE(LogLines(log, "> 3A 00 00 00 02 FE").empty());
}

int Flash(const std::string& arguments, const std::string& errors = "/dev/null") {
  const std::string command = "'" + CliProgram() + "' flash " + arguments + " 2>" + errors;
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST_F(UploadTest, FlashCommand) {
  const std::string log = Path("sim.log");
  SimProcess sim({"--log", log});
  ASSERT_TRUE(sim.ok()) << sim.error();
  const std::string good = Path("good.hwr"), broken = Path("broken.hwr");
  WriteFile(good, MakeHwr(kHexText));
  WriteFile(broken, MakeHwr(":00000001FF"));
  EXPECT_EQ(Flash("--port " + sim.path() + " " + good), 0);
  EXPECT_NE(Flash("--port " + sim.path() + " --speed 9600 " + broken), 0);
  EXPECT_NE(Flash("--port " + sim.path() + " " + Path("missing.hwr")), 0);
  EXPECT_NE(Flash(good), 0);  // no port
  // A file whose entry list ends first: silent in the window, explained here.
  const std::string empty = Path("empty.hwr"), errors = Path("errors.txt");
  WriteFile(empty, MakeHwr(kHexText, {0xFF}));
  EXPECT_EQ(Flash("--port " + sim.path() + " " + empty, errors), 1);
  EXPECT_EQ(LogLines(errors, "vorsin-cli: ").size(), 1u);
  SimProcess bad({"--loader-bad-line", "1"});
  EXPECT_NE(Flash("--port " + bad.path() + " " + good), 0);
  sim.Stop();
  EXPECT_EQ(LogLines(log, "# loader finished").size(), 1u);
  EXPECT_EQ(LogLines(log, "> 5A").size(), 1u);
}

}  // namespace
}  // namespace vorsin
