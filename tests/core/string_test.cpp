#include <gtest/gtest.h>

#include <string>

#include "framework/core/nc_string.h"

namespace {

std::u16string UnitsOf(const NCString& text) {
    return text.Units() ? std::u16string(text.Units(), text.Length()) : u"(null)";
}

TEST(String, ANewStringIsEmptyWithATenUnitBuffer) {
    NCString text;
    EXPECT_EQ(text.Length(), 0u);
    EXPECT_EQ(text.Capacity(), 10u);
    ASSERT_NE(text.Units(), nullptr);
    EXPECT_EQ(text.Units()[0], 0);
    EXPECT_STREQ(text.Text8(), "");
}

TEST(String, AssigningNullDropsTheBufferAndAppendingAllocatesAFreshOne) {
    NCString text;
    text.AssignText8(nullptr);
    EXPECT_EQ(text.Units(), nullptr);
    EXPECT_EQ(text.Length(), 0u);
    EXPECT_EQ(text.Capacity(), 0u);
    EXPECT_STREQ(text.Text8(), "");

    text.AppendText8("Loose Allotment");  // 15 units: 10 * ((15 + 10) / 10)
    EXPECT_EQ(text.Capacity(), 20u);
    EXPECT_EQ(UnitsOf(text), u"Loose Allotment");
}

TEST(String, HighBytesWidenToLatin1UnitsAndNarrowBack) {
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b) bytes.push_back(static_cast<char>(b));
    NCString text;
    text.AssignText8(bytes.c_str());
    ASSERT_EQ(text.Length(), 128u);
    for (int i = 0; i < 128; ++i) EXPECT_EQ(text.Units()[i], 0x80 + i);
    EXPECT_EQ(std::string(text.Text8()), bytes);
}

TEST(String, NarrowingKeepsTheLowByteOfEachUnit) {
    NCString text;
    text.AppendUnit(0x20AC);
    text.AppendUnit(u'A');
    const char* narrow = text.Text8();
    EXPECT_EQ(static_cast<unsigned char>(narrow[0]), 0xAC);
    EXPECT_EQ(narrow[1], 'A');
    EXPECT_EQ(narrow[2], 0);
}

TEST(String, AppendingUnitsReallocatesOneUnitEarlierThanNeeded) {
    // Capacity after each of 21 single-unit appends to a new string: the 9th asks for 9 units,
    // and 10 > 10 fails, so it reallocates at 10 again; the 10th grows to 20.
    const std::uint32_t expected[] = {10, 10, 10, 10, 10, 10, 10, 10, 10, 20, 20,
                                      20, 20, 20, 20, 20, 20, 20, 20, 30, 30};
    NCString text;
    const char16_t* buffer = text.Units();
    for (int i = 0; i < 21; ++i) {
        text.AppendUnit(static_cast<char16_t>(u'a' + i % 26));
        EXPECT_EQ(text.Capacity(), expected[i]) << "after append " << i + 1;
        if (i < 8) {
            EXPECT_EQ(text.Units(), buffer) << "append " << i + 1 << " kept the buffer";
        }
    }
    EXPECT_EQ(UnitsOf(text), u"abcdefghijklmnopqrstu");
    EXPECT_EQ(text.Units()[21], 0);
}

TEST(String, AssignStringCopiesAndAnEmptySourceLeavesAValidEmptyText) {
    NCString source;
    source.AssignText8("Tight Scaling");
    NCString copy;
    copy.AssignText8("something else entirely");
    copy.AssignString(source);
    EXPECT_EQ(UnitsOf(copy), u"Tight Scaling");

    NCString empty;
    copy.AssignString(empty);
    EXPECT_EQ(copy.Length(), 0u);
    ASSERT_NE(copy.Units(), nullptr);
    EXPECT_EQ(copy.Units()[0], 0);
}

TEST(String, AssignUnitsStopsAtTheTerminator) {
    const char16_t units[] = {u'N', 0x00E9, 0x20AC, 0, u'x'};
    NCString text;
    text.AssignUnits(units);
    EXPECT_EQ(UnitsOf(text), (std::u16string{u'N', 0x00E9, 0x20AC}));
    text.AssignUnits(nullptr);
    EXPECT_EQ(UnitsOf(text), u"");
}

TEST(String, AppendKeepsTheTextBeforeIt) {
    NCString text;
    text.AssignText8("No Scaling");
    text.AppendText8(" (Default)");
    EXPECT_EQ(UnitsOf(text), u"No Scaling (Default)");
    NCString tail;
    tail.AssignText8("!");
    text.AppendString(tail);
    EXPECT_STREQ(text.Text8(), "No Scaling (Default)!");
}

TEST(String, AppendingAStringToItselfDoublesIt) {
    NCString text;
    text.AssignText8("abcdef");
    text.AppendString(text);
    EXPECT_EQ(UnitsOf(text), u"abcdefabcdef");
    text.AssignString(text);
    EXPECT_EQ(UnitsOf(text), u"abcdefabcdef");
}

TEST(String, EachText8RenewsTheCopyFromTheCurrentText) {
    NCString text;
    text.AssignText8("first");
    const std::string first = text.Text8();
    text.AssignText8("second");
    EXPECT_EQ(first, "first");
    EXPECT_STREQ(text.Text8(), "second");
}

TEST(String, AReservationBeyondAddressableMemoryFailsInsteadOfWrapping) {
    NCString text;
    EXPECT_THROW(text.ReserveUnits(0xFFFFFFFFu), std::bad_alloc);
    EXPECT_EQ(text.Length(), 0u);
    EXPECT_EQ(text.Capacity(), 10u);
}

}  // namespace
