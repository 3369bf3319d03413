// "report": a printable HTML record of a project file for the customer.
#include <ctime>
#include <iostream>

#include "app/cli/cli.h"
#include "model/file_replace.h"
#include "model/vocabulary.h"
#include "project/project_file.h"
#include "project/report.h"

namespace vorsin::cli {
namespace {

std::string Today() {
  const std::time_t now = std::time(nullptr);
  char buf[32] = "";
  if (const std::tm* t = std::localtime(&now)) std::strftime(buf, sizeof buf, "%d.%m.%Y %H:%M", t);
  return buf;
}

int RunReport(const Args& args) {
  const std::string out = PathUtf8(args.File(1));
  if (out.size() >= 4 && out.compare(out.size() - 4, 4, ".pdf") == 0) {
    std::cerr << "vorsin-cli: a PDF is made by the window (\"Печать...\", Print to PDF); give OUT.html\n";
    return 2;
  }
  Vocabulary vocabulary(args.vocabularyPath);
  Workspace ws;
  StderrMessenger messenger(false);
  if (ReadProjectFile(ws, vocabulary, args.File(0), messenger) != kProjectOk) return 1;
  ReportOptions options;
  options.withSecrets = args.Flag("with-secrets");
  options.title = PathUtf8(args.File(0));
  options.made = Today();
  const std::string html = BuildReport(ws, options);
  // Written aside and renamed over OUT: a failed write leaves an older report whole.
  if (!ReplaceFileWith(args.File(1), html)) {
    std::cerr << "vorsin-cli: cannot write " << out << "\n";
    return 1;
  }
  return 0;
}

const bool kReport = Register({.name = "report",
                               .options = {Switch("with-secrets")},
                               .files = {"FILE.dat", "OUT.html"},
                               .summary = "a printable record of a project file (secrets as **** unless asked for)",
                               .run = RunReport});

}  // namespace
}  // namespace vorsin::cli
