#include "framework/core/undo_block.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/core/nc_string.h"
#include "host/services/host_version.h"
#include "host/services/nx_services.h"
#include "tests/support/host_fixture.h"
#include "tests/support/row_name.h"

namespace {

using quortest::HostTest;

// A handler whose Work answers a preset result and notes what it saw while running.
class FakeWork : public __NCUndoBlockHandler {
public:
    explicit FakeWork(bool result) : result_(result) {}
    bool Work() override {
        ++runs;
        blockDuringWork = Block();
        depthDuringWork = nx::EditDepth();
        return result_;
    }
    int runs = 0;
    NCUndoBlock* blockDuringWork = nullptr;
    std::int32_t depthDuringWork = -1;

private:
    bool result_;
};

class UndoBlockTest : public HostTest {};

struct VersionCase {
    std::uint32_t hostVersion;
    const char* startService;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << "host " << quortest::Hex(c.hostVersion);
}

class UndoBlockHostVersion : public UndoBlockTest,
                             public ::testing::WithParamInterface<VersionCase> {};

TEST_P(UndoBlockHostVersion, ChoosesTheStartServiceByHostVersion) {
    nx::SetHostVersion(GetParam().hostVersion);
    NCUndoBlock block;
    FakeWork work(true);
    NCString name;
    name.AssignText8("Loose Allotment");
    EXPECT_TRUE(block.Run(&work, &name));
    ASSERT_EQ(Journal().Calls().size(), 2u);
    EXPECT_EQ(Journal().Calls()[0].service, GetParam().startService);
    EXPECT_EQ(Journal().Calls()[0].text, u"Loose Allotment");
    EXPECT_EQ(Journal().Calls()[0].args.back(), 0x12050000);
    EXPECT_EQ(Journal().Calls()[1].service, "NX_EndNotavoEdit");
}

INSTANTIATE_TEST_SUITE_P(Boundaries, UndoBlockHostVersion,
                         ::testing::Values(VersionCase{0x00000000, "NX_StartNotavoEdit"},
                                           VersionCase{0x10FFFFFF, "NX_StartNotavoEdit"},
                                           VersionCase{0x11000000, "NX_StartNotavoEdit_UTF16"},
                                           VersionCase{0x12050000, "NX_StartNotavoEdit_UTF16"},
                                           VersionCase{0xFFFFFFFF, "NX_StartNotavoEdit_UTF16"}),
                         quortest::RowName{});

TEST_F(UndoBlockTest, LongNamesAreCutTo499UnitsOnUtf16HostsOnly) {
    NCString name;
    name.AssignText8(std::string(600, 'x').c_str());
    FakeWork work(true);

    nx::SetHostVersion(0x12050000);
    NCUndoBlock().Run(&work, &name);
    EXPECT_EQ(Journal().Calls()[0].text, std::u16string(499, u'x'));

    Journal().Clear();
    nx::SetHostVersion(0x10000000);
    NCUndoBlock().Run(&work, &name);
    EXPECT_EQ(Journal().Calls()[0].text, std::u16string(600, u'x'));
}

TEST_F(UndoBlockTest, EightBitHostsGetTheLowByteOfEachUnit) {
    nx::SetHostVersion(0x10000000);
    NCString name;
    name.AssignText8("Euro ");
    name.AppendUnit(0x20AC);
    FakeWork work(true);
    NCUndoBlock().Run(&work, &name);
    EXPECT_EQ(Journal().Calls()[0].text, (std::u16string{u'E', u'u', u'r', u'o', u' ', 0xAC}));
}

TEST_F(UndoBlockTest, WorkDecidesBetweenOneEndAndOneCancel) {
    for (const bool result : {true, false}) {
        Journal().Clear();
        NCUndoBlock block;
        FakeWork work(result);
        NCString name;
        name.AssignText8("Tight Scaling");
        EXPECT_EQ(block.Run(&work, &name), result);
        EXPECT_EQ(work.runs, 1);
        EXPECT_EQ(work.blockDuringWork, &block);
        EXPECT_EQ(work.depthDuringWork, 1);
        EXPECT_EQ(Journal().CountOf("NX_EndNotavoEdit"), result ? 1u : 0u);
        EXPECT_EQ(Journal().CountOf("NX_CancelNotavoEdit"), result ? 0u : 1u);
        EXPECT_EQ(work.Block(), nullptr);
        EXPECT_FALSE(block.IsRunning());
        EXPECT_EQ(nx::EditDepth(), 0);
    }
}

TEST_F(UndoBlockTest, WorkStillRunsWhenTheHostCannotOpenTheEdit) {
    backend.startResult = 0;
    NCUndoBlock block;
    FakeWork work(true);
    NCString name;
    name.AssignText8("Golden Ratio Scaling");
    EXPECT_TRUE(block.Run(&work, &name));
    EXPECT_EQ(work.runs, 1);
    EXPECT_EQ(work.blockDuringWork, nullptr);
    // The depth was raised by the start all the same, so the end still reaches the host.
    EXPECT_EQ(Journal().CountOf("NX_EndNotavoEdit"), 1u);
    EXPECT_EQ(nx::EditDepth(), 0);
}

TEST_F(UndoBlockTest, WorkRunsWithoutAnyEditServices) {
    for (const char* service :
         {"NX_StartNotavoEdit_UTF16", "NX_EndNotavoEdit", "NX_CancelNotavoEdit"}) {
        Services().SetAbsent(service);
    }
    NCUndoBlock block;
    FakeWork work(false);
    NCString name;
    name.AssignText8("No Scaling");
    EXPECT_FALSE(block.Run(&work, &name));
    EXPECT_EQ(work.runs, 1);
    EXPECT_TRUE(Journal().Calls().empty());
    EXPECT_EQ(nx::EditDepth(), 0);
}

TEST_F(UndoBlockTest, NullHandlerOrNameTouchesNothing) {
    NCUndoBlock block;
    FakeWork work(true);
    NCString name;
    name.AssignText8("x");
    EXPECT_FALSE(block.Run(nullptr, &name));
    EXPECT_FALSE(block.Run(&work, nullptr));
    EXPECT_EQ(work.runs, 0);
    EXPECT_TRUE(Journal().Calls().empty());
}

TEST_F(UndoBlockTest, AnExceptionFromWorkCancelsTheEditAndDetachesTheHandler) {
    class Throwing : public __NCUndoBlockHandler {
    public:
        bool Work() override { throw std::bad_alloc(); }
    } work;
    NCUndoBlock block;
    NCString name;
    name.AssignText8("Medium Allotment");
    EXPECT_THROW(block.Run(&work, &name), std::bad_alloc);
    EXPECT_EQ(Journal().CountOf("NX_CancelNotavoEdit"), 1u);
    EXPECT_EQ(work.Block(), nullptr);
    EXPECT_FALSE(block.IsRunning());
    EXPECT_EQ(nx::EditDepth(), 0);
}

}  // namespace
