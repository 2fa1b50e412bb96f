// A string handed its own units keeps its text: the assignment must not drop the buffer it is
// about to copy from.
#include <gtest/gtest.h>

#include <string>

#include "framework/core/nc_string.h"

namespace {

std::u16string TextOf(const NCString& string) {
    return std::u16string(string.Units(), string.Length());
}

TEST(StringAliasing, AssigningItsOwnUnitsKeepsTheText) {
    NCString string;
    string.AssignText8("Loose Allotment");
    const std::uint32_t capacity = string.Capacity();
    string.AssignUnits(string.Units());
    EXPECT_EQ(TextOf(string), u"Loose Allotment");
    EXPECT_EQ(string.Units()[string.Length()], u'\0');
    EXPECT_EQ(string.Capacity(), capacity);
}

TEST(StringAliasing, AssigningAnotherStringsUnitsCopiesThem) {
    NCString source;
    source.AssignText8("Tight Scaling");
    NCString target;
    target.AssignText8("x");
    target.AssignUnits(source.Units());
    source.AssignText8("changed");
    EXPECT_EQ(TextOf(target), u"Tight Scaling");
}

}  // namespace
