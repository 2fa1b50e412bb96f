// The built module, loaded from disk the way the host loads it, and driven only through its
// exported entry points. Each test loads a fresh copy, so module-wide state starts anew.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "resources/note_spacing_dialog_ids.h"
#include "simhost/headless/extension_module.h"
#include "simhost/headless/headless_host.h"
#include "tests/support/row_name.h"

namespace {

constexpr const char* kItem = "Quor Note Spacing...";
constexpr const char* kDescription =
    "Tool to apply and manipulate different kinds of note spacing.";
constexpr const char* kGroup = "Note Spacing";

class ModuleTest : public ::testing::Test {
protected:
    simhost::HostBackend backend;
    simhost::headless::HeadlessHost host{backend};
    simhost::headless::ExtensionModule module{QUOR_MODULE_PATH};

    void SetUp() override { ASSERT_TRUE(module.Loaded()) << module.Error(); }
    const simhost::headless::EntryPoints& Entry() { return module.Entry(); }
};

// Every byte of an 8-bit field: the text, then zeros to the end of the field.
void ExpectField8(const char* field, const char* text) {
    const std::size_t length = std::strlen(text);
    EXPECT_EQ(std::string(field, length), text);
    for (std::size_t i = length; i < 64; ++i) EXPECT_EQ(field[i], 0) << text << " byte " << i;
}

// A UTF-16 field: the text widened, one 0 unit, and the host's units after it untouched.
void ExpectField16(const char16_t* field, const char* text, char16_t hostFill) {
    const std::size_t length = std::strlen(text);
    for (std::size_t i = 0; i < length; ++i) {
        EXPECT_EQ(field[i], static_cast<unsigned char>(text[i])) << text << " unit " << i;
    }
    EXPECT_EQ(field[length], 0);
    for (std::size_t i = length + 1; i < 128; ++i) EXPECT_EQ(field[i], hostFill) << i;
}

TEST_F(ModuleTest, EightBitRecordHoldsTheThreeTextsZeroPadded) {
    NXMenuEntry8 entry;
    std::memset(&entry, 0xCD, sizeof entry);
    ASSERT_EQ(Entry().enumerate(0, 0, &entry), 1);
    ExpectField8(entry.item, kItem);
    ExpectField8(entry.description, kDescription);
    ExpectField8(entry.group, kGroup);
    EXPECT_EQ(entry.reserved, 0u);
}

TEST_F(ModuleTest, Utf16RecordHoldsTheTextsAtTheirOffsets) {
    NXMenuEntry16 entry;
    std::memset(&entry, 0xCD, sizeof entry);
    ASSERT_EQ(Entry().enumerateUtf16(0, 0, &entry), 1);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&entry);
    // "Quor Note Spacing..." fills units 0 to 19 and unit 20 is its terminator.
    EXPECT_EQ(bytes[0], 'Q');
    EXPECT_EQ(bytes[38], '.');
    EXPECT_EQ(bytes[40], 0);
    EXPECT_EQ(bytes[41], 0);
    EXPECT_EQ(bytes[256], 'T');
    EXPECT_EQ(bytes[512], 'N');
    ExpectField16(entry.item, kItem, 0xCDCD);
    ExpectField16(entry.description, kDescription, 0xCDCD);
    ExpectField16(entry.group, kGroup, 0xCDCD);
    EXPECT_EQ(std::memcmp(bytes + 768, "\0\0\0\0", 4), 0);
}

struct IndexCase {
    std::int32_t index;
    std::int32_t answer;
};

void PrintTo(const IndexCase& c, std::ostream* os) { *os << "index " << c.index; }

class ModuleEnumerationIndex : public ModuleTest,
                               public ::testing::WithParamInterface<IndexCase> {};

TEST_P(ModuleEnumerationIndex, OnlyIndexesBelowOneInTheirLow16BitsAreAnswered) {
    NXMenuEntry8 entry8;
    NXMenuEntry16 entry16;
    std::memset(&entry8, 0x5A, sizeof entry8);
    std::memset(&entry16, 0x5A, sizeof entry16);
    EXPECT_EQ(Entry().enumerate(0, GetParam().index, &entry8), GetParam().answer);
    EXPECT_EQ(Entry().enumerateUtf16(0, GetParam().index, &entry16), GetParam().answer);
    if (GetParam().answer == 0) {
        // Left exactly as the host gave it.
        const auto* bytes = reinterpret_cast<const unsigned char*>(&entry8);
        for (std::size_t i = 0; i < sizeof entry8; ++i) ASSERT_EQ(bytes[i], 0x5A) << i;
        const auto* wide = reinterpret_cast<const unsigned char*>(&entry16);
        for (std::size_t i = 0; i < sizeof entry16; ++i) ASSERT_EQ(wide[i], 0x5A) << i;
    } else {
        EXPECT_STREQ(entry8.item, kItem);
    }
}

INSTANTIATE_TEST_SUITE_P(Indexes, ModuleEnumerationIndex,
                         ::testing::Values(IndexCase{0, 1}, IndexCase{1, 0}, IndexCase{2, 0},
                                           IndexCase{0x7FFF, 0}, IndexCase{0xFFFF, 1},
                                           IndexCase{0x10000, 1}, IndexCase{0x10001, 0},
                                           IndexCase{-1, 1}),
                         quortest::RowName{});

TEST_F(ModuleTest, InitSetsBitZeroAndKeepsTheOthers) {
    for (const auto& [before, after] :
         {std::pair<std::uint32_t, std::uint32_t>{0x00000006, 0x00000007},
          {0x00000000, 0x00000001},
          {0x00000001, 0x00000001},
          {0xFFFFFFFE, 0xFFFFFFFF}}) {
        std::uint32_t flags = before;
        EXPECT_EQ(Entry().init(0, &flags), 1);
        EXPECT_EQ(flags, after);
    }
}

TEST_F(ModuleTest, VersionAnswersTheInterfaceVersionWhateverTheHost) {
    for (const std::uint32_t hostVersion : {0u, 0x10000000u, 0x12050000u, 0xFFFFFFFFu}) {
        EXPECT_EQ(Entry().version(hostVersion), 0x0F000000u);
    }
}

TEST_F(ModuleTest, MenuStatusIsOneInEveryState) {
    EXPECT_EQ(Entry().getMenuStatus(0), 1);
    EXPECT_EQ(Entry().getMenuStatus(-5), 1);
    std::uint32_t flags = 0;
    Entry().version(0x12050000);
    Entry().init(0, &flags);
    EXPECT_EQ(Entry().getMenuStatus(3), 1);
}

TEST_F(ModuleTest, InvokeAsksForTheDialogUntilItOpensAndTerminateIsQuiet) {
    EXPECT_EQ(Entry().invoke(7, 0, 0, 0), 0);
    EXPECT_EQ(Entry().invoke(8, 0, 0, 0), 0);
    // This host opens no dialog, so each invoke asks again, with the first call's context.
    const auto& calls = host.Services().Journal().Calls();
    ASSERT_EQ(calls.size(), 2u);
    for (const auto& call : calls) {
        EXPECT_EQ(call.service, "NX_Dialog");
        ASSERT_GE(call.args.size(), 3u);
        EXPECT_EQ(call.args[0], IDD_NOTE_SPACING);
        EXPECT_EQ(call.args[1], 7);
        EXPECT_EQ(call.args[2], 0);
    }
    host.Services().Journal().Clear();
    Entry().terminate(0);
    Entry().terminate(0);
    // Without a dialog there is nothing to close.
    EXPECT_TRUE(host.Services().Journal().Calls().empty());
}

}  // namespace
