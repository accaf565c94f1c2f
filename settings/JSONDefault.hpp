#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json.hpp>

#include "platform/foundation/JSONText.hpp"
#include "settings/StringDefault.hpp"

namespace zelvana::settings {

// A type with nlohmann to_json and from_json.
template <typename T>
concept JSONCodable = requires(const T& value, const nlohmann::json& json) {
    nlohmann::json(value);
    json.get<T>();
};

// Reads every stored text through a JSON tree.
template <typename T>
struct TreeReading {
    static std::optional<T> read(std::string_view) { return std::nullopt; }
};

// A setting whose stored form is the JSON text of a T, kept as a string. The
// text and the typed value always agree: writing the typed value writes its
// text, and writing the text (even "" to clear it) replaces the typed value,
// so a later read-modify-write cannot bring back what the text dropped.
// `Reading::read` may read a text directly, without the tree, giving none
// where the tree is to decide.
template <JSONCodable T, typename Reading = TreeReading<T>>
class JSONDefault : public StringDefault {
public:
    explicit JSONDefault(std::string key) : StringDefault(std::move(key)) { decodeTypedValue(); }

    // None when there is no text, or text that does not decode.
    const std::optional<T>& typedValue() const { return typedValue_; }
    // Stores the value and writes its text when it differs from the stored
    // one. A value without JSON text that reads back (a number that is not
    // finite) is refused and logged: value and text stay as they were.
    void setTypedValue(std::optional<T> value) {
        if (isOffMainQueue()) {
            return moveToMainQueue([this, value = std::move(value)] { setTypedValue(value); });
        }
        std::string error;
        auto text = encode(value, &error);
        if (!text) return warnIgnored("the new value is not stored: " + error);
        typedValue_ = std::move(value);
        writeText(std::move(*text));
    }
    // Takes a value whose text, encode(value), was written into the user
    // defaults off the main queue: the cache follows and the change is
    // announced, with no second write. Gives back the value it replaced, for
    // the caller to let go of where that costs the main queue nothing.
    std::optional<T> adoptWrittenValue(std::optional<T> value, std::string text) {
        if (isOffMainQueue()) {
            moveToMainQueue([this, value = std::move(value), text = std::move(text)] {
                adoptWrittenValue(value, text);
            });
            return std::nullopt;
        }
        auto replaced = std::exchange(typedValue_, std::move(value));
        encoding_ = true;
        StringDefault::adoptWrittenValue(std::move(text));
        encoding_ = false;
        return replaced;
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
        std::string error;
        auto text = encode(typedValue_, &error);
        if (!text) return warnIgnored("the value is not stored: " + error);
        writeText(std::move(*text));
    }

    // The compact JSON text of a value ("null" for none); absent, with the
    // reason in `error`, when it has none that reads back. Pure, so any
    // thread may encode ahead of a write.
    static std::optional<std::string> encode(const std::optional<T>& value,
                                             std::string* error = nullptr) {
        if (!value) return std::string("null");
        try {
            return platform::JSONText::dump(nlohmann::json(*value), -1, error);
        } catch (const std::exception& failure) {
            if (error) *error = failure.what();
            return std::nullopt;
        }
    }

protected:
    void textDidChange() override {
        if (!encoding_) decodeTypedValue();
    }

private:
    void writeText(std::string text) {
        if (text == value()) return;
        encoding_ = true;
        setValue(std::move(text));
        encoding_ = false;
    }

    // Error messages name what failed, never the stored text: a hostile text
    // may be huge or nested without end.
    void decodeTypedValue() {
        const auto& text = value();
        typedValue_.reset();
        if (!text || text->empty() || *text == "null") return;
        if (auto read = Reading::read(*text)) {
            typedValue_ = std::move(read);
            return;
        }
        std::string error;
        const auto json = platform::JSONText::parse(*text, &error);
        if (!json) return warnIgnored("the JSON text is refused: " + error);
        try {
            typedValue_ = json->template get<T>();
        } catch (const std::exception& failure) {
            warnIgnored(std::string("the JSON text does not decode: ") + failure.what());
        }
    }

    std::optional<T> typedValue_;
    // Set while the typed value writes its own text, which needs no decoding.
    bool encoding_ = false;
};

}  // namespace zelvana::settings
