#include "tests/hostile/hostile_fixture.h"

#include <ostream>

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
    return simhost::DocumentBuilder()
        .withStaff(1)
        .withMeasures(4)
        // Below 256, so that a width written back by its low byte alone shows.
        .withMeasureWidth(200)
        .withAllotments({{0, 70}, {512, 80}, {1024, 90}})
        .withSelection(1, 4)
        .Build();
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
    host.EndOpenedDialogs();
    ResetModule();
}

void HostileTest::Invoke() { NotavoExtensionInvoke(kHostContext, 0, 0, 0); }

bool HostileTest::Apply(std::int32_t row, bool fixedBarlines) {
    if (!user.SelectRow(kTaskList, row)) return false;
    if (fixedBarlines != (user.CheckState(kFixedBarlines) != 0) && !user.Click(kFixedBarlines)) {
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

void HostileTest::SetAbsent(const std::vector<std::string>& services) {
    for (const std::string& service : services) layer.Services().SetAbsent(service);
}

}  // namespace hostile
