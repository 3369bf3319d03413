#include "sms/sms_editor_model.h"

#include <algorithm>
#include <utility>

#include "model/cp1251.h"
#include "model/device_limits.h"
#include "sms/sms.h"

namespace vorsin {
namespace {

std::vector<ParamRecord>* GroupList(Configuration& config, int group) {
  switch (group) {
    case kSmsSubstrings: return &config.smsSubStrings;
    case kSmsStrings: return &config.smsStrings;
    default: return nullptr;
  }
}

// Calls visit(m) for every substring number the template's tokens name;
// «%r[m]» names m and m + 1.
template <class Visit>
void ForEachReference(std::string_view tmpl, const std::vector<CodeDefinition>& codeDefinitions, Visit visit) {
  for (size_t i = 0; i < tmpl.size(); ++i) {
    if (tmpl[i] != '%') continue;
    const SmsToken t = ParseSmsToken(tmpl.substr(i + 1), codeDefinitions);
    i += t.length;
    if (t.length == 0 || t.definition >= 0) continue;
    if (t.code == sms_code::kSubstring || t.code == sms_code::kSubstringD) {
      visit(t.number);
    } else if (t.code == sms_code::kRestorePair) {
      visit(t.number);
      visit(t.number + 1);
    }
  }
}

}  // namespace

int SmsGroupSize(const Configuration& config, int group) {
  switch (group) {
    case kSmsSubstrings: return static_cast<int>(config.smsSubStrings.size());
    case kSmsHeader: return config.smsProfileTexts.size() > kSmsHeaderProfile ? 1 : 0;
    case kSmsStrings: return static_cast<int>(config.smsStrings.size());
    default: return 0;
  }
}

SmsListLayout LayOutSmsList(const Configuration& config) {
  SmsListLayout layout;
  int row = 0;
  for (int g = 0; g < kSmsGroupCount; ++g) {
    layout.captionRow[g] = row;
    layout.groupSize[g] = SmsGroupSize(config, g);
    row += 1 + layout.groupSize[g];
  }
  layout.rowCount = row;
  return layout;
}

std::vector<SmsListRow> SmsListRows(const Workspace& ws) {
  const Configuration& config = ws.config;
  const SmsContext ctx = MakeSmsContext(ws);
  static const char* const kCaptions[kSmsGroupCount] = {"Подстроки Sms сообщений", "Заголовок Sms сообщения",
                                                        "Sms сообщения"};
  std::vector<SmsListRow> rows;
  rows.reserve(LayOutSmsList(config).rowCount);
  for (int g = 0; g < kSmsGroupCount; ++g) {
    rows.push_back({true, Cp(kCaptions[g]), {}, {}});
    for (int i = 1; i <= SmsGroupSize(config, g); ++i) {
      const std::string& tmpl = SmsSelectedTemplate(config, {g, i})->text;
      rows.push_back({false, SmsRowText({g, i}, tmpl), DisplaySms(tmpl, 0, ctx), DisplaySms(tmpl, 1, ctx)});
    }
  }
  return rows;
}

SmsSelection SmsRowSelection(const SmsListLayout& layout, int row) {
  if (row < 0 || row >= layout.rowCount) return {};
  int group = 0;
  for (int g = 0; g < kSmsGroupCount; ++g)
    if (layout.captionRow[g] <= row) group = g;
  return {group, row - layout.captionRow[group]};
}

int SmsSelectionRow(const SmsListLayout& layout, SmsSelection selection) {
  if (selection.group < 0 || selection.group >= kSmsGroupCount) return -1;
  if (selection.index < 1 || selection.index > layout.groupSize[selection.group]) return -1;
  return layout.captionRow[selection.group] + selection.index;
}

const ParamRecord* SmsSelectedTemplate(const Configuration& config, SmsSelection selection) {
  if (selection.index < 1 || selection.index > SmsGroupSize(config, selection.group)) return nullptr;
  const size_t i = static_cast<size_t>(selection.index) - 1;
  switch (selection.group) {
    case kSmsSubstrings: return &config.smsSubStrings[i];
    case kSmsHeader: return &config.smsProfileTexts[kSmsHeaderProfile];
    case kSmsStrings: return &config.smsStrings[i];
    default: return nullptr;
  }
}

ParamRecord* SmsSelectedTemplate(Configuration& config, SmsSelection selection) {
  return const_cast<ParamRecord*>(SmsSelectedTemplate(std::as_const(config), selection));
}

std::string SmsRowText(SmsSelection selection, std::string_view tmpl) {
  if (selection.group == kSmsSubstrings) return std::to_string(selection.index) + ": " + std::string(tmpl);
  return std::string(tmpl);
}

bool HasCyrillic(std::string_view text) {
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == 0xA8 || c == 0xB8 || c >= 0xC0) return true;
  }
  return false;
}

std::string SmsLengthCounter(std::string_view display) {
  return std::to_string(display.size()) + (HasCyrillic(display) ? ":70" : ":160");
}

bool SubstringCycle(const Workspace& ws, int n, std::string_view tmpl) {
  const std::vector<ParamRecord>& subs = ws.config.smsSubStrings;
  const int count = std::max(static_cast<int>(subs.size()), n);
  if (n < 1) return false;
  // Depth-first over the substrings the text reaches, each visited once.
  std::vector<bool> seen(static_cast<size_t>(count) + 1, false);
  std::vector<int> pending;
  bool cycle = false;
  const auto reach = [&](int m) {
    if (m == n) cycle = true;
    if (m < 1 || m > count || seen[m]) return;
    seen[m] = true;
    pending.push_back(m);
  };
  ForEachReference(tmpl, ws.codeDefinitions, reach);
  while (!cycle && !pending.empty()) {
    const int m = pending.back();
    pending.pop_back();
    if (static_cast<size_t>(m) <= subs.size()) ForEachReference(subs[m - 1].text, ws.codeDefinitions, reach);
  }
  return cycle;
}

SmsPreview PreviewSms(const Workspace& ws, std::string_view tmpl) {
  const SmsContext ctx = MakeSmsContext(ws);
  SmsPreview p{DisplaySms(tmpl, 0, ctx), DisplaySms(tmpl, 1, ctx), {}, {}};
  p.newEventCounter = SmsLengthCounter(p.newEvent);
  p.restoreCounter = SmsLengthCounter(p.restore);
  if (tmpl.size() >= kMaxTemplateLength)
    p.lengthWarning = Cp("Строка длиннее ") + std::to_string(kMaxTemplateLength - 1) +
                      Cp(" символов: устройство получит \"Error\"");
  return p;
}

std::optional<SmsPreview> EditSmsTemplate(Workspace& ws, SmsSelection selection, std::string_view text) {
  ParamRecord* record = SmsSelectedTemplate(ws.config, selection);
  if (record == nullptr) return std::nullopt;
  if (selection.group == kSmsSubstrings && SubstringCycle(ws, selection.index, text))
    return SmsPreview{"Error", "Error", {}, {}};
  record->text = std::string(text);
  return PreviewSms(ws, text);
}

int SmsGroupLimit(int group) {
  switch (group) {
    case kSmsSubstrings: return kMaxSubstrings;
    case kSmsStrings: return kMaxSmsStrings;
    default: return 0;
  }
}

SmsAddResult AddSmsTemplate(Workspace& ws, SmsSelection& selection, int group, std::string_view text) {
  std::vector<ParamRecord>* list = GroupList(ws.config, group);
  if (list == nullptr || list->size() >= static_cast<size_t>(SmsGroupLimit(group))) return SmsAddResult::kFull;
  const int n = static_cast<int>(list->size()) + 1;
  if (group == kSmsSubstrings && SubstringCycle(ws, n, text)) return SmsAddResult::kCycle;
  list->push_back(ParamRecord{{}, std::string(text)});
  selection = {group, n};
  return SmsAddResult::kAdded;
}

bool DeleteSmsTemplate(Workspace& ws, SmsSelection& selection) {
  std::vector<ParamRecord>* list = GroupList(ws.config, selection.group);
  if (list == nullptr || SmsSelectedTemplate(ws.config, selection) == nullptr) return false;
  const int n = selection.index;
  const bool last = static_cast<size_t>(n) == list->size();
  if (selection.group == kSmsSubstrings) {
    list->erase(list->begin() + (n - 1));
    DropSubstring(ws.config, n, ws.codeDefinitions);
  } else {
    DropSmsString(ws.config, n);
    list->erase(list->begin() + (n - 1));
    ws.marks.eventsStale = true;  // the events list shows which events send SMS
  }
  if (last) selection.index = n - 1;
  return true;
}

}  // namespace vorsin
