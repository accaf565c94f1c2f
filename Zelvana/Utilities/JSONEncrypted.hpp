#pragma once

#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include <nlohmann/json.hpp>

#include "Zelvana/Utilities/StoreFailure.hpp"
#include "Zelvana/Utilities/StringEncryptionDecryption.hpp"
#include "platform/foundation/JSONText.hpp"
#include "platform/system/SymmetricKey.hpp"

namespace zelvana::utilities {

// A typed value kept as JSON text in an encrypted single-entry archive
// ("<name>.json" in the file at `filepath`), written whenever it changes while
// the store is initialised. T converts to and from nlohmann::json; an absent
// value is JSON null. The value changes only once its write succeeded: a value
// without a JSON form or a failed write is returned to the caller and leaves
// the value and the file as they were. No lock of its own: its owner changes it
// from one thread.
template <class T>
class JSONEncrypted {
public:
    // A store holding `initial`, which is not written until the value changes.
    JSONEncrypted(std::filesystem::path filepath, std::string name, platform::SymmetricKey key,
                  std::optional<T> initial = std::nullopt)
        : filepath_(std::move(filepath)),
          name_(std::move(name)),
          key_(std::move(key)),
          typedValue_(std::move(initial)) {}

    // A store holding what the archive at `filepath` holds, or nothing when
    // there is no archive yet. An archive that cannot be read, was changed, is
    // under another key or holds no value of T is refused, so that nothing
    // replaces it unseen.
    static std::variant<JSONEncrypted, StoreFailure> open(std::filesystem::path filepath,
                                                          std::string name,
                                                          platform::SymmetricKey key) {
        JSONEncrypted store(std::move(filepath), std::move(name), std::move(key));
        std::error_code missing;
        if (!std::filesystem::exists(store.filepath_, missing) && !missing) return store;
        auto read = StringEncryptionDecryption::decrypt(store.key_, store.filepath_);
        if (auto* failure = std::get_if<StringEncryptionDecryption::Failure>(&read)) {
            return StoreFailure::fromArchive(*failure);
        }
        auto& entry = std::get<StringEncryptionDecryption::Entry>(read);
        if (entry.name != store.entryName()) {
            return StoreFailure{
                StoreFailure::Kind::decoding, std::nullopt,
                "the archive holds \"" + entry.name + "\", not \"" + store.entryName() + "\""};
        }
        if (auto failure = store.adopt(std::move(entry.text))) return *failure;
        return store;
    }

    bool typeInitialized() const { return typeInitialized_; }
    // While false, changes are kept but not written.
    void setTypeInitialized(bool initialized) { typeInitialized_ = initialized; }
    // The JSON text last written (or read).
    const std::optional<std::string>& value() const { return value_; }
    const std::filesystem::path& filepath() const { return filepath_; }
    const std::string& name() const { return name_; }
    const std::optional<T>& typedValue() const { return typedValue_; }

    // Writes the value unless its text is the one last written.
    std::optional<StoreFailure> setTypedValue(std::optional<T> newValue) {
        if (!typeInitialized_) {
            typedValue_ = std::move(newValue);
            return std::nullopt;
        }
        std::string text;
        try {
            text = (newValue ? nlohmann::json(*newValue) : nlohmann::json()).dump();
        } catch (const std::exception& error) {
            return StoreFailure{StoreFailure::Kind::encoding, std::nullopt, error.what()};
        }
        if (text != value_) {
            if (auto failure =
                    StringEncryptionDecryption::encrypt(text, key_, entryName(), filepath_)) {
                return StoreFailure::fromArchive(*failure);
            }
            value_ = std::move(text);
        }
        typedValue_ = std::move(newValue);
        return std::nullopt;
    }

    // Changes a copy of the value in place, then stores it as setTypedValue does.
    template <class Change>
    std::optional<StoreFailure> modify(Change&& change) {
        std::optional<T> changed = typedValue_;
        std::forward<Change>(change)(changed);
        return setTypedValue(std::move(changed));
    }

private:
    std::string entryName() const { return name_ + ".json"; }

    std::optional<StoreFailure> adopt(std::string text) {
        std::string refusal;
        const auto json = platform::JSONText::parse(text, &refusal);
        if (!json) return StoreFailure{StoreFailure::Kind::decoding, std::nullopt, refusal};
        try {
            typedValue_ =
                json->is_null() ? std::nullopt : std::optional<T>(json->template get<T>());
        } catch (const std::exception& error) {
            return StoreFailure{StoreFailure::Kind::decoding, std::nullopt, error.what()};
        }
        value_ = std::move(text);
        return std::nullopt;
    }

    bool typeInitialized_ = true;
    std::optional<std::string> value_;
    std::filesystem::path filepath_;
    std::string name_;
    platform::SymmetricKey key_;
    std::optional<T> typedValue_;
};

}  // namespace zelvana::utilities
