#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "Logging/Filter.hpp"

namespace zelvana::logging {

// Evaluates a destination's filters against one entry, per group of filters.
class FilterValidator {
public:
    enum class ValidationType { excluded, required, nonRequired };
    static constexpr ValidationType allValidationTypes[] = {
        ValidationType::excluded, ValidationType::required, ValidationType::nonRequired};

    struct Result {
        struct PartialMatchData {
            std::int64_t fullMatchCount = 0;
            std::int64_t conditionMatchCount = 0;
            std::int64_t logLevelMatchCount = 0;
            bool operator==(const PartialMatchData&) const = default;
        };
        enum class Kind { someFiltersMatch, allFiltersMatch, noFiltersMatchingType };

        Kind kind = Kind::noFiltersMatchingType;
        PartialMatchData partialMatch;  // someFiltersMatch only
        bool operator==(const Result&) const = default;
    };

    struct Input {
        const std::vector<std::shared_ptr<FilterType>>& filters;
        Level level;
        std::string_view path;
        std::string_view function;
        std::optional<std::string_view> message;
    };

    FilterValidator() = delete;

    static std::map<ValidationType, Result> validate(const Input& input,
                                                     const std::vector<ValidationType>& types);
    static Result validate(const Input& input, ValidationType type);
};

}  // namespace zelvana::logging
