#pragma once

#include <optional>
#include <string>

#include "Zelvana/Utilities/StringEncryptionDecryption.hpp"

namespace zelvana::utilities {

// Why a store could not write or read its value.
struct StoreFailure {
    enum class Kind {
        // The value has no JSON form.
        encoding,
        // The archive could not be written or read (see `archiveError`).
        archive,
        // The archive's text is not JSON of the stored type, or not its entry.
        decoding,
    };
    Kind kind;
    std::optional<StringEncryptionDecryption::Error> archiveError;
    std::string message;

    static StoreFailure fromArchive(const StringEncryptionDecryption::Failure& failure) {
        return {
            Kind::archive, failure.error,
            std::string(StringEncryptionDecryption::name(failure.error)) + ": " + failure.reason};
    }
};

}  // namespace zelvana::utilities
