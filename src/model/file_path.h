// File names. A name is turned into a FilePath once, where it comes in (the
// command line, a file dialog), every file operation takes that FilePath, and
// it becomes text again only where it is shown.
//
// A FilePath holds the name as the system keeps it: wide characters on
// Windows, the bytes as given on Linux. Names as the command line and JSON
// carry them are UTF-8 (on Linux: whatever bytes the name has).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace vorsin {

using FilePath = std::filesystem::path;

// A UTF-8 name (on Linux, any bytes, taken unchanged).
FilePath PathFromUtf8(std::string_view utf8);

// The inverse of PathFromUtf8: UTF-8 on Windows, the bytes on Linux. For
// handing a name on as a narrow string (the data location's folders).
std::string PathNarrow(const FilePath& path);

// The name as valid UTF-8, for JSON, the HTML report and the console. On
// Linux a byte that is no part of a UTF-8 character shows as U+FFFD.
std::string PathUtf8(const FilePath& path);

// The name as a Windows-1251 text, for the core's messages.
std::string PathText(const FilePath& path);

// fopen for a FilePath (wide on Windows).
std::FILE* OpenFile(const FilePath& path, const char* mode);

// Removes a file; false when it was not there or could not be removed.
bool RemoveFile(const FilePath& path);

}  // namespace vorsin
