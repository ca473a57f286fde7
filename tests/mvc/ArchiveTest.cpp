#include "mvc/CArchive.h"

#include <gtest/gtest.h>

#include <random>

using tarrow::foundation::CArchive;

TEST(Archive, StringPrefixesChangeAtTheirBoundaries)
{
    struct Case {
        std::size_t length;
        std::size_t prefix;
    };
    for (Case c : {Case{0, 1}, Case{254, 1}, Case{255, 3}, Case{0xFFFD, 3}, Case{0xFFFE, 7},
                   Case{70000, 7}}) {
        CArchive out = CArchive::ForStoring();
        const std::string text(c.length, 'q');
        out.WriteString(text);
        EXPECT_EQ(out.Bytes().size(), c.length + c.prefix) << c.length;
        CArchive in = CArchive::ForLoading(out.Bytes());
        std::string back;
        ASSERT_TRUE(in.ReadString(back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(Archive, CountsAndIntegersAreLittleEndian)
{
    CArchive out = CArchive::ForStoring();
    out.WriteU32(0x01020304);
    out.WriteU16(0xA0B0);
    out.WriteCount(5);
    out.WriteCount(0x12345);
    EXPECT_EQ(out.Bytes(), std::string("\x04\x03\x02\x01\xB0\xA0\x05\x00\xFF\xFF\x45\x23\x01\x00", 14));
    CArchive in = CArchive::ForLoading(out.Bytes());
    std::uint32_t u32 = 0, count = 0;
    std::uint16_t u16 = 0;
    EXPECT_TRUE(in.ReadU32(u32));
    EXPECT_TRUE(in.ReadU16(u16));
    EXPECT_TRUE(in.ReadCount(count, 0));
    EXPECT_EQ(count, 5u);
    EXPECT_TRUE(in.ReadCount(count, 0));
    EXPECT_EQ(u32, 0x01020304u);
    EXPECT_EQ(u16, 0xA0B0);
    EXPECT_EQ(count, 0x12345u);
}

TEST(Archive, TruncatedOrLyingInputFailsWithoutReadingPastTheEnd)
{
    std::string text;
    CArchive in = CArchive::ForLoading(std::string_view("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7));
    EXPECT_FALSE(in.ReadString(text));  // claims two gigabytes
    EXPECT_TRUE(in.Failed());
    std::uint16_t value = 0;
    EXPECT_FALSE(in.ReadU16(value));    // stays failed

    CArchive counts = CArchive::ForLoading(std::string_view("\xFF\xFF\xFF\xFF\xFF\x00", 6));
    std::uint32_t count = 0;
    EXPECT_FALSE(counts.ReadCount(count, 4));

    // Every prefix of a valid archive fails cleanly.
    CArchive out = CArchive::ForStoring();
    out.WriteString(std::string(300, 'x'));
    out.WriteU32(7);
    for (std::size_t cut = 0; cut < out.Bytes().size(); ++cut) {
        CArchive part = CArchive::ForLoading(std::string_view(out.Bytes()).substr(0, cut));
        std::uint32_t seven = 0;
        const bool ok = part.ReadString(text) && part.ReadU32(seven);
        EXPECT_FALSE(ok) << cut;
    }
}
