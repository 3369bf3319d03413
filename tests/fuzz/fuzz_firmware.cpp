// Arbitrary bytes as a firmware file (*.hwr) and as the HEX text inside one:
// the unpacker stays inside the file and its limit, and every line the
// splitter hands to the loader is one whole record whose bytes are its digits.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "tools/firmware_file.h"

namespace {

using namespace vorsin;

int Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void CheckLines(const std::string& text) {
  const auto lines = SplitHexLines(text);
  if (!lines) return;
  fuzz::Check(!lines->empty(), "no line and no refusal");
  AddressLabel label;
  for (const HexLine& line : *lines) {
    fuzz::Check(line.chars.size() >= 11 && line.chars[0] == ':', "a line without its start");
    // One character past the digit pairs is ignored, as the loader always has;
    // the pairs themselves are the record.
    fuzz::Check(line.chars.size() - 1 - 2 * line.bytes.size() <= 1, "characters past the record");
    fuzz::Check(line.bytes.size() == line.bytes[0] + 5u, "a record whose count disagrees");
    for (size_t i = 0; i < line.bytes.size(); ++i)
      fuzz::Check(Digit(line.chars[1 + 2 * i]) * 16 + Digit(line.chars[2 + 2 * i]) == line.bytes[i],
                  "bytes that are not the line's digits");
    (void)LoaderChecksum(line.bytes.data(), line.bytes.size());
    if (const auto shown = label.Follow(line.chars))
      fuzz::Check(shown->rfind("0x", 0) == 0 && shown->size() <= 8, "label");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file(data, data + size);
  const HwrContent content = ReadHwr(file);
  if (content.status == HwrStatus::kOk) {
    fuzz::Check(content.text.size() <= kHwrUnpackLimit, "unpacked past the limit");
    CheckLines(content.text);
  }
  CheckLines(std::string(file.begin(), file.end()));
  return 0;
}
