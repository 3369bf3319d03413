// vorsin-cli command lines that must be refused before a file or a port is
// touched, each command's usage, and the options every command accepts.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../link/sim_process.h"
#include "cli_run.h"
#include "../image/image_test_support.h"

namespace vorsin {
namespace {

using testing::CliRun;
using testing::ReadText;
using testing::RunCli;
using testing::TempPath;

class CliArgsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const auto& f : files) std::remove(f.c_str());
  }
  std::string File(const std::string& name) {
    files.push_back(TempPath("args_" + name));
    std::remove(files.back().c_str());
    return files.back();
  }
  CliRun Cli(const std::string& arguments) {
    const std::string out = File("cli.out"), err = File("cli.err");
    return RunCli(arguments, out, err);
  }

  static bool Exists(const std::string& path) { return std::ifstream(path).good(); }

  std::vector<std::string> files;
};

// Refused: status 2, nothing on stdout, and exactly the mistake and the usage on stderr.
void ExpectRefused(const CliRun& r, const std::string& name, const std::string& mistake, const std::string& line) {
  SCOPED_TRACE(line);
  EXPECT_EQ(2, r.status);
  EXPECT_EQ("", r.out);
  const auto eol = r.err.find('\n');
  ASSERT_NE(std::string::npos, eol) << r.err;
  EXPECT_EQ("vorsin-cli: " + name + ": " + mistake, r.err.substr(0, eol));
  const std::string usage = "usage: vorsin-cli [--vocabulary FILE] [--yes] " + name + " ";
  EXPECT_EQ(usage, r.err.substr(eol + 1, usage.size())) << r.err;
  EXPECT_EQ(r.err.size() - 1, r.err.find('\n', eol + 1)) << "more than the usage was printed";
}

TEST_F(CliArgsTest, EveryCommandRefusesWhatItDoesNotDeclare) {
  // Inputs need not exist and the port is not there: had a command run, it
  // would have said so and exited 1, or created its output.
  const std::string port = "--port /nonexistent/tty";
  const std::string in = File("in.dat"), out = File("out.dat"), html = File("out.html"), json = File("in.json");
  struct Case {
    std::string name, options;
    std::vector<std::string> files;  // as many as the command takes
    size_t required;
    std::string valueOption, missing;  // an option left without its value; the first file left out
  };
  const std::vector<Case> cases = {
      {"show", "", {in}, 0, "vocabulary", ""},
      {"save-default", "", {out}, 1, "vocabulary", "OUT.dat"},
      {"resave", "", {in, out}, 2, "vocabulary", "OUT.dat"},
      {"program", port, {in}, 1, "vgr", "FILE.dat"},
      {"read", port, {out}, 1, "password", "OUT.dat"},
      {"restart", port, {}, 0, "speed", ""},
      {"leave", port, {}, 0, "speed", ""},
      {"flash", port, {File("fw.hwr")}, 1, "speed", "FILE.hwr"},
      {"diff", "", {in, File("b.dat")}, 1, "port", "A.dat"},
      {"report", "", {in, html}, 2, "vocabulary", "OUT.html"},
      {"from-json", "", {json, out}, 2, "vocabulary", "OUT.dat"},
  };
  for (const auto& c : cases) {
    std::string all;
    for (const auto& f : c.files) all += " " + f;
    const std::string head = c.name + " " + c.options;
    std::vector<std::pair<std::string, std::string>> lines = {
        {c.name + " --verfy " + c.options + all, "unknown option --verfy"},
        {head + all + " --" + c.valueOption, "--" + c.valueOption + " needs a value"},
        {head + all + " extra.dat", "unexpected argument extra.dat"},
    };
    if (c.required > 0) {
      std::string fewer;
      for (size_t k = 0; k + 1 < c.required; ++k) fewer += " " + c.files[k];
      lines.push_back({head + fewer, "missing " + c.missing});
    }
    for (const auto& [line, mistake] : lines) ExpectRefused(Cli(line), c.name, mistake, line);
    const CliRun help = Cli(c.name + " " + c.options + " --help");
    EXPECT_EQ(0, help.status) << c.name;
    EXPECT_EQ(0u, help.out.find("usage: vorsin-cli [--vocabulary FILE] [--yes] " + c.name + " ")) << help.out;
    EXPECT_EQ("", help.err);
  }
  for (const auto& f : {out, html}) EXPECT_FALSE(Exists(f)) << f;

  // Options of the devices' commands need their port; a value is not an option.
  ExpectRefused(Cli("program " + in), "program", "missing --port P", "program");
  ExpectRefused(Cli("diff " + in), "diff", "two project files are compared, or one with --port", "diff");
  ExpectRefused(Cli("read --port --yes " + out), "read", "--port needs a value", "read");
  ExpectRefused(Cli("read " + port + " --port /dev/null " + out), "read", "--port is given twice", "read");
  ExpectRefused(Cli("report --with-secrets=no " + in + " " + html), "report", "--with-secrets takes no value",
                "report");
  EXPECT_FALSE(Exists(out));
}

TEST_F(CliArgsTest, GlobalOptionsAndTheCommandList) {
  const CliRun list = Cli("--help");
  EXPECT_EQ(0, list.status);
  for (const char* name : {"show", "save-default", "resave", "program", "read", "restart", "leave", "flash", "diff",
                           "report", "from-json"})
    EXPECT_NE(std::string::npos, list.out.find("\n  " + std::string(name) + " ")) << name;
  EXPECT_EQ(2, Cli("").status);
  EXPECT_EQ(0u, Cli("--vocabulary").err.find("vorsin-cli: --vocabulary needs a value"));
  const CliRun unknown = Cli("--port /dev/null read x.dat");
  EXPECT_EQ(2, unknown.status);
  EXPECT_EQ(0u, unknown.err.find("vorsin-cli: unknown option --port\nusage:"));

  // --vocabulary and --yes on either side of the command.
  const std::string vocabulary = image_test::ShippedVocabulary(), out = File("default.dat");
  ASSERT_EQ(0, Cli("save-default " + out + " --vocabulary " + vocabulary).status);
  EXPECT_EQ(0, Cli("show -- " + out).status);  // after "--" everything is a file
  EXPECT_EQ(0, Cli("--vocabulary=" + vocabulary + " show " + out).status);
  const std::string none = File("none.ini");
  for (const std::string& line : {"show --vocabulary " + none, "--vocabulary " + none + " show"})
    EXPECT_EQ(0u, Cli(line).err.find("vorsin-cli: vocabulary file ")) << line;
  EXPECT_EQ(2, Cli("--vocabulary " + vocabulary + " show --vocabulary " + vocabulary).status);

  // read replaces an existing file only with --yes; then it goes on to the (missing) port.
  const std::string kept = ReadText(out);
  EXPECT_EQ(2, Cli("read --port /nonexistent/tty " + out).status);
  for (const std::string& line :
       {"--yes read --port /nonexistent/tty " + out, "read --port=/nonexistent/tty " + out + " --yes"}) {
    const CliRun r = Cli(line);
    EXPECT_EQ(1, r.status) << line;
    EXPECT_NE(std::string::npos, r.err.find("Не удаётся обнаружить")) << r.err;
  }
  EXPECT_EQ(kept, ReadText(out));
}

// Only the speeds the window offers, on every system, refused before a port is opened.
TEST_F(CliArgsTest, SpeedsAreTheOnesTheWindowOffers) {
  const std::string port = " --port /nonexistent/tty ";
  for (const std::string& command : {"read" + port + File("speed.dat"), "restart" + port, "leave" + port}) {
    for (const char* speed : {"14400", "128000", "12345", "230400", "0", "fast"}) {
      const CliRun r = Cli(command + " --speed " + speed);
      EXPECT_EQ(2, r.status) << command << speed;
      EXPECT_EQ(0u, r.err.find("vorsin-cli: bad --speed " + std::string(speed) + " (one of 2400, 4800, 9600, "
                               "19200, 38400, 57600, 115200)\n"))
          << r.err;
    }
    const CliRun fastest = Cli(command + " --speed 115200");
    EXPECT_EQ(1, fastest.status) << command;
    EXPECT_NE(std::string::npos, fastest.err.find("Не удаётся обнаружить /nonexistent/tty")) << fastest.err;
  }
  EXPECT_FALSE(Exists(File("speed.dat")));
}

}  // namespace
}  // namespace vorsin
