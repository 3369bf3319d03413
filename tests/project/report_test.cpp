#include "project/report.h"

#include "model/cp1251.h"
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
  EXPECT_NE(html.find("0123456789AB"), std::string::npos);  // the user's key
  for (const char* secret : {"4711", "908070", "5544"}) EXPECT_EQ(html.find(secret), std::string::npos) << secret;

  options.withSecrets = true;
  const std::string open = BuildReport(ws, options);
  for (const char* secret : {"4711", "908070", "5544"}) EXPECT_NE(open.find(secret), std::string::npos) << secret;
}

}  // namespace
}  // namespace vorsin
