// The headless host that scenarios run on: a document with its services, the host's windows
// and dialogs on the USER32 stand-in, and the extension module loaded from disk when the user
// first chooses its menu item, as the host loads it.
#pragma once

#include <memory>
#include <string>

#include "simhost/headless/dialog_user.h"
#include "simhost/headless/extension_module.h"
#include "simhost/headless/headless_dialogs.h"
#include "simhost/headless/headless_host.h"
#include "simhost/scenario/scenario_host.h"
#include "simhost/services/dialog_backend.h"

namespace simhost::headless {

class HeadlessScenarioHost : public scenario::ScenarioHost {
public:
    explicit HeadlessScenarioHost(std::string modulePath, HeadlessConfig config = {});
    // Terminates the extension before it is unloaded, as the host does when it quits.
    ~HeadlessScenarioHost() override;

    DocumentBackend& Backend() override { return backend_; }
    void SetDocument(Document document) override;
    bool Invoke(std::uint32_t hostVersion) override;
    bool Terminate() override;
    std::string Error() const override { return error_; }

    bool ChooseRow(std::int32_t row) override;
    bool DoubleClickRow(std::int32_t row) override;
    bool ClearListSelection() override;
    bool Click(std::int32_t item) override;
    bool UseCloseBox() override { return user_.UseCloseBox(); }
    bool DragBottomTo(std::int32_t height) override;
    bool DragRightTo(std::int32_t width) override;
    bool MoveTo(std::int32_t left, std::int32_t top) override { return user_.MoveTo(left, top); }
    bool Minimise() override { return user_.Minimise(); }
    bool Restore() override { return user_.Restore(); }
    void SetMainWindowEnabled(bool enabled) override { dialogs_.SetMainWindowEnabled(enabled); }
    void RunHostModal() override;

    bool DialogOpen() override { return user_.Dialog() != nullptr; }
    bool DialogEnabled() override { return user_.DialogEnabled(); }
    std::vector<std::string> Rows() override;
    std::int32_t SelectedRow() override;
    std::string ItemText(std::int32_t item) override;
    std::int32_t CheckState(std::int32_t item) override { return user_.CheckState(item); }
    scenario::Rect WindowRect() override;
    scenario::Rect ItemRect(std::int32_t item) override;
    std::int32_t FullScreenHeight() override;
    std::vector<std::uint32_t> Beeps() override;

    HeadlessDialogs& Dialogs() { return dialogs_; }
    DialogUser& User() { return user_; }
    ServiceLayer& Services() { return host_.Services(); }
    // The module's entry points once it is loaded; null before.
    const EntryPoints* Entry() const { return module_ ? &module_->Entry() : nullptr; }
    // The menu entry the module reported, once it was loaded.
    const std::string& MenuItem() const { return menuItem_; }

private:
    bool Load(std::uint32_t hostVersion);

    std::string modulePath_;
    HeadlessDialogs dialogs_;
    WithHeadlessDialogs<DocumentBackend> backend_{dialogs_};
    HeadlessHost host_{backend_};
    DialogUser user_{dialogs_};
    std::unique_ptr<ExtensionModule> module_;
    std::string menuItem_;
    std::string error_;
    // Terminated since the last invoke: the host does not terminate it again when it quits.
    bool terminated_ = false;
};

}  // namespace simhost::headless
