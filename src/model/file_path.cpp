#include "model/file_path.h"

#include <system_error>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

#include "model/cp1251.h"

namespace vorsin {
namespace {

#ifndef _WIN32
// Length of the UTF-8 character at s[i], or 0 when the bytes there are none.
size_t Utf8Length(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  if (lead < 0x80) return 1;
  size_t n = 0;
  char32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    cp = lead & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are no characters.
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return n;
}
#endif

}  // namespace

FilePath PathFromUtf8(std::string_view utf8) {
#ifdef _WIN32
  if (utf8.empty()) return FilePath();
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return FilePath(wide);
#else
  return FilePath(std::string(utf8));
#endif
}

std::string PathNarrow(const FilePath& path) {
#ifdef _WIN32
  const std::wstring& wide = path.native();
  if (wide.empty()) return std::string();
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
#else
  return path.native();
#endif
}

std::string PathUtf8(const FilePath& path) {
#ifdef _WIN32
  return PathNarrow(path);
#else
  const std::string& bytes = path.native();
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = Utf8Length(bytes, i);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(bytes, i, n);
      i += n;
    }
  }
  return out;
#endif
}

std::string PathText(const FilePath& path) { return Cp(PathUtf8(path)); }

std::FILE* OpenFile(const FilePath& path, const char* mode) {
#ifdef _WIN32
  std::wstring wideMode;
  for (const char* m = mode; *m; ++m) wideMode += static_cast<wchar_t>(*m);
  return ::_wfopen(path.c_str(), wideMode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

bool RemoveFile(const FilePath& path) {
  std::error_code ec;
  return std::filesystem::remove(path, ec);
}

}  // namespace vorsin
