#include "simhost/services/service_layer.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace simhost {
namespace {

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

std::u16string Text(const char* text) { return Widen(text); }
std::u16string Text(const char16_t* text) { return Copy(text); }

// The arguments stay on the caller's stack until the journal is known to be on: with it off,
// no entry (no vector, no string) is built.
template <typename Result>
Result Journalled(ServiceLayer& layer, const char* name, std::initializer_list<std::int64_t> args,
                  std::u16string_view text, Result result) {
    if (!layer.Journal().Enabled()) return result;
    layer.Journal().Record(
        ServiceCall{name, args, std::u16string(text), static_cast<std::int64_t>(result)});
    return result;
}

void Journalled(ServiceLayer& layer, const char* name, std::initializer_list<std::int64_t> args,
                std::u16string_view text = {}) {
    if (!layer.Journal().Enabled()) return;
    layer.Journal().Record(ServiceCall{name, args, std::u16string(text), 0});
}

// A text argument as the caller passed it, widened only when journalled.
template <typename Char>
void Journalled(ServiceLayer& layer, const char* name, std::initializer_list<std::int64_t> args,
                const Char* text) {
    if (!layer.Journal().Enabled()) return;
    layer.Journal().Record(ServiceCall{name, args, Text(text), 0});
}

// The services themselves, as the host exports them. Each answers 0 without a current layer.

std::int16_t WINAPI LoadEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t* size,
                              std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::int64_t capacity = size ? *size : -1;
    const std::int16_t result = layer->Backend().LoadEData(tag, key, buffer, size, version);
    return Journalled(*layer, "NX_LoadEData", {tag, Item(key), Incidence(key), capacity, version},
                      {}, result);
}

std::int16_t WINAPI SaveEData(std::uint32_t tag, NXRecordKey* key, void* buffer, std::int32_t size,
                              std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::int16_t result = layer->Backend().SaveEData(tag, key, buffer, size, version);
    return Journalled(*layer, "NX_SaveEData", {tag, Item(key), Incidence(key), size, version}, {},
                      result);
}

std::int16_t WINAPI CreateEData(std::uint32_t tag, NXRecordKey* key, void* buffer,
                                std::int32_t size, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::int16_t result = layer->Backend().CreateEData(tag, key, buffer, size, version);
    // The key as the host rewrote it.
    return Journalled(*layer, "NX_CreateEData", {tag, Item(key), Incidence(key), size, version}, {},
                      result);
}

std::int16_t WINAPI DeleteEData(std::uint32_t tag, NXRecordKey* key, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::int64_t item = Item(key);
    const std::int64_t incidence = Incidence(key);
    const std::int16_t result = layer->Backend().DeleteEData(tag, key, version);
    return Journalled(*layer, "NX_DeleteEData", {tag, item, incidence, version}, {}, result);
}

std::int16_t WINAPI NextEData(std::uint32_t tag, NXRecordKey* key, void* /*reserved1*/,
                              void* /*reserved2*/, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::int64_t item = Item(key);
    const std::int64_t incidence = Incidence(key);
    const std::int16_t result = layer->Backend().NextEData(tag, key, version);
    return Journalled(*layer, "NX_NextEData", {tag, item, incidence, version}, {}, result);
}

void WINAPI Dialog(std::int16_t resourceId, NXDialogProc proc, std::int32_t context,
                   std::int32_t zero, void* user, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    // Journalled first: the dialog's own messages follow from inside the call.
    Journalled(*layer, "NX_Dialog", {resourceId, context, zero, version});
    layer->Backend().Dialog(resourceId, proc, context, zero, user);
}

void WINAPI EndDialog(HWND dialog, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    Journalled(*layer, "NX_EndDialog", {Handle(dialog), version});
    layer->Backend().EndDialog(dialog);
}

void WINAPI EnableDlgItem(HWND dialog, std::int32_t item, std::int32_t enable,
                          std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    Journalled(*layer, "NX_EnableDlgItem", {Handle(dialog), item, enable, version});
    layer->Backend().EnableDlgItem(dialog, item, enable);
}

std::int32_t WINAPI GetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind,
                                  std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::int32_t result = layer->Backend().GetDlgItemVal(dialog, item, kind);
    return Journalled(*layer, "NX_GetDlgItemVal", {Handle(dialog), item, kind, version}, {},
                      result);
}

void WINAPI SetDlgItemVal(HWND dialog, std::int32_t item, std::int32_t kind, std::int32_t value,
                          std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    Journalled(*layer, "NX_SetDlgItemVal", {Handle(dialog), item, kind, value, version});
    layer->Backend().SetDlgItemVal(dialog, item, kind, value);
}

void WINAPI GetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double* value,
                           std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    Journalled(*layer, "NX_GetDlgItemUser", {Handle(dialog), item, zero, version});
    layer->Backend().GetDlgItemUser(dialog, item, zero, value);
}

void WINAPI SetDlgItemUser(HWND dialog, std::int32_t item, std::int32_t zero, double value,
                           std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    Journalled(*layer, "NX_SetDlgItemUser", {Handle(dialog), item, zero, version});
    layer->Backend().SetDlgItemUser(dialog, item, zero, value);
}

void WINAPI GetDlgString(HWND dialog, std::int32_t item, char* buffer, std::int32_t capacity,
                         std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    layer->Backend().GetDlgString(dialog, item, buffer, capacity);
    Journalled(*layer, "NX_GetDlgString", {Handle(dialog), item, capacity, version});
}

void WINAPI GetDlgStringUtf16(HWND dialog, std::int32_t item, char16_t* buffer,
                              std::int32_t capacity, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    layer->Backend().GetDlgStringUtf16(dialog, item, buffer, capacity);
    Journalled(*layer, "NX_GetDlgString_UTF16", {Handle(dialog), item, capacity, version});
}

void WINAPI SetDlgString(HWND dialog, std::int32_t item, const char* text, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    Journalled(*layer, "NX_SetDlgString", {Handle(dialog), item, version}, text);
    layer->Backend().SetDlgString(dialog, item, text);
}

void WINAPI SetDlgStringUtf16(HWND dialog, std::int32_t item, const char16_t* text,
                              std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    Journalled(*layer, "NX_SetDlgString_UTF16", {Handle(dialog), item, version}, text);
    layer->Backend().SetDlgStringUtf16(dialog, item, text);
}

std::int16_t WINAPI SlotToInst(std::int16_t slot, std::int16_t slotKey, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::int16_t result = layer->Backend().SlotToInst(slot, slotKey);
    return Journalled(*layer, "NX_SlotToInst", {slot, slotKey, version}, {}, result);
}

void WINAPI GetCurERegions(std::int32_t* scratch, NXRegionRecord* first, NXRegionRecord* second,
                           std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    layer->Backend().GetCurERegions(scratch, first, second);
    Journalled(*layer, "NX_GetCurERegions", {version});
}

void WINAPI RedrawMusic(NXRegionRecord* region, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    Journalled(*layer, "NX_RedrawMusic",
               {region ? region->startMeasure : 0, region ? region->endMeasure : 0, version});
    layer->Backend().RedrawMusic(region);
}

std::int16_t WINAPI GetCurrentOstrinDocument(std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::int16_t result = layer->Backend().GetCurrentOstrinDocument();
    return Journalled(*layer, "NX_GetCurrentOstrinDocument", {version}, {}, result);
}

std::int32_t WINAPI StartNotavoEdit(const char* name, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::u16string wide = Widen(name);
    const std::int32_t result = layer->Backend().StartEdit(wide.c_str());
    return Journalled(*layer, "NX_StartNotavoEdit", {version}, wide, result);
}

std::int32_t WINAPI StartNotavoEditUtf16(const char16_t* name, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::u16string copy = Copy(name);
    const std::int32_t result = layer->Backend().StartEdit(copy.c_str());
    return Journalled(*layer, "NX_StartNotavoEdit_UTF16", {version}, copy, result);
}

std::int32_t WINAPI EndNotavoEdit(std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return 0;
    const std::int32_t result = layer->Backend().EndEdit();
    return Journalled(*layer, "NX_EndNotavoEdit", {version}, {}, result);
}

void WINAPI CancelNotavoEdit(std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    layer->Backend().CancelEdit();
    Journalled(*layer, "NX_CancelNotavoEdit", {version});
}

void WINAPI ExecuteMenuItem(std::int32_t command, std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return;
    // Journalled first, so that the record traffic of the command follows it.
    Journalled(*layer, "NX_ExecuteMenuItem", {command, version});
    layer->Backend().ExecuteMenuItem(command);
}

HWND WINAPI GetCurrentWindow(std::uint32_t version) {
    ServiceLayer* layer = ServiceLayer::Current();
    if (!layer) return nullptr;
    HWND window = layer->Backend().GetCurrentWindow();
    Journalled(*layer, "NX_GetCurrentWindow", {version});
    return window;
}

struct Entry {
    const char* name;
    void* address;
};

template <typename Fn>
void* Address(Fn fn) {
    return reinterpret_cast<void*>(fn);
}

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = {
        {"NX_LoadEData", Address(&LoadEData)},
        {"NX_SaveEData", Address(&SaveEData)},
        {"NX_CreateEData", Address(&CreateEData)},
        {"NX_DeleteEData", Address(&DeleteEData)},
        {"NX_NextEData", Address(&NextEData)},
        {"NX_Dialog", Address(&Dialog)},
        {"NX_EndDialog", Address(&EndDialog)},
        {"NX_EnableDlgItem", Address(&EnableDlgItem)},
        {"NX_GetDlgItemVal", Address(&GetDlgItemVal)},
        {"NX_SetDlgItemVal", Address(&SetDlgItemVal)},
        {"NX_GetDlgItemUser", Address(&GetDlgItemUser)},
        {"NX_SetDlgItemUser", Address(&SetDlgItemUser)},
        {"NX_GetDlgString", Address(&GetDlgString)},
        {"NX_GetDlgString_UTF16", Address(&GetDlgStringUtf16)},
        {"NX_SetDlgString", Address(&SetDlgString)},
        {"NX_SetDlgString_UTF16", Address(&SetDlgStringUtf16)},
        {"NX_SlotToInst", Address(&SlotToInst)},
        {"NX_GetCurERegions", Address(&GetCurERegions)},
        {"NX_RedrawMusic", Address(&RedrawMusic)},
        {"NX_GetCurrentOstrinDocument", Address(&GetCurrentOstrinDocument)},
        {"NX_StartNotavoEdit", Address(&StartNotavoEdit)},
        {"NX_StartNotavoEdit_UTF16", Address(&StartNotavoEditUtf16)},
        {"NX_EndNotavoEdit", Address(&EndNotavoEdit)},
        {"NX_CancelNotavoEdit", Address(&CancelNotavoEdit)},
        {"NX_ExecuteMenuItem", Address(&ExecuteMenuItem)},
        {"NX_GetCurrentWindow", Address(&GetCurrentWindow)},
    };
    return entries;
}

// The signatures the services are defined with must be the ones the module binds them as.
static_assert(std::is_same_v<decltype(&LoadEData), nxsig::LoadEData>);
static_assert(std::is_same_v<decltype(&SaveEData), nxsig::SaveEData>);
static_assert(std::is_same_v<decltype(&CreateEData), nxsig::CreateEData>);
static_assert(std::is_same_v<decltype(&DeleteEData), nxsig::DeleteEData>);
static_assert(std::is_same_v<decltype(&NextEData), nxsig::NextEData>);
static_assert(std::is_same_v<decltype(&Dialog), nxsig::Dialog>);
static_assert(std::is_same_v<decltype(&EndDialog), nxsig::EndDialog>);
static_assert(std::is_same_v<decltype(&EnableDlgItem), nxsig::EnableDlgItem>);
static_assert(std::is_same_v<decltype(&GetDlgItemVal), nxsig::GetDlgItemVal>);
static_assert(std::is_same_v<decltype(&SetDlgItemVal), nxsig::SetDlgItemVal>);
static_assert(std::is_same_v<decltype(&GetDlgItemUser), nxsig::GetDlgItemUser>);
static_assert(std::is_same_v<decltype(&SetDlgItemUser), nxsig::SetDlgItemUser>);
static_assert(std::is_same_v<decltype(&GetDlgString), nxsig::GetDlgString>);
static_assert(std::is_same_v<decltype(&GetDlgStringUtf16), nxsig::GetDlgStringUtf16>);
static_assert(std::is_same_v<decltype(&SetDlgString), nxsig::SetDlgString>);
static_assert(std::is_same_v<decltype(&SetDlgStringUtf16), nxsig::SetDlgStringUtf16>);
static_assert(std::is_same_v<decltype(&SlotToInst), nxsig::SlotToInst>);
static_assert(std::is_same_v<decltype(&GetCurERegions), nxsig::GetCurERegions>);
static_assert(std::is_same_v<decltype(&RedrawMusic), nxsig::RedrawMusic>);
static_assert(std::is_same_v<decltype(&GetCurrentOstrinDocument), nxsig::GetCurrentOstrinDocument>);
static_assert(std::is_same_v<decltype(&StartNotavoEdit), nxsig::StartNotavoEdit>);
static_assert(std::is_same_v<decltype(&StartNotavoEditUtf16), nxsig::StartNotavoEditUtf16>);
static_assert(std::is_same_v<decltype(&EndNotavoEdit), nxsig::EndNotavoEdit>);
static_assert(std::is_same_v<decltype(&CancelNotavoEdit), nxsig::CancelNotavoEdit>);
static_assert(std::is_same_v<decltype(&ExecuteMenuItem), nxsig::ExecuteMenuItem>);
static_assert(std::is_same_v<decltype(&GetCurrentWindow), nxsig::GetCurrentWindow>);

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
    if (IsAbsent(name)) return nullptr;
    for (const Entry& entry : Entries()) {
        if (name == entry.name) return entry.address;
    }
    return nullptr;
}

bool ServiceLayer::Offers(std::string_view name) {
    return std::any_of(Entries().begin(), Entries().end(),
                       [&](const Entry& entry) { return name == entry.name; });
}

const std::vector<std::string>& ServiceLayer::ServiceNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const Entry& entry : Entries()) list.emplace_back(entry.name);
        return list;
    }();
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
