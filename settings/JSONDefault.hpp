#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "settings/StringDefault.hpp"

namespace zelvana::settings {

// A type with nlohmann to_json and from_json.
template <typename T>
concept JSONCodable = requires(const T& value, const nlohmann::json& json) {
    nlohmann::json(value);
    json.get<T>();
};

// A setting whose stored form is the JSON text of a T, kept as a string. The
// text and the typed value always agree: writing the typed value writes its
// text, and writing the text (even "" to clear it) replaces the typed value,
// so a later read-modify-write cannot bring back what the text dropped.
template <JSONCodable T>
class JSONDefault : public StringDefault {
public:
    explicit JSONDefault(std::string key) : StringDefault(std::move(key)) { decodeTypedValue(); }

    // None when there is no text, or text that does not decode.
    const std::optional<T>& typedValue() const { return typedValue_; }
    // Always stores; writes the text when it differs from the stored one.
    void setTypedValue(std::optional<T> value) {
        if (isOffMainQueue()) {
            return moveToMainQueue([this, value = std::move(value)] { setTypedValue(value); });
        }
        typedValue_ = std::move(value);
        saveTypedValue();
    }
    // Stores a value whose text was encoded ahead, off the main queue, so that
    // neither is done again here. The text must be encode(value).
    void setEncodedValue(std::optional<T> value, std::string text) {
        if (isOffMainQueue()) {
            return moveToMainQueue([this, value = std::move(value), text = std::move(text)] {
                setEncodedValue(value, text);
            });
        }
        typedValue_ = std::move(value);
        if (text == this->value()) return;
        encoding_ = true;
        setValue(std::move(text));
        encoding_ = false;
    }
    // Read-modify-write of the typed value as one assignment.
    void modifyTypedValue(std::function<void(std::optional<T>&)> change) {
        if (isOffMainQueue()) {
            return moveToMainQueue(
                [this, change = std::move(change)] { modifyTypedValue(change); });
        }
        auto value = typedValue_;
        change(value);
        setTypedValue(std::move(value));
    }
    void saveTypedValue() {
        if (isOffMainQueue()) return moveToMainQueue([this] { saveTypedValue(); });
        auto text = encode(typedValue_);
        if (!text) return warnIgnored("the new value has no JSON text, so it is not stored");
        if (*text == value()) return;
        encoding_ = true;
        setValue(std::move(text));
        encoding_ = false;
    }

    // The compact JSON text of a value ("null" for none); absent when it
    // cannot be encoded. Pure, so any thread may encode ahead of a write.
    static std::optional<std::string> encode(const std::optional<T>& value) {
        try {
            return value ? nlohmann::json(*value).dump() : std::string("null");
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

protected:
    void textDidChange() override {
        if (!encoding_) decodeTypedValue();
    }

private:
    void decodeTypedValue() {
        const auto& text = value();
        typedValue_.reset();
        if (!text || text->empty() || *text == "null") return;
        try {
            typedValue_ = nlohmann::json::parse(*text).get<T>();
        } catch (const std::exception& error) {
            warnIgnored(std::string("the JSON text does not decode: ") + error.what());
        }
    }

    std::optional<T> typedValue_;
    // Set while the typed value writes its own text, which needs no decoding.
    bool encoding_ = false;
};

}  // namespace zelvana::settings
