// Replacing a file through a temporary one beside it, so that a failed write
// never leaves a half-written file in place of the old one.
//
// Paths are narrow strings in the system's own file-name encoding: UTF-8 on
// Linux, the ANSI code page on Windows (as argv, fopen and
// QFile::encodeName have them). std::filesystem reads narrow strings on
// Windows in yet another encoding, so it is not used for these names.
#pragma once

#include <cstdio>
#include <string>

namespace vorsin {

// Creates path for binary writing; fails when anything exists there already.
std::FILE* CreateNewFile(const std::string& path);

// Flushes f's buffers and waits until the data is on the disk.
bool FlushToDisk(std::FILE* f);

// Renames from to to, replacing an existing file to (std::rename refuses that
// on Windows).
bool RenameOver(const std::string& from, const std::string& to);

}  // namespace vorsin
