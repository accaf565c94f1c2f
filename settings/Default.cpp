#include "settings/Default.hpp"

#include <algorithm>
#include <any>
#include <cctype>
#include <charconv>
#include <cmath>

#include "Logging/Logging.hpp"
#include "settings/Defaults.hpp"

namespace zelvana::settings {

namespace {

using logging::Logging;
using platform::PropertyValue;

std::string_view trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool isNumericText(std::string_view text) {
    text = trimmed(text);
    double number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(number);
}

bool isBoolText(std::string_view text) {
    std::string lower(trimmed(text));
    std::ranges::transform(lower, lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower == "yes" || lower == "no" || lower == "true" || lower == "false" ||
           isNumericText(lower);
}

const char* kindOf(const PropertyValue& value) {
    if (value.isString()) return "text";
    if (value.isData()) return "data";
    if (value.isDate()) return "a date";
    if (value.isArray()) return "an array";
    if (value.isDictionary()) return "a dictionary";
    return "a number";
}

}  // namespace

platform::Subscription Default::observe(Handler handler) {
    return Defaults::observe(key_, std::move(handler));
}

void Default::announceChanges() {
    Defaults::announceChanges(key_);
}

platform::UserDefaults& Default::userDefaults() {
    return platform::UserDefaults::standard();
}

void Default::writeDefault(std::optional<PropertyValue> newValue,
                           std::optional<PropertyValue> oldValue) {
    if (newValue) {
        userDefaults().set(key_, *newValue);
    } else {
        userDefaults().removeObject(key_);
    }
    if (Defaults::isObserved(key_)) {
        postUpdate(DefaultUpdate{std::move(newValue), std::move(oldValue)});
    }
    if (Defaults::isSynced(key_)) Defaults::scheduleCloudUpload();
}

void Default::announceWritten(const std::function<std::optional<PropertyValue>()>& newValue,
                              const std::function<std::optional<PropertyValue>()>& oldValue) {
    if (Defaults::isObserved(key_)) postUpdate(DefaultUpdate{newValue(), oldValue()});
    if (Defaults::isSynced(key_)) Defaults::scheduleCloudUpload();
}

void Default::postUpdate(const DefaultUpdate& update) {
    platform::NotificationCenter::defaultCenter().post(key_, std::any(update));
}

void Default::moveToMainQueue(platform::Task assignment) const {
    Logging::warning("setting '" + key_ +
                     "' assigned off the main queue; the assignment moves there");
    // A setting gone before the queue gets there drops its assignment.
    platform::mainQueue().async([weak = weak_.ref(), assignment = std::move(assignment)] {
        if (weak.get()) assignment();
    });
}

std::optional<PropertyValue> Default::storedObject() const {
    return userDefaults().object(key_);
}

std::optional<bool> Default::storedBool() const {
    auto stored = storedObject();
    if (!stored) return std::nullopt;
    const auto* text = stored->stringValue();
    if (stored->isBool() || stored->isNumber() || (text && isBoolText(*text))) {
        return userDefaults().boolForKey(key_);
    }
    warnIgnored(std::string("the stored value is ") + kindOf(*stored) + ", not a boolean");
    return std::nullopt;
}

std::optional<std::int64_t> Default::storedInteger() const {
    auto stored = storedObject();
    if (!stored) return std::nullopt;
    const auto* text = stored->stringValue();
    if (stored->isBool() || stored->isNumber() || (text && isNumericText(*text))) {
        return userDefaults().integerForKey(key_);
    }
    warnIgnored(std::string("the stored value is ") + kindOf(*stored) + ", not an integer");
    return std::nullopt;
}

std::optional<double> Default::storedReal() const {
    auto stored = storedObject();
    if (!stored) return std::nullopt;
    const auto* text = stored->stringValue();
    if (stored->isBool() || stored->isNumber() || (text && isNumericText(*text))) {
        return userDefaults().doubleForKey(key_);
    }
    warnIgnored(std::string("the stored value is ") + kindOf(*stored) + ", not a number");
    return std::nullopt;
}

std::optional<std::string> Default::storedString() const {
    auto stored = storedObject();
    if (!stored) return std::nullopt;
    if (auto text = userDefaults().stringForKey(key_)) return text;
    warnIgnored(std::string("the stored value is ") + kindOf(*stored) + ", not text");
    return std::nullopt;
}

std::optional<platform::Date> Default::storedDate() const {
    auto stored = storedObject();
    if (!stored) return std::nullopt;
    if (const auto* date = stored->dateValue()) return *date;
    warnIgnored(std::string("the stored value is ") + kindOf(*stored) + ", not a date");
    return std::nullopt;
}

void Default::warnIgnored(std::string_view reason) const {
    Logging::warning("setting '" + key_ + "': " + std::string(reason) + "; the value is ignored");
}

}  // namespace zelvana::settings
