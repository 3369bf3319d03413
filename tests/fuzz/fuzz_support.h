// Small pieces the fuzz targets share: a messenger that answers every
// question with "Ok", the check that stops a run, and the shipped vocabulary.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

#include "model/messenger.h"
#include "model/vocabulary.h"

namespace vorsin::fuzz {

class QuietMessenger final : public Messenger {
 public:
  int Show(const std::string&, const std::string&, Icon, Buttons) override { return kAnswerOk; }
};

// Stops the run with what went wrong; libFuzzer keeps the input.
inline void Check(bool ok, const char* what = "") {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  __builtin_trap();
}

inline std::string ExecutablePath() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string("fuzz");
}

// The vocabulary the build copies beside every executable.
inline std::string ShippedVocabularyPath() { return VocabularyBeside(ExecutablePath()); }

}  // namespace vorsin::fuzz
