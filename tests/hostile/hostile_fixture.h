// Drives the extension as the host does, through its entry points and the user's clicks on its
// dialog, against the fault layer over a small real document with the headless dialogs. Module
// state and bindings are reset around every test, so that a service made absent is looked up
// afresh.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>

#include "simhost/headless/dialog_user.h"
#include "simhost/headless/headless_dialogs.h"
#include "simhost/headless/headless_host.h"
#include "simhost/scenario/dialog_items.h"
#include "simhost/services/dialog_backend.h"
#include "simhost/services/document_backend.h"
#include "tests/faults/fault_layer.h"

namespace hostile {

using quorfaults::Answer;
using quorfaults::FaultLayer;

// List rows and items of the note spacing dialog.
constexpr std::int32_t kTightAllotmentRow = 0;
constexpr std::int32_t kGoldenRatioScalingRow = 5;
using simhost::scenario::kApplyButton;
using simhost::scenario::kCloseButton;
using simhost::scenario::kDescription;
using simhost::scenario::kFixedBarlinesBox;
using simhost::scenario::kSetAsDefaultButton;
using simhost::scenario::kTaskList;

using Records = simhost::RecordStore::Map;
using Widths = std::map<std::int16_t, std::int16_t>;

// One staff of four measures of quarters 200 wide, three allotments with the allotment flag set,
// all four measures selected.
simhost::Document StartingDocument();

// What a user and the document show after a run.
struct Outcome {
    std::size_t beeps = 0;
    std::size_t undoSteps = 0;
    bool outsideEdit = false;  // changes were made while no host edit was open
    bool settingsKept = true;  // allotments and preferences as before
    bool widthsKept = true;    // every measure width as before

    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& outcome, std::ostream* os);

class HostileTest : public ::testing::Test {
protected:
    HostileTest();
    ~HostileTest() override;

    // The user chooses the menu item.
    void Invoke();
    // Selects the row, ticks Fixed Barlines when asked and clicks the button; false when a
    // click could not reach the dialog.
    bool Apply(std::int32_t row, bool fixedBarlines = true);
    bool SetAsDefault(std::int32_t row);

    const Records& AllRecords() const { return host.GetDocument().Records().All(); }
    // The allotment records and the preference blocks.
    Records Settings() const;
    Widths MeasureWidths() const;
    // The document's allotments: duration to width.
    Widths AllotmentWidths() const;
    // What the user and the document show now, against what they held before.
    Outcome Observe(const Records& settingsBefore, const Widths& widthsBefore) const;
    bool HostEditOpen() const { return host.GetDocument().History().IsOpen(); }
    // Undoes every step the host holds; true when that gives back `before` byte for byte.
    bool UndoAllGivesBack(const Records& before);
    std::size_t CallsTo(const std::string& service) {
        return layer.Services().Journal().CountOf(service);
    }
    void SetAbsent(std::initializer_list<nx::Service> services) { faults.missing.insert(services); }

    simhost::headless::HeadlessDialogs dialogs;
    // The document host, which answers well; the module reaches it through the faults.
    simhost::WithHeadlessDialogs<simhost::DocumentBackend> host{dialogs, StartingDocument()};
    FaultLayer faults{host, &dialogs};
    simhost::headless::HeadlessHost layer{faults};
    simhost::headless::DialogUser user{dialogs};
};

}  // namespace hostile
