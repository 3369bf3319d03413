#include "model/config_diff.h"

#include "model/config_from_json.h"
#include "model/config_json.h"
#include "project/project_file.h"
#include "project_test_support.h"

namespace vorsin {
namespace {

using Diff = testing::ProjectTest;
using Lines = std::vector<std::string>;

TEST_F(Diff, EachChangeGivesItsOwnLineAndEqualConfigurationsNone) {
  Workspace ws = Defaults();
  testing::FillRich(ws);
  const Configuration before = ws.config;
  EXPECT_TRUE(DiffConfigurations(before, before).empty());

  // Saved and opened again: still equal.
  const std::string file = Path("site.dat");
  testing::RecordingMessenger m;
  ASSERT_EQ(WriteProjectFile(ws, file, m), kProjectOk);
  Workspace again;
  Vocabulary v(vocabularyPath_);
  ASSERT_EQ(ReadProjectFile(again, v, file, m), kProjectOk);
  EXPECT_EQ(DiffConfigurations(ws.config, again.config), Lines{});

  ws.config.general.loopFlags(2) = 0x20;  // a guard loop with one option
  const Configuration guard = ws.config;
  Configuration after = guard;
  after.addressees[1].name = Cp("Склад");
  after.addressees[2].phones[1].phoneNumber = "89167654321";
  after.general.loopFlags(2) = 0x21;  // now a fire loop
  after.smsStrings[0].text = Cp("Пожар");
  after.relayBindings[1][4].push_back({{0, 7, 0x41, 2}});
  after.events[3].w[9] = guard.events[3].w[9] == 0x40 ? 0x80 : 0x40;
  const Lines lines = DiffConfigurations(guard, after);
  const Lines expected = {
      "Адресаты: Склад: имя: «Адресат1» → «Склад»",
      "Адресаты: Адресат2: Телефон 1: номер: 891 → 89167654321",
      "Шлейфы: Шлейф 3: вид: охранный → пожарный",
      "Реле: Реле 2: общие события: привязка " + std::to_string(after.relayBindings[1][4].size()) + ": добавлен",
      "Отчёты: 4 «" + ToUtf8(guard.events[3].text) + "»: адресаты: ",
      "Sms: Sms строка 1: «" + ToUtf8(guard.smsStrings[0].text) + "» → «Пожар»",
  };
  ASSERT_EQ(lines.size(), expected.size()) << ::testing::PrintToString(lines);
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i].substr(0, expected[i].size()), expected[i]) << lines[i];
}

}  // namespace
}  // namespace vorsin
