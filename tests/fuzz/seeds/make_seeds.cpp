// Writes the starting corpus of every fuzz target under the folder given
// (build/fuzz-corpus), one folder per target, from the configurations,
// files and frames the tests build: a fresh run starts with coverage.
#include <cstdio>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "../../image/image_test_support.h"
#include "../../project/project_test_support.h"
#include "../../tools/hwr_files.h"
#include "image/image_check.h"
#include "image/image_writer.h"
#include "link/frame.h"
#include "model/config_json.h"
#include "project/project_file.h"

namespace fs = std::filesystem;
using namespace vorsin;
using Bytes = std::vector<uint8_t>;

namespace {

fs::path g_root;

void Put(const std::string& target, const std::string& name, const Bytes& bytes) {
  const fs::path dir = g_root / target;
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
void Put(const std::string& target, const std::string& name, const std::string& text) {
  Put(target, name, Bytes(text.begin(), text.end()));
}

Bytes Project(const Configuration& c) {
  Bytes out;
  std::string problem;
  if (EncodeProject(c, out, problem) != kProjectOk) std::fprintf(stderr, "seed not representable\n");
  return out;
}

// A project file in both generations, and cut before each later part.
void PutProjects(const std::string& name, const Configuration& c) {
  const Bytes full = Project(c);
  const Bytes old(full.begin() + 9, full.end());  // without "Ver 2.1" and the version byte
  for (const char* target : {"fuzz_project", "fuzz_project_image"}) {
    Put(target, name + ".dat", full);
    Put(target, name + "_old.dat", old);
    for (const char* marker : {"_block1", "_block2", "_block3"}) {
      const size_t at = vorsin::testing::MarkerAt(full, marker);
      if (at < full.size()) Put(target, name + "_cut" + marker + ".dat", Bytes(full.begin(), full.begin() + at));
    }
    Put(target, name + "_cut_half.dat", Bytes(full.begin(), full.begin() + full.size() / 2));
  }
}

// The address table, the firmware byte and the area, as fuzz_image reads them.
void PutDeviceArea(const std::string& name, const Workspace& ws) {
  image_test::MemoryDevice device;
  image_test::RecordingMessenger messenger;
  const auto prepared = image::PrepareForImage(ws.config);
  const auto plan = image::BuildImage(prepared.config, ws.codeDefinitions, device.table, {}, messenger);
  if (!image::PlanFitsMemory(plan)) return;
  device.Apply(plan);
  Bytes input(device.table.bytes.begin(), device.table.bytes.end());
  input.push_back(device.firmware);
  const auto area = device.Area();
  input.insert(input.end(), area.begin(), area.end());
  Put("fuzz_image", name + ".bin", input);
}

// fuzz_link's stream: five header bytes, then each reply as the link reads
// it, a control byte (0: serve all) before the header and before the body.
void Reply(Bytes& stream, const Bytes& frame) {
  stream.push_back(0);
  stream.insert(stream.end(), frame.begin(), frame.begin() + 3);
  stream.push_back(0);
  stream.insert(stream.end(), frame.begin() + 3, frame.end());
}
Bytes Ack() { return BuildFrame(kReplyAck, Bytes{0}); }
Bytes ReadReply(size_t n, uint8_t seed) {
  Bytes payload{0};
  for (size_t i = 0; i < n; ++i) payload.push_back(static_cast<uint8_t>(seed + i));
  return BuildFrame(kReplyRead, payload);
}

void PutLinkStreams() {
  Bytes access{0, 0, 0x01, 0x00, 10};
  Reply(access, Ack());
  Put("fuzz_link", "take_access.bin", access);

  Bytes read{2, 0, 0x01, 0x00, 10};  // 450 bytes from 0x0100
  for (size_t left = 450; left > 0; left -= std::min(left, kReadChunk))
    Reply(read, ReadReply(std::min(left, kReadChunk), static_cast<uint8_t>(left)));
  Put("fuzz_link", "read_range.bin", read);

  Bytes write{8, 0, 0x00, 0x00, 10};  // 120 bytes to 0x0000
  for (size_t left = 120; left > 0; left -= std::min(left, kWriteChunk)) Reply(write, Ack());
  Put("fuzz_link", "write_range.bin", write);

  Bytes table{1, 0, 0x00, 0x20, 5};
  Reply(table, BuildFrame(kReplyTableAddress, Bytes{0, 0x00, 0x20}));
  Put("fuzz_link", "table.bin", table);

  Bytes chosen{7, 1 << 3, 0x7F, 0xF0, 4};  // 17 bytes at 0x7FF0
  Reply(chosen, ReadReply(17, 3));
  Put("fuzz_link", "chosen_read.bin", chosen);
}

void PutSms(const Configuration& c) {
  std::string joined;
  for (const auto* list : {&c.smsStrings, &c.smsSubStrings})
    for (const auto& t : *list) joined += t.text + std::string(1, '\0');
  Put("fuzz_sms", "templates.txt", joined);
  const auto stored = StoreSmsList(c.smsStrings, 1, SmsContext{c.smsSubStrings, {}});
  Put("fuzz_sms", "stored.bin", Bytes(stored.begin() + 1, stored.end()));
}

void PutFirmware() {
  using vorsin::testing::MakeHwr;
  Put("fuzz_firmware", "plain.hwr", MakeHwr(vorsin::testing::kHexText));
  Put("fuzz_firmware", "after_entries.hwr", MakeHwr(vorsin::testing::kHexText, {0x02, 0x03}));
  Put("fuzz_firmware", "no_firmware.hwr", Bytes{'H', 'w', 'r', 1, 0xFF, 0, 0, 0, 0});
  Put("fuzz_firmware", "lines.hex", std::string(vorsin::testing::kHexText));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_seeds CORPUS_DIR SHIPPED_RorEdad.ini\n");
    return 2;
  }
  g_root = argv[1];
  const std::string shipped = argv[2];
  Vocabulary vocabulary(shipped);

  Workspace plain;
  ResetToDefaults(plain, vocabulary);
  Workspace rich = plain;
  image_test::FillRich(rich);
  Workspace busy = plain;
  vorsin::testing::FillRich(busy);

  PutProjects("default", plain.config);
  PutProjects("rich", rich.config);
  PutProjects("busy", busy.config);
  Workspace widest = plain;  // every letter the number fields take
  image_test::FillWidest(widest);
  PutProjects("widest", widest.config);
  Configuration noEvents = plain.config;  // refused before programming
  noEvents.events.clear();
  Put("fuzz_project_image", "no_events.dat", Project(noEvents));

  PutDeviceArea("default", plain);
  PutDeviceArea("rich", rich);
  PutLinkStreams();
  PutSms(rich.config);
  PutFirmware();

  std::ifstream in(shipped, std::ios::binary);
  Put("fuzz_vocabulary", "shipped.ini", std::string(std::istreambuf_iterator<char>(in), {}));
  Put("fuzz_vocabulary", "small.ini", vorsin::testing::SmallVocabulary(20, "Old"));

  Put("fuzz_json", "default.json", ToJson(plain).dump(1));
  Put("fuzz_json", "rich.json", ToJson(rich.config).dump(1));
  // Every field the reader knows in a few KiB: two records of each kind.
  Configuration small = rich.config;
  const auto cut = [](auto& list) { list.resize(std::min<size_t>(list.size(), 2)); };
  cut(small.addressees), cut(small.intervals), cut(small.intervalDescriptions), cut(small.relayPatterns);
  cut(small.events), cut(small.smsProfileTexts), cut(small.smsSubStrings), cut(small.smsStrings);
  cut(small.users), cut(small.remoteCommands), cut(small.remoteControls), cut(small.timeEvents);
  for (auto& relay : small.relayBindings)
    for (auto& list : relay) cut(list);
  Put("fuzz_json", "small.json", ToJson(small).dump());
  return 0;
}
