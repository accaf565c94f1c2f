#pragma once

#include <optional>
#include <string>

#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// One service of the I/O registry: its class and its properties.
struct IORegistryEntry {
    std::string className;
    PropertyDictionary properties;

    // IORegistryEntryCreateCFProperty: the property, or none.
    std::optional<PropertyValue> property(const std::string& key) const;
};

// The I/O registry as far as the code reads it: the platform expert device
// ("IOPlatformExpertDevice"), whose "model" is the machine's model identifier
// as data ending in a NUL byte. It is read from the firmware's model
// (/proc/device-tree/model, else /sys/class/dmi/id/product_name); a machine
// with neither has no "model". Tests replace or remove the entry. Thread-safe.
class IORegistry {
public:
    static constexpr const char* platformExpertDevice = "IOPlatformExpertDevice";

    IORegistry() = delete;

    // IOServiceGetMatchingService(IOServiceMatching(className)).
    static std::optional<IORegistryEntry> matchingService(const std::string& className);

    // Replaces the entry of its class; none removes that class's entry.
    static void setEntryForTesting(const std::string& className,
                                   std::optional<IORegistryEntry> entry);
    // Back to what the machine has.
    static void resetForTesting();
};

}  // namespace zelvana::platform
