#include <gtest/gtest.h>

#include "model/configuration.h"

namespace vorsin {
namespace {

// Masks number their items from the top bit, and an edit of one item keeps
// every other bit, the ones past the eight items included.
TEST(RecordBits, TopBitFirstMasksKeepOtherBits) {
  EXPECT_EQ(AddresseeBit(0), 0x80);
  EXPECT_EQ(AddresseeBit(7), 0x01);
  EXPECT_EQ(PhoneBit(3), 0x10);
  EXPECT_EQ(TopBit(8), 0);
  EXPECT_EQ(TopBit(-1), 0);
  EXPECT_EQ(WithBits(0x1F0, 0x80, true), 0x1F0);
  EXPECT_EQ(WithBits(0x1F0, 0x80, false), 0x170);
  EXPECT_EQ(WithBits(0x100, 0x01, true), 0x101);

  EventEntry e;
  e.setAddresseeMask(0x300);
  e.setReportsTo(1, true);
  e.setReportsTo(7, true);
  EXPECT_EQ(e.addresseeMask(), 0x341);
  EXPECT_TRUE(e.reportsTo(1));
  EXPECT_FALSE(e.reportsTo(0));
  e.setReportsTo(1, false);
  EXPECT_EQ(e.addresseeMask(), 0x301);

  RemoteCommand c;
  c.setAllowsPhone(0, true);
  EXPECT_EQ(c.phoneMask(), 0x80);
  EXPECT_TRUE(c.allowsPhone(0));
  EXPECT_FALSE(c.allowsPhone(1));
}

// The names lie on the words the formats store.
TEST(RecordBits, NamesMapOntoStoredWords) {
  Interval t;
  t.setRangeLow(7, 5);
  t.setRangeWidth(7, 6);
  EXPECT_EQ(t.w[16], 5);
  EXPECT_EQ(t.w[17], 6);
  User u;
  u.setKeyByte(5, 0xAB);
  EXPECT_EQ(u.w[9], 0xAB);
  RelayPattern p;
  p.setStep(RelayPattern::kMaxSteps - 1, 1);
  EXPECT_EQ(p.w[17], 1);
  EXPECT_THROW(p.setStep(RelayPattern::kMaxSteps, 1), std::out_of_range);
}

}  // namespace
}  // namespace vorsin
