// The vocabulary file RorEdad.ini, read and written with the Windows
// private-profile rules: section and key names match without regard to case,
// values are trimmed and read up to 2047 characters, a missing file, section
// or key gives the default. Every call looks at the file anew (a parse is
// reused only while the file's size and modification time stay the same),
// except inside a VocabularySnapshot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/file_path.h"

namespace vorsin {

// Lists read key by key until one is missing (level tables, commands, SMS
// profile strings) stop here: a project file holds no more records.
constexpr size_t kMaxVocabularyList = 255;

class Vocabulary {
 public:
  static constexpr size_t kMaxValue = 2047;
  static constexpr const char* kFileName = "RorEdad.ini";

  explicit Vocabulary(FilePath path);
  ~Vocabulary();
  Vocabulary(const Vocabulary&) = delete;
  Vocabulary& operator=(const Vocabulary&) = delete;

  const FilePath& path() const { return path_; }

  // Section, key and value are Windows-1251.
  std::string Read(std::string_view section, std::string_view key, std::string_view def) const;
  // Whether the key is present at all (an empty value counts as present).
  bool Has(std::string_view section, std::string_view key) const;
  // Writes key=value, keeping every other line of the file as it was.
  // Returns false when the file cannot be written.
  bool Write(std::string_view section, std::string_view key, std::string_view value);
  // Several keys of one section in one rewrite of the file: a reader never
  // sees some of them written and not the others. Keys are distinct.
  bool Write(std::string_view section, const std::vector<std::pair<std::string, std::string>>& keys);
  // Removes a whole section with its keys.
  bool EraseSection(std::string_view section);

 private:
  friend class VocabularySnapshot;
  struct Parsed;
  const Parsed& Load() const;
  // Writes the whole file and keeps its parse for the next read.
  bool Replace(const std::string& text);

  FilePath path_;
  mutable std::unique_ptr<Parsed> cache_;
  mutable int held_ = 0;
};

// While one is alive, reads take the file as it was at the first of them
// (writes through the same object still show): a reset of some two hundred
// keys reads one consistent file, even if an editor saves it meanwhile,
// and looks at it once instead of at every key.
class VocabularySnapshot {
 public:
  explicit VocabularySnapshot(const Vocabulary& vocabulary) : vocabulary_(vocabulary) { ++vocabulary_.held_; }
  ~VocabularySnapshot() { --vocabulary_.held_; }
  VocabularySnapshot(const VocabularySnapshot&) = delete;
  VocabularySnapshot& operator=(const VocabularySnapshot&) = delete;

 private:
  const Vocabulary& vocabulary_;
};

// Directory part of a path, "." when it has none.
std::string DirectoryOf(const std::string& path);
// The vocabulary file beside the given executable path.
std::string VocabularyBeside(const std::string& executablePath);

}  // namespace vorsin
