#include "simhost/services/service_layer.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

namespace simhost {
namespace {

using nx::Service;

ServiceLayer*& CurrentLayer() {
    static ServiceLayer* layer = nullptr;
    return layer;
}

std::u16string Widen(const char* text) {
    std::u16string wide;
    if (text == nullptr) return wide;
    for (const char* p = text; *p != 0; ++p) wide.push_back(static_cast<unsigned char>(*p));
    return wide;
}

std::u16string Copy(const char16_t* text) { return text ? std::u16string(text) : u""; }

std::int64_t Item(const NXRecordKey* key) { return key ? key->item : 0; }
std::int64_t Incidence(const NXRecordKey* key) { return key ? key->incidence : 0; }
std::int64_t Handle(HWND window) {
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(window));
}

// Keeps the call in the layer's journal when the journal is on. The arguments are only copied
// then, so that a layer with its journal off answers at little more than the backend's cost.
template <typename Result>
[[gnu::always_inline]] inline Result Journalled(ServiceLayer& layer, Service service,
                                                std::initializer_list<std::int64_t> args,
                                                std::u16string_view text, Result result) {
    ServiceJournal& journal = layer.Journal();
    if (journal.Enabled()) [[unlikely]] {
        journal.Record(
            ServiceCall{std::string(nx::kServiceNames[static_cast<std::size_t>(service)]), args,
                        std::u16string(text), static_cast<std::int64_t>(result)});
    }
    return result;
}

[[gnu::always_inline]] inline void Journalled(ServiceLayer& layer, Service service,
                                              std::initializer_list<std::int64_t> args,
                                              std::u16string_view text = {}) {
    Journalled(layer, service, args, text, 0);
}

[[gnu::noinline]] std::int16_t JournalledLoad(ServiceLayer& layer, std::uint32_t tag,
                                              NXRecordKey* key, void* buffer, std::int32_t* size,
                                              std::uint32_t version) {
    const std::int64_t capacity = size ? *size : -1;
    const std::int16_t result = layer.Backend().LoadEData(tag, key, buffer, size, version);
    return Journalled(layer, Service::LoadEData,
                      {tag, Item(key), Incidence(key), capacity, version}, {}, result);
}

// Loads are nearly all of a run's calls, most of them probes of absent records: with the journal
// off one goes straight to the backend, and the journalled path stays out of its way.
std::int16_t Answer(nx::ServiceTag<Service::LoadEData>, ServiceLayer& layer, std::uint32_t tag,
                    NXRecordKey* key, void* buffer, std::int32_t* size, std::uint32_t version) {
    if (!layer.Journal().Enabled()) [[likely]] {
        return layer.Backend().LoadEData(tag, key, buffer, size, version);
    }
    return JournalledLoad(layer, tag, key, buffer, size, version);
}

std::int16_t Answer(nx::ServiceTag<Service::SaveEData>, ServiceLayer& layer, std::uint32_t tag,
                    NXRecordKey* key, void* buffer, std::int32_t size, std::uint32_t version) {
    const std::int16_t result = layer.Backend().SaveEData(tag, key, buffer, size, version);
    return Journalled(layer, Service::SaveEData, {tag, Item(key), Incidence(key), size, version},
                      {}, result);
}

std::int16_t Answer(nx::ServiceTag<Service::CreateEData>, ServiceLayer& layer, std::uint32_t tag,
                    NXRecordKey* key, void* buffer, std::int32_t size, std::uint32_t version) {
    const std::int16_t result = layer.Backend().CreateEData(tag, key, buffer, size, version);
    // The key as the host rewrote it.
    return Journalled(layer, Service::CreateEData, {tag, Item(key), Incidence(key), size, version},
                      {}, result);
}

std::int16_t Answer(nx::ServiceTag<Service::DeleteEData>, ServiceLayer& layer, std::uint32_t tag,
                    NXRecordKey* key, std::uint32_t version) {
    const std::int64_t item = Item(key);
    const std::int64_t incidence = Incidence(key);
    const std::int16_t result = layer.Backend().DeleteEData(tag, key, version);
    return Journalled(layer, Service::DeleteEData, {tag, item, incidence, version}, {}, result);
}

std::int16_t Answer(nx::ServiceTag<Service::NextEData>, ServiceLayer& layer, std::uint32_t tag,
                    NXRecordKey* key, void* /*reserved1*/, void* /*reserved2*/,
                    std::uint32_t version) {
    const std::int64_t item = Item(key);
    const std::int64_t incidence = Incidence(key);
    const std::int16_t result = layer.Backend().NextEData(tag, key, version);
    return Journalled(layer, Service::NextEData, {tag, item, incidence, version}, {}, result);
}

void Answer(nx::ServiceTag<Service::Dialog>, ServiceLayer& layer, std::int16_t resourceId,
            NXDialogProc proc, std::int32_t context, std::int32_t zero, void* user,
            std::uint32_t version) {
    // Journalled first: the dialog's own messages follow from inside the call.
    Journalled(layer, Service::Dialog, {resourceId, context, zero, version});
    layer.Backend().Dialog(resourceId, proc, context, zero, user);
}

void Answer(nx::ServiceTag<Service::EndDialog>, ServiceLayer& layer, HWND dialog,
            std::uint32_t version) {
    Journalled(layer, Service::EndDialog, {Handle(dialog), version});
    layer.Backend().EndDialog(dialog);
}

void Answer(nx::ServiceTag<Service::EnableDlgItem>, ServiceLayer& layer, HWND dialog,
            std::int32_t item, std::int32_t enable, std::uint32_t version) {
    Journalled(layer, Service::EnableDlgItem, {Handle(dialog), item, enable, version});
    layer.Backend().EnableDlgItem(dialog, item, enable);
}

std::int32_t Answer(nx::ServiceTag<Service::GetDlgItemVal>, ServiceLayer& layer, HWND dialog,
                    std::int32_t item, std::int32_t kind, std::uint32_t version) {
    const std::int32_t result = layer.Backend().GetDlgItemVal(dialog, item, kind);
    return Journalled(layer, Service::GetDlgItemVal, {Handle(dialog), item, kind, version}, {},
                      result);
}

void Answer(nx::ServiceTag<Service::SetDlgItemVal>, ServiceLayer& layer, HWND dialog,
            std::int32_t item, std::int32_t kind, std::int32_t value, std::uint32_t version) {
    Journalled(layer, Service::SetDlgItemVal, {Handle(dialog), item, kind, value, version});
    layer.Backend().SetDlgItemVal(dialog, item, kind, value);
}

void Answer(nx::ServiceTag<Service::GetDlgItemUser>, ServiceLayer& layer, HWND dialog,
            std::int32_t item, std::int32_t zero, double* value, std::uint32_t version) {
    Journalled(layer, Service::GetDlgItemUser, {Handle(dialog), item, zero, version});
    layer.Backend().GetDlgItemUser(dialog, item, zero, value);
}

void Answer(nx::ServiceTag<Service::SetDlgItemUser>, ServiceLayer& layer, HWND dialog,
            std::int32_t item, std::int32_t zero, double value, std::uint32_t version) {
    Journalled(layer, Service::SetDlgItemUser, {Handle(dialog), item, zero, version});
    layer.Backend().SetDlgItemUser(dialog, item, zero, value);
}

void Answer(nx::ServiceTag<Service::GetDlgString>, ServiceLayer& layer, HWND dialog,
            std::int32_t item, char* buffer, std::int32_t capacity, std::uint32_t version) {
    layer.Backend().GetDlgString(dialog, item, buffer, capacity);
    Journalled(layer, Service::GetDlgString, {Handle(dialog), item, capacity, version});
}

void Answer(nx::ServiceTag<Service::GetDlgStringUtf16>, ServiceLayer& layer, HWND dialog,
            std::int32_t item, char16_t* buffer, std::int32_t capacity, std::uint32_t version) {
    layer.Backend().GetDlgStringUtf16(dialog, item, buffer, capacity);
    Journalled(layer, Service::GetDlgStringUtf16, {Handle(dialog), item, capacity, version});
}

void Answer(nx::ServiceTag<Service::SetDlgString>, ServiceLayer& layer, HWND dialog,
            std::int32_t item, const char* text, std::uint32_t version) {
    Journalled(layer, Service::SetDlgString, {Handle(dialog), item, version}, Widen(text));
    layer.Backend().SetDlgString(dialog, item, text);
}

void Answer(nx::ServiceTag<Service::SetDlgStringUtf16>, ServiceLayer& layer, HWND dialog,
            std::int32_t item, const char16_t* text, std::uint32_t version) {
    Journalled(layer, Service::SetDlgStringUtf16, {Handle(dialog), item, version}, Copy(text));
    layer.Backend().SetDlgStringUtf16(dialog, item, text);
}

std::int16_t Answer(nx::ServiceTag<Service::SlotToInst>, ServiceLayer& layer, std::int16_t slot,
                    std::int16_t slotKey, std::uint32_t version) {
    const std::int16_t result = layer.Backend().SlotToInst(slot, slotKey);
    return Journalled(layer, Service::SlotToInst, {slot, slotKey, version}, {}, result);
}

void Answer(nx::ServiceTag<Service::GetCurERegions>, ServiceLayer& layer, std::int32_t* scratch,
            NXRegionRecord* first, NXRegionRecord* second, std::uint32_t version) {
    layer.Backend().GetCurERegions(scratch, first, second);
    Journalled(layer, Service::GetCurERegions, {version});
}

void Answer(nx::ServiceTag<Service::RedrawMusic>, ServiceLayer& layer, NXRegionRecord* region,
            std::uint32_t version) {
    Journalled(layer, Service::RedrawMusic,
               {region ? region->startMeasure : 0, region ? region->endMeasure : 0, version});
    layer.Backend().RedrawMusic(region);
}

std::int16_t Answer(nx::ServiceTag<Service::GetCurrentOstrinDocument>, ServiceLayer& layer,
                    std::uint32_t version) {
    const std::int16_t result = layer.Backend().GetCurrentOstrinDocument();
    return Journalled(layer, Service::GetCurrentOstrinDocument, {version}, {}, result);
}

std::int32_t Answer(nx::ServiceTag<Service::StartNotavoEdit>, ServiceLayer& layer, const char* name,
                    std::uint32_t version) {
    const std::u16string wide = Widen(name);
    const std::int32_t result = layer.Backend().StartEdit(wide.c_str());
    return Journalled(layer, Service::StartNotavoEdit, {version}, wide, result);
}

std::int32_t Answer(nx::ServiceTag<Service::StartNotavoEditUtf16>, ServiceLayer& layer,
                    const char16_t* name, std::uint32_t version) {
    const std::u16string copy = Copy(name);
    const std::int32_t result = layer.Backend().StartEdit(copy.c_str());
    return Journalled(layer, Service::StartNotavoEditUtf16, {version}, copy, result);
}

std::int32_t Answer(nx::ServiceTag<Service::EndNotavoEdit>, ServiceLayer& layer,
                    std::uint32_t version) {
    const std::int32_t result = layer.Backend().EndEdit();
    return Journalled(layer, Service::EndNotavoEdit, {version}, {}, result);
}

void Answer(nx::ServiceTag<Service::CancelNotavoEdit>, ServiceLayer& layer, std::uint32_t version) {
    layer.Backend().CancelEdit();
    Journalled(layer, Service::CancelNotavoEdit, {version});
}

void Answer(nx::ServiceTag<Service::ExecuteMenuItem>, ServiceLayer& layer, std::int32_t command,
            std::uint32_t version) {
    // Journalled first, so that the record traffic of the command follows it.
    Journalled(layer, Service::ExecuteMenuItem, {command, version});
    layer.Backend().ExecuteMenuItem(command);
}

HWND Answer(nx::ServiceTag<Service::GetCurrentWindow>, ServiceLayer& layer, std::uint32_t version) {
    HWND window = layer.Backend().GetCurrentWindow();
    Journalled(layer, Service::GetCurrentWindow, {version});
    return window;
}

// The services as the host exports them: each hands its call to the current layer's answer, and
// answers 0 (null, nothing) without a current layer.
#define NX_EXPORTED_(Id, Name, Result, ...)                                                       \
    Result WINAPI Exported##Id(NX_PARAMS_THEN_VERSION(__VA_ARGS__)) {                             \
        ServiceLayer* layer = CurrentLayer();                                                     \
        if (layer == nullptr) return Result();                                                    \
        return Answer(nx::ServiceTag<Service::Id>{}, *layer, NX_ARGS_THEN(version, __VA_ARGS__)); \
    }
NX_SERVICES(NX_EXPORTED_)
#undef NX_EXPORTED_

// Each signature is the one the module binds the service as.
#define NX_ADDRESS_(Id, ...) reinterpret_cast<void*>(static_cast<nxsig::Id>(&Exported##Id)),
const std::array<void*, nx::kServiceCount> kAddresses = {NX_SERVICES(NX_ADDRESS_)};
#undef NX_ADDRESS_

std::optional<Service> Find(std::string_view name) {
    const auto found = std::find(nx::kServiceNames.begin(), nx::kServiceNames.end(), name);
    if (found == nx::kServiceNames.end()) return std::nullopt;
    return static_cast<Service>(found - nx::kServiceNames.begin());
}

}  // namespace

std::vector<std::string> ServiceJournal::Names() const {
    std::vector<std::string> names;
    names.reserve(calls_.size());
    for (const auto& call : calls_) names.push_back(call.service);
    return names;
}

std::size_t ServiceJournal::CountOf(std::string_view service) const {
    return static_cast<std::size_t>(
        std::count_if(calls_.begin(), calls_.end(),
                      [&](const ServiceCall& call) { return call.service == service; }));
}

void* ServiceLayer::Resolve(std::string_view name) const {
    const std::optional<Service> service = Find(name);
    if (!service || IsAbsent(name) || backend_->Lacks(*service)) return nullptr;
    return kAddresses[static_cast<std::size_t>(*service)];
}

bool ServiceLayer::Offers(std::string_view name) { return Find(name).has_value(); }

const std::vector<std::string>& ServiceLayer::ServiceNames() {
    static const std::vector<std::string> names(nx::kServiceNames.begin(), nx::kServiceNames.end());
    return names;
}

void ServiceLayer::SetAbsent(std::string_view service, bool absent) {
    if (absent) {
        absent_.emplace(service);
    } else if (auto it = absent_.find(service); it != absent_.end()) {
        absent_.erase(it);
    }
}

bool ServiceLayer::IsAbsent(std::string_view service) const { return absent_.contains(service); }

ServiceLayer* ServiceLayer::Current() { return CurrentLayer(); }

void ServiceLayer::SetCurrent(ServiceLayer* layer) { CurrentLayer() = layer; }

}  // namespace simhost
