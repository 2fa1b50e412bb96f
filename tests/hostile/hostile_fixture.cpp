#include "tests/hostile/hostile_fixture.h"

#include <array>
#include <ostream>
#include <utility>
#include <vector>

#include "framework/data/allotment.h"
#include "framework/data/measure.h"
#include "host/module/entry_points.h"
#include "host/module/module_state.h"
#include "host/services/nx_services.h"
#include "simhost/document/document_builder.h"
#include "spacing/note_spacing_window.h"

namespace hostile {
namespace {

constexpr std::int32_t kHostContext = 7;
constexpr std::uint32_t kTagPreferenceBlocks = MakeTag("ot94");
constexpr std::uint32_t kTagPreferenceExtras = MakeTag("ot41");

bool IsSetting(std::uint32_t tag) {
    return tag == kTagAllotment || tag == kTagPreferenceBlocks || tag == kTagPreferenceExtras;
}

void ResetModule() {
    ResetModuleState();
    nx::ResetBindings();
}

}  // namespace

simhost::Document StartingDocument() {
    // No byte of the settings is 0, so that one written back from a buffer the host never
    // filled shows.
    std::array<std::uint8_t, 36> preferences{};
    for (std::size_t i = 0; i < preferences.size(); ++i) {
        preferences[i] = static_cast<std::uint8_t>(0x60 + i);
    }
    std::vector<std::uint8_t> extras(12);
    for (std::size_t i = 0; i < extras.size(); ++i) extras[i] = static_cast<std::uint8_t>(0x30 + i);
    simhost::DocumentBuilder builder;
    builder.withStaff(1)
        .withMeasures(4)
        // Below 256, so that a width written back by its low byte alone shows.
        .withMeasureWidth(200)
        .withPreferenceBytes(preferences)
        .withAllotments({{0, 70}, {512, 80}, {1024, 90}})
        .withRecord(kTagPreferenceExtras, -2, 2, extras)
        .withSelection(1, 4);
    for (const auto& [duration, width] :
         {std::pair<std::int16_t, std::uint8_t>{0, 70}, {512, 80}, {1024, 90}}) {
        std::vector<std::uint8_t> bytes(12, 0x5C);
        bytes[0] = width;
        bytes[1] = 0;
        builder.withRecord(kTagAllotment, duration, 0, bytes);
    }
    return builder.Build();
}

void PrintTo(const Outcome& outcome, std::ostream* os) {
    *os << "{beeps " << outcome.beeps << ", undo steps " << outcome.undoSteps
        << (outcome.outsideEdit ? ", outside an edit" : "")
        << (outcome.settingsKept ? ", settings kept" : ", settings changed")
        << (outcome.widthsKept ? ", widths kept" : ", widths changed") << "}";
}

HostileTest::HostileTest() {
    ResetModule();
    NotavoExtensionVersion(kInterfaceVersion);
    std::uint32_t flags = 0;
    NotavoExtensionInit(0, &flags);
}

HostileTest::~HostileTest() {
    NotavoExtensionTerminate(0);
    faults.EndOpenedDialogs();
    ResetModule();
}

void HostileTest::Invoke() { NotavoExtensionInvoke(kHostContext, 0, 0, 0); }

bool HostileTest::Apply(std::int32_t row, bool fixedBarlines) {
    if (!user.SelectRow(kTaskList, row)) return false;
    if (fixedBarlines != (user.CheckState(kFixedBarlinesBox) != 0) &&
        !user.Click(kFixedBarlinesBox)) {
        return false;
    }
    return user.Click(kApplyButton);
}

bool HostileTest::SetAsDefault(std::int32_t row) {
    return user.SelectRow(kTaskList, row) && user.Click(kSetAsDefaultButton);
}

Records HostileTest::Settings() const {
    Records settings;
    for (const auto& [id, record] : AllRecords()) {
        if (IsSetting(id.tag)) settings.emplace(id, record);
    }
    return settings;
}

Widths HostileTest::MeasureWidths() const {
    Widths widths;
    for (const auto& [id, record] : AllRecords()) {
        if (id.tag != kTagMeasure || id.incidence != 0) continue;
        if (const auto fields = host.GetDocument().MeasureRecord(id.item)) {
            widths[id.item] = fields->width;
        }
    }
    return widths;
}

Widths HostileTest::AllotmentWidths() const {
    Widths widths;
    for (const auto& [id, record] : AllRecords()) {
        if (id.tag != kTagAllotment || id.incidence != 0 || record.bytes.size() < 2) continue;
        widths[id.item] = static_cast<std::int16_t>(record.bytes[0] | (record.bytes[1] << 8));
    }
    return widths;
}

Outcome HostileTest::Observe(const Records& settingsBefore, const Widths& widthsBefore) const {
    const simhost::EditHistory& history = host.GetDocument().History();
    return Outcome{dialogs.Beeps().size(), history.UndoSteps().size(),
                   !history.OutsideEditChanges().empty(), Settings() == settingsBefore,
                   MeasureWidths() == widthsBefore};
}

bool HostileTest::UndoAllGivesBack(const Records& before) {
    simhost::Document& document = host.GetDocument();
    while (document.Undo()) {
    }
    return AllRecords() == before;
}

}  // namespace hostile
