// One run of Apply Spacing ("Tight Allotment", Fixed Barlines ticked) on a host with one fault:
// services it lacks, or a call of a service it refuses. A new case is a row. Whatever the fault,
// the edit count comes back to 0, no host edit is left open, and the user either hears the
// warning over a document as it was, or can undo the run.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <set>

#include "host/services/nx_services.h"
#include "tests/hostile/hostile_fixture.h"
#include "tests/support/row_name.h"

namespace hostile {
namespace {

using nx::Service;

struct FaultCase {
    const char* name;
    std::function<void(FaultLayer&)> fault;
    Outcome expected;
    std::size_t redraws;
    std::size_t editsStarted;  // host edits the run asked for
};

void PrintTo(const FaultCase& testCase, std::ostream* os) { *os << testCase.name; }

std::function<void(FaultLayer&)> Missing(std::initializer_list<Service> services) {
    return [absent = std::set<Service>(services)](FaultLayer& faults) {
        faults.missing.insert(absent.begin(), absent.end());
    };
}

std::function<void(FaultLayer&)> RefusesCall(Service service, std::uint32_t n) {
    return [service, n](FaultLayer& faults) { faults.RefuseCall(service, n); };
}

constexpr Outcome kStands{0, 1, false, true, true};
// Refused before or inside the edit: a warning, and the document as it was.
constexpr Outcome kRefused{1, 0, false, true, true};
constexpr Outcome kOutsideAnEdit{0, 0, true, true, true};

const FaultCase kFaultCases[] = {
    {"Nothing", Missing({}), kStands, 1, 1},
    // No selection can be read: a warning and no edit.
    {"MissingSelection", Missing({Service::GetCurERegions}), kRefused, 0, 0},
    // Nothing could respace: the run is refused before it writes or opens anything.
    {"MissingRespacingCommand", Missing({Service::ExecuteMenuItem}), kRefused, 0, 0},
    {"MissingRedraw", Missing({Service::RedrawMusic}), kStands, 0, 1},
    {"MissingEditServices",
     Missing({Service::StartNotavoEdit, Service::StartNotavoEditUtf16, Service::EndNotavoEdit,
              Service::CancelNotavoEdit}),
     kOutsideAnEdit, 1, 0},
    {"MissingStartOnly", Missing({Service::StartNotavoEditUtf16}), kOutsideAnEdit, 1, 0},
    // Nothing can be read or written: the settings could not be kept, so the run fails and the
    // document stays as it was.
    {"MissingRecordServices",
     Missing({Service::LoadEData, Service::SaveEData, Service::CreateEData, Service::DeleteEData,
              Service::NextEData}),
     kRefused, 0, 1},
    // The task's rows cannot be written once the old ones are deleted.
    {"MissingSave", Missing({Service::SaveEData}), kRefused, 0, 1},
    // The tick cannot be read, so it counts as off.
    {"MissingCheckState", Missing({Service::GetDlgItemVal}), {0, 1, false, true, false}, 1, 1},
    {"MissingDocumentNumberAndInstruments",
     Missing({Service::GetCurrentOstrinDocument, Service::SlotToInst}), kStands, 1, 1},
    {"MissingDialogText", Missing({Service::SetDlgString, Service::SetDlgStringUtf16}), kStands, 1,
     1},
    // The write of the task stops at the first refusal; the edit's cancel puts all back.
    {"FirstDeleteRefused", RefusesCall(Service::DeleteEData, 1), kRefused, 0, 1},
    {"ThirdSaveRefused", RefusesCall(Service::SaveEData, 3), kRefused, 0, 1},
};

class ApplyFaults : public HostileTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ApplyFaults, ApplyRunAnswersTheUserAndKeepsTheDocumentUndoable) {
    const FaultCase& c = GetParam();
    const Records before = AllRecords();
    const Records settings = Settings();
    const Widths widths = MeasureWidths();
    c.fault(faults);
    Invoke();
    ASSERT_TRUE(Apply(kTightAllotmentRow));
    EXPECT_EQ(Observe(settings, widths), c.expected);
    EXPECT_EQ(host.RedrawCount(), static_cast<std::int32_t>(c.redraws));
    EXPECT_EQ(CallsTo("NX_StartNotavoEdit_UTF16"), c.editsStarted);
    EXPECT_EQ(nx::EditDepth(), 0);
    EXPECT_FALSE(HostEditOpen());
    if (c.expected.undoSteps > 0) {
        EXPECT_TRUE(UndoAllGivesBack(before));
    } else if (c.expected.beeps > 0) {
        // Refused before an edit, or cancelled: the document is as it was.
        EXPECT_EQ(AllRecords(), before);
        EXPECT_EQ(host.RespaceCount(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, ApplyFaults, ::testing::ValuesIn(kFaultCases),
                         quortest::RowName{});

}  // namespace
}  // namespace hostile
