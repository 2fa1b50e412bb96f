// Keys that NX_NextEData and NX_CreateEData write back wrong: backwards, repeated, 0xFFFF, or
// with a changed incidence. The spacing run walks no records and creates none, so these reach
// the record layer through the measure collection's walk and a measure's SaveNew.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <vector>

#include "framework/data/measure.h"
#include "tests/hostile/hostile_fixture.h"
#include "tests/support/row_name.h"

namespace hostile {
namespace {

// The walk's collection grows in steps of 10 and copies itself at each: some 200 million pointer
// copies for the largest document, well under a second in an optimised build, over twenty once
// unoptimised code or the sanitizers handle every one. The limit holds for the optimised native
// build; the others only have to end. It is the process's processor time, not the wall clock's,
// so that suites sharing the machine's cores do not make it fail.
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
constexpr double kLargestWalkSeconds = 10;
#else
constexpr double kLargestWalkSeconds = 120;
#endif

double ProcessorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// The item numbers a host answers to the walk's NX_NextEData calls, in turn; past the end it
// answers honestly.
struct WalkCase {
    const char* name;
    Answer answer;
    std::vector<std::int16_t> items;
    bool bumpIncidence;
    std::vector<std::int16_t> walked;
};

void PrintTo(const WalkCase& testCase, std::ostream* os) { *os << testCase.name; }

const WalkCase kWalkCases[] = {
    {"Honest", Answer::Honest, {}, false, {1, 2, 3, 4}},
    {"KeyLeftInPlace", Answer::ClaimOnly, {}, false, {1}},
    {"Refused", Answer::Refuse, {}, false, {1}},
    {"AdvancedButDenied", Answer::DenyDone, {}, false, {1}},
    {"Backwards", Answer::Honest, {3, 2}, false, {1, 3}},
    {"Repeated", Answer::Honest, {2, 2}, false, {1, 2}},
    {"AllOnes", Answer::Honest, {-1}, false, {1}},
    {"AllOnesAfterARecord", Answer::Honest, {2, -1}, false, {1, 2}},
    {"IncidenceChanged", Answer::Honest, {}, true, {1}},
};

class WalkedKeys : public HostileTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(WalkedKeys, TheWalkEndsAndHoldsEachRecordOnceInAscendingOrder) {
    const WalkCase& c = GetParam();
    std::size_t turn = 0;
    faults.nexts = c.answer;
    faults.rewriteKey = [&](nx::Service service, std::uint32_t, NXRecordKey& key) {
        if (service != nx::Service::NextEData) return;
        if (turn < c.items.size()) key.item = c.items[turn];
        if (c.bumpIncidence) ++key.incidence;
        ++turn;
    };
    NCMeasures measures;
    measures.LoadAll();
    std::vector<std::int16_t> walked;
    for (std::int32_t i = 0; i < measures.Count(); ++i)
        walked.push_back(measures.MeasureAt(i)->ItemNo());
    EXPECT_EQ(walked, c.walked);
}

INSTANTIATE_TEST_SUITE_P(Hostile, WalkedKeys, ::testing::ValuesIn(kWalkCases), quortest::RowName{});

struct CreateCase {
    const char* name;
    Answer answer;
    std::optional<std::int16_t> item;  // the item number the host writes, else as it answered
    bool saved;
    std::int16_t itemNo;
    bool reloads;
};

void PrintTo(const CreateCase& testCase, std::ostream* os) { *os << testCase.name; }

const CreateCase kCreateCases[] = {
    {"Honest", Answer::Honest, {}, true, 5, true},
    // The key stays at the request's -1, -1.
    {"KeyLeftAsAsked", Answer::ClaimOnly, {}, true, -1, false},
    {"Refused", Answer::Refuse, {}, false, -1, false},
    {"AllOnes", Answer::Honest, -1, true, -1, false},
    {"Zero", Answer::Honest, 0, true, 0, false},
    {"Backwards", Answer::Honest, 1, true, 1, true},
    {"Largest", Answer::Honest, 32767, true, 32767, false},
};

class CreatedKeys : public HostileTest, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(CreatedKeys, SaveNewKeepsTheHostsKeyAndLeavesTheDataAlone) {
    const CreateCase& c = GetParam();
    faults.creates = c.answer;
    if (c.item) {
        faults.rewriteKey = [&](nx::Service service, std::uint32_t, NXRecordKey& key) {
            if (service == nx::Service::CreateEData) key.item = *c.item;
        };
    }
    NCMeasure measure;
    ASSERT_TRUE(measure.Load(2));
    std::vector<std::uint8_t> data(measure.Data(), measure.Data() + measure.DataSize());
    EXPECT_EQ(measure.SaveNew(), c.saved);
    EXPECT_EQ(measure.ItemNo(), c.itemNo);
    EXPECT_EQ(std::memcmp(measure.Data(), data.data(), data.size()), 0);
    EXPECT_EQ(measure.Reload(), c.reloads);
}

INSTANTIATE_TEST_SUITE_P(Hostile, CreatedKeys, ::testing::ValuesIn(kCreateCases),
                         quortest::RowName{});

TEST_F(HostileTest, AWalkOfEverRisingKeysEndsAtTheLargestDocumentAHostCanHold) {
    // Every load claimed, and NX_NextEData stepping item and incidence upward, one key after
    // another, for longer than any document could hold.
    constexpr std::uint32_t kRisingKeys = 70000;
    std::uint32_t position = 1u << 16;  // item 1, incidence 0
    std::uint32_t walked = 0;
    faults.loads = Answer::ClaimOnly;
    faults.nexts = Answer::ClaimOnly;
    faults.rewriteKey = [&](nx::Service service, std::uint32_t, NXRecordKey& key) {
        if (service != nx::Service::NextEData) return;
        if (++walked > kRisingKeys) return;  // the host gives out, far too late
        ++position;
        key.item = static_cast<std::int16_t>(position >> 16);
        key.incidence = static_cast<std::int16_t>(position & 0xFFFF);
    };
    // The layer counts the calls; the journal would keep each of them.
    layer.Services().Journal().SetEnabled(false);
    const double start = ProcessorSeconds();
    NCMeasures measures;
    EXPECT_EQ(measures.LoadAll(), 65536);
    EXPECT_LT(ProcessorSeconds() - start, kLargestWalkSeconds);
    // It ended as if the host had no more: no further step was asked for.
    EXPECT_EQ(faults.CallsTo(nx::Service::NextEData), 65535u);
}

}  // namespace
}  // namespace hostile
