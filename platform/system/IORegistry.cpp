#include "platform/system/IORegistry.hpp"

#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

namespace zelvana::platform {

namespace {

std::optional<std::string> fileContents(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The firmware's model name as the registry keeps it: bytes ending in one NUL.
std::optional<Data> machineModel() {
    auto model = fileContents("/proc/device-tree/model");
    if (!model) {
        model = fileContents("/sys/class/dmi/id/product_name");
        if (!model) return std::nullopt;
        while (!model->empty() && (model->back() == '\n' || model->back() == ' ')) {
            model->pop_back();
        }
        model->push_back('\0');
    }
    return Data(model->begin(), model->end());
}

std::map<std::string, IORegistryEntry> machineEntries() {
    IORegistryEntry expert{IORegistry::platformExpertDevice, {}};
    if (auto model = machineModel()) expert.properties["model"] = PropertyValue(std::move(*model));
    return {{IORegistry::platformExpertDevice, std::move(expert)}};
}

std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, IORegistryEntry>& entries() {
    static std::map<std::string, IORegistryEntry> entries = machineEntries();
    return entries;
}

}  // namespace

std::optional<PropertyValue> IORegistryEntry::property(const std::string& key) const {
    const auto found = properties.find(key);
    if (found == properties.end()) return std::nullopt;
    return found->second;
}

std::optional<IORegistryEntry> IORegistry::matchingService(const std::string& className) {
    std::lock_guard lock(registryMutex());
    const auto found = entries().find(className);
    if (found == entries().end()) return std::nullopt;
    return found->second;
}

void IORegistry::setEntryForTesting(const std::string& className,
                                    std::optional<IORegistryEntry> entry) {
    std::lock_guard lock(registryMutex());
    if (entry) {
        entries()[className] = std::move(*entry);
    } else {
        entries().erase(className);
    }
}

void IORegistry::resetForTesting() {
    std::lock_guard lock(registryMutex());
    entries() = machineEntries();
}

}  // namespace zelvana::platform
