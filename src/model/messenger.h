// How the core talks to the person at the keyboard. The window shows message
// boxes and a progress bar; the command line prints to stderr; tests record.
#pragma once

#include <string>

namespace vorsin {

enum class Icon { None, Error, Warning, Question, Information };
// YesNo answers like OkCancel: Yes gives kAnswerOk, No kAnswerCancel.
enum class Buttons { Ok, OkCancel, YesNo };

// Answers of a message: OK on a question means go on, Cancel means give up.
constexpr int kAnswerOk = 6;
constexpr int kAnswerCancel = 2;

// Common captions (Windows-1251 bytes).
std::string CaptionError();    // "Ошибка"
std::string CaptionWarning();  // "Внимание"

class Messenger {
 public:
  virtual ~Messenger() = default;
  // text and caption are Windows-1251. Returns kAnswerOk or kAnswerCancel.
  virtual int Show(const std::string& text, const std::string& caption, Icon icon,
                   Buttons buttons) = 0;

  int Error(const std::string& text) { return Show(text, CaptionError(), Icon::Error, Buttons::Ok); }
  int Warning(const std::string& text) { return Show(text, CaptionWarning(), Icon::None, Buttons::Ok); }
  int Note(const std::string& text) { return Show(text, std::string(), Icon::None, Buttons::Ok); }
};

class Progress {
 public:
  virtual ~Progress() = default;
  virtual void SetMaximum(int maximum) = 0;
  virtual void SetPosition(int position) = 0;
  virtual void Advance(int by) = 0;
  // Lets the window repaint and handle its messages between frames.
  virtual void Breathe() = 0;
  // True once the user has asked to stop (only waits that may be given up,
  // such as a modem's call, ask).
  virtual bool Cancelled() { return false; }
};

// For callers that show nothing.
class SilentProgress final : public Progress {
 public:
  void SetMaximum(int) override {}
  void SetPosition(int) override {}
  void Advance(int) override {}
  void Breathe() override {}
};

}  // namespace vorsin
