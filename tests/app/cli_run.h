// Running vorsin-cli from a test: its exit status and what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "../link/sim_process.h"

namespace vorsin::testing {

struct CliRun {
  int status = -1;
  std::string out, err;
};

// One word for the shell, whatever it holds (spaces, Cyrillic letters).
inline std::string Quoted(const std::string& word) {
  std::string q = "'";
  for (const char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs "vorsin-cli ARGUMENTS" through the shell with stdout and stderr in the two files.
inline CliRun RunCli(const std::string& arguments, const std::string& outFile, const std::string& errFile) {
  const std::string command = Quoted(CliProgram()) + " " + arguments + " >" + outFile + " 2>" + errFile;
  CliRun r;
  const int raw = std::system(command.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadText(outFile);
  r.err = ReadText(errFile);
  return r;
}

}  // namespace vorsin::testing
