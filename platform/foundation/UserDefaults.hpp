#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/Subscription.hpp"
#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// Preferences, searched in order: the suite's own domain, the global domain and
// the registration domain. The first two are property-list files in
// SystemFolders::preferences(), "<suite>.plist" and "NSGlobalDomain.plist";
// instances of the same suite share one in-memory copy. Every change is
// written through to disk at once. Safe from any thread.
class UserDefaults {
public:
    using Observer = std::function<void(const std::optional<PropertyValue>& oldValue,
                                        const std::optional<PropertyValue>& newValue)>;

    static constexpr const char* defaultStandardSuiteName = "com.quorrim.Zelvana";
    static constexpr const char* globalDomainName = "NSGlobalDomain";

    // The application's defaults, for the suite named by setStandardSuiteName.
    static UserDefaults& standard();
    // Points standard() at `suiteName` as if the process had just started:
    // its files are read again, registered defaults and observers dropped.
    static void setStandardSuiteName(std::string suiteName);
    // A handle whose own domain is the global one, for writing to it.
    static UserDefaults globalDomain();

    explicit UserDefaults(std::string suiteName);
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

    std::string suiteName() const;

    std::optional<PropertyValue> object(const std::string& key) const;
    // Refuses, with a logged line, a value holding a date that the domain's
    // file could not hold (not finite, or millions of years away).
    void set(const std::string& key, PropertyValue value);
    void removeObject(const std::string& key);
    // Values used when no file domain holds the key; kept in memory only.
    void registerDefaults(const PropertyDictionary& defaults);

    // Typed reads convert between bool, number and numeric text; an absent or
    // unconvertible value reads as false, 0 or nothing.
    bool boolForKey(const std::string& key) const;
    std::int64_t integerForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    float floatForKey(const std::string& key) const;
    // Text, or a number written as text.
    std::optional<std::string> stringForKey(const std::string& key) const;
    std::optional<Data> dataForKey(const std::string& key) const;
    std::optional<PropertyArray> arrayForKey(const std::string& key) const;
    std::optional<PropertyDictionary> dictionaryForKey(const std::string& key) const;

    // Every key of the search list with the value that wins.
    PropertyDictionary dictionaryRepresentation() const;

    // Writes the suite's domain now if an earlier write failed; true when the
    // file holds what memory holds.
    bool synchronize();
    // Reads the suite's and the global domain again, dropping unsaved changes.
    void reloadFromDisk();

    // Called after each change of the key's effective value, on the thread
    // that made it, with no lock held, until the token goes. Observers may add
    // or remove observers.
    [[nodiscard]] Subscription addObserver(const std::string& key, Observer observer);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zelvana::platform
