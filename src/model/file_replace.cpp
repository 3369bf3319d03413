#include "model/file_replace.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <vector>
#endif

#include <random>
#include <system_error>

namespace vorsin {

std::FILE* CreateNewFile(const FilePath& path) {
#ifdef _WIN32
  // msvcrt's fopen knows no "x" mode; _O_EXCL is the same promise.
  const int fd = ::_wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                         _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* f = ::_fdopen(fd, "wb");
  if (!f) ::_close(fd);
  return f;
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

bool FlushToDisk(std::FILE* f) {
  if (std::fflush(f) != 0) return false;
#ifdef _WIN32
  return ::_commit(::_fileno(f)) == 0;
#else
  return ::fsync(::fileno(f)) == 0;
#endif
}

FilePath SaveTarget(const FilePath& path) {
#ifdef _WIN32
  return path;
#else
  std::string target = path.native();
  // A loop of links ends the walk; the save then fails on the link itself.
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    std::vector<char> buffer(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
    const ssize_t n = ::readlink(target.c_str(), buffer.data(), buffer.size());
    if (n < 0 || static_cast<size_t>(n) >= buffer.size()) return target;
    std::string link(buffer.data(), static_cast<size_t>(n));
    if (link.empty()) return target;
    if (link.front() != '/') {
      // A relative link is read from the folder holding the link.
      const size_t slash = target.rfind('/');
      if (slash != std::string::npos) link = target.substr(0, slash + 1) + link;
    }
    target = link;
  }
  return target;
#endif
}

bool KeepPermissions(const FilePath& path, std::FILE* f) {
#ifdef _WIN32
  (void)path;
  (void)f;
  return true;
#else
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return true;
  return ::fchmod(::fileno(f), st.st_mode & 07777) == 0;
#endif
}

bool RenameOver(const FilePath& from, const FilePath& to) {
#ifdef _WIN32
  return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

namespace {

// A new file of a fresh name beside path; null when none can be made there.
std::FILE* CreateTempBeside(const FilePath& path, FilePath& temp) {
  std::random_device random;
  std::FILE* f = nullptr;
  for (int attempt = 0; attempt < 16 && !f; ++attempt) {
    temp = path;
    temp += ".tmp" + std::to_string(random() % 1000000u);
    f = CreateNewFile(temp);  // never reuse someone's file
  }
  return f;
}

}  // namespace

bool CanReplace(const FilePath& name) {
  const FilePath path = SaveTarget(name);
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec)) return false;
  if (ec) return false;
  FilePath temp;
  std::FILE* f = CreateTempBeside(path, temp);
  if (!f) return false;
  std::fclose(f);
  RemoveFile(temp);
  return true;
}

bool ReplaceFileWith(const FilePath& name, std::string_view bytes, bool waitForDisk) {
  const FilePath path = SaveTarget(name);
  FilePath temp;
  std::FILE* f = CreateTempBeside(path, temp);
  if (!f) return false;
  const bool written = KeepPermissions(path, f) &&
                       (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size()) &&
                       (waitForDisk ? FlushToDisk(f) : std::fflush(f) == 0);
  const bool closed = std::fclose(f) == 0;
  if (written && closed && RenameOver(temp, path)) return true;
  RemoveFile(temp);
  return false;
}

}  // namespace vorsin
