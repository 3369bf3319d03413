// The vocabulary file RorEdad.ini, read and written with the Windows
// private-profile rules: section and key names match without regard to case,
// values are trimmed and read up to 2047 characters, a missing file, section
// or key gives the default. Every call opens the file anew (a parse is reused
// only while the file's size and modification time stay the same).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vorsin {

// Lists read key by key until one is missing (level tables, commands, SMS
// profile strings) stop here: a project file holds no more records.
constexpr size_t kMaxVocabularyList = 255;

class Vocabulary {
 public:
  static constexpr size_t kMaxValue = 2047;
  static constexpr const char* kFileName = "RorEdad.ini";

  explicit Vocabulary(std::string path);
  ~Vocabulary();
  Vocabulary(const Vocabulary&) = delete;
  Vocabulary& operator=(const Vocabulary&) = delete;

  const std::string& path() const { return path_; }

  // Section, key and value are Windows-1251.
  std::string Read(std::string_view section, std::string_view key, std::string_view def) const;
  // Whether the key is present at all (an empty value counts as present).
  bool Has(std::string_view section, std::string_view key) const;
  // Writes key=value, keeping every other line of the file as it was.
  // Returns false when the file cannot be written.
  bool Write(std::string_view section, std::string_view key, std::string_view value);
  // Removes a whole section with its keys.
  bool EraseSection(std::string_view section);

 private:
  struct Parsed;
  const Parsed& Load() const;

  std::string path_;
  mutable std::unique_ptr<Parsed> cache_;
};

// Directory part of a path, "." when it has none.
std::string DirectoryOf(const std::string& path);
// The vocabulary file beside the given executable path.
std::string VocabularyBeside(const std::string& executablePath);

}  // namespace vorsin
