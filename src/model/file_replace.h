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

// The file a save to path should replace: path itself, or the file a chain of
// symbolic links ends at (a dangling link names the file to create). Replacing
// the link would cut it loose from the file the user keeps elsewhere.
std::string SaveTarget(const std::string& path);

// Gives the new file f the permission bits of the existing file at path, so
// that replacing a file does not widen or narrow who may read it. Nothing to do
// when path does not exist (or on Windows, which keeps no such bits).
bool KeepPermissions(const std::string& path, std::FILE* f);

// Renames from to to, replacing an existing file to (std::rename refuses that
// on Windows).
bool RenameOver(const std::string& from, const std::string& to);

}  // namespace vorsin
