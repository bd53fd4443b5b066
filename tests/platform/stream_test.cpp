#include "platform/stream.h"

#include <gtest/gtest.h>

TEST(Stream, ShortDataLeavesFieldsUnchanged) {
  const uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 0xAA, 0xBB};
  TBinaryReader r(bytes);
  int32_t a = -7, b = -7;
  EXPECT_TRUE(r.ReadInt32(a));
  EXPECT_EQ(a, 0x12345678);
  EXPECT_FALSE(r.ReadInt32(b)) << "two bytes cannot hold an int32";
  EXPECT_EQ(b, -7);
  uint16_t u = 0;
  EXPECT_TRUE(r.ReadUInt16(u)) << "the failed read must not have consumed the last two bytes";
  EXPECT_EQ(u, 0xBBAA);
  EXPECT_TRUE(r.AtEnd());
  float f = 1.5f;
  EXPECT_FALSE(r.ReadFloat(f));
  EXPECT_EQ(f, 1.5f);
}

TEST(Stream, StringsCutToTheirFieldAndRoundTrip) {
  TBinaryWriter w;
  w.WriteStr(30, "door");
  w.WriteStr(5, "abcdefgh");  // cut to five
  ASSERT_EQ(w.Size(), 31u + 6u);
  std::vector<uint8_t> bytes = w.Bytes();
  TBinaryReader r(bytes);
  std::string s;
  ASSERT_TRUE(r.ReadStr(30, s));
  EXPECT_EQ(s, "door");
  ASSERT_TRUE(r.ReadStr(5, s));
  EXPECT_EQ(s, "abcde");

  // A length byte above the field size is cut to the field size.
  std::vector<uint8_t> bad(31, 'x');
  bad[0] = 200;
  TBinaryReader r2(bad);
  ASSERT_TRUE(r2.ReadStr(30, s));
  EXPECT_EQ(s.size(), 30u);
  // A string the data cannot hold whole is not read.
  std::vector<uint8_t> shortStr = {3, 'a', 'b'};
  TBinaryReader r3(shortStr);
  s = "keep";
  EXPECT_FALSE(r3.ReadStr(30, s));
  EXPECT_EQ(s, "keep");
}
