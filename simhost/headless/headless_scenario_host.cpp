#include "simhost/headless/headless_scenario_host.h"

#include <cstring>

#include "simhost/scenario/dialog_items.h"

namespace simhost::headless {

using scenario::kTaskList;

namespace {

scenario::Rect ToRect(const RECT& rect) {
    return scenario::Rect{rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

HeadlessScenarioHost::HeadlessScenarioHost(std::string modulePath, HeadlessConfig config)
    : modulePath_(std::move(modulePath)), dialogs_(std::move(config)) {}

HeadlessScenarioHost::~HeadlessScenarioHost() {
    if (module_ && module_->Loaded() && !terminated_) module_->Entry().terminate(0);
}

void HeadlessScenarioHost::SetDocument(Document document) {
    backend_.ReplaceDocument(std::move(document));
}

bool HeadlessScenarioHost::Load(std::uint32_t hostVersion) {
    module_ = std::make_unique<ExtensionModule>(modulePath_);
    if (!module_->Loaded()) {
        error_ = module_->Error();
        return false;
    }
    menuItem_ = StartModule(module_->Entry(), hostVersion);
    return true;
}

bool HeadlessScenarioHost::Invoke(std::uint32_t hostVersion) {
    if (!module_ && !Load(hostVersion)) return false;
    if (!module_->Loaded()) return false;
    terminated_ = false;
    module_->Entry().invoke(kInvokeContext, 0, 0, 0);
    dialogs_.PumpMessages();
    if (user_.Dialog() == nullptr) {
        error_ =
            dialogs_.LastError().empty() ? "the extension opened no dialog" : dialogs_.LastError();
        return false;
    }
    return true;
}

bool HeadlessScenarioHost::Terminate() {
    if (!module_ || !module_->Loaded()) {
        error_ = "the extension is not loaded";
        return false;
    }
    module_->Entry().terminate(0);
    terminated_ = true;
    dialogs_.PumpMessages();
    return true;
}

bool HeadlessScenarioHost::ChooseRow(std::int32_t row) { return user_.SelectRow(kTaskList, row); }

bool HeadlessScenarioHost::DoubleClickRow(std::int32_t row) {
    return user_.DoubleClickRow(kTaskList, row);
}

bool HeadlessScenarioHost::ClearListSelection() {
    HWND dialog = user_.Dialog();
    if (dialog == nullptr) return false;
    SendDlgItemMessageW(dialog, kTaskList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    return user_.SelectedRow(kTaskList) == -1;
}

bool HeadlessScenarioHost::Click(std::int32_t item) { return user_.Click(item); }

bool HeadlessScenarioHost::DragBottomTo(std::int32_t height) {
    const RECT window = user_.WindowRect();
    return user_.DragBorder(WMSZ_BOTTOM, window.right - window.left, height);
}

bool HeadlessScenarioHost::DragRightTo(std::int32_t width) {
    const RECT window = user_.WindowRect();
    return user_.DragBorder(WMSZ_RIGHT, width, window.bottom - window.top);
}

void HeadlessScenarioHost::RunHostModal() {
    dialogs_.RunHostModal([] {});
}

std::vector<std::string> HeadlessScenarioHost::Rows() {
    std::vector<std::string> rows;
    for (const std::u16string& row : user_.Rows(kTaskList))
        rows.push_back(scenario::NarrowText(row));
    return rows;
}

std::int32_t HeadlessScenarioHost::SelectedRow() { return user_.SelectedRow(kTaskList); }

std::string HeadlessScenarioHost::ItemText(std::int32_t item) {
    return scenario::NarrowText(user_.Text(item));
}

scenario::Rect HeadlessScenarioHost::WindowRect() { return ToRect(user_.WindowRect()); }

scenario::Rect HeadlessScenarioHost::ItemRect(std::int32_t item) {
    return ToRect(user_.ControlRect(item));
}

std::int32_t HeadlessScenarioHost::FullScreenHeight() {
    return dialogs_.Screen().SystemMetric(SM_CYFULLSCREEN);
}

std::vector<std::uint32_t> HeadlessScenarioHost::Beeps() {
    return {dialogs_.Beeps().begin(), dialogs_.Beeps().end()};
}

}  // namespace simhost::headless
