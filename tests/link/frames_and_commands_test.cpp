// Frame layout, password bytes, error texts and the address table's byte order.
#include <gtest/gtest.h>

#include <vector>

#include "link/com_port.h"
#include "link/device_commands.h"
#include "link/device_errors.h"
#include "link/frame.h"
#include "link/port_list.h"
#include "model/cp1251.h"

namespace vorsin {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(Frame, LayoutAndChecksum) {
  EXPECT_EQ(BuildFrame(0x24, {}), (Bytes{0x00, 0x01, 0xFE, 0x24, 0x01, 0x23}));

  const Bytes payload(53, 0xAB);
  const Bytes frame = BuildFrame(0x23, payload);
  ASSERT_EQ(frame.size(), 59u);
  EXPECT_EQ(frame[1], 54);
  EXPECT_EQ(frame[2], 54 ^ 0xFF);
  // The sum covers start, L, ~L, code and payload and wraps at 16 bits.
  unsigned sum = 0x00 + 54 + (54 ^ 0xFF) + 0x23 + 53 * 0xAB;
  EXPECT_EQ(frame[57], (sum >> 8) & 0xFF);
  EXPECT_EQ(frame[58], sum & 0xFF);
  EXPECT_EQ(FrameChecksum(frame), sum & 0xFFFF);

  // L is taken from the frame, not from the span: trailing bytes do not count.
  Bytes padded = BuildFrame(0x24, {});
  padded.push_back(0x77);
  EXPECT_EQ(FrameChecksum(padded), 0x0123);
  // A frame claiming more than it holds sums only what is there.
  EXPECT_EQ(FrameChecksum(Bytes{0x00, 0xFF}), 0xFF);
  // Sums past 0xFFFF wrap.
  EXPECT_EQ(FrameChecksum(BuildFrame(0x22, Bytes(254, 0xFF))), (0xFF + 0x00 + 0x22 + 254 * 0xFF) & 0xFFFF);
}

TEST(Password, DigitsFillNibblesInOrder) {
  using P = std::array<uint8_t, 3>;
  EXPECT_EQ(EncodePassword("123456"), (P{0x12, 0x34, 0x56}));
  EXPECT_EQ(EncodePassword("1234"), (P{0x12, 0x34, 0xFF}));
  EXPECT_EQ(EncodePassword("907"), (P{0x90, 0x7F, 0xFF}));
  EXPECT_EQ(EncodePassword(""), (P{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(EncodePassword("0"), (P{0x0F, 0xFF, 0xFF}));
  // Only digits count, and never more than six of them.
  EXPECT_EQ(EncodePassword("1a2"), (P{0x12, 0xFF, 0xFF}));
  EXPECT_EQ(EncodePassword("12345678"), (P{0x12, 0x34, 0x56}));
  // What may be sent at all: digits only, at most six.
  EXPECT_TRUE(ValidPassword("") && ValidPassword("123456"));
  EXPECT_FALSE(ValidPassword("12ab") || ValidPassword("1234567") || ValidPassword(" 12"));
}

TEST(DeviceErrors, PrefixByCommandTextBySubCode) {
  auto text = [](uint8_t cmd, uint8_t sub) { return ToUtf8(DeviceErrorText(cmd, sub).value()); };
  EXPECT_EQ(text(0x23, 16), "WriteEEPROM: неверный пароль или оштбка доступа");
  EXPECT_EQ(text(0x20, 0), "TakeAccess: неизвестная комманда");
  EXPECT_EQ(text(0x22, 1), "ReadEEPROM: недопустимые параметры комманды");
  EXPECT_EQ(text(0x24, 13), "AddressTable: комманда недопустима в текушем режиме работы");
  EXPECT_EQ(text(0x22, 17), "ReadEEPROM: ошибка таблицы адресации");
  EXPECT_EQ(text(0x26, 1), "??? : недопустимые параметры комманды");
  EXPECT_EQ(text(0x28, 99), "??? : ?");
  EXPECT_EQ(text(0x24, 2), "AddressTable: ?");  // a retry request that never went away
  EXPECT_FALSE(DeviceErrorText(0x23, 18).has_value());
}

TEST(AddressTable, EntriesAreLittleEndianAndBounded) {
  AddressTable t;
  SetTableEntry(t, 0, 0x1234);
  SetTableEntry(t, 42, 0xBEEF);
  EXPECT_EQ(t.bytes[0], 0x34);
  EXPECT_EQ(t.bytes[1], 0x12);
  EXPECT_EQ(t.bytes[84], 0xEF);
  EXPECT_EQ(t.bytes[85], 0xBE);
  EXPECT_EQ(TableEntry(t, 42), 0xBEEF);
  const auto before = t.bytes;
  SetTableEntry(t, 43, 1);
  SetTableEntry(t, -1, 1);
  EXPECT_EQ(t.bytes, before);
  EXPECT_EQ(TableEntry(t, 43), 0);
}

TEST(Timeouts, PerByteAllowanceCoversTheWireTime) {
  EXPECT_EQ(ByteWireMs(115200), 1);
  EXPECT_EQ(ByteWireMs(9600), 2);  // 1.04 ms rounds up
  EXPECT_EQ(ByteWireMs(10000), 1);
  EXPECT_EQ(ByteWireMs(4800), 3);
  EXPECT_EQ(ByteWireMs(2400), 5);
  EXPECT_EQ(ByteWireMs(0), 1);
}

// The port box lists COM1..COM5, then what else the system has, in number order.
TEST(PortList, OtherComPortsAfterTheNumberedOnes) {
  EXPECT_EQ(OtherComPorts({"COM12", "\\\\.\\COM7", "com3", "COM7", "CNCA0", "COM", "COMX1", "LPT1", "COM1234567"}),
            (std::vector<std::string>{"COM7", "COM12"}));
  const std::vector<PortChoice> listed = ListPorts();
  ASSERT_GE(listed.size(), 5u);
  EXPECT_EQ(listed[0].label, "Com1");
  EXPECT_EQ(listed[4].label, "Com5");
}

}  // namespace
}  // namespace vorsin
