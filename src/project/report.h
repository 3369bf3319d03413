// A printable record of a configuration: one self-contained HTML document
// (UTF-8, inline CSS, no scripts, no outside files) with every page's
// settings in tables, for the customer's files.
#pragma once

#include <string>

#include "model/configuration.h"

namespace vorsin {

struct ReportOptions {
  bool withSecrets = false;  // PIN, PUK and passwords shown instead of "****"
  std::string title;         // the project file's name (UTF-8)
  std::string made;          // when the report was made (UTF-8), as the caller words it
};

std::string BuildReport(const Workspace& ws, const ReportOptions& options);
// The line that names the site on every printed page (UTF-8):
// "объект.dat, адрес ПКД-РС 2705, 09.12.2026 01:10".
std::string ReportSiteLine(const Workspace& ws, const ReportOptions& options);

}  // namespace vorsin
