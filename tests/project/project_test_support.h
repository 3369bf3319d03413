// Shared pieces of the project file tests: a temporary folder with its own
// small vocabulary file, a recording messenger and a richly filled configuration.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/configuration.h"
#include "model/cp1251.h"
#include "model/defaults.h"
#include "model/messenger.h"
#include "model/vocabulary.h"

namespace vorsin::testing {

struct Shown {
  std::string text, caption;
  Icon icon;
};

class RecordingMessenger final : public Messenger {
 public:
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons) override {
    shown.push_back({text, caption, icon});
    return kAnswerOk;
  }
  std::vector<Shown> shown;
};

// A vocabulary with one level table, `events` general events named
// "<prefix>1".."<prefix>N", and the given numbers of commands and controls.
inline std::string SmallVocabulary(int events, const std::string& prefix = "Ev", int commands = 3,
                                   int controls = 2) {
  std::string s = "[IntervalDef1]\nName=Table A\nType=1\nVal1=0,100\nVal2=100,255\n";
  s += "[defEvent]\n";
  for (int n = 1; n <= events; ++n)
    s += "Name" + std::to_string(n) + "=" + prefix + std::to_string(n) + "\nEvent" + std::to_string(n) +
         "=0, " + std::to_string(100 + n) + ",01,00" + std::to_string(n % 10) + ", 0,0, 0,0, 0\n";
  s += "[Command]\n";
  for (int n = 1; n <= commands; ++n) s += "Name" + std::to_string(n) + "=Cmd" + std::to_string(n) + "\n";
  s += "[Control]\n";
  for (int n = 1; n <= controls; ++n) s += "Name" + std::to_string(n) + "=Ctl" + std::to_string(n) + "\n";
  return s;
}

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("vorsin_prj_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    vocabularyPath_ = Path("RorEdad.ini");
    PutVocabulary(SmallVocabulary(3));
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void PutVocabulary(const std::string& text) const { Put(vocabularyPath_, text); }
  static void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static void PutBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  }
  static std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // The workspace a reset with the current vocabulary produces.
  Workspace Defaults() const {
    Vocabulary v(vocabularyPath_);
    Workspace ws;
    ResetToDefaults(ws, v);
    return ws;
  }

  std::filesystem::path dir_;
  std::string vocabularyPath_;
};

inline ParamRecord Rec(std::initializer_list<int32_t> words, const std::string& text) {
  ParamRecord r;
  size_t i = 0;
  for (int32_t w : words) r.w[i++] = w;
  return r.text = text, r;
}

// Every field set to something other than its default, with odd bytes,
// negative words, Russian text, an embedded zero and a text of exactly 255 bytes.
inline void FillRich(Workspace& ws) {
  Configuration& c = ws.config;
  for (size_t i = 0; i < GeneralSettings::kSize; ++i) c.general.bytes[i] = static_cast<uint8_t>(i * 37 + 11);
  c.general.bytes[1] = 0xFF;  // reserved bytes carried as they are
  for (int L = 0; L < kLoops; ++L) c.general.loopEventBase(L) = static_cast<uint8_t>(ws.definedEventCount + 2 * L);
  c.ownNumber = "+79001234567";
  c.smsCentre = Cp("Центр");
  c.expressOutNumber = std::string("a\0b", 3);
  c.expressInNumber = std::string(255, '\xE9');
  for (int i = 0; i < kWorkPhones; ++i) c.workPhones[i] = std::to_string(i * 111);
  c.cusdForwardNumber = "*100#";
  c.pinCode = "1234";
  c.pukCode = "";
  c.deviceAddress = "0042";
  for (int a = 0; a < 3; ++a) {
    Addressee ad;
    ad.autoNumber = a == 1 ? 0 : a + 5;
    ad.deliveryLimit = -7 + a;
    ad.confirmWait = 0x7FFFFFFF - a;
    ad.addresseeFlags = static_cast<uint8_t>(0x81 + a);
    ad.name = Cp("Адресат") + std::to_string(a);
    for (int p = 0; p < a * 2; ++p) {
      AddresseePhone ph;
      ph.autoNumber = p + 1;
      ph.formats = 0x31 + p;
      ph.phoneFlags = static_cast<uint8_t>(0x0F + p);
      ph.name = Cp("Телефон ") + std::to_string(p);
      ph.phoneNumber = "89" + std::to_string(p);
      ph.cellPrefix = p ? "8" : "";
      ph.linePrefix = "9p";
      ad.phones.push_back(ph);
    }
    c.addressees.push_back(ad);
  }
  c.intervals.push_back(Rec({1, 3, 0, 10, 10, 20, 30, 225}, "Third"));
  c.intervals.push_back(Rec({0, 1, INT32_MIN, -1}, ""));
  while (c.intervalDescriptions.size() < c.intervals.size()) c.intervalDescriptions.emplace_back();
  c.intervalDescriptions.back().flags = -2;
  c.intervalDescriptions.back().name = Cp("Описание");
  c.intervalDescriptions.back().blocks[kFireBlock][7] = {"fire7", "1, 2, 3"};
  c.intervalDescriptions.back().blocks[kControlBlock][0] = {"", "c0"};
  for (int r = 0; r < kRelays; ++r)
    for (int l = 0; l < kRelayLists; ++l)
      for (int k = 0; k < (r * 5 + l) % 4; ++k) c.relayBindings[r][l].push_back({{k, 40 + l, 0xC3, r - 9}});
  c.relayPatterns.push_back(Rec({0, 2, 129, 1}, "P"));
  c.events[0].w[9] = 0xA0;
  c.events.push_back(Rec({0, 64, 999, 99, 999, 1, 2, 3, 4, 0xFF}, Cp("Последнее")));
  c.smsProfileTexts.back().text = "%(prfUser)!";
  c.smsSubStrings = {Rec({}, "sub1"), Rec({}, "")};
  c.smsStrings = {Rec({0, 5}, "s1"), Rec({}, "s2"), Rec({}, "s3")};
  c.users.push_back(Rec({0, 1, 0x2A, 1, 1, 2, 3, 4, 5, 6}, "123456"));
  c.users.push_back(Rec({0, 31, 0, 0}, "???"));
  c.remoteCommands.push_back(Rec({0, 0x81}, "extra"));
  c.remoteCommands[0].w[1] = 0x40;
  c.remoteControls[1].text = "pw";
  c.timeEvents = {Rec({0, 0, 23, 59, 1}, ""), Rec({0, 31, 0, 0, 0}, "")};
  c.workPhoneControl = {0, 1, 2, 3, 128, 129, 31, 255};
  c.loopLatch = {1, 255, 3, 4, 5, 6, 7, 8};
  c.relayTimeLimit = {12, 1};
  c.lastLoadTime = "01.02.2024 10:11:12";
}

// Position of a marker text (its length byte) in the bytes of a file.
inline size_t MarkerAt(const std::vector<uint8_t>& bytes, const std::string& marker) {
  std::string all(bytes.begin(), bytes.end());
  return all.find(static_cast<char>(marker.size()) + marker);
}

}  // namespace vorsin::testing
