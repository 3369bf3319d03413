// Replacing a file through a temporary one beside it, so that a failed write
// never leaves a half-written file in place of the old one.
//
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "model/file_path.h"

namespace vorsin {

// Creates path for binary writing; fails when anything exists there already.
std::FILE* CreateNewFile(const FilePath& path);

// Flushes f's buffers and waits until the data is on the disk.
bool FlushToDisk(std::FILE* f);

// The file a save to path should replace: path itself, or the file a chain of
// symbolic links ends at (a dangling link names the file to create). Replacing
// the link would cut it loose from the file the user keeps elsewhere.
FilePath SaveTarget(const FilePath& path);

// Gives the new file f the permission bits of the existing file at path, so
// that replacing a file does not widen or narrow who may read it. Nothing to do
// when path does not exist (or on Windows, which keeps no such bits).
bool KeepPermissions(const FilePath& path, std::FILE* f);

// Renames from to to, replacing an existing file to (std::rename refuses that
// on Windows).
bool RenameOver(const FilePath& from, const FilePath& to);

// Writes bytes to a fresh file beside path (through links, see SaveTarget)
// and renames it over path, which keeps its permission bits; waitForDisk
// holds the rename back until the data is on the disk. On failure the file at
// path is as it was and no temporary is left.
bool ReplaceFileWith(const FilePath& path, std::string_view bytes, bool waitForDisk = true);

// Whether ReplaceFileWith(path) may succeed: nothing but a file is there, and
// a new file can be made beside it (one of a fresh name is made and removed;
// the file at path is not opened).
bool CanReplace(const FilePath& path);

}  // namespace vorsin
