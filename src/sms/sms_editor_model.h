// The SMS strings editor without its window: the rows of its list, which
// template a row stands for, editing with the reference rules, adding and
// deleting with the upkeep of references and event numbers. Qt-free.
//
// The list has three groups, each under a caption row: the substrings, the
// SMS header (profile string 6) and the SMS strings. A selection is a group
// and a 1-based index within it; index 0 (a caption row) selects nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/configuration.h"

namespace vorsin {

enum SmsGroup { kSmsSubstrings = 0, kSmsHeader = 1, kSmsStrings = 2, kSmsGroupCount = 3 };

// The SMS header is this profile string (key s_smshead).
constexpr size_t kSmsHeaderProfile = 6;

struct SmsSelection {
  int group = kSmsSubstrings;
  int index = 0;  // 0 = none, else 1-based within the group
  bool operator==(const SmsSelection&) const = default;
};

struct SmsListRow {
  bool caption = false;
  std::string text;      // column "Строки"
  std::string newEvent;  // display form, restore offset 0
  std::string restore;   // display form, restore offset 1
};

// Where the caption rows stand in the list built from a configuration.
struct SmsListLayout {
  int captionRow[kSmsGroupCount] = {};
  int groupSize[kSmsGroupCount] = {};
  int rowCount = 0;
};

// Number of templates in a group: the header group holds one template, or
// none when the configuration has fewer than seven profile strings.
int SmsGroupSize(const Configuration& config, int group);
SmsListLayout LayOutSmsList(const Configuration& config);
std::vector<SmsListRow> SmsListRows(const Workspace& ws);

// Row r of the list as a selection (index 0 on a caption row); rows outside
// the list give no selection.
SmsSelection SmsRowSelection(const SmsListLayout& layout, int row);
// The row of a selection, or -1 when it selects nothing or lies beyond its
// group (the lists may have been replaced since it was made).
int SmsSelectionRow(const SmsListLayout& layout, SmsSelection selection);

// The template a selection stands for, or nullptr when it names none.
ParamRecord* SmsSelectedTemplate(Configuration& config, SmsSelection selection);
const ParamRecord* SmsSelectedTemplate(const Configuration& config, SmsSelection selection);

// The list text of a template: substrings carry their number.
std::string SmsRowText(SmsSelection selection, std::string_view tmpl);

// True if any character is a Cyrillic letter of Windows-1251 (0xA8, 0xB8,
// 0xC0..0xFF): the device then sends UCS2, 70 characters to a message.
bool HasCyrillic(std::string_view text);
// "<length>:70" or "<length>:160" for a display form.
std::string SmsLengthCounter(std::string_view display);

// Whether substring n, given the text tmpl, would reach itself through its
// references, directly or through other substrings. n may be one past the
// list (a substring about to be added).
bool SubstringCycle(const Workspace& ws, int n, std::string_view tmpl);

struct SmsPreview {
  std::string newEvent;
  std::string restore;
  std::string newEventCounter;  // empty when the text was refused
  std::string restoreCounter;
  // Said beside the counters while the template is too long for the device
  // (kMaxTemplateLength characters or more), else empty.
  std::string lengthWarning;
};

// Previews of a template text as it would stand at the selection.
SmsPreview PreviewSms(const Workspace& ws, std::string_view tmpl);

// Stores the typed text into the selected template. A substring text that
// would reach itself is refused (the template keeps its old text, both
// previews read "Error", no counters); a selection naming no template
// stores nothing and gives nullopt.
std::optional<SmsPreview> EditSmsTemplate(Workspace& ws, SmsSelection selection, std::string_view text);

enum class SmsAddResult { kAdded, kFull, kCycle };
// Appends a template to the SMS strings (group kSmsStrings) or substrings
// (kSmsSubstrings) and selects it. Refused when the group already holds as
// many templates as the device can keep, or when a new substring would
// reach itself.
SmsAddResult AddSmsTemplate(Workspace& ws, SmsSelection& selection, int group, std::string_view text);
// The largest group the device image holds (0 for the header group).
int SmsGroupLimit(int group);

// Deletes the selected substring or SMS string with the reference upkeep
// and moves the selection to the template that takes its place (the one
// before, when it was the last). The header and selections naming no
// template delete nothing; returns whether something was deleted.
bool DeleteSmsTemplate(Workspace& ws, SmsSelection& selection);

}  // namespace vorsin
