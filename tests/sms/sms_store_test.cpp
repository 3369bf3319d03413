#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "model/cp1251.h"
#include "sms/sms.h"
#include "sms_test_util.h"

namespace vorsin {
namespace {

using sms_test::B;
using sms_test::Records;

TEST(SmsUcs2, CyrillicBeforeTheEndMarker) {
  EXPECT_FALSE(NeedsUcs2(B({})));
  EXPECT_FALSE(NeedsUcs2(B({0xFF})));            // the end marker alone
  EXPECT_FALSE(NeedsUcs2(B({'a', 0xBF, 0xFF})));
  for (int b : {0xA8, 0xB8, 0xC0, 0xE0, 0xFF})
    EXPECT_TRUE(NeedsUcs2(B({'a', b, 0xFF}))) << b;
  EXPECT_FALSE(NeedsUcs2(B({'a', 0xC0})));        // last byte not looked at
}

TEST(SmsStore, ListsWithIdentifiersAndUcs2Marker) {
  const SmsContext ctx;
  EXPECT_EQ(StoreSmsList(Records({Cp("я")}), 20, ctx), B({20, 138, 136, 254, 255}));
  EXPECT_EQ(StoreSmsList(Records({"Ok", Cp("Да")}), 1, ctx),
            B({1, 'O', 'k', 255, 2, 138, 0xC4, 0xE0, 255}));
  EXPECT_EQ(StoreSmsList(Records({}), 80, ctx), B({}));
}

TEST(SmsStore, ListStopsBeforeTheEndMarkerIdentifier) {
  const auto list = Records({"a", "b", "c"});
  EXPECT_EQ(StoreSmsList(list, 253, {}), B({253, 'a', 255, 254, 'b', 255}));
}

TEST(SmsStore, BlockHoldsThreeListsAndThreeEndMarkers) {
  Configuration c;
  c.smsProfileTexts = Records({"%(insCmd): Ok;"});
  c.smsStrings = Records({"S%s[1]"});
  c.smsSubStrings = Records({"x", "%(c_151)"});
  const std::vector<CodeDefinition> defs = {{151, "Arm"}};
  EXPECT_EQ(StoreSmsBlock(c, defs), B({1, 139, ':', ' ', 'O', 'k', ';', 255,  //
                                       20, 'S', 128, 80, 255,                 //
                                       80, 'x', 255, 81, 151, 255,            //
                                       255, 255, 255}));
}

TEST(SmsDecode, BytesBackToCanonicalText) {
  const std::vector<CodeDefinition> defs = {{151, "Arm"}};
  EXPECT_EQ(DecodeSms(B({128, 81, 132, 80, 142, 90, 255}), defs), "%s[2]%r[1]%d[11]");
  EXPECT_EQ(DecodeSms(B({129, 130, 131, 133, 134, 135, 137, 255}), defs),
            "%(insEvNum)%(insEvZone)%(insEvPart)%(insHours)%(insMin)%(insSec)%(insevDestOk)");
  EXPECT_EQ(DecodeSms(B({139, 140, 141, 143, 144, 145, 146, 147, 148, 149, 150, 255}), defs),
            "%(insCmd)%(insNumm)%(insNumc)%(insNumDest)%(prfhsrl)%(prfuser)%(prfdest)%(prfcommn)"
            "%(inscHours)%(inscMin)%(inscSec)");
  EXPECT_EQ(DecodeSms(B({138, 136, 64, 136, 254, 151, 152, 'z', 255}), defs),
            "%c[64]" + Cp("я") + "%(c_151)\x98z");
  EXPECT_EQ(DecodeSms(B({0xC4, 0xE0, 255, 'x'}), defs), Cp("Да"));
}

TEST(SmsDecode, CharactersThatCannotTravelAsThemselvesComeBack) {
  // 136, x with x + 1 a token code is a literal character sent escaped.
  EXPECT_EQ(DecodeSms(B({136, 0x84, 255}), {}), "\x85");
  EXPECT_EQ(DecodeSms(B({136, 127, 136, 149, 136, 150, 255}), {}), "\x80\x96%c[150]");
  // %c[0] would not read as a token; %c[256] has the same stored byte.
  EXPECT_EQ(DecodeSms(B({136, 0, 255}), {}), "%c[256]");
  EXPECT_EQ(EncodeSms("%c[256]", {}), B({136, 0, 255}));
}

TEST(SmsDecode, StaysInsideTheGivenBytes) {
  size_t used = 99;
  EXPECT_EQ(DecodeSms(B({'a', 'b'}), {}, &used), "ab");  // no end marker
  EXPECT_EQ(used, 2u);
  EXPECT_EQ(DecodeSms(B({'a', 255, 'b'}), {}, &used), "a");
  EXPECT_EQ(used, 2u);
  // A two-byte token cut by the end of the bytes or by the end marker adds nothing.
  for (int code : {128, 132, 136, 142}) {
    EXPECT_EQ(DecodeSms(B({'a', code}), {}, &used), "a");
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(DecodeSms(B({'a', code, 255, 'b'}), {}, &used), "a");
    EXPECT_EQ(used, 3u);
  }
  EXPECT_EQ(DecodeSms({}, {}, &used), "");
  EXPECT_EQ(used, 0u);
}

TEST(SmsDecode, CodeDefinitionExampleRoundTrips) {
  const std::vector<CodeDefinition> defs = {{151, "Arm"}};
  const SmsContext ctx{{}, defs};
  const auto stored = EncodeSms("%(c_151) now", ctx);
  EXPECT_EQ(DecodeSms(stored, defs), "%(c_151) now");
}

// A '%' that is printed must read back as a '%': when the token beside it is
// not stored, the '%' travels as «%c[36]».
TEST(SmsDecode, PercentNextToADroppedTokenStaysText) {
  const auto subs = Records({"x"});
  const SmsContext ctx{subs, {}};
  const auto stored = EncodeSms("%%s[9]s[1]", ctx);  // the substring 9 does not exist
  EXPECT_EQ(stored, B({136, 36, 's', '[', '1', ']', 255}));
  EXPECT_EQ(DecodeSms(stored, {}), "%c[36]s[1]");
  EXPECT_EQ(EncodeSms(DecodeSms(stored, {}), ctx), stored);
  EXPECT_EQ(EncodeSms("100% ok%s[1]", ctx), B({'1', '0', '0', '%', ' ', 'o', 'k', 128, 80, 255}));
}

// Templates built from every kind of piece: the stored record, decoded and
// stored again, gives the same bytes.
class TemplateGenerator {
 public:
  explicit TemplateGenerator(uint32_t seed) : rng_(seed) {}

  std::string Next() {
    std::string t;
    const int pieces = Pick(0, 30);
    for (int i = 0; i < pieces; ++i) t += Piece();
    return t.size() < 150 ? t : t.substr(0, 150);
  }

 private:
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  std::string Spaced(const std::string& s) {
    std::string out;
    for (char c : s) {
      if (Pick(0, 6) == 0) out += ' ';
      out += Pick(0, 3) == 0 && c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    }
    return out;
  }

  std::string Piece() {
    static const char* kNames[] = {"insEvNum", "insEvZone", "insEvPart", "insHours", "insMin",
                                   "insSec",   "insevDestOk", "insCmd",  "insNumm",  "insNumc",
                                   "insNumDest", "prfHSRL", "prfUser",   "prfDest",  "prfCommn",
                                   "inscHours", "inscMin",  "inscSec"};
    switch (Pick(0, 9)) {
      case 0:
        return "%(" + Spaced(kNames[Pick(0, 17)]) + ")";
      case 1:
        return "%" + std::string(1, "sdrc"[Pick(0, 3)]) + "[" + std::to_string(Pick(0, 12)) + "]";
      case 2:
        return "%c[" + std::to_string(Pick(0, 600)) + "]";
      case 3:
        return "%(c_" + std::to_string(Pick(149, 165)) + ")";
      case 4:
        return "%";
      case 5:
        return std::string(1, "sdrc([]) "[Pick(0, 8)]);
      case 6:
        return std::string(1, '\xFF');
      case 7:
        return std::string(1, static_cast<char>(Pick(128, 160)));
      default:
        return std::string(1, static_cast<char>(Pick(1, 254)));
    }
  }

  std::mt19937 rng_;
};

TEST(SmsDecode, StoredTemplatesSurviveDecodingAndStoringAgain) {
  const auto subs = Records({"a", "b", "c", "d", "e", "f"});
  std::vector<CodeDefinition> defs;
  for (int code = 151; code <= 160; ++code) defs.push_back({code, "def" + std::to_string(code)});
  const SmsContext ctx{subs, defs};
  TemplateGenerator gen(20240517);
  int checked = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string tmpl = gen.Next();
    const auto stored = StoreSmsList(Records({tmpl}), 20, ctx);
    ASSERT_GE(stored.size(), 2u);
    const std::string text = DecodeSms(std::span(stored).subspan(1), defs);
    // A literal byte that is a defined code reads back as «%(c_N)», which can
    // push a long template over the length limit.
    if (text.size() >= kMaxTemplateLength) continue;
    ++checked;
    ASSERT_EQ(StoreSmsList(Records({text}), 20, ctx), stored) << "template: " << tmpl << "\ndecoded: " << text;
    const bool definedByte = std::any_of(tmpl.begin(), tmpl.end(), [](char c) {
      return static_cast<uint8_t>(c) >= 151 && static_cast<uint8_t>(c) <= 160;
    });
    if (!definedByte) {
      ASSERT_EQ(DisplaySms(text, 1, ctx), DisplaySms(tmpl, 1, ctx)) << tmpl;
    }
  }
  EXPECT_GT(checked, 19000);
}

}  // namespace
}  // namespace vorsin
