#include "model/general_rules.h"

#include <gtest/gtest.h>

#include "model/cp1251.h"

namespace vorsin {
namespace {

constexpr size_t kByOwn = 6, kByExpress = 7, kEmulate = 4;

TEST(GeneralRules, NumbersFollowTheDeviceField) {
  EXPECT_TRUE(IsValidNumber("1234567890123456"));  // what 8 bytes hold
  EXPECT_FALSE(IsValidNumber("12345678901234567"));
  EXPECT_TRUE(IsValidNumber(Cp("+7pPtTпПтТгГ#*?")));
  EXPECT_FALSE(IsValidNumber("12ab34") || IsValidNumber(""));
  EXPECT_TRUE(IsNumberKey('+') && IsNumberKey('0') && !IsNumberKey('p') && !IsNumberKey('?'));
  EXPECT_EQ(KeptNumber("12ab"), "");
  EXPECT_EQ(ParsePeriod(Cp("2 Часа"), 5), 0x82);
  EXPECT_EQ(ParsePeriod(Cp("128 минут"), 5), 5);  // beyond 7 bits: the old count stays
  EXPECT_EQ(ParsePeriod(Cp("нет"), 5), 0);
  EXPECT_EQ(ParseCount("255", 9), 9);
  EXPECT_EQ(DeviceAddressText("1 2"), "102");
}

TEST(GeneralRules, TimeComesFromOneSourceWithItsNumbersOnly) {
  Configuration c;
  c.general.serviceFlags() = 0;
  EXPECT_FALSE(GeneralOptionOpen(c, kByOwn) || GeneralOptionOpen(c, kByExpress));
  c.smsCentre = "+7902";
  c.ownNumber = "123";
  c.expressOutNumber = c.expressInNumber = "*100#";
  EXPECT_TRUE(GeneralOptionOpen(c, kByOwn) && GeneralOptionOpen(c, kByExpress));
  SetGeneralOption(c, kByOwn, true);
  SetGeneralOption(c, kByExpress, true);
  EXPECT_FALSE(GeneralOptionSet(c, kByOwn));
  EXPECT_TRUE(GeneralOptionSet(c, kByExpress));
  c.expressInNumber.clear();
  DropClosedTimeSources(c);
  EXPECT_FALSE(GeneralOptionSet(c, kByExpress));
}

TEST(GeneralRules, ConnectingTheLineEndsItsEmulation) {
  Configuration c;
  SetGeneralOption(c, kLineDisconnectedOption, true);
  EXPECT_FALSE(GeneralOptionOpen(c, 0));
  SetGeneralOption(c, kEmulate, true);
  SetGeneralOption(c, kEmulate + 1, true);
  EXPECT_EQ(c.general.serviceFlags() & 0xC0, 0xC0);
  SetGeneralOption(c, kLineDisconnectedOption, false);
  EXPECT_EQ(c.general.serviceFlags() & 0xC0, 0);
  EXPECT_TRUE(GeneralOptionOpen(c, 0) && !GeneralOptionOpen(c, kEmulate));
}

}  // namespace
}  // namespace vorsin
