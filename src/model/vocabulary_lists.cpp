#include "model/vocabulary_lists.h"

#include <array>

#include "model/cp1251.h"

namespace vorsin {
namespace {

constexpr int kMaxProfileSection = 49;
constexpr int kFirstCode = 151;
constexpr int kLastCode = 255;
constexpr int kMaxSmsKeys = 49;

struct ProfileDefault {
  const char* key;
  const char* text;
};
constexpr std::array<ProfileDefault, 8> kProfileTexts{{
    {"s_hsrl", "%(prfHSRL)"},
    {"s_user", "%(prfUser)"},
    {"s_dest", "%(prfDest)"},
    {"s_commn", "%(prfCommn)"},
    {"s_answok", "%(insCmd): Ok;"},
    {"s_answerr", "%(insCmd): Error;"},
    {"s_smshead", "<%(insNumM),%(insNumC)>"},
    {"s_answhead", "<%(inscHours):%(inscMin):%(inscSec)>"},
}};

ParamRecord TextRecord(std::string text) {
  ParamRecord r;
  r.text = std::move(text);
  return r;
}

// s_1 .. s_49; keys reading "0" (missing ones too) are gaps, not ends.
void LoadNumberedTexts(Vocabulary& v, const char* section, std::vector<ParamRecord>& list) {
  list.clear();
  for (int n = 1; n <= kMaxSmsKeys; ++n) {
    std::string value = v.Read(section, "s_" + std::to_string(n), "0");
    if (value != "0") list.push_back(TextRecord(std::move(value)));
  }
}

void LoadNamedEntries(Vocabulary& v, const char* section, std::vector<RemoteEntryName>& names,
                      std::vector<RemoteCommand>& records) {
  names.clear();
  records.clear();
  for (int k = 1; records.size() < kMaxVocabularyList; ++k) {
    const std::string n = std::to_string(k);
    std::string name = v.Read(section, "Name" + n, "null");
    if (name == "null") break;
    names.push_back({std::move(name), v.Read(section, "Form" + n, "")});
    records.emplace_back();  // no phones bound, no password
  }
}

}  // namespace

void ReadOperatorProfiles(Workspace& ws, Vocabulary& vocabulary) {
  // Numbers typed under "Другой" last only until the next reset.
  vocabulary.EraseSection("0");
  ws.profiles.clear();
  ws.profiles.push_back({0, Cp("Другой")});
  for (int s = 1; s <= kMaxProfileSection; ++s) {
    std::string name = vocabulary.Read(std::to_string(s), "Name", "null");
    if (name != "null") ws.profiles.push_back({s, std::move(name)});
  }
}

ProfileNumbers ReadProfileNumbers(Vocabulary& vocabulary, int section) {
  const std::string s = std::to_string(section);
  return {vocabulary.Read(s, "ServNum", ""), vocabulary.Read(s, "OutNum", ""),
          vocabulary.Read(s, "InbNum", "")};
}

void WriteProfile(Vocabulary& vocabulary, int section, const std::string& name,
                  const Configuration& config) {
  // A file that cannot be written loses the profile silently.
  const std::string s = std::to_string(section);
  vocabulary.Write(s, {{"Name", name},
                       {"ServNum", config.smsCentre},
                       {"OutNum", config.expressOutNumber},
                       {"InbNum", config.expressInNumber}});
}

void LoadCodeDefinitions(Workspace& ws, Vocabulary& vocabulary) {
  ws.codeDefinitions.clear();
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    std::string name = vocabulary.Read("CodeDefine", "c_" + std::to_string(code), "0");
    if (name == "0") break;
    ws.codeDefinitions.push_back({code, std::move(name)});
  }
}

void LoadSmsLists(Configuration& config, Vocabulary& vocabulary) {
  auto& profile = config.smsProfileTexts;
  profile.clear();
  for (const auto& d : kProfileTexts) profile.push_back(TextRecord(vocabulary.Read("SmsProfile", d.key, d.text)));
  for (int n = 1; profile.size() < kMaxVocabularyList; ++n) {
    std::string value = vocabulary.Read("SmsProfile", "s_" + std::to_string(n), "");
    if (value.empty()) break;
    profile.push_back(TextRecord(std::move(value)));
  }
  LoadNumberedTexts(vocabulary, "SmsSubString", config.smsSubStrings);
  LoadNumberedTexts(vocabulary, "SmsString", config.smsStrings);
}

void LoadRemoteCommands(Workspace& ws, Vocabulary& vocabulary) {
  LoadNamedEntries(vocabulary, "Command", ws.commandNames, ws.config.remoteCommands);
  LoadNamedEntries(vocabulary, "Control", ws.controlNames, ws.config.remoteControls);
  ws.remoteCommandCount = static_cast<int>(ws.config.remoteCommands.size());
  ws.remoteControlCount = static_cast<int>(ws.config.remoteControls.size());
}

}  // namespace vorsin
