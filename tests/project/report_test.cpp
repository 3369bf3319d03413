#include "project/report.h"

#include <regex>
#include <set>

#include "../image/image_test_support.h"
#include "model/cp1251.h"
#include "model/vocabulary_lists.h"
#include "project_test_support.h"
#include "sms/sms.h"

namespace vorsin {
namespace {

using Report = testing::ProjectTest;

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST_F(Report, HoldsEveryPageAndHidesSecretsUnlessAsked) {
  Workspace ws = Defaults();
  testing::FillRich(ws);
  ws.config.pinCode = "4711";
  ws.config.users.push_back(testing::Rec({0, 5, 0, 1, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB}, "908070"));
  ws.config.remoteCommands.push_back(testing::Rec({0, 3}, "5544"));
  ws.config.smsStrings.push_back(testing::Rec({}, Cp("Тревога <дверь> & окно")));
  ReportOptions options;
  options.title = "объект.dat";
  const std::string html = BuildReport(ws, options);

  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_EQ(Count(html, "<table"), Count(html, "</table>"));
  EXPECT_EQ(Count(html, "<tr>"), Count(html, "</tr>"));
  EXPECT_EQ(Count(html, "<script"), 0u);
  EXPECT_EQ(Count(html, "src="), 0u);
  for (const Addressee& a : ws.config.addressees) {
    EXPECT_NE(html.find(ToUtf8(a.name)), std::string::npos);
    for (const AddresseePhone& p : a.phones) EXPECT_NE(html.find(ToUtf8(p.phoneNumber)), std::string::npos);
  }
  // Templates and their previews, escaped.
  EXPECT_NE(html.find("Тревога &lt;дверь&gt; &amp; окно"), std::string::npos);
  const std::string preview = ToUtf8(DisplaySms(ws.config.smsStrings[0].text, 0, MakeSmsContext(ws)));
  EXPECT_NE(html.find(preview.substr(0, preview.find('<'))), std::string::npos);
  EXPECT_NE(html.find("00AB8967452301"), std::string::npos);  // the user's key, as the users page shows it
  for (const char* secret : {"4711", "908070", "5544"}) EXPECT_EQ(html.find(secret), std::string::npos) << secret;

  options.withSecrets = true;
  const std::string open = BuildReport(ws, options);
  for (const char* secret : {"4711", "908070", "5544"}) EXPECT_NE(open.find(secret), std::string::npos) << secret;
}

// The text of the table cell that follows the cell holding `after`, from `from` on.
std::string CellAfter(const std::string& html, const std::string& after, size_t from = 0) {
  const size_t at = html.find("<td>" + after + "</td>", from);
  if (at == std::string::npos) return "(no cell " + after + ")";
  const size_t start = html.find("<td>", at + 1) + 4;
  return html.substr(start, html.find("</td>", start) - start);
}
// The cells of the table row whose first cell is `first`, after the first heading `section`.
std::vector<std::string> Row(const std::string& html, const std::string& section, const std::string& first) {
  std::vector<std::string> cells;
  const size_t from = html.find(section);
  if (from == std::string::npos) return cells;
  std::smatch row;
  const std::string rest = html.substr(from);
  if (!std::regex_search(rest, row, std::regex("<tr><td[^>]*>" + first + "</td>.*?</tr>"))) return cells;
  const std::string text = row.str();
  const std::regex cell("<td[^>]*>(.*?)</td>");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), cell); it != std::sregex_iterator(); ++it)
    cells.push_back((*it)[1]);
  return cells;
}

// A realistic site printed: every value in the words its page shows, no codes or bit strings.
TEST(ReportOfARichSite, ShowsValuesAsThePagesNameThem) {
  Vocabulary vocabulary(image_test::ShippedVocabulary());
  Workspace ws;
  ResetToDefaults(ws, vocabulary);
  image_test::FillRich(ws);
  ws.config.remoteCommands[0].w[1] = 0xC0;
  // Event 2 restores with the first string whose restore form differs from its new-event form.
  const SmsContext ctx = MakeSmsContext(ws);
  size_t differs = 0;
  while (differs < ws.config.smsStrings.size() &&
         DisplaySms(ws.config.smsStrings[differs].text, 0, ctx) == DisplaySms(ws.config.smsStrings[differs].text, 1, ctx))
    ++differs;
  ASSERT_LT(differs, ws.config.smsStrings.size());
  ws.config.events[2].w[6] = static_cast<int32_t>(differs + 1);
  const std::string html = BuildReport(ws, {});

  EXPECT_EQ(Count(html, "<script"), 0u);
  EXPECT_EQ(Count(html, "0x"), 0u);
  EXPECT_FALSE(std::regex_search(html, std::regex(">[01]{8}<"))) << "a bit string";
  // Every section's title is its own.
  std::set<std::string> titles;
  const std::regex heading("<h[23]>([^<]*)</h[23]>");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), heading); it != std::sregex_iterator(); ++it)
    EXPECT_TRUE(titles.insert((*it)[1]).second) << (*it)[1];
  EXPECT_TRUE(titles.count("Параметры телефонов") && titles.count("Рабочие телефоны") && titles.count("Управление"));

  // General: the profile by name, the flags by their boxes' captions.
  EXPECT_NE(html.find("<th width=\"40%\">Профиль</th><td>Другой</td>"), std::string::npos);
  EXPECT_NE(html.find("Тональный набор</th><td>да</td>"), std::string::npos);
  EXPECT_NE(html.find("Не контролировать 425 Гц</th><td>нет</td>"), std::string::npos);
  EXPECT_NE(html.find("Разрешить просмотр протокола обмена с модемом</th><td>да</td>"), std::string::npos);
  EXPECT_NE(html.find("Эмулировать телефонную линию</th><td>да</td>"), std::string::npos);

  // Addressees: the delivery mode, formats and phone flags by their list texts.
  EXPECT_NE(html.find("Режим доставки SMS</th><td>с предварительным вызовом</td>"), std::string::npos);
  const auto phone = Row(html, "Пульт охраны", "Телефон 1");
  ASSERT_EQ(phone.size(), 8u);
  EXPECT_EQ(phone[2], "8 / 9p");
  EXPECT_EQ(phone[3], "Сотовый");
  EXPECT_EQ(phone[4], "Sms - текст");
  EXPECT_EQ(phone[5], "Contact-ID");
  EXPECT_EQ(phone[6], ToUtf8(VoiceRepeatItems(ws.config.general)[2]));
  EXPECT_EQ(phone[7], "Определение сигнала &quot;Занято&quot;");

  // Loops: kinds as the groups' titles, common loops as a list, the latch of the loop itself.
  const size_t loop1 = html.find("<h3>Шлейф 1: Охранный шлейф</h3>");
  ASSERT_NE(loop1, std::string::npos);
  const std::string loop1Block = html.substr(loop1, html.find("</table>", loop1) - loop1);
  EXPECT_NE(loop1Block.find("Общие шлейфы</th><td>Шлейф 3, 4</td>"), std::string::npos);
  EXPECT_NE(loop1Block.find("Защёлкнуть</th><td>" + ToUtf8(FormatLatch(0, LatchWhich::Latch))), std::string::npos);
  EXPECT_NE(loop1Block.find("Перевзятие</th><td>" + ToUtf8(FormatLatch(93, LatchWhich::Rearm))), std::string::npos);
  EXPECT_NE(loop1Block.find("Задержка на взятие включена</th><td>да</td>"), std::string::npos);
  EXPECT_NE(html.find("<h3>Шлейф 3: Пожарный шлейф</h3>"), std::string::npos);
  EXPECT_NE(html.find("<h3>Шлейф 4: Контрольный вход (КВ)</h3>"), std::string::npos);

  // Events: numbered as the events page's "N"; both SMS columns as the SMS engine renders them.
  const auto event = Row(html, "<h2>События", "2");
  ASSERT_EQ(event.size(), 8u);
  EXPECT_EQ(event[1], ToUtf8(ws.config.events[2].text));
  EXPECT_EQ(event[5], "3: <span class=\"sms\">" + ToUtf8(DisplaySms(ws.config.smsStrings[2].text, 0, ctx)) + "</span>");
  EXPECT_EQ(event[6], std::to_string(differs + 1) + ": <span class=\"sms\">" +
                          ToUtf8(DisplaySms(ws.config.smsStrings[differs].text, 1, ctx)) + "</span>");
  EXPECT_EQ(CellAfter(html, "Ежедневно 07:30"), "0: " + ToUtf8(ws.config.events[0].text));
  EXPECT_NE(html.find("<td>15 числа в 23:59</td><td>20: "), std::string::npos);

  // Users: loops as a list, the key as the users page shows it, the engineer by name.
  const auto user1 = Row(html, "<h2>Пользователи", "Пользователь 01");
  ASSERT_EQ(user1.size(), 5u);
  EXPECT_EQ(user1[1], "Шлейф 1, 2, 3, 4");
  EXPECT_EQ(user1[2], "00766554433221");
  EXPECT_EQ(user1[3], "нет");
  EXPECT_EQ(Row(html, "<h2>Пользователи", "Пользователь 05")[1], "Шлейф 3, 4");
  const auto user2 = Row(html, "<h2>Пользователи", "Пользователь 02");
  ASSERT_EQ(user2.size(), 5u);
  EXPECT_EQ(user2[2], "нет");
  EXPECT_EQ(user2[3], "да");

  // Remote control: phone modes as the page's texts, bound phones as a list.
  EXPECT_EQ(Row(html, "Рабочие телефоны", "Тел. 1")[2], "&quot;Ручной запуск&quot; реле");
  EXPECT_EQ(Row(html, "Рабочие телефоны", "Тел. 2")[2], "Взятие\\Снятие, Пользователь 04");
  EXPECT_EQ(Row(html, "Рабочие телефоны", "Тел. 3")[2], "Взятие\\Снятие, Инженер");
  EXPECT_EQ(Row(html, "<h3>Команды", "1")[2], "Тел 1, Тел 2");
  EXPECT_EQ(Row(html, "<h3>Команды", "2")[2], "Тел 2");

  // Empty lists say so in one line.
  EXPECT_NE(html.find("<p class=\"none\">Привязок нет</p>"), std::string::npos);
  ws.config.addressees.clear();
  ws.config.timeEvents.clear();
  const std::string bare = BuildReport(ws, {});
  EXPECT_NE(bare.find("<h2>Адресаты</h2>\n<p class=\"none\">Адресатов нет</p>"), std::string::npos);
  EXPECT_NE(bare.find("<h3>События по времени</h3>\n<p class=\"none\">Событий по времени нет</p>"), std::string::npos);
}

}  // namespace
}  // namespace vorsin
