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
#include <unistd.h>
#endif

namespace vorsin {

std::FILE* CreateNewFile(const std::string& path) {
#ifdef _WIN32
  // msvcrt's fopen knows no "x" mode; _O_EXCL is the same promise.
  const int fd = ::_open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
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

bool RenameOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace vorsin
