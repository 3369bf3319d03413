// Windows-1251 text: every text of the model, of project files and of the
// device is a std::string of these bytes. Sources are UTF-8, so Russian
// literals pass through Cp() once, and the window converts with ToUtf8().
#pragma once

#include <string>
#include <string_view>

namespace vorsin {

// UTF-8 to Windows-1251. A character the code page lacks becomes '?';
// a broken UTF-8 sequence gives '?' for each byte it spoils.
std::string Cp(std::string_view utf8);

// Windows-1251 to UTF-8, total over all 256 byte values (0x98, which the
// code page leaves free, maps to U+0098 so that ToUtf8 and Cp round-trip).
std::string ToUtf8(std::string_view cp1251);

// Unicode code point of one Windows-1251 byte.
char32_t CpToUnicode(unsigned char byte);

// Lower-cases ASCII and Cyrillic letters of a Windows-1251 text.
std::string LowerCp(std::string_view cp1251);

}  // namespace vorsin
