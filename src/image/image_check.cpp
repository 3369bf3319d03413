#include "image/image_check.h"

#include "image/blocks.h"
#include "image/problems.h"
#include "model/cp1251.h"
#include "model/events.h"
#include "sms/sms.h"

namespace vorsin::image {
namespace {

// Enough of a template to recognise it in a message.
std::string Excerpt(const std::string& text) {
  constexpr size_t kShown = 30;
  return text.size() <= kShown ? text : text.substr(0, kShown) + "...";
}

}  // namespace

PreparedImage PrepareForImage(const Configuration& config) {
  PreparedImage out;
  out.config = config;
  Configuration& c = out.config;
  for (int k = static_cast<int>(c.addressees.size()) - 1; k >= 0; --k) {
    if (!c.addressees[k].phones.empty()) continue;
    out.dropped.insert(out.dropped.begin(), c.addressees[k].name);
    DestDeletedInEvents(c, k);
    c.addressees.erase(c.addressees.begin() + k);
  }
  return out;
}

std::vector<std::string> ImageProblems(const Configuration& c) {
  Problems p;
  for (const Block& block : Blocks())
    if (block.holds) block.holds(c, p);
  return p.Lines();
}

std::vector<std::string> OverlongTemplates(const Configuration& c) {
  std::vector<std::string> out;
  const auto scan = [&](const std::vector<ParamRecord>& list, const char* what) {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i].text.size() >= kMaxTemplateLength)
        out.push_back(Cp(what) + N(i + 1) + ": " + Excerpt(list[i].text));
  };
  scan(c.smsProfileTexts, "Профильная строка ");
  scan(c.smsStrings, "Sms строка ");
  scan(c.smsSubStrings, "Sms подстрока ");
  return out;
}

bool ConfirmImage(const Configuration& config, const PreparedImage& prepared, Messenger& messenger) {
  const auto join = [](const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += "\n" + line;
    return text;
  };
  const auto problems = ImageProblems(config);
  if (!problems.empty()) {
    messenger.Error(Cp("Настройки не могут быть записаны в устройство без искажений:") + join(problems));
    return false;
  }
  const auto overlong = OverlongTemplates(config);
  if (!overlong.empty()) {
    const int answer = messenger.Show(
        Cp("Шаблоны длиной 200 символов и более будут записаны как \"Error\":") + join(overlong) +
            Cp("\nПродолжить запись?"),
        CaptionWarning(), Icon::Warning, Buttons::OkCancel);
    if (answer != kAnswerOk) return false;
  }
  for (const std::string& name : prepared.dropped)
    messenger.Show(Cp("Адресат ") + Quoted(name) + Cp(" не имеет телефонов и не будет записан в устройство."),
                   CaptionWarning(), Icon::Warning, Buttons::Ok);
  return true;
}

}  // namespace vorsin::image
