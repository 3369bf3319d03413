// vorsin-cli program and read against pkd-sim.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../link/sim_process.h"
#include "cli_run.h"
#include "../image/image_test_support.h"
#include "../image/read_back.h"
#include "nlohmann/json.hpp"
#include "project/project_file.h"

namespace vorsin {
namespace {

using namespace image_test;
using testing::CliRun;
using testing::LogLines;
using testing::ReadText;
using testing::RunCli;
using testing::SimProcess;
using testing::TempPath;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim = std::make_unique<SimProcess>();
    ASSERT_TRUE(sim->ok()) << sim->error();
    vocabulary = ShippedVocabulary();
  }
  void TearDown() override {
    for (const auto& f : files) std::remove(f.c_str());
  }
  std::string File(const std::string& name) {
    files.push_back(TempPath(name));
    return files.back();
  }
  CliRun Cli(const std::string& arguments) {
    const std::string out = File("cli.out"), err = File("cli.err");
    return RunCli("--vocabulary " + vocabulary + " " + arguments, out, err);
  }

  std::string SaveProject(const Workspace& ws, const std::string& name) {
    const std::string path = File(name);
    Workspace copy = ws;
    RecordingMessenger m;
    EXPECT_EQ(kProjectOk, WriteProjectFile(copy, path, m));
    return path;
  }

  std::unique_ptr<SimProcess> sim;
  std::string vocabulary;
  std::vector<std::string> files;
};

TEST_F(CliTest, ProgramThenReadSavesTheDevicesConfiguration) {
  Vocabulary v(vocabulary);
  Workspace ws;
  ResetToDefaults(ws, v);
  FillRich(ws);
  const std::string in = SaveProject(ws, "in.dat"), out = File("out.dat");

  const CliRun program = Cli("program --port " + sim->path() + " --vgr 9 --vgt 8 " + in);
  ASSERT_EQ(0, program.status) << program.err;
  // A note has no caption to print; what was written has been read back.
  EXPECT_EQ(0u, program.err.find("Устройство запрограммированно\nЗапись проверена")) << program.err;

  const CliRun readRun = Cli("read --port " + sim->path() + " --speed 115200 " + out);
  ASSERT_EQ(0, readRun.status) << readRun.err;
  EXPECT_EQ("VGR: 9\nVGT: 8\n", readRun.out);
  Workspace back;
  RecordingMessenger m;
  ASSERT_EQ(kProjectOk, ReadProjectFile(back, v, out, m));
  EXPECT_EQ(ws.config.ownNumber, back.config.ownNumber);
  EXPECT_EQ(ws.config.users, back.config.users);
  EXPECT_EQ(ws.config.addressees.size(), back.config.addressees.size());
  EXPECT_FALSE(back.config.lastLoadTime.empty());
}

TEST_F(CliTest, DiffAgainstTheDeviceAfterProgrammingTheFile) {
  Vocabulary v(vocabulary);
  Workspace ws;
  ResetToDefaults(ws, v);
  FillRich(ws);
  // Held differently by the device: the profile index, bit 5 of the service
  // flags, an addressee without phones.
  ws.config.general.setProfileIndex(2);
  ws.config.general.serviceFlags() |= 0x30;
  ws.config.addressees.push_back(NamedAddressee(4, 0));
  const std::string in = SaveProject(ws, "site.dat");
  EXPECT_EQ(2, Cli("diff --port " + sim->path() + " " + in).status);  // the factory's memory holds nothing
  ASSERT_EQ(0, Cli("program --port " + sim->path() + " --yes " + in).status);

  const CliRun same = Cli("diff --port " + sim->path() + " " + in);
  EXPECT_EQ(0, same.status) << same.out << same.err;
  EXPECT_EQ("", same.out);
  EXPECT_EQ("", same.err);

  ws.config.ownNumber = "+79990000000";
  const std::string changed = SaveProject(ws, "changed.dat");
  const CliRun differs = Cli("diff --port " + sim->path() + " " + changed);
  EXPECT_EQ(1, differs.status) << differs.err;
  EXPECT_EQ("Общие: Собственный номер: «+79161234567» → «+79990000000»\n", differs.out);
  EXPECT_EQ(2, Cli("diff --port " + sim->path() + " " + in + " " + changed).status);
}

// Numbers typed with any letter their fields take program from a file, and
// the device then compares equal to it (numbers in the device's terms).
TEST_F(CliTest, TheWidestPageValuesProgramAndTheDeviceComparesEqual) {
  Vocabulary v(vocabulary);
  Workspace ws;
  ResetToDefaults(ws, v);
  FillWidest(ws);
  const std::string in = SaveProject(ws, "widest.dat");
  const CliRun program = Cli("program --port " + sim->path() + " " + in);
  ASSERT_EQ(0, program.status) << program.err;
  const CliRun same = Cli("diff --port " + sim->path() + " " + in);
  EXPECT_EQ(0, same.status) << same.out << same.err;
}

TEST_F(CliTest, QuestionsAreAnsweredCancelUnlessYes) {
  Vocabulary v(vocabulary);
  Workspace ws;
  ResetToDefaults(ws, v);
  ws.config.smsStrings.push_back({{}, std::string(250, 'x')});
  ws.config.addressees.push_back(NamedAddressee(1, 0));
  const std::string in = SaveProject(ws, "long.dat");

  const CliRun cancelled = Cli("program --port " + sim->path() + " " + in);
  EXPECT_NE(0, cancelled.status);
  EXPECT_NE(std::string::npos, cancelled.err.find("Внимание: "));
  EXPECT_NE(std::string::npos, cancelled.err.find("[Cancel]"));
  EXPECT_EQ(std::string::npos, cancelled.err.find("Устройство запрограммированно"));

  const CliRun yes = Cli("program --port " + sim->path() + " --yes " + in);
  EXPECT_EQ(0, yes.status) << yes.err;
  EXPECT_NE(std::string::npos, yes.err.find("[OK]"));
  EXPECT_NE(std::string::npos, yes.err.find("не имеет телефонов"));  // told, and the run goes on
}

TEST_F(CliTest, FailuresGiveANonZeroStatus) {
  const CliRun noPort = Cli("read --port /nonexistent/tty " + File("x.dat"));
  EXPECT_EQ(1, noPort.status);
  EXPECT_NE(std::string::npos, noPort.err.find("Ошибка: Не удаётся обнаружить"));
  EXPECT_EQ(2, Cli("program --port " + sim->path()).status);
  EXPECT_EQ(2, Cli("program --port " + sim->path() + " --vgt x " + File("y.dat")).status);
  EXPECT_EQ(1, Cli("program --port " + sim->path() + " " + File("missing.dat")).status);
  // Passwords are at most six digits; a named vocabulary must exist.
  for (const char* password : {"12ab", "1234567"}) {
    EXPECT_EQ(2, Cli("read --port " + sim->path() + " --password " + password + " " + File("p.dat")).status);
    EXPECT_EQ(2, Cli("restart --port " + sim->path() + " --password " + password).status);
  }
  vocabulary = File("no-such.ini");
  const CliRun noVocabulary = Cli("read --port " + sim->path() + " " + File("v.dat"));
  EXPECT_EQ(2, noVocabulary.status);
  EXPECT_NE(std::string::npos, noVocabulary.err.find("not found"));
}

// Through pkd-sim's modem with a GSM data call's delays (150 +- 50 ms one
// way): program, then read back what was programmed. A call that does not
// come up fails the command naming the modem's answer.
TEST_F(CliTest, ProgramAndReadOverAModemCall) {
  Vocabulary v(vocabulary);
  Workspace ws;
  ResetToDefaults(ws, v);
  ws.config.ownNumber = "+79161234567";
  ws.config.addressees.push_back(NamedAddressee(1, 1));
  ws.config.users.push_back(MakeUser(1, 0x0F, "1234", 0x21));
  ws.config.smsStrings.clear();  // a smaller image: the call's round trips count
  ws.config.smsSubStrings.clear();
  const std::string in = SaveProject(ws, "call.dat"), out = File("call_out.dat");
  const std::string log = File("call.log");
  SimProcess modem({"--modem", "--modem-dial-ms", "200", "--modem-guard-ms", "1000", "--log", log});
  ASSERT_TRUE(modem.ok()) << modem.error();
  const std::string port = " --port " + modem.path() + " --speed 9600 --dial 89031112233";

  const CliRun program = Cli("program" + port + " --modem-init AT+CBST=7,0,1 --vgr 4 " + in);
  ASSERT_EQ(0, program.status) << program.err;
  EXPECT_EQ(0u, program.err.find("Устройство запрограммированно\nЗапись проверена")) << program.err;
  const CliRun readRun = Cli("read" + port + " " + out);
  ASSERT_EQ(0, readRun.status) << readRun.err;
  EXPECT_EQ("VGR: 4\nVGT: 255\n", readRun.out);
  Workspace back;
  RecordingMessenger m;
  ASSERT_EQ(kProjectOk, ReadProjectFile(back, v, out, m));
  ExpectSameConfiguration(AsReadBack(ws.config, back, ws.codeDefinitions), back.config);
  // Both calls were placed and hung up.
  EXPECT_EQ(2u, LogLines(log, "# modem: dialling 89031112233").size());
  EXPECT_EQ(1u, LogLines(log, "# modem: AT+CBST=7,0,1").size());
  EXPECT_EQ(2u, LogLines(log, "# modem: call ended (ATH)").size());

  for (const auto& [answer, said] : {std::pair{"busy", "(BUSY)"}, std::pair{"no-answer", "(NO ANSWER)"}}) {
    SimProcess refusing({"--modem", "--modem-dial-ms", "200", "--modem-answer", answer});
    const CliRun r = Cli("restart --port " + refusing.path() + " --dial 5551234");
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.err.find("Ошибка: Вызов не состоялся")) << r.err;
    EXPECT_NE(std::string::npos, r.err.find(said)) << r.err;
  }
  EXPECT_EQ(2, Cli("read --port " + modem.path() + " --dial 12a " + File("q.dat")).status);  // not a number
  EXPECT_EQ(2, Cli("leave --port " + modem.path() + " --modem-init ATZ").status);
}

TEST_F(CliTest, FailedReadLeavesTheOutputAlone) {
  const std::string out = File("kept.dat");
  std::FILE* f = std::fopen(out.c_str(), "w");
  std::fputs("mine", f);
  std::fclose(f);
  // An existing file is refused before the device is asked anything.
  EXPECT_EQ(2, Cli("read --port " + sim->path() + " " + out).status);
  EXPECT_EQ("mine", ReadText(out));
  EXPECT_EQ(2, Cli("read --port " + sim->path() + " /nonexistent/dir/out.dat").status);

  // The factory's memory: nothing to read, and nothing written or created.
  const CliRun fresh = Cli("read --port " + sim->path() + " --yes " + out);
  EXPECT_EQ(1, fresh.status);
  EXPECT_NE(std::string::npos, fresh.err.find("ещё нет настроек"));
  EXPECT_EQ("mine", ReadText(out));
  const std::string none = File("none.dat");
  EXPECT_EQ(1, Cli("read --port " + sim->path() + " " + none).status);
  EXPECT_FALSE(std::ifstream(none).good());

  // A speed the window does not offer is refused before the port is opened.
  const CliRun oddSpeed = Cli("read --port " + sim->path() + " --speed 12345 " + File("e.dat"));
  EXPECT_EQ(2, oddSpeed.status);
  EXPECT_EQ(0u, oddSpeed.err.find("vorsin-cli: bad --speed 12345 (one of 2400, ")) << oddSpeed.err;
}

// Every command that takes a file, with a Cyrillic name in a folder whose
// name has spaces: the file is found, named readably in messages (UTF-8),
// and shown once-encoded in JSON and in the report.
TEST_F(CliTest, CyrillicNamesAndSpaces) {
  const std::string dir = File("Папка с пробелом");
  std::filesystem::create_directories(dir);
  struct RemoveDir {
    std::string dir;
    ~RemoveDir() { std::filesystem::remove_all(dir); }
  } cleanup{dir};
  const auto in = [&](const std::string& name) { return dir + "/" + name; };
  const auto q = [&](const std::string& name) { return testing::Quoted(in(name)); };
  std::filesystem::copy_file(vocabulary, in("Словарь клиента.ini"));
  vocabulary = q("Словарь клиента.ini");
  const std::string site = in("Объект.dat");

  struct Case {
    std::string line;
    int status;
    std::string out, err;  // expected to be found in stdout and stderr
  };
  const std::string port = " --port " + sim->path() + " ";
  const std::vector<Case> cases = {
      {"save-default " + q("Объект.dat"), 0, "", ""},
      {"show " + q("Объект.dat"), 0, "\"projectFileName\": \"" + site + "\"", ""},
      {"resave " + q("Объект.dat") + " " + q("Копия объекта.dat"), 0, "", ""},
      {"diff " + q("Объект.dat") + " " + q("Копия объекта.dat"), 0, "", ""},
      {"report " + q("Объект.dat") + " " + q("Отчёт клиента.html"), 0, "", ""},
      {"program" + port + q("Объект.dat"), 0, "", "Устройство запрограммированно"},
      {"read" + port + q("Считано.dat"), 0, "VGR: ", ""},
      {"read" + port + q("Объект.dat"), 2, "", site + " exists; add --yes"},
      {"--yes read" + port + q("Объект.dat"), 0, "VGR: ", ""},
      {"diff" + port + q("Считано.dat"), 0, "", ""},
      {"show " + q("Нет такого.dat"), 1, "", "Ошибка: Не удалось открыть файл " + in("Нет такого.dat")},
      {"flash" + port + q("Прошивка.hwr"), 1, "", "Ошибка: Cannot open file " + in("Прошивка.hwr")},
      {"from-json " + q("Нет такого.json") + " " + q("Из json.dat"), 2, "", "cannot read " + in("Нет такого.json")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const CliRun r = Cli(c.line);
    EXPECT_EQ(c.status, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find(c.out)) << r.out;
    EXPECT_NE(std::string::npos, r.err.find(c.err)) << r.err;
    EXPECT_EQ(std::string::npos, r.err.find('?')) << r.err;
  }
  vocabulary = q("Нет словаря.ini");
  EXPECT_EQ("vorsin-cli: vocabulary file " + in("Нет словаря.ini") + " not found\n", Cli("show").err);
  vocabulary = q("Словарь клиента.ini");
  for (const char* made : {"Объект.dat", "Копия объекта.dat", "Считано.dat", "Отчёт клиента.html"})
    EXPECT_TRUE(std::filesystem::is_regular_file(in(made))) << made;
  const std::string html = ReadText(in("Отчёт клиента.html"));
  EXPECT_NE(std::string::npos, html.find("<title>Ворсин: " + site + "</title>")) << html.substr(0, 300);

  // The JSON of a file goes back through from-json into a file of the same bytes.
  const CliRun show = Cli("show " + q("Объект.dat"));
  std::ofstream(in("Объект клиента.json")) << show.out;
  ASSERT_EQ(0, Cli("from-json " + q("Объект клиента.json") + " " + q("Из json.dat")).status);
  ASSERT_EQ(0, Cli("resave " + q("Объект.dat") + " " + q("Копия объекта.dat")).status);
  EXPECT_EQ(ReadText(in("Из json.dat")), ReadText(in("Копия объекта.dat")));

  // A failed read leaves the existing file as it was, with or without --yes.
  const std::string kept = ReadText(site);
  ASSERT_FALSE(kept.empty());
  for (const std::string yes : {"", "--yes "}) {
    const CliRun r = Cli(yes + "read --port /nonexistent/tty " + q("Объект.dat"));
    EXPECT_NE(0, r.status) << yes;
    EXPECT_EQ(kept, ReadText(site)) << yes;
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp")) << "left behind: " << entry.path();
}

// A Linux name in another encoding (here Windows-1251 bytes) is opened as it
// is and shown in valid UTF-8, not encoded twice.
TEST_F(CliTest, AForeignNameIsShownAsValidUtf8) {
  const std::string foreign = File("\xCE\xE1\xFA\xE5\xEA\xF2.dat");
  ASSERT_EQ(0, Cli("save-default " + testing::Quoted(foreign)).status);
  const CliRun show = Cli("show " + testing::Quoted(foreign));
  ASSERT_EQ(0, show.status) << show.err;
  const auto json = nlohmann::json::parse(show.out, nullptr, false);
  ASSERT_FALSE(json.is_discarded());
  const std::string shown = json["projectFileName"];
  EXPECT_EQ(shown.substr(shown.size() - 22), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.dat");
}

TEST_F(CliTest, ProgramVerifiesUnlessToldNotAndNamesTheFirstDifferingAddress) {
  Vocabulary v(vocabulary);
  Workspace ws;
  ResetToDefaults(ws, v);
  FillRich(ws);
  const std::string in = SaveProject(ws, "verify.dat");

  // A worn cell in the PIN code: found by default and with the old --verify.
  SimProcess stuck({"--stuck-byte", "0x0101"});
  ASSERT_TRUE(stuck.ok()) << stuck.error();
  for (const char* verify : {"", " --verify"}) {
    const CliRun bad = Cli("program --port " + stuck.path() + " " + in + verify);
    EXPECT_EQ(1, bad.status) << verify;
    EXPECT_NE(std::string::npos, bad.err.find("Ошибка: ")) << bad.err;
    EXPECT_NE(std::string::npos, bad.err.find("0x0101")) << bad.err;
    EXPECT_EQ(std::string::npos, bad.err.find("Устройство запрограммированно"));
  }
  // Without the check the same device is programmed as ever.
  const CliRun plain = Cli("program --no-verify --port " + stuck.path() + " " + in);
  EXPECT_EQ(0, plain.status) << plain.err;
  EXPECT_EQ("Устройство запрограммированно\n", plain.err);
}

TEST_F(CliTest, ProgrammingCutOffSaysTheDeviceMustBeProgrammedAgain) {
  Vocabulary v(vocabulary);
  Workspace ws;
  ResetToDefaults(ws, v);
  const std::string in = SaveProject(ws, "cut.dat");
  const std::string noLink = "Ошибка: Отсутствие связи с устройством\n";
  const std::string again = "Устройство запрограммировано не полностью, запрограммируйте его заново.\n";

  // Access, the table, the versions and the general block, then three writes.
  SimProcess cut({"--cut-after", "8"});
  ASSERT_TRUE(cut.ok()) << cut.error();
  const CliRun half = Cli("program --port " + cut.path() + " " + in);
  EXPECT_EQ(1, half.status);
  EXPECT_EQ(noLink + again, half.err);

  SimProcess dead({"--cut-after", "0"});  // no device answers at all
  ASSERT_TRUE(dead.ok()) << dead.error();
  const CliRun none = Cli("program --port " + dead.path() + " " + in);
  EXPECT_EQ(1, none.status);
  EXPECT_EQ(noLink, none.err);
}

}  // namespace
}  // namespace vorsin

namespace vorsin {
namespace {

// Text forms of a project file: its JSON gives the same bytes back, and the
// comparison finds nothing between a file, its resaved copy and its JSON round trip.
TEST_F(CliTest, JsonRoundTripAndDiffOfEqualFiles) {
  Vocabulary v(vocabulary);
  Workspace ws;
  ResetToDefaults(ws, v);
  FillRich(ws);
  const std::string x = SaveProject(ws, "x.dat"), json = File("x.json"), y = File("y.dat"), z = File("z.dat");
  const CliRun show = Cli("show " + x);
  ASSERT_EQ(0, show.status) << show.err;
  std::ofstream(json) << show.out;
  ASSERT_EQ(0, Cli("from-json " + json + " " + y).status);
  ASSERT_EQ(0, Cli("resave " + x + " " + z).status);
  EXPECT_EQ(ReadText(y), ReadText(z));
  for (const std::string& other : {x, y, z}) {
    const CliRun diff = Cli("diff " + x + " " + other);
    EXPECT_EQ(0, diff.status) << diff.out << diff.err;
    EXPECT_EQ("", diff.out);
  }

  // A misfit is refused naming its path, and OUT is not made.
  std::string text = show.out;
  const size_t pin = text.find("\"pinCode\": \"");
  ASSERT_NE(std::string::npos, pin);
  const size_t end = text.find('"', pin + std::string("\"pinCode\": \"").size());
  text.replace(pin, end + 1 - pin, "\"pinCode\": 5");
  std::ofstream(json, std::ios::trunc) << text;
  const std::string w = File("w.dat");
  const CliRun refused = Cli("from-json " + json + " " + w);
  EXPECT_EQ(2, refused.status);
  EXPECT_NE(std::string::npos, refused.err.find("configuration.pinCode: must be a text")) << refused.err;
  EXPECT_FALSE(std::ifstream(w).good());
}

}  // namespace
}  // namespace vorsin
