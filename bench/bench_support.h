// What the benchmarks share: a messenger that prints what is worth seeing.
#pragma once

#include <cstdio>
#include <string>

#include "model/cp1251.h"
#include "model/user_io.h"

namespace vorsin::bench {

class PrintingMessenger final : public Messenger {
 public:
  // Success notes have no caption; everything else is worth seeing.
  int Show(const std::string& text, const std::string& caption, Icon, Buttons) override {
    if (!caption.empty()) std::fprintf(stderr, "%s: %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
    return kAnswerOk;
  }
};

}  // namespace vorsin::bench
