#include "model/loop_rules.h"

#include <algorithm>

#include "model/cp1251.h"
#include "model/flag_names.h"
#include "model/numbers.h"
#include "model/loops.h"
#include "model/vocabulary.h"

namespace vorsin {
namespace {

bool ValidLoop(int loop) { return loop >= 0 && loop < kLoops; }

void SetBit(uint8_t& byte, int bit, bool on) {
  const auto mask = static_cast<uint8_t>(1u << bit);
  byte = static_cast<uint8_t>(on ? (byte | mask) : (byte & ~mask));
}

// The question for the given lines, or OK without asking when there are none.
int AskBeforeReset(Workspace& ws, Messenger& messenger, const std::vector<int>& loops) {
  std::string lines;
  for (int L : loops) lines += LoopDefaultsLines(ws.marks, L);
  if (lines.empty()) return kAnswerOk;
  const std::string text = Cp("Следующие параметры будут установленны по умолчанию:") + lines;  // sic
  if (messenger.Show(text, CaptionWarning(), Icon::Question, Buttons::OkCancel) != kAnswerOk) return kAnswerCancel;
  for (int L : loops) {
    ws.marks.loopRelayEdited[L] = false;
    ws.marks.loopEventsEdited[L] = false;
  }
  return kAnswerOk;
}

}  // namespace

LoopKind KindOfLoop(uint8_t loopFlags) {
  if (loopFlags & 0x01) return LoopKind::Fire;
  if (loopFlags & 0x10) return LoopKind::Control;
  return LoopKind::Guard;
}

std::string LoopKindSuffix(uint8_t loopFlags) {
  switch (KindOfLoop(loopFlags)) {
    case LoopKind::Fire:
      return Cp(": Пожарный");
    case LoopKind::Control:
      return Cp(": Контрольный");
    case LoopKind::Guard:
      break;
  }
  return Cp(": Охранный");
}

std::string LoopNodeText(const Configuration& config, int loop) {
  if (!ValidLoop(loop)) return std::string();
  return Cp("Шлейф ") + std::to_string(loop + 1) + LoopKindSuffix(config.general.loopFlags(loop));
}

bool KindAllowed(int loop, LoopKind kind) { return ValidLoop(loop) && (kind != LoopKind::Fire || loop >= 2); }

int KindPresetInterval(int loop, LoopKind kind) {
  const bool low = loop < 2;
  switch (kind) {
    case LoopKind::Control:
      return low ? 2 : 5;
    case LoopKind::Guard:
      return low ? 1 : 4;
    case LoopKind::Fire:
      break;
  }
  return 3;
}

std::string LoopDefaultsLines(const PageMarks& marks, int loop) {
  if (!ValidLoop(loop)) return std::string();
  const std::string n = std::to_string(loop + 1);
  std::string lines;
  if (marks.loopRelayEdited[loop]) lines += Cp("\n   Шлейф") + n + Cp(": параметры реле");
  if (marks.loopEventsEdited[loop]) lines += Cp("\n   Шлейф") + n + Cp(": параметры событий");
  return lines;
}

int ConfirmLoopDefaults(Workspace& ws, Messenger& messenger, int loop) {
  if (!ValidLoop(loop)) return kAnswerCancel;
  return AskBeforeReset(ws, messenger, {loop});
}

bool ChangeLoopKind(Workspace& ws, int loop, LoopKind kind) {
  if (!KindAllowed(loop, kind)) return false;
  GeneralSettings& g = ws.config.general;
  TrimLoopEvents(ws, loop, g.intervalIndex(loop));
  ws.config.loopLatch[2 * loop] = 0;
  ws.config.loopLatch[2 * loop + 1] = 0;
  g.intervalIndex(loop) = static_cast<uint8_t>(KindPresetInterval(loop, kind));
  switch (kind) {
    case LoopKind::Control:
      g.loopFlags(loop) = 24;
      break;
    case LoopKind::Guard:
      g.armDelay(loop) = 15;
      g.disarmDelay(loop) = 30;
      g.loopFlags(loop) = 4;
      break;
    case LoopKind::Fire:
      g.armDelay(loop) = 8;
      g.disarmDelay(loop) = 8;
      g.loopFlags(loop) = 5;  // powered by relay 1
      break;
  }
  // The loop leaves every common set, its own included.
  g.commonLoops(loop) = 0;
  for (int M = 0; M < kLoops; ++M) g.commonLoops(M) &= static_cast<uint8_t>(~(1u << (3 - loop)));
  GrowLoopEvents(ws, loop);
  FillLoopEvents(ws, loop);
  return true;
}

bool ChangeLoopInterval(Workspace& ws, int loop, int index) {
  if (!ValidLoop(loop) || index < 0 || index >= static_cast<int>(ws.config.intervals.size()) || index > 255)
    return false;
  GeneralSettings& g = ws.config.general;
  TrimLoopEvents(ws, loop, g.intervalIndex(loop));
  g.intervalIndex(loop) = static_cast<uint8_t>(index);
  GrowLoopEvents(ws, loop);
  FillLoopEvents(ws, loop);
  return true;
}

std::vector<int> OfferedIntervals(const Configuration& config, int loop) {
  std::vector<int> offered;
  if (!ValidLoop(loop)) return offered;
  int kindBit = 2;
  switch (KindOfLoop(config.general.loopFlags(loop))) {
    case LoopKind::Fire:
      kindBit = 1;
      break;
    case LoopKind::Control:
      kindBit = 4;
      break;
    case LoopKind::Guard:
      break;
  }
  // Bit 4 is the table's kind, bit 5 offers it to every loop.
  const int32_t refused = loop < 2 ? 16 : 0;
  for (size_t i = 0; i < config.intervalDescriptions.size(); ++i) {
    const int32_t flags = config.intervalDescriptions[i].flags;
    if ((flags & kindBit) == 0 || (flags & 48) == refused) continue;
    offered.push_back(static_cast<int>(i));
  }
  return offered;
}

int LoadDefaultIntervals(Workspace& ws, Vocabulary& vocabulary, Messenger& messenger) {
  if (AskBeforeReset(ws, messenger, {0, 1, 2, 3}) != kAnswerOk) return kAnswerCancel;
  const VocabularySnapshot snapshot(vocabulary);
  GeneralSettings& g = ws.config.general;
  // Blocks shrink while the tables they were sized for are still loaded.
  for (int L = 0; L < kLoops; ++L) TrimLoopEvents(ws, L, g.intervalIndex(L));
  LoadIntervals(ws.config, vocabulary);
  // Each loop keeps its kind and takes that kind's table: a guard or fire
  // loop on a control-input table would report its alarms with code 000.
  for (int L = 0; L < kLoops; ++L)
    g.intervalIndex(L) = static_cast<uint8_t>(KindPresetInterval(L, KindOfLoop(g.loopFlags(L))));
  for (int L = 0; L < kLoops; ++L) {
    GrowLoopEvents(ws, L);
    FillLoopEvents(ws, L);
  }
  return kAnswerOk;
}

uint8_t ParseReactionTime(const std::string& text, uint8_t old) {
  const auto ms = LeadingDecimal(text);
  if (!ms || *ms >= 1550) return old;
  return static_cast<uint8_t>((*ms == 0 ? 50 : *ms) / 50);
}

std::string FormatReactionTime(uint8_t units) { return std::to_string(50 * units) + Cp(" мс."); }

uint8_t ParseDelay(const std::string& text, uint8_t old) {
  const auto seconds = LeadingDecimal(text);
  if (!seconds || *seconds == 0 || *seconds > 255) return old;
  return static_cast<uint8_t>(*seconds);
}

std::string LoopKindTitle(LoopKind kind) {
  switch (kind) {
    case LoopKind::Control: return Cp("Контрольный вход (КВ)");
    case LoopKind::Guard: return Cp("Охранный шлейф");
    case LoopKind::Fire: return Cp("Пожарный шлейф");
  }
  return {};
}

const std::vector<LoopOption>& LoopOptions() {
  using K = LoopKind;
  static const std::vector<LoopOption> options = {
      {K::Control, 7, Cp("Требует постановку на охрану")},
      {K::Control, 5, Cp("Добавить отдельное событие \"Норма\""), true},
      {K::Control, 3, Cp("Передавать восстановление до снятия/сброса")},
      {K::Control, 2, Cp("Передавать восстановление при снятии/сбросе")},
      {K::Guard, 7, Cp("Требует постановку на охрану")},
      {K::Guard, 6, Cp("Задержка на взятие включена")},
      {K::Guard, 5, Cp("Постановка по тактике с \"открытой дверью\""), true},
      {K::Guard, 3, Cp("Передавать восстановление до снятия/сброса")},
      {K::Guard, 2, Cp("Передавать восстановление при снятии/сбросе")},
      {K::Fire, 7, Cp("Требует постановку")},
      {K::Fire, 6, Cp("Отключение перезапроса")},
      {K::Fire, 3, Cp("Логическое обьединение пожарных шлейфов")},  // sic
      {K::Fire, 2, Cp("Передавать восстановление")},
  };
  return options;
}

bool LoopOptionSet(const GeneralSettings& general, int loop, size_t option) {
  return (general.loopFlags(loop) >> LoopOptions().at(option).bit) & 1u;
}

void SetLoopOption(Workspace& ws, int loop, size_t option, bool on) {
  const LoopOption& o = LoopOptions().at(option);
  SetBit(ws.config.general.loopFlags(loop), o.bit, on);
  if (o.listsStale) {
    ws.marks.eventsStale = true;
    ws.marks.reportsStale = true;
  }
}

int LoopRelay(const GeneralSettings& general, int loop) { return (general.loopFlags(loop) & 0x10) ? 1 : 0; }
void SetLoopRelay(GeneralSettings& general, int loop, int relay) { SetBit(general.loopFlags(loop), 4, relay == 1); }

bool DisarmDelayOn(const GeneralSettings& general, int loop) { return (general.commonLoops(loop) >> (3 - loop)) & 1u; }
void SetDisarmDelay(GeneralSettings& general, int loop, bool on) { SetBit(general.commonLoops(loop), 3 - loop, on); }

std::string CommonLoopsText(const GeneralSettings& general, int loop) {
  std::vector<int> loops;
  for (int M = 0; M < kLoops; ++M)
    if (M != loop && ((general.commonLoops(loop) >> (3 - M)) & 1u)) loops.push_back(M);
  return LoopListText(loops);
}

}  // namespace vorsin
