// Messenger and Progress fakes that remember what the core showed.
#pragma once

#include <string>
#include <vector>

#include "model/cp1251.h"
#include "model/messenger.h"

namespace vorsin::testing {

struct ShownMessage {
  std::string text;     // Windows-1251
  std::string caption;  // Windows-1251
  Icon icon;
  Buttons buttons;
};

class RecordingMessenger final : public Messenger {
 public:
  int answer = kAnswerOk;
  std::vector<ShownMessage> shown;

  int Show(const std::string& text, const std::string& caption, Icon icon,
           Buttons buttons) override {
    shown.push_back({text, caption, icon, buttons});
    return answer;
  }
  // The last text in UTF-8, or "" when nothing was shown.
  std::string LastUtf8() const { return shown.empty() ? "" : ToUtf8(shown.back().text); }
};

class RecordingProgress final : public Progress {
 public:
  int maximum = 0;
  int position = 0;
  std::vector<int> advances;
  int breaths = 0;

  void SetMaximum(int m) override { maximum = m; }
  void SetPosition(int p) override { position = p; }
  void Advance(int by) override {
    position += by;
    advances.push_back(by);
  }
  void Breathe() override { ++breaths; }
};

}  // namespace vorsin::testing
