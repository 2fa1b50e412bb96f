#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "host/services/nx_services.h"
#include "simhost/headless/kernel32.h"
#include "tests/support/host_fixture.h"
#include "tests/support/row_name.h"

namespace {

using quortest::HostTest;

class BindingsTest : public HostTest {
protected:
    static std::size_t Lookups(const std::string& entry) {
        const auto& log = simhost::headless::LookupLog();
        return static_cast<std::size_t>(std::count(log.begin(), log.end(), entry));
    }
};

TEST_F(BindingsTest, AMissingServiceAnswersZeroAndIsNeverLookedUpAgain) {
    Services().SetAbsent("NX_GetCurrentOstrinDocument");
    EXPECT_EQ(NX_GetCurrentOstrinDocument(), 0);
    EXPECT_EQ(NX_GetCurrentOstrinDocument(), 0);
    EXPECT_EQ(Lookups("GetProcAddress NX_GetCurrentOstrinDocument"), 1u);
    // Made present again, it stays unbound: the first answer is kept for the module's life.
    Services().SetAbsent("NX_GetCurrentOstrinDocument", false);
    NX_GetCurrentOstrinDocument();
    EXPECT_EQ(Journal().CountOf("NX_GetCurrentOstrinDocument"), 0u);
}

TEST_F(BindingsTest, EachServiceAndTheHostModuleAreLookedUpOnce) {
    for (int i = 0; i < 3; ++i) {
        NX_ExecuteMenuItem(12106);
        NX_RedrawMusic(nullptr);
    }
    EXPECT_EQ(Journal().CountOf("NX_ExecuteMenuItem"), 3u);
    EXPECT_EQ(Lookups("GetProcAddress NX_ExecuteMenuItem"), 1u);
    EXPECT_EQ(Lookups("GetProcAddress NX_RedrawMusic"), 1u);
    EXPECT_EQ(Lookups("GetModuleHandleA NOTAVO.EXE"), 1u);
}

TEST_F(BindingsTest, TheDemoHostIsFoundUnderItsOwnName) {
    RegisterHostAs("NTVDEMO.EXE");
    NX_ExecuteMenuItem(12106);
    EXPECT_EQ(Journal().CountOf("NX_ExecuteMenuItem"), 1u);
    const auto& log = simhost::headless::LookupLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "GetModuleHandleA NOTAVO.EXE");
    EXPECT_EQ(log[1], "GetModuleHandleA NTVDEMO.EXE");
}

TEST_F(BindingsTest, WithoutAnyHostEveryServiceAnswersZero) {
    RegisterHostAs(std::nullopt);
    NXRecordKey key{};
    std::int32_t size = 12;
    char buffer[12] = {};
    EXPECT_EQ(NX_LoadEDataRaw(0x6F744441, &key, buffer, &size, 0x12050000), 0);
    EXPECT_EQ(NX_GetDlgItemVal(nullptr, 103, 1), 0);
    EXPECT_EQ(NX_GetCurrentWindow(), nullptr);
    EXPECT_EQ(NX_StartNotavoEdit_UTF16(u"x"), 0);
    EXPECT_EQ(nx::EditDepth(), 1);
    EXPECT_EQ(NX_EndNotavoEdit(), 0);
    double value = 2.5;
    NX_GetDlgItemUser(nullptr, 1, 0, &value);
    EXPECT_EQ(value, 2.5);
    // The module lookups were tried once; each service was then asked of the main program
    // (a null module), which no host registered.
    EXPECT_EQ(Lookups("GetModuleHandleA NOTAVO.EXE"), 1u);
    EXPECT_EQ(Lookups("GetModuleHandleA NTVDEMO.EXE"), 1u);
    EXPECT_EQ(Lookups("GetProcAddress NX_LoadEData"), 1u);
    EXPECT_EQ(Lookups("GetProcAddress NX_GetCurrentWindow"), 1u);
}

// Which program names a host may run under and still bind its services.
struct ProgramCase {
    const char* name;
    const char* program;
    simhost::headless::ModuleRole role;
    bool binds;
};

void PrintTo(const ProgramCase& c, std::ostream* os) { *os << c.name; }

const ProgramCase kProgramCases[] = {
    {"NotavoAsLibrary", "NOTAVO.EXE", simhost::headless::ModuleRole::Library, true},
    // Found through the null module, as Windows searches the main program.
    {"OtherNameAsMainProgram", "NOTAVO-PRO.EXE", simhost::headless::ModuleRole::MainProgram, true},
    {"OtherNameAsLibrary", "NOTAVO-PRO.EXE", simhost::headless::ModuleRole::Library, false},
};

class ProgramNames : public BindingsTest, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(ProgramNames, AHostBindsWhenFoundByNameOrAsTheMainProgram) {
    const ProgramCase& c = GetParam();
    RegisterHostAs(c.program, c.role);
    NX_ExecuteMenuItem(12106);
    backend.startResult = 5;
    const std::int32_t started = NX_StartNotavoEdit_UTF16(u"x");
    EXPECT_EQ(Journal().CountOf("NX_ExecuteMenuItem"), c.binds ? 1u : 0u);
    EXPECT_EQ(started, c.binds ? 5 : 0);
    // Every service is asked for once, whatever module was found.
    EXPECT_EQ(Lookups("GetProcAddress NX_ExecuteMenuItem"), 1u);
    NX_CancelNotavoEdit();
}

INSTANTIATE_TEST_SUITE_P(Bindings, ProgramNames, ::testing::ValuesIn(kProgramCases),
                         quortest::RowName{});

TEST_F(BindingsTest, RecordCallsPassTheDataVersionAndOthersTheInterfaceVersion) {
    NXRecordKey key{5, 0, {}};
    std::int32_t size = 30;
    char buffer[30] = {};
    NX_LoadEDataRaw(0x534F4D53, &key, buffer, &size, 0x0A000000);
    NX_SaveEDataRaw(0x534F4D53, &key, buffer, 26, 0x0A000000);
    NX_DeleteEData(0x6F744441, &key, 0x12000000);
    NX_SetDlgItemVal(nullptr, 103, 1, 1);
    NX_GetDlgString_UTF16(nullptr, 104, nullptr);

    const auto& calls = Journal().Calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].args, (std::vector<std::int64_t>{0x534F4D53, 5, 0, 30, 0x0A000000}));
    EXPECT_EQ(calls[1].args, (std::vector<std::int64_t>{0x534F4D53, 5, 0, 26, 0x0A000000}));
    EXPECT_EQ(calls[2].args.back(), 0x12000000);
    EXPECT_EQ(calls[3].args, (std::vector<std::int64_t>{0, 103, 1, 1, 0x12050000}));
    // The dialog string services are given the capacity 5000.
    EXPECT_EQ(calls[4].args, (std::vector<std::int64_t>{0, 104, 5000, 0x12050000}));
}

TEST_F(BindingsTest, EveryServiceOfTheListHasABindingThatReachesItWithTheVersionLast) {
    constexpr std::uint32_t kData = 0x0A000000;
    NXRecordKey key{1, 0, {}};
    std::int32_t size = 8;
    char bytes[8] = {};
    char text[8] = {};
    char16_t wide[8] = {};
    double value = 0;
    NXRegionRecord region{};
    std::int32_t scratch = 0;
    const auto startThen = [this](auto call) {
        return [this, call] {
            NX_StartNotavoEdit("x");
            Journal().Clear();
            call();
        };
    };
    const std::map<std::string, std::function<void()>> bindings = {
        {"NX_LoadEData", [&] { NX_LoadEDataRaw(1, &key, bytes, &size, kData); }},
        {"NX_SaveEData", [&] { NX_SaveEDataRaw(1, &key, bytes, 8, kData); }},
        {"NX_CreateEData", [&] { NX_CreateEData(1, &key, bytes, 8, kData); }},
        {"NX_DeleteEData", [&] { NX_DeleteEData(1, &key, kData); }},
        {"NX_NextEData", [&] { NX_NextEData(1, &key, nullptr, nullptr, kData); }},
        {"NX_Dialog", [] { NX_Dialog(20128, nullptr, 7, 0, nullptr); }},
        {"NX_EndDialog", [] { NX_EndDialog(nullptr); }},
        {"NX_EnableDlgItem", [] { NX_EnableDlgItem(nullptr, 1, 1); }},
        {"NX_GetDlgItemVal", [] { NX_GetDlgItemVal(nullptr, 1, 1); }},
        {"NX_SetDlgItemVal", [] { NX_SetDlgItemVal(nullptr, 1, 1, 1); }},
        {"NX_GetDlgItemUser", [&] { NX_GetDlgItemUser(nullptr, 1, 0, &value); }},
        {"NX_SetDlgItemUser", [] { NX_SetDlgItemUser(nullptr, 1, 0, 1.5); }},
        {"NX_GetDlgString", [&] { NX_GetDlgString(nullptr, 1, text); }},
        {"NX_GetDlgString_UTF16", [&] { NX_GetDlgString_UTF16(nullptr, 1, wide); }},
        {"NX_SetDlgString", [] { NX_SetDlgString(nullptr, 1, "a"); }},
        {"NX_SetDlgString_UTF16", [] { NX_SetDlgString_UTF16(nullptr, 1, u"a"); }},
        {"NX_SlotToInst", [] { NX_SlotToInst(1, 1); }},
        {"NX_GetCurERegions", [&] { NX_GetCurERegions(&scratch, &region, &region); }},
        {"NX_RedrawMusic", [&] { NX_RedrawMusic(&region); }},
        {"NX_GetCurrentOstrinDocument", [] { NX_GetCurrentOstrinDocument(); }},
        {"NX_StartNotavoEdit", [] { NX_StartNotavoEdit("x"); }},
        {"NX_StartNotavoEdit_UTF16", [] { NX_StartNotavoEdit_UTF16(u"x"); }},
        {"NX_EndNotavoEdit", startThen([] { NX_EndNotavoEdit(); })},
        {"NX_CancelNotavoEdit", startThen([] { NX_CancelNotavoEdit(); })},
        {"NX_ExecuteMenuItem", [] { NX_ExecuteMenuItem(1); }},
        {"NX_GetCurrentWindow", [] { NX_GetCurrentWindow(); }},
    };
    EXPECT_EQ(bindings.size(), nx::kServiceCount);
    for (std::size_t i = 0; i < nx::kServiceCount; ++i) {
        const std::string name(nx::kServiceNames[i]);
        EXPECT_STREQ(nx::ServiceName(static_cast<nx::Service>(i)), name.c_str());
        const auto binding = bindings.find(name);
        ASSERT_NE(binding, bindings.end()) << name << " has no binding";
        Journal().Clear();
        binding->second();
        ASSERT_EQ(Journal().Calls().size(), 1u) << name;
        const simhost::ServiceCall& call = Journal().Calls()[0];
        EXPECT_EQ(call.service, name);
        ASSERT_FALSE(call.args.empty()) << name;
        const bool record = name.find("EData") != std::string::npos;
        EXPECT_EQ(call.args.back(), record ? kData : kInterfaceVersion) << name;
    }
    nx::ResetBindings();
}

TEST_F(BindingsTest, EditDepthGuardsEndAndCancel) {
    // At depth 0 end answers 1 without the host, and cancel does nothing.
    backend.endResult = 7;
    EXPECT_EQ(NX_EndNotavoEdit(), 1);
    NX_CancelNotavoEdit();
    EXPECT_TRUE(Journal().Calls().empty());

    NX_StartNotavoEdit("outer");
    NX_StartNotavoEdit_UTF16(u"inner");
    EXPECT_EQ(nx::EditDepth(), 2);
    NX_CancelNotavoEdit();
    EXPECT_EQ(NX_EndNotavoEdit(), 7);
    EXPECT_EQ(nx::EditDepth(), 0);
    EXPECT_EQ(Journal().Names(),
              (std::vector<std::string>{"NX_StartNotavoEdit", "NX_StartNotavoEdit_UTF16",
                                        "NX_CancelNotavoEdit", "NX_EndNotavoEdit"}));
}

TEST_F(BindingsTest, TheStartBindingRaisesTheDepthEvenWhenTheServiceIsMissing) {
    Services().SetAbsent("NX_StartNotavoEdit");
    EXPECT_EQ(NX_StartNotavoEdit("x"), 0);
    EXPECT_EQ(nx::EditDepth(), 1);
    NX_CancelNotavoEdit();
    EXPECT_EQ(nx::EditDepth(), 0);
    EXPECT_EQ(Journal().CountOf("NX_CancelNotavoEdit"), 1u);
}

}  // namespace
