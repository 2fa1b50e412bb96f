#include "framework/data/byte_fields.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "host/services/nx_types.h"

namespace {

// Bytes 1.. hold 0x1234, 0xFFFE (-2), 0x12345678 and 0x80000001, little-endian; byte 0 and the
// last byte are neighbours that no field touches.
constexpr std::array<std::uint8_t, 14> kImage = {0xAA, 0x34, 0x12, 0xFE, 0xFF, 0x78, 0x56,
                                                 0x34, 0x12, 0x01, 0x00, 0x00, 0x80, 0xAA};

TEST(ByteFields, ReadLowByteFirstWithTheSignOfTheirType) {
    EXPECT_EQ(ReadUint16(kImage.data(), 1), 0x1234);
    EXPECT_EQ(ReadInt16(kImage.data(), 1), 0x1234);
    EXPECT_EQ(ReadUint16(kImage.data(), 3), 0xFFFE);
    EXPECT_EQ(ReadInt16(kImage.data(), 3), -2);
    EXPECT_EQ(ReadUint32(kImage.data(), 5), 0x12345678u);
    EXPECT_EQ(ReadInt32(kImage.data(), 5), 0x12345678);
    EXPECT_EQ(ReadUint32(kImage.data(), 9), 0x80000001u);
    EXPECT_EQ(ReadInt32(kImage.data(), 9), INT32_MIN + 1);
}

TEST(ByteFields, WritesGiveTheBytesReadsTakeAndLeaveTheirNeighbours) {
    std::array<std::uint8_t, 14> bytes{};
    bytes.fill(0xAA);
    WriteUint16(bytes.data(), 1, 0x1234);
    WriteInt16(bytes.data(), 3, -2);
    WriteInt32(bytes.data(), 5, 0x12345678);
    WriteInt32(bytes.data(), 9, INT32_MIN + 1);
    EXPECT_EQ(bytes, kImage);
}

TEST(RecordTags, PackTheFirstCharacterIntoTheMostSignificantByte) {
    static_assert(MakeTag("otDA") == 0x6F744441);
    static_assert(MakeTag("SOMS") == 0x534F4D53);
    // Characters past ASCII are bytes, not negative numbers.
    static_assert(MakeTag("\xFF"
                          "abc") == 0xFF616263);
    // A tag read at run time is the same tag as one written in the code.
    const std::string word = "ot94";
    EXPECT_EQ(PackTag(word), MakeTag("ot94"));
}

}  // namespace
