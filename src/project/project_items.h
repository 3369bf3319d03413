// Pieces of the project file layout shared by the writer and the reader.
#pragma once

#include <string_view>

namespace vorsin::project {

// Item 1: the header text "Ver 2.1" (behind its length byte).
constexpr std::string_view kHeader = "Ver 2.1";
// The reader recognises the newer generation by these letters in the first
// four bytes.
constexpr std::string_view kHeaderMark = "Ver";

// Markers announcing the parts added to the format later.
constexpr std::string_view kBlock1 = "_block1";  // interval descriptions, last load time
constexpr std::string_view kBlock2 = "_block2";  // work-phone control, loop latch
constexpr std::string_view kBlock3 = "_block3";  // relay time limits, CUSD forward number

// Fixed widths of the packed addressee and phone heads (words, flag byte, filler).
constexpr size_t kAddresseeHead = 16;
constexpr size_t kPhoneHead = 12;
constexpr size_t kBindingBytes = 16;

}  // namespace vorsin::project
