// Programming and reading pkd-sim at every line speed, with the wire time
// emulated both ways: the device's memory afterwards must be exactly what a
// run on an unhurried line leaves, and reading it must give the
// configuration back. A slow line once made a run report success with the
// last blocks, the table and the cleared flag never written.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

#include "../link/sim_process.h"
#include "image/device_io.h"
#include "image_test_support.h"

namespace vorsin {
namespace {

using namespace image_test;
using testing::SimProcess;
using testing::TempPath;

using Memory = std::vector<uint8_t>;

// The fixed blocks and the events with something in the addressee, user and
// number blocks, but no SMS strings: about 1400 bytes, which 2400 baud
// moves in seconds rather than tens of them.
void FillModerate(Workspace& ws) {
  Configuration& c = ws.config;
  c.pinCode = "4321";
  c.ownNumber = "+79161234567";
  c.addressees.push_back(NamedAddressee(1, 1));
  c.users.push_back(MakeUser(1, 0x0F, "1234", 0x21));
  c.smsStrings.clear();
  c.smsSubStrings.clear();
}

class LineSpeed : public ::testing::TestWithParam<int> {
 protected:
  LineSpeed() : vocabulary(ShippedVocabulary()) {
    options.clock = [] { return image::Stamp{2025, 1, 2, 3, 4, 5}; };
  }

  Workspace Configured(bool rich) {
    Workspace ws;
    ResetToDefaults(ws, vocabulary);
    if (rich) FillRich(ws);
    else FillModerate(ws);
    return ws;
  }

  // Programs ws into a fresh simulator (baud 0: no wire time), optionally
  // reads it back into fresh, and returns the simulator's memory.
  Memory ProgramAndRead(Workspace& ws, int baud, Workspace* fresh) {
    const std::string image = TempPath("speed" + std::to_string(baud) + ".eeprom");
    std::vector<std::string> args{"--save", image};
    if (baud > 0) args.insert(args.end(), {"--baud", std::to_string(baud)});
    SimProcess sim(args);
    EXPECT_TRUE(sim.ok()) << sim.error();
    ComPort port;
    port.portName = sim.path();
    port.speed = baud > 0 ? baud : kDefaultSpeed;
    RecordingMessenger messenger;
    SilentProgress progress;
    EXPECT_EQ(0, ProgramDevice(ws, port, options, messenger, progress))
        << ToUtf8(messenger.shown.empty() ? "" : messenger.shown.back().text);
    if (fresh != nullptr) {
      ResetToDefaults(*fresh, vocabulary);
      ReadResult result;
      EXPECT_EQ(0, ReadDevice(*fresh, vocabulary, port, ReadOptions{}, messenger, progress, result))
          << ToUtf8(messenger.shown.back().text);
    }
    sim.Stop();  // saves the memory
    std::ifstream in(image, std::ios::binary);
    Memory memory((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(image.c_str());
    return memory;
  }

  // What an unhurried line leaves in the device, once per configuration.
  const Memory& Reference(bool rich) {
    static std::map<bool, Memory> done;
    if (!done.count(rich)) {
      Workspace ws = Configured(rich);
      done[rich] = ProgramAndRead(ws, 0, nullptr);
    }
    return done[rich];
  }

  Vocabulary vocabulary;
  ProgramOptions options;
};

TEST_P(LineSpeed, ProgrammedMemoryAndReadBackMatch) {
  const int baud = GetParam();
  const bool rich = baud >= 9600;  // the slow lines get a smaller configuration
  const Memory& want = Reference(rich);
  ASSERT_EQ(want.size(), 0x8000u);

  Workspace ws = Configured(rich), fresh;
  const Memory got = ProgramAndRead(ws, baud, &fresh);
  ASSERT_EQ(got.size(), want.size());
  size_t differ = 0;
  for (size_t a = 0; a < want.size(); ++a) {
    if (got[a] != want[a] && differ++ < 5)
      ADD_FAILURE() << "byte 0x" << std::hex << a << ": 0x" << int{got[a]} << " instead of 0x" << int{want[a]};
  }
  EXPECT_EQ(differ, 0u);
  ExpectSameConfiguration(AsReadBack(ws.config, fresh, ws.codeDefinitions), fresh.config);
}

INSTANTIATE_TEST_SUITE_P(Speeds, LineSpeed, ::testing::Values(2400, 4800, 9600, 19200, 115200),
                         [](const auto& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace vorsin
