#include "host/module/entry_points.h"

#include <gtest/gtest.h>

#include "host/module/module_state.h"
#include "host/services/host_version.h"
#include "tests/support/host_fixture.h"

namespace {

using quortest::HostTest;

class EntryPointsTest : public HostTest {};

TEST_F(EntryPointsTest, VersionStoresTheHostsVersionAndAnswersTheInterfaceVersion) {
    EXPECT_EQ(nx::HostVersion(), 0x12050000u);
    EXPECT_EQ(NotavoExtensionVersion(0x10000000), 0x0F000000u);
    EXPECT_EQ(nx::HostVersion(), 0x10000000u);
    EXPECT_FALSE(HostTakesUtf16());
    NotavoExtensionVersion(0x12000000);
    EXPECT_TRUE(HostTakesUtf16());
    EXPECT_TRUE(HostUsesLongMeasures());
    NotavoExtensionVersion(0x11FFFFFF);
    EXPECT_FALSE(HostUsesLongMeasures());
}

TEST_F(EntryPointsTest, InitResetsTheRememberedTaskEveryTime) {
    std::uint32_t flags = 0;
    EXPECT_EQ(Module().rememberedTaskIndex, 0);
    NotavoExtensionInit(0, &flags);
    EXPECT_EQ(Module().rememberedTaskIndex, 6);
    Module().rememberedTaskIndex = 2;
    NotavoExtensionInit(0, &flags);
    EXPECT_EQ(Module().rememberedTaskIndex, 6);
}

TEST_F(EntryPointsTest, InvokeKeepsTheFirstCallsContext) {
    EXPECT_FALSE(Module().ui.has_value());
    EXPECT_EQ(NotavoExtensionInvoke(41, 0, 0, 0), 0);
    ASSERT_TRUE(Module().ui.has_value());
    EXPECT_EQ(Module().ui->Context(), 41);
    EXPECT_STREQ(Module().ui->TypeName(), "NCUI");
    EXPECT_EQ(NotavoExtensionInvoke(99, 1, 2, 3), 0);
    EXPECT_EQ(Module().ui->Context(), 41);
    // Invoke made the window; Terminate is what deletes it.
    ASSERT_NE(Module().window, nullptr);
    NotavoExtensionTerminate(0);
    EXPECT_EQ(Module().window, nullptr);
}

TEST_F(EntryPointsTest, TerminateWithAnEmptyWindowSlotDoesNothing) {
    NotavoExtensionTerminate(0);
    NotavoExtensionTerminate(0);
    EXPECT_EQ(Module().window, nullptr);
    EXPECT_TRUE(Journal().Calls().empty());
}

TEST_F(EntryPointsTest, EnumerationIntoANullRecordAnswersZero) {
    EXPECT_EQ(NotavoExtensionEnumerate(0, 0, nullptr), 0);
    EXPECT_EQ(NotavoExtensionEnumerate_UTF16(0, 0, nullptr), 0);
}

}  // namespace
