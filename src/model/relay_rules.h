// What the relay page decides, free of widgets: the items of its boxes and
// check lists and the codes they stand for, the add menus, adding, toggling
// and deleting bindings within what the device's relay block can hold, and
// the pattern preview's steps.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/configuration.h"

namespace vorsin {

constexpr int kCommonGroup = 4;  // relay group of the common events

// Run-time limit box: items "нет", "3 минуты" .. "14 минут"; the code is
// 15 - minutes, 0 for no limit.
std::vector<std::string> RelayTimeLimitItems();
int RelayTimeLimitCode(int item);  // -1 for no such item
int RelayTimeLimitItem(int code);  // -1 when no item shows the code

// Contact type box: item 0 normally closed (1), item 1 normally open (0).
int ContactTypeItem(uint8_t normallyClosed);
std::vector<std::string> ContactTypeItems();  // "Нормально замкнутое", "Нормально разомкнутое"
uint8_t NormallyClosedOf(int item);

// The three check lists, by their tag.
enum class RelayList { React = 0, Hs1 = 1, Hs2 = 2 };
std::vector<std::string> RelayReactItems();
std::vector<std::string> RelayHs1Items();
// Range names of loop L's table, one item per range.
std::vector<std::string> RelayHs2Items(const Configuration& config, int loop);
// Identifier of item i of a list; -1 when the list has no item i (the
// interval list of a loop group has one item per range).
int RelayListIdentifier(const Configuration& config, RelayList list, int item, int group);

struct RelayListItem {
  RelayList list;
  int item;
  bool operator==(const RelayListItem&) const = default;
};
// The item that shows a bound identifier in group G, or nothing when no
// item of the group's lists gives that identifier.
std::optional<RelayListItem> RelayItemOf(const Configuration& config, int id, int group);

// Remembered check-list item: 0 none, 64 (list + 1) + item.
int ListSelectionCode(RelayList list, int item);
// The remembered item, when it names an item that exists in group G.
std::optional<RelayListItem> ListSelectionItem(const Configuration& config, int code, int group);

// Identifiers the add submenus offer for relay R, group G, leaving out what
// is bound already. "по интервалам" (loop groups only): the ranges of the
// loop's table. "по событиям": for the common group 40..45 and a separator
// (kMenuSeparator), then 20..28 for every group.
constexpr int kMenuSeparator = -1;
std::vector<int> IntervalMenuIds(const Configuration& config, int relay, int group);
std::vector<int> EventMenuIds(const Configuration& config, int relay, int group);

// Tree node texts: "Шлейф1: Охранный" .. "Общие".
std::string RelayGroupCaption(const Configuration& config, int group);

// Position of the binding with identifier id in relay R, group G, or -1.
int FindBinding(const Configuration& config, int relay, int group, int id);

enum class BindingChange { Added, Removed, TooLarge, Refused };
// Appends (id, 0, 1) unless id is bound already or the relay's block would
// outgrow the device's header; a loop group's loopRelayEdited mark is set
// when the binding is added.
BindingChange AddBinding(Workspace& ws, int relay, int group, int id);
// Removes the binding of id if there is one, else adds it as above. The
// loop group's mark is set either way, unless nothing changed.
BindingChange ToggleBinding(Workspace& ws, int relay, int group, int id);
// The message that refuses an add that does not fit.
std::string TooManyBindingsText(int relay);
// "Очистить реле": normally open and all five lists empty.
void ClearRelay(Configuration& config, int relay);
// "<group>: очистить": the group's list empty. False for no such group.
bool ClearGroup(Configuration& config, int relay, int group);
// "<binding>: удалить", the binding found by its identifier: returns the
// position it had, or -1 when it is not bound (any more).
int DeleteBinding(Configuration& config, int relay, int group, int id);

// Reaction flags of a binding (word 2).
constexpr int kCyclicBit = 7;
constexpr int kNoStopCheckBit = 6;
void SetReactionBit(RelayBinding& binding, int bit, bool set);
bool ReactionBit(const RelayBinding& binding, int bit);
// Bits 0-2 to the pattern index, bits 6 and 7 kept.
void SetPatternIndex(RelayBinding& binding, int index);
int PatternIndex(const RelayBinding& binding);

// The pattern boxes offer the first eight patterns: three bits store the index.
std::vector<std::string> PatternBoxItems(const Configuration& config);
constexpr int kPriorities = 10;  // "0".."9"

// A pattern's steps as the preview plays them: "вкл. 500 мс, выкл. 300 мс".
std::string PatternStepsText(const RelayPattern& pattern);

// The pattern preview: plays a pattern's steps, once or cyclically, without
// a timer of its own. The caller shows each step and waits its interval.
class RelayPreview {
 public:
  struct Step {
    bool energised = false;
    int intervalMs = 0;
  };
  // f = reaction flags AND 135: the pattern index and bit 7 for cyclic.
  void start(int flags);
  void stop();
  bool running() const { return preview_ >= 0; }
  // The next step to show, or nothing when the preview ends here: after the
  // last step of a single run (the last look stays), at a step of no length,
  // or, stopping it, for a pattern that does not exist or has no steps.
  std::optional<Step> tick(const std::vector<RelayPattern>& patterns);

 private:
  int preview_ = -1;
  int next_ = 1;
};

}  // namespace vorsin
