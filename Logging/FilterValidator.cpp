#include "Logging/FilterValidator.hpp"

namespace zelvana::logging {

namespace {

using ValidationType = FilterValidator::ValidationType;
using Result = FilterValidator::Result;

bool belongsTo(const FilterType& filter, ValidationType type) {
    switch (type) {
        case ValidationType::excluded:
            return filter.isExclusion();
        case ValidationType::required:
            return filter.isRequiredFilter() && !filter.isExclusion();
        case ValidationType::nonRequired:
            return !filter.isRequiredFilter() && !filter.isExclusion();
    }
    return false;
}

std::optional<std::string_view> valueUnderTest(const FilterValidator::Input& input,
                                               FilterTarget::Kind target) {
    switch (target) {
        case FilterTarget::Kind::Path:
            return input.path;
        case FilterTarget::Kind::Function:
            return input.function;
        case FilterTarget::Kind::Message:
            return input.message;
    }
    return std::nullopt;
}

void count(const FilterType& filter, const FilterValidator::Input& input,
           Result::PartialMatchData& counts) {
    const auto value = valueUnderTest(input, filter.targetKind());
    const bool condition = value && filter.test(value);
    const bool level = filter.levelReached(input.level);
    if (condition && level) {
        ++counts.fullMatchCount;
    } else if (condition) {
        ++counts.conditionMatchCount;
    } else if (level) {
        ++counts.logLevelMatchCount;
    }
}

}  // namespace

Result FilterValidator::validate(const Input& input, ValidationType type) {
    Result::PartialMatchData counts;
    std::int64_t members = 0;
    for (const auto& filter : input.filters) {
        if (!filter || !belongsTo(*filter, type)) continue;
        ++members;
        count(*filter, input, counts);
    }
    if (members == 0) return Result{};
    if (counts.fullMatchCount == members) return Result{Result::Kind::allFiltersMatch, {}};
    return Result{Result::Kind::someFiltersMatch, counts};
}

std::map<ValidationType, Result> FilterValidator::validate(
    const Input& input, const std::vector<ValidationType>& types) {
    std::map<ValidationType, Result> results;
    for (ValidationType type : types) results[type] = validate(input, type);
    return results;
}

}  // namespace zelvana::logging
