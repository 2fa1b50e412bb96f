// The substitute host's NX_ service layer. It hands a module the addresses of its services by
// name, lets any of them be made absent, and journals every call (the service, its arguments
// and its result) before the answer goes back, so that tests can see which calls were made and
// in what order. The answers themselves come from a HostBackend.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/services/nx_service_list.h"
#include "simhost/services/host_backend.h"

namespace simhost {

struct ServiceCall {
    std::string service;
    // The integer arguments in order, version last. Record calls give tag, item, incidence
    // (and the size or capacity where there is one) before the version; pointers that carry
    // no integer are left out.
    std::vector<std::int64_t> args;
    // The text argument of a text service, widened to UTF-16.
    std::u16string text;
    std::int64_t result = 0;
};

class ServiceJournal {
public:
    // On by default. Off, the layer keeps no calls: for timing a host without its test aid.
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }

    void Record(ServiceCall call) { calls_.push_back(std::move(call)); }
    void Clear() { calls_.clear(); }
    const std::vector<ServiceCall>& Calls() const { return calls_; }
    // Just the service names, in call order.
    std::vector<std::string> Names() const;
    std::size_t CountOf(std::string_view service) const;

private:
    std::vector<ServiceCall> calls_;
    bool enabled_ = true;
};

class ServiceLayer {
public:
    explicit ServiceLayer(HostBackend& backend) : backend_(&backend) {}
    ServiceLayer(const ServiceLayer&) = delete;
    ServiceLayer& operator=(const ServiceLayer&) = delete;

    // The address of a service by its exported name; null when it is absent, the backend lacks
    // it, or the name is unknown.
    void* Resolve(std::string_view name) const;
    // Whether a name is one of the services this layer offers.
    static bool Offers(std::string_view name);
    static const std::vector<std::string>& ServiceNames();

    void SetAbsent(std::string_view service, bool absent = true);
    bool IsAbsent(std::string_view service) const;

    ServiceJournal& Journal() { return journal_; }
    HostBackend& Backend() { return *backend_; }
    void SetBackend(HostBackend& backend) { backend_ = &backend; }

    // The layer whose backend and journal the services use; null answers every call with 0.
    static ServiceLayer* Current();
    static void SetCurrent(ServiceLayer* layer);

private:
    HostBackend* backend_;
    ServiceJournal journal_;
    std::set<std::string, std::less<>> absent_;
};

}  // namespace simhost
