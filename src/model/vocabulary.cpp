#include "model/vocabulary.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "model/cp1251.h"
#include "model/file_replace.h"

namespace vorsin {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Fold(std::string_view s) { return LowerCp(Trim(s)); }

bool ReadWhole(const FilePath& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    else ++end;  // the line keeps its own end
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

// A section header's folded name, or false when the line is no header.
bool SectionOf(std::string_view line, std::string& name) {
  const auto t = Trim(line);
  if (t.empty() || t.front() != '[') return false;
  const size_t close = t.rfind(']');
  if (close == std::string_view::npos || close == 0) return false;
  name = Fold(t.substr(1, close - 1));
  return true;
}

// A key line's folded key and raw value.
bool KeyOf(std::string_view line, std::string& key, std::string_view& value) {
  const auto t = Trim(line);
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  key = Fold(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return true;
}

struct FileStamp {
  bool exists = false;
  long long size = 0;
  long long mtimeNs = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const FilePath& path) {
  FileStamp s;
#ifdef _WIN32
  struct _stat64 st {};
  if (::_wstat64(path.c_str(), &st) != 0) return s;
#else
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return s;
#endif
  s.exists = true;
  s.size = static_cast<long long>(st.st_size);
#if defined(__APPLE__)
  s.mtimeNs = static_cast<long long>(st.st_mtimespec.tv_sec) * 1000000000LL + st.st_mtimespec.tv_nsec;
#elif defined(_WIN32)
  s.mtimeNs = static_cast<long long>(st.st_mtime) * 1000000000LL;
#else
  s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
#endif
  return s;
}

std::string LineEnd(const std::string& text) {
  return (text.find("\r\n") != std::string::npos || text.empty()) ? "\r\n" : "\n";
}

}  // namespace

struct Vocabulary::Parsed {
  FileStamp stamp;
  // section -> key -> value; the first section and the first key of a name win.
  std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections;

  static std::unique_ptr<Parsed> From(const std::string& text, const FileStamp& stamp);
};

Vocabulary::Vocabulary(FilePath path) : path_(std::move(path)) {}
Vocabulary::~Vocabulary() = default;

std::unique_ptr<Vocabulary::Parsed> Vocabulary::Parsed::From(const std::string& text, const FileStamp& stamp) {
  auto parsed = std::make_unique<Parsed>();
  parsed->stamp = stamp;
  std::unordered_map<std::string, std::string>* current = nullptr;
  std::string name;
  std::string key;
  std::string_view value;
  for (auto line : SplitLines(text)) {
    if (SectionOf(line, name)) {
      // A repeated section name is not looked at again.
      auto [it, fresh] = parsed->sections.try_emplace(name);
      current = fresh ? &it->second : nullptr;
    } else if (current && KeyOf(line, key, value)) {
      current->try_emplace(key, std::string(value));
    }
  }
  return parsed;
}

const Vocabulary::Parsed& Vocabulary::Load() const {
  // Inside a snapshot the parse in hand is used without looking at the file.
  if (cache_ && held_ > 0) return *cache_;
  const FileStamp stamp = StampOf(path_);
  if (cache_ && cache_->stamp == stamp) return *cache_;
  std::string text;
  if (!stamp.exists || !ReadWhole(path_, text)) text.clear();
  cache_ = Parsed::From(text, stamp);
  return *cache_;
}

bool Vocabulary::Replace(const std::string& text) {
  // Profile writes are small and frequent: the rename does not wait for the disk.
  if (ReplaceFileWith(path_, text, false)) {
    // What was just written is what the next read would parse.
    cache_ = Parsed::From(text, StampOf(path_));
    return true;
  }
  cache_.reset();
  return false;
}

bool Vocabulary::Has(std::string_view section, std::string_view key) const {
  const auto& p = Load();
  const auto s = p.sections.find(Fold(section));
  return s != p.sections.end() && s->second.count(Fold(key)) != 0;
}

std::string Vocabulary::Read(std::string_view section, std::string_view key, std::string_view def) const {
  const auto& p = Load();
  std::string_view value;
  bool found = false;
  if (const auto s = p.sections.find(Fold(section)); s != p.sections.end()) {
    if (const auto k = s->second.find(Fold(key)); k != s->second.end()) {
      value = k->second;
      found = true;
      // A value wrapped in matching quotes loses them.
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
          value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    }
  }
  if (!found) {
    value = def;
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  }
  if (value.size() > kMaxValue) value = value.substr(0, kMaxValue);
  return std::string(value);
}

bool Vocabulary::Write(std::string_view section, std::string_view key, std::string_view value) {
  return Write(section, {{std::string(key), std::string(value)}});
}

bool Vocabulary::Write(std::string_view section, const std::vector<std::pair<std::string, std::string>>& keys) {
  std::string text;
  ReadWhole(path_, text);
  const std::string eol = LineEnd(text);
  const std::string wantSection = Fold(section);
  struct Wanted {
    std::string folded;
    std::string line;
    bool done = false;
  };
  std::vector<Wanted> wanted;
  for (const auto& [key, raw] : keys) {
    // A value is one line: a line break (say, in a number pasted into a
    // free-text field or carried in from a project file) would otherwise spill
    // into keys and sections of its own. What a later read sees is kept.
    const std::string_view value = std::string_view(raw).substr(0, raw.find_first_of(std::string_view("\r\n\0", 3)));
    wanted.push_back({Fold(key), std::string(Trim(key)) + "=" + std::string(value) + eol});
  }

  std::string out;
  out.reserve(text.size() + 64 * wanted.size() + 16);
  bool inSection = false;
  bool sectionSeen = false;
  size_t insertAt = std::string::npos;  // after the last key line of the section
  std::string name;
  std::string lineKey;
  std::string_view lineValue;
  for (auto line : SplitLines(text)) {
    if (SectionOf(line, name)) {
      inSection = !sectionSeen && name == wantSection;
      if (inSection) sectionSeen = true;
      out += line;
      if (line.back() != '\n') out += eol;  // a header ending the file: keys go below it
      if (inSection) insertAt = out.size();
      continue;
    }
    if (inSection && KeyOf(line, lineKey, lineValue)) {
      // The first line of a key takes the new value, as reads see the first.
      auto w = std::find_if(wanted.begin(), wanted.end(),
                            [&](const Wanted& x) { return !x.done && x.folded == lineKey; });
      if (w != wanted.end()) {
        out += w->line;
        w->done = true;
        insertAt = out.size();
        continue;
      }
    }
    if (!line.empty() && line.back() != '\n') {
      out += line;
      out += eol;
    } else {
      out += line;
    }
    if (inSection && !Trim(line).empty()) insertAt = out.size();
  }
  std::string added;
  for (const auto& w : wanted)
    if (!w.done) added += w.line;
  if (!added.empty()) {
    if (sectionSeen) {
      out.insert(insertAt, added);
    } else {
      if (!out.empty() && out.back() != '\n') out += eol;
      out += "[" + std::string(Trim(section)) + "]" + eol + added;
    }
  }
  return Replace(out);
}

bool Vocabulary::EraseSection(std::string_view section) {
  const std::string want = Fold(section);
  // Every header of a name leaves its mark in the parse: none, nothing to erase.
  if (Load().sections.count(want) == 0) return true;
  std::string text;
  if (!ReadWhole(path_, text)) return true;
  std::string out;
  out.reserve(text.size());
  bool skipping = false;
  bool changed = false;
  std::string name;
  for (auto line : SplitLines(text)) {
    if (SectionOf(line, name)) skipping = name == want;
    if (skipping) {
      changed = true;
      continue;
    }
    out += line;
  }
  if (!changed) return true;
  return Replace(out);
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string VocabularyBeside(const std::string& executablePath) {
  return DirectoryOf(executablePath) + "/" + Vocabulary::kFileName;
}

}  // namespace vorsin
