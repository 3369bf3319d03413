// Arbitrary bytes as the vocabulary file: a reset reads every list from it
// (profiles, level tables, relay patterns, events, code definitions, SMS
// lists, commands). No crash, no hang; every list stops at what a project
// file holds; the defaults it gives save and open again unchanged; and a
// profile written into the file reads back as written.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "model/configuration.h"
#include "model/cp1251.h"
#include "model/defaults.h"
#include "model/vocabulary.h"
#include "model/vocabulary_lists.h"
#include "project/project_file.h"

namespace {

using namespace vorsin;

std::string g_path;

bool Put(const uint8_t* data, size_t size) {
  const int fd = ::open(g_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return false;
  const bool ok = size == 0 || ::write(fd, data, size) == static_cast<ssize_t>(size);
  ::close(fd);
  return ok;
}

}  // namespace

// One file for the whole run, in memory when /dev/shm is there; removed at exit.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  g_path = dir + "/vorsin_fuzz_vocabulary_" + std::to_string(::getpid()) + ".ini";
  std::atexit([] {
    ::unlink(g_path.c_str());
    ::unlink((g_path + ".tmp").c_str());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Check(Put(data, size), "cannot write the vocabulary file");
  // A new reader for each file: its cache must not outlive the input.
  Vocabulary vocabulary(g_path);
  Workspace ws;
  ResetToDefaults(ws, vocabulary);
  const Configuration& c = ws.config;
  for (const size_t n : {c.intervals.size(), c.intervalDescriptions.size(), c.relayPatterns.size(),
                         c.smsProfileTexts.size(), c.smsStrings.size(), c.smsSubStrings.size(),
                         ws.commandNames.size(), ws.controlNames.size(), c.remoteCommands.size(),
                         c.remoteControls.size()})
    fuzz::Check(n <= kMaxVocabularyList, "a list longer than a project file holds");
  fuzz::Check(ws.commandNames.size() == c.remoteCommands.size() &&
                  ws.controlNames.size() == c.remoteControls.size(),
              "command names and records disagree");

  std::vector<uint8_t> saved;
  std::string problem;
  if (EncodeProject(c, saved, problem) == kProjectOk) {
    Workspace again = ws;  // as a reset has just made it
    fuzz::Check(DecodeProjectOver(again, vocabulary, saved) == kProjectOk && again.config == c,
                "the defaults do not open again as saved");
  }

  // "Записать профиль" into whatever the file holds, then choosing it.
  Configuration numbers;
  numbers.smsCentre = "+79020000111";
  numbers.expressOutNumber = "*100#";
  numbers.expressInNumber = Cp("баланс");
  const int section = size > 0 ? 1 + data[0] % 20 : 1;
  WriteProfile(vocabulary, section, "P", numbers);
  const ProfileNumbers back = ReadProfileNumbers(vocabulary, section);
  fuzz::Check(back.smsCentre == numbers.smsCentre && back.expressOut == numbers.expressOutNumber &&
                  back.expressIn == numbers.expressInNumber,
              "a written profile reads back different");
  fuzz::Check(vocabulary.Read(std::to_string(section), "Name", "") == "P", "profile name");
  return 0;
}
