#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Weak.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/PropertyList.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "settings/CodableDefault.hpp"
#include "settings/DefaultUpdate.hpp"

namespace zelvana::settings {

// What every setting shares: one key of the standard user defaults, whose
// value the setting reads once at creation, caches and writes straight
// through. A change of an observed key is posted on the default centre under
// the key's name with a DefaultUpdate as its object.
//
// Settings belong to the main queue: read them there, and an assignment made
// on another thread is logged and carried out on the main queue, in order,
// so the cache is only ever written from one thread.
class Default {
public:
    using Handler = std::function<void(const platform::Notification&)>;

    explicit Default(std::string key) : key_(std::move(key)) {}
    virtual ~Default() = default;
    Default(const Default&) = delete;
    Default& operator=(const Default&) = delete;

    const std::string& key() const { return key_; }

    // Applies the snapshot field of this setting's type, writing the user
    // defaults directly: no notification, no upload.
    virtual void update(const CodableDefault& codable) = 0;
    // The current value in the field of this setting's type.
    virtual CodableDefault toCodable() const = 0;

    // From now on every change of the key posts a notification, and `handler`
    // runs for it on the writing thread, after the write, until the token goes.
    [[nodiscard]] platform::Subscription observe(Handler handler);
    // From now on every change of the key posts a notification.
    void announceChanges();

protected:
    static platform::UserDefaults& userDefaults();

    // The shared write path of the value setters: stores `newValue` (absent
    // removes the key), posts when the key is observed, and schedules a cloud
    // upload when the setting is synced.
    void writeDefault(std::optional<platform::PropertyValue> newValue,
                      std::optional<platform::PropertyValue> oldValue);
    // What follows a write: the post and the upload. For a value that was
    // written straight into the user defaults off the main queue; the values
    // are made only when someone hears of the change.
    void announceWritten(const std::function<std::optional<platform::PropertyValue>()>& newValue,
                         const std::function<std::optional<platform::PropertyValue>()>& oldValue);
    // An optional value as writeDefault takes it: absent stays absent.
    template <typename T>
    static std::optional<platform::PropertyValue> stored(const std::optional<T>& value) {
        if (!value) return std::nullopt;
        return platform::PropertyValue(*value);
    }

    // Setters check this first and hand themselves to moveToMainQueue, which
    // logs and queues the assignment there; it runs only if the setting still
    // exists.
    static bool isOffMainQueue() { return !platform::isMainThread(); }
    void moveToMainQueue(platform::Task assignment) const;

    // The stored value as the typed getters read it; absent for an absent
    // key, and for a value that cannot mean the type, which is logged.
    std::optional<bool> storedBool() const;
    std::optional<std::int64_t> storedInteger() const;
    std::optional<double> storedReal() const;
    std::optional<std::string> storedString() const;
    std::optional<platform::Date> storedDate() const;

    // Logs a value of this setting that was dropped, and why.
    void warnIgnored(std::string_view reason) const;

private:
    void postUpdate(const DefaultUpdate& update);
    std::optional<platform::PropertyValue> storedObject() const;

    std::string key_;
    platform::WeakFactory<Default> weak_{this};
};

}  // namespace zelvana::settings
